#include "store/HistoryLine.h"

#include "LocalTime.h"
#include "model/SingleRuntimeData.h"
#include "model/ThreeRuntimeData.h"
#include "store/HistoryNumberText.h"

#include <algorithm>
#include <ctime>
#include <gtest/gtest.h>
#include <string>

namespace {

std::vector<std::string> Fields(std::string line) {
    EXPECT_GE(line.size(), 2U);
    EXPECT_EQ(line.substr(line.size() - 2), "\r\n");
    line.resize(line.size() - 2);
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t comma; (comma = line.find(',', start)) != std::string::npos;) {
        fields.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

SingleRuntimeData ExampleSingleSample() {
    SingleRuntimeData data;
    data.m_tSample = LocalTime(2012, 6, 14, 12, 0, 0);
    data.m_nTemp = 253;
    data.m_nVpv = 3605;
    data.m_nVac = 2301;
    data.m_nIac = 43;
    data.m_nFac = 5001;
    data.m_nPac = 9875;
    data.m_nZac = 512;
    data.m_nEToday = 345;
    data.m_dwETotal = 123456;
    data.m_dwHTotal = 4321;
    return data;
}

TEST(HistoryHeader, TextsAreExactWithCrLf) {
    EXPECT_EQ(SINGLE_HISTORY_HEADER,
              "  Time,Temp(C),Vpv(V),Vac(V),Iac(A),Fac(Hz),Pac(W),Zac(mOhm),E-Today(kWh),"
              "E-Total(kWh),h-Total(h),Radiation(w/m*2),WindSpeed(m/s),EnvironmentTemp(C),"
              "ModuleTemp(C)\r\n");
    EXPECT_EQ(THREE_HISTORY_HEADER,
              "  Time,Temp(C),Vac(V),Iac(A),Fac(Hz),Pac(W),Zac(mOhm),E-Total(kWh),E-Today(kWh),"
              "h-Total(h),Vpv(V),Vpv1(V),Vpv2(V),Vpv3(V),Ipv1(A),Ipv2(A),Ipv3(A),Ppv1(W),Ppv2(W),"
              "Ppv3(W),Vac1(V),Vac2(A),Vac3(A),Iac1(A),Iac2(A),Iac3(A),Radiation(w/m*2),"
              "WindSpeed(m/s),EnvironmentTemp(C),ModuleTemp(C)\r\n");
    EXPECT_EQ(Fields(std::string(SINGLE_HISTORY_HEADER)).size(), 15U);
    EXPECT_EQ(Fields(std::string(THREE_HISTORY_HEADER)).size(), 30U);
}

TEST(SingleHistoryLine, WorkedExampleByteForByte) {
    EXPECT_EQ(SingleHistoryLine(ExampleSingleSample()),
              "2012/06/14 12:00:00, 25.3,360.5,230.1,  4.3, 50.01,    987,   512,     3.45,"
              "   12345.6,  4321,0,0,0,0\r\n");
}

TEST(SingleHistoryLine, ImpedanceAtOrAbove60000IsNotAvailable) {
    SingleRuntimeData data = ExampleSingleSample();
    data.m_nZac = 59999;
    EXPECT_EQ(Fields(SingleHistoryLine(data))[7], " 59999");
    data.m_nZac = 60000;
    EXPECT_EQ(Fields(SingleHistoryLine(data))[7], "NA");
    data.m_nZac = 65535;
    EXPECT_EQ(Fields(SingleHistoryLine(data))[7], "NA");
}

TEST(SingleHistoryLine, PowerDropsTheFractionOfAWatt) {
    SingleRuntimeData data = ExampleSingleSample();
    data.m_nPac = 12345;
    EXPECT_EQ(Fields(SingleHistoryLine(data))[6], "   1234");
    data.m_nPac = 9;
    EXPECT_EQ(Fields(SingleHistoryLine(data))[6], "      0");
}

TEST(SingleHistoryLine, CountersAreUnsigned) {
    SingleRuntimeData data = ExampleSingleSample();
    data.m_dwETotal = 7;
    EXPECT_EQ(Fields(SingleHistoryLine(data))[9], "       0.7");
    data.m_dwETotal = 0xFFFFFFFFU;
    data.m_dwHTotal = 0xFFFFFFFFU;
    const auto fields = Fields(SingleHistoryLine(data));
    EXPECT_EQ(fields[9], "429496729.5");
    EXPECT_EQ(fields[10], "4294967295");
}

TEST(SingleHistoryLine, NegativeTemperaturesKeepOneSignAndTheWidth) {
    SingleRuntimeData data = ExampleSingleSample();
    const std::pair<std::int16_t, const char*> cases[] = {
        {-5, " -0.5"},       {-10, " -1.0"}, {-123, "-12.3"}, {-1234, "-123.4"},
        {-32768, "-3276.8"}, {0, "  0.0"},   {5, "  0.5"},    {1234, "123.4"}};
    for (const auto& [temperature, text] : cases) {
        data.m_nTemp = temperature;
        EXPECT_EQ(Fields(SingleHistoryLine(data))[1], text) << temperature;
    }
}

TEST(SingleHistoryLine, EveryLineHasFifteenFields) {
    EXPECT_EQ(Fields(SingleHistoryLine(SingleRuntimeData{})).size(), 15U);
}

ThreeRuntimeData DistinctThreeSample() {
    ThreeRuntimeData data;
    data.m_tSample = LocalTime(2024, 1, 2, 3, 4, 5);
    data.m_nTemp = 401;
    data.m_nVpv = 9999; // never shown in a three-phase line
    data.m_nVpv1 = 5101;
    data.m_nVpv2 = 5202;
    data.m_nVpv3 = 5303;
    data.m_nIpv1 = 11;
    data.m_nIpv2 = 22;
    data.m_nIpv3 = 33;
    data.m_nFac = 4998;
    data.m_nPac = 1234;
    data.m_nZac = 61000;
    data.m_dwETotal = 987654;
    data.m_dwETotalPhase[0] = 111; // the E-Total column is m_dwETotal
    data.m_nEToday = 1250;
    data.m_dwHTotal = 77;
    data.m_nVacPhase[0] = 2301;
    data.m_nVacPhase[1] = 2302;
    data.m_nVacPhase[2] = 2303;
    data.m_nIacPhase[0] = 41;
    data.m_nIacPhase[1] = 42;
    data.m_nIacPhase[2] = 43;
    return data;
}

TEST(ThreeHistoryLine, ColumnsComeFromTheirFields) {
    EXPECT_EQ(ThreeHistoryLine(DistinctThreeSample()),
              "2024/01/02 03:04:05, 40.1,230.1,  4.1, 49.98,    123,NA,   98765.4,    12.50,"
              "    77,510.1,510.1,520.2,530.3,  1.1,  2.2,  3.3,561,1144,1749,230.1,230.2,230.3,"
              "  4.1,  4.2,  4.3,0,0,0,0\r\n");
    EXPECT_EQ(Fields(ThreeHistoryLine(DistinctThreeSample())).size(), 30U);
}

// The list, the plant totals and the status dialog read the accessors; they
// must show what the history file holds.
TEST(ThreeHistoryLine, PowerAndLifetimeEnergyAgreeWithTheAccessors) {
    ThreeRuntimeData data = DistinctThreeSample();
    data.m_nPac = 15000;
    data.m_dwETotal = 1000;
    data.m_dwETotalPhase[0] = 400;
    const auto fields = Fields(ThreeHistoryLine(data));
    EXPECT_EQ(fields[5], "   1500");
    EXPECT_DOUBLE_EQ(data.GetOutputPower(), 1500.0);
    EXPECT_EQ(fields[7], "     100.0");
    EXPECT_DOUBLE_EQ(data.GetETotal(), 100.0);
}

TEST(ThreeHistoryLine, StringPowerDoesNotOverflow) {
    ThreeRuntimeData data = DistinctThreeSample();
    data.m_nVpv1 = 65535;
    data.m_nIpv1 = 65535;
    EXPECT_EQ(Fields(ThreeHistoryLine(data))[17], "42948362");
}

TEST(ThreeHistoryLine, NegativeTemperature) {
    ThreeRuntimeData data = DistinctThreeSample();
    data.m_nTemp = -5;
    EXPECT_EQ(Fields(ThreeHistoryLine(data))[1], " -0.5");
}

TEST(FixedPointText, MatchesPrintfForNonNegativeValues) {
    for (std::int64_t value : {0, 1, 9, 10, 99, 100, 12345, 999999}) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%6d.%02d", static_cast<int>(value / 100),
                      static_cast<int>(value % 100));
        EXPECT_EQ(FixedPointText(value, 2, 6), expected);
    }
}

TEST(FixedPointText, NegativeHundredths) {
    EXPECT_EQ(FixedPointText(-5, 2, 3), " -0.05");
    EXPECT_EQ(FixedPointText(-12345, 2, 3), "-123.45");
}

} // namespace
