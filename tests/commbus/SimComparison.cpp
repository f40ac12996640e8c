#include "SimComparison.h"

#include <gtest/gtest.h>

void ExpectDescriptionMatches(const InverterSnapshot& record, const SimUnit& unit) {
    const sim::InverterProfile& profile = unit.profile;
    EXPECT_EQ(record.address, unit.address);
    EXPECT_EQ(record.serialNo, profile.serialNo);
    EXPECT_EQ(record.model, profile.model);
    EXPECT_EQ(record.firmwareVer, profile.firmware);
    EXPECT_EQ(record.manufacturer, profile.manufacturer);
    EXPECT_EQ(record.ratedPower, profile.ratedPowerW);
    EXPECT_EQ(record.phaseType, 1);
    EXPECT_DOUBLE_EQ(record.nominalVpv, profile.nominalVpvTenths / 10.0);
    EXPECT_EQ(record.runtimeFormat, profile.runtimeFields);
    EXPECT_EQ(record.paramFormat, profile.paramFields);
    EXPECT_EQ(record.params, unit.params);
}

void ExpectSampleMatches(const InverterSnapshot& record, const SimUnit& unit) {
    ASSERT_TRUE(record.Sampled());
    const SingleRuntimeData& sample = *record.sample;
    const sim::InverterReading& reading = unit.reading;
    EXPECT_EQ(sample.m_nTemp, reading.temp);
    EXPECT_EQ(sample.m_nVpv, reading.vpv[0]);
    EXPECT_EQ(sample.m_nVpv1, reading.vpv[0]);
    EXPECT_EQ(sample.m_nVpv2, reading.vpv[1]);
    EXPECT_EQ(sample.m_nIac, reading.iac[0]);
    EXPECT_EQ(sample.m_nVac, reading.vac[0]);
    EXPECT_EQ(sample.m_nFac, reading.fac[0]);
    EXPECT_EQ(sample.m_nPac, reading.pac[0]);
    EXPECT_EQ(sample.m_nZac, reading.zac);
    EXPECT_EQ(sample.m_nEToday, reading.eToday);
    EXPECT_EQ(sample.m_dwETotal, reading.eTotal);
    EXPECT_EQ(sample.m_dwHTotal, reading.hTotal);
    EXPECT_EQ(sample.m_nMode, reading.mode);
    EXPECT_EQ(sample.m_dwErrorBits, reading.errorBits);
    EXPECT_DOUBLE_EQ(record.lastSeriesValue, reading.pac[0] * 0.1);
}
