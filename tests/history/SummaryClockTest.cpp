#include "HistoryFixture.h"
#include "HistoryLines.h"
#include "Succeeded.h"
#include "history/SummaryReader.h"
#include "history/SummarySchema.h"
#include "store/LocalCalendar.h"

namespace {

constexpr std::time_t FIVE_MINUTES = 300;

// One sample every five minutes of the day's own length, by the clock that
// does not change.
std::vector<LineSample> EveryFiveMinutes(int dayKey) {
    const LocalCalendar::Day day = LocalCalendar().Bounds(dayKey);
    std::vector<LineSample> samples;
    int eToday = 0;
    for (std::time_t time = day.start; time < day.end; time += FIVE_MINUTES) {
        samples.push_back({time, 500, ++eToday, 1000});
    }
    return samples;
}

class SummaryClockTest : public HistoryFixture {
protected:
    std::int64_t Source(const std::string& name) {
        for (const SummarySource& source : Succeeded(reader.Sources())) {
            if (source.name == name) {
                return source.id;
            }
        }
        ADD_FAILURE() << name;
        return -1;
    }
    void Open() { ASSERT_TRUE(reader.Open(SummaryPath(), nullptr)); }

    SummaryReader reader;
};

// The day of a clock change has 23 or 25 hours, each 5-minute stretch once:
// the hour that autumn repeats is told apart by the order of the lines.
TEST_F(SummaryClockTest, ClockChangeDaysHaveTheirOwnLength) {
    const struct {
        int day;
        int hours;
    } cases[] = {{20260329, 23}, {20261025, 25}, {20260610, 24}};
    for (const auto& c : cases) {
        WriteBytes(InHistLog(std::to_string(c.day) + ".csv"), SingleFile(EveryFiveMinutes(c.day)));
    }
    Rebuild();
    Open();
    for (const auto& c : cases) {
        const std::int64_t source = Source(std::to_string(c.day));
        const LocalCalendar::Day day = LocalCalendar().Bounds(c.day);
        EXPECT_EQ(day.Hours(), c.hours) << c.day;
        const std::vector<CurvePoint> curve = Succeeded(reader.Curve(day.start, day.end, source));
        ASSERT_EQ(curve.size(), static_cast<std::size_t>(c.hours * 12)) << c.day;
        for (std::size_t i = 0; i < curve.size(); ++i) {
            EXPECT_EQ(curve[i].start, day.start + static_cast<std::time_t>(i) * FIVE_MINUTES);
        }
        EXPECT_EQ(Succeeded(reader.Energy(c.day, c.day, 1, source)).at(c.day), c.hours * 12 * 10)
            << c.day;
    }
}

// Samples on either side of midnight count to their own day; a station that
// was not running over midnight finds out from E-total whether the inverter's
// E-today restarted in between.
TEST_F(SummaryClockTest, MidnightGoesToTheRightDay) {
    const struct {
        const char* name;
        std::vector<LineSample> samples;
        std::int64_t firstDayWh;
        std::int64_t secondDayWh;
    } cases[] = {
        {"boundary",
         {{Berlin(2026, 6, 10, 23, 59, 59), 100, 500, 1000},
          {Berlin(2026, 6, 11, 0, 0, 0), 100, 0, 1000}},
         5000,
         0},
        {"restarted",
         {{Berlin(2026, 6, 10, 18, 0), 100, 2000, 10000},
          {Berlin(2026, 6, 11, 10, 0), 100, 500, 10050}},
         20000,
         5000},
        {"carried over",
         {{Berlin(2026, 6, 10, 23, 58), 100, 2000, 10000},
          {Berlin(2026, 6, 11, 0, 2), 100, 2000, 10000},
          {Berlin(2026, 6, 11, 0, 30), 100, 2050, 10005}},
         20000,
         500},
        {"restarted higher",
         {{Berlin(2026, 6, 10, 18, 0), 100, 300, 10000},
          {Berlin(2026, 6, 11, 14, 0), 100, 800, 10080}},
         3000,
         8000},
        {"other unit",
         {{Berlin(2026, 6, 10, 18, 0), 100, 2000, 10000},
          {Berlin(2026, 6, 11, 12, 0), 100, 2100, 500}},
         20000,
         21000},
    };
    for (const auto& c : cases) {
        WriteBytes(InHistLog(std::string(c.name) + ".csv"), SingleFile(c.samples));
    }
    Rebuild();
    Open();
    for (const auto& c : cases) {
        const auto energy = Succeeded(reader.Energy(20260610, 20260611, 1, Source(c.name)));
        EXPECT_EQ(energy.at(20260610), c.firstDayWh) << c.name;
        EXPECT_EQ(energy.at(20260611), c.secondDayWh) << c.name;
    }
    const LocalCalendar::Day day = LocalCalendar().Bounds(20260610);
    const auto curve =
        Succeeded(reader.Curve(day.start, day.end + FIVE_MINUTES, Source("boundary")));
    ASSERT_EQ(curve.size(), 2U);
    EXPECT_EQ(curve[0].start, day.end - FIVE_MINUTES);
    EXPECT_EQ(curve[1].start, day.end);
}

} // namespace
