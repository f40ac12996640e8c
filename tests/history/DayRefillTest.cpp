#include "HistoryFixture.h"
#include "WaitUntil.h"
#include "history/StationHistory.h"
#include "model/Inverter.h"
#include "model/SingleRuntimeData.h"
#include "store/LocalCalendar.h"
#include "store/PlantDayCurves.h"
#include "store/StationPollSink.h"

#include <algorithm>
#include <array>

namespace {

using namespace std::chrono_literals;

constexpr int INTERVAL = 2;
constexpr int ROUNDS = 3600; // two hours: an hour from the summary, the last from the files
constexpr std::size_t INVERTERS = 2;

// Whole watts, as the history lines keep them.
int PowerOf(std::size_t inverter, int round) {
    return 1000 + static_cast<int>(inverter) * 300 + round % 50 * 7;
}

// What the station runs after each poll, then what the comm thread appends.
class Station {
public:
    Station() {
        m_sink.SetPlantCurves(&m_plant);
        m_sink.SetHistoryFollower(&m_history);
        m_history.Start(m_plant);
        for (std::size_t i = 0; i < INVERTERS; ++i) {
            m_inverters[i].m_strSerialNo = "INV" + std::to_string(i);
            m_inverters[i].m_nPhaseType = 1;
            m_inverters[i].m_nErrorState = 1;
            m_inverters[i].m_pRuntimeData = std::make_unique<SingleRuntimeData>();
        }
    }
    ~Station() { m_history.Stop(); }
    void Poll(std::size_t index, std::time_t time, int round) {
        CInverter& inverter = m_inverters[index];
        auto& data = static_cast<SingleRuntimeData&>(*inverter.m_pRuntimeData);
        data.m_tSample = time;
        data.m_nPac = static_cast<std::uint16_t>(PowerOf(index, round) * 10);
        data.m_nEToday = static_cast<std::uint16_t>(round * (index + 1));
        data.m_dwETotal = 4000;
        m_sink.OnSampleDecoded(inverter);
        inverter.m_powerGraph.AddSample({time, data.GetOutputPower()});
    }
    StationHistory& History() { return m_history; }
    const CInverter& Inverter(std::size_t index) const { return m_inverters[index]; }
    CDaySeries PlantPower() const {
        CDaySeries power;
        m_plant.Read([&](const CDaySeries& curve, const CDaySeries&) { power = curve; });
        return power;
    }

private:
    PlantDayCurves m_plant;
    StationHistory m_history{std::chrono::hours(1)};
    StationPollSink m_sink;
    std::array<CInverter, INVERTERS> m_inverters;
};

class DayRefillTest : public HistoryFixture {};

// Two hours of today behind a restart come back: the plant's curve, from the
// summary's spans, without a point at zero where the station was down, and
// each inverter's at its first sample, from the summary and its file's end.
TEST_F(DayRefillTest, ARestartReadsTheDayBackIntoEveryCurve) {
    LocalCalendar calendar;
    const std::time_t now = std::time(nullptr);
    const LocalCalendar::Day day = calendar.Bounds(calendar.DayKeyOf(now));
    const std::time_t start = std::max(day.start, now - 3 * 3600) / 30 * 30;
    std::array<std::vector<CTimeBucket>, INVERTERS> before;
    {
        Station running;
        for (int round = 0; round < ROUNDS; ++round) {
            for (std::size_t i = 0; i < INVERTERS; ++i) {
                running.Poll(i, start + round * INTERVAL, round);
            }
        }
        ASSERT_TRUE(running.History().Keeper().Flush());
        for (std::size_t i = 0; i < INVERTERS; ++i) {
            before[i] = running.Inverter(i).m_powerGraph.Buckets();
        }
    }

    Station restarted;
    ASSERT_TRUE(WaitUntil([&] { return !restarted.PlantPower().Empty(); }, 10s));
    const CDaySeries plant = restarted.PlantPower();
    ASSERT_EQ(plant.Buckets().size(), static_cast<std::size_t>(ROUNDS * INTERVAL / 30));
    for (const CTimeBucket& bucket : plant.Buckets()) {
        double expected = 0.0;
        for (int round = 0; round < ROUNDS; ++round) {
            if (CTimeBucket::IndexOf(start + round * INTERVAL) == bucket.m_nIndex) {
                expected += (PowerOf(0, round) + PowerOf(1, round)) / 15.0;
            }
        }
        EXPECT_NEAR(bucket.Mean(), expected, 0.01) << bucket.Start() - start;
    }
    plant.ForEachVertex([](const CCurveVertex& vertex) { EXPECT_GT(vertex.m_dValue, 0.0); });

    const std::time_t next = start + ROUNDS * INTERVAL + 600;
    for (std::size_t i = 0; i < INVERTERS; ++i) {
        restarted.Poll(i, next, ROUNDS);
    }
    int round = ROUNDS;
    ASSERT_TRUE(WaitUntil(
        [&] {
            ++round;
            for (std::size_t i = 0; i < INVERTERS; ++i) {
                restarted.Poll(i, next + (round - ROUNDS) * INTERVAL, round);
            }
            return restarted.Inverter(0).m_powerGraph.FirstTime() == start &&
                   restarted.Inverter(1).m_powerGraph.FirstTime() == start;
        },
        10s));
    for (std::size_t i = 0; i < INVERTERS; ++i) {
        const auto& refilled = restarted.Inverter(i).m_powerGraph.Buckets();
        ASSERT_GT(refilled.size(), before[i].size());
        for (std::size_t k = 0; k < before[i].size(); ++k) {
            EXPECT_EQ(refilled[k].m_nIndex, before[i][k].m_nIndex) << k;
            EXPECT_EQ(refilled[k].m_nCount, before[i][k].m_nCount) << k;
            EXPECT_FLOAT_EQ(refilled[k].m_fSum, before[i][k].m_fSum) << k;
            EXPECT_FLOAT_EQ(refilled[k].m_fMin, before[i][k].m_fMin) << k;
            EXPECT_FLOAT_EQ(refilled[k].m_fMax, before[i][k].m_fMax) << k;
        }
        EXPECT_EQ(restarted.Inverter(i).m_powerGraph.Recent().front().m_time, next - 3600);
    }
}

} // namespace
