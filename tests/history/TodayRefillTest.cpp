#include "HistoryFixture.h"
#include "history/StationHistory.h"
#include "model/Inverter.h"
#include "model/SingleRuntimeData.h"
#include "store/LocalCalendar.h"
#include "store/StationPollSink.h"

#include <utility>

namespace {

constexpr int INTERVAL = 2;
constexpr int ROUNDS = 200;
constexpr std::size_t INVERTERS = 2;

using Points = std::vector<std::pair<std::time_t, double>>;

template <class Samples>
Points PointsOf(const Samples& samples) {
    Points points;
    for (const CGraphSample& sample : samples) {
        points.emplace_back(sample.m_time, sample.m_dValue);
    }
    return points;
}

void ExpectSamePoints(const Points& actual, const Points& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(actual[i].first, expected[i].first) << i;
        EXPECT_NEAR(actual[i].second, expected[i].second, 1e-9) << i;
    }
}

// What the station runs after each poll, then what the comm thread appends.
class Station {
public:
    Station() {
        m_sink.SetHistoryFollower(&m_history);
        m_history.Start();
        for (std::size_t i = 0; i < INVERTERS; ++i) {
            m_inverters[i].m_strSerialNo = "INV" + std::to_string(i);
            m_inverters[i].m_nPhaseType = 1;
            m_inverters[i].m_pRuntimeData = std::make_unique<SingleRuntimeData>();
        }
    }
    void Poll(std::size_t index, std::time_t time, int round) {
        CInverter& inverter = m_inverters[index];
        auto& data = static_cast<SingleRuntimeData&>(*inverter.m_pRuntimeData);
        data.m_tSample = time;
        data.m_nPac = static_cast<std::uint16_t>((1000 + round * 10 + index * 300) * 10);
        data.m_nEToday = static_cast<std::uint16_t>(round * (index + 1));
        data.m_dwETotal = 4000;
        m_sink.OnSampleDecoded(inverter);
        inverter.m_powerGraph.AddSample({time, data.GetOutputPower()});
    }
    double Total(double (RuntimeData::*value)() const) const {
        double sum = 0.0;
        for (const CInverter& inverter : m_inverters) {
            sum += (*inverter.m_pRuntimeData.*value)();
        }
        return sum;
    }
    StationHistory& History() { return m_history; }
    const CInverter& Inverter(std::size_t index) const { return m_inverters[index]; }

private:
    StationHistory m_history{std::chrono::hours(1)};
    StationPollSink m_sink;
    std::array<CInverter, INVERTERS> m_inverters;
};

class TodayRefillTest : public HistoryFixture {};

TEST_F(TodayRefillTest, RestartRefillsTheCurvesWithTheSamePoints) {
    const std::time_t start =
        LocalCalendar().Bounds(LocalCalendar().DayKeyOf(std::time(nullptr))).start + 10 * 3600;
    Points power;
    Points energy;
    std::array<Points, INVERTERS> curves;
    {
        Station before;
        for (int round = 0; round < ROUNDS; ++round) {
            const std::time_t now = start + round * INTERVAL;
            for (std::size_t i = 0; i < INVERTERS; ++i) {
                before.Poll(i, now, round);
            }
            power.emplace_back(now, before.Total(&RuntimeData::GetOutputPower));
            energy.emplace_back(now, before.Total(&RuntimeData::GetEToday));
        }
        for (std::size_t i = 0; i < INVERTERS; ++i) {
            curves[i] = PointsOf(before.Inverter(i).m_powerGraph.m_samples);
        }
    }

    Station after;
    const TodayHistory::PlantCurves plant = after.History().TodayPlantCurves(INTERVAL);
    ExpectSamePoints(PointsOf(plant.power), power);
    ExpectSamePoints(PointsOf(plant.energy), energy);
    const std::time_t next = start + ROUNDS * INTERVAL;
    for (std::size_t i = 0; i < INVERTERS; ++i) {
        after.Poll(i, next, ROUNDS);
        Points refilled = PointsOf(after.Inverter(i).m_powerGraph.m_samples);
        ASSERT_FALSE(refilled.empty());
        EXPECT_EQ(refilled.back().first, next);
        refilled.pop_back();
        ExpectSamePoints(refilled, curves[i]);
    }
}

} // namespace
