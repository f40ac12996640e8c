#include "store/PlantDayCurves.h"

#include "LocalTime.h"
#include "comm/CommShared.h"
#include "model/InverterGroup.h"
#include "model/SingleRuntimeData.h"

#include <gtest/gtest.h>

namespace {

const std::time_t NOON = LocalTime(2026, 6, 10, 12, 0, 0);

class PlantDayCurvesTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_nInterval = 2; // fresh for 2 intervals and a cycle: 5 s
        group.m_bPortOpen = 1;
        for (const char* serial : {"A", "B"}) {
            auto inverter = group.CreateInverter(static_cast<std::uint8_t>(group.m_nNextAddress++));
            inverter->m_strSerialNo = serial;
            inverter->m_bOnline = 1;
            inverter->m_pRuntimeData = std::make_unique<SingleRuntimeData>();
            group.AppendInverter(std::move(inverter));
        }
    }
    // A sample of the inverter at its position: power in W, energy of the day in kWh.
    void Sample(std::size_t position, std::time_t time, int watts, double kWh, bool fault = false) {
        CInverter& inverter = *group.m_inverters[position];
        auto& data = static_cast<SingleRuntimeData&>(*inverter.m_pRuntimeData);
        data.m_tSample = time;
        data.m_nPac = static_cast<std::uint16_t>(watts * 10);
        data.m_nEToday = static_cast<std::uint16_t>(kWh * 100);
        inverter.m_nErrorState = fault ? 2 : 1;
        curves.OnSample(inverter);
    }
    void ExpectLatest(double watts, double kWh) const {
        curves.Read([&](const CDaySeries& power, const CDaySeries& energy) {
            EXPECT_NEAR(power.Latest()->m_dValue, watts, 1e-9);
            EXPECT_NEAR(energy.Latest()->m_dValue, kWh, 1e-9);
        });
    }

    CInverterGroup group;
    PlantDayCurves curves;
};

// Power sums the readings that are fresh and free of faults, energy every
// inverter heard from today; the next day starts its energy afresh.
TEST_F(PlantDayCurvesTest, EachSampleMovesThePlantAsTheFreshnessRuleHasIt) {
    const struct {
        std::size_t position;
        std::time_t time;
        int watts;
        double kWh;
        bool fault;
        double plantW;
        double plantKWh;
    } steps[] = {
        {0, NOON, 1000, 2.0, false, 1000, 2.0},
        {1, NOON, 500, 1.0, true, 1000, 3.0},        // a fault counts no power
        {1, NOON + 2, 600, 1.5, false, 1600, 3.5},   //
        {0, NOON + 4, 1100, 2.5, false, 1700, 4.0},  //
        {0, NOON + 20, 1200, 3.0, false, 1200, 4.5}, // B's reading went stale
        {1, NOON + 86'400, 50, 0.1, false, 50, 0.1}, // the next day
    };
    for (const auto& step : steps) {
        Sample(step.position, step.time, step.watts, step.kWh, step.fault);
        SCOPED_TRACE(step.time - NOON);
        ExpectLatest(step.plantW, step.plantKWh);
    }
}

// While the day so far is read back the samples count but draw nothing; the
// past then leads, and inverters not heard from yet keep the energy they
// reached until their first sample replaces it.
TEST_F(PlantDayCurvesTest, ThePastLeadsAndKeepsTheEnergyReachedSoFar) {
    curves.AwaitPast();
    Sample(0, NOON, 1000, 2.0);
    curves.Read([](const CDaySeries& power, const CDaySeries&) { EXPECT_TRUE(power.Empty()); });

    CDaySeries power;
    power.AddSample({NOON - 600, 900});
    power.AddSample({NOON + 10, 999}); // read back after the start: left out
    CDaySeries energy;
    energy.AddSample({NOON - 600, 4.0});
    curves.AddPast(power, energy, {{"A", 1.9}, {"B", 1.2}, {"C", 0.8}});
    Sample(0, NOON + 30, 1100, 2.1);
    ExpectLatest(1100, 4.1);
    Sample(1, NOON + 32, 300, 1.5);
    ExpectLatest(1400, 4.4);
    curves.Read([](const CDaySeries& powerCurve, const CDaySeries&) {
        EXPECT_EQ(powerCurve.FirstTime(), NOON - 600);
        EXPECT_EQ(powerCurve.SampleCount(), 3U);
    });
}

} // namespace
