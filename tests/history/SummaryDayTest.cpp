#include "HistoryFixture.h"
#include "HistoryLines.h"
#include "Succeeded.h"
#include "history/SummaryKeeper.h"
#include "history/SummaryReader.h"
#include "history/SummarySchema.h"
#include "store/HistoryFile.h"
#include "store/LocalCalendar.h"

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <thread>

namespace {

constexpr int DAY = 20260610;
constexpr std::int64_t PEAK_W = 3456;

// 06:00 to 19:59 once a minute with a 10-minute gap at 09:00, the station
// offline from 12:00 to 12:59 and the inverter restarting at 15:00, its
// E-today counter starting again from 0. Yield: 5.39 + 2.99 kWh.
std::vector<LineSample> GeneratedDay() {
    std::vector<LineSample> samples;
    std::uint32_t eTotalHundredths = 500000;
    for (int minute = 6 * 60; minute < 20 * 60; ++minute) {
        const bool gap = minute >= 9 * 60 && minute < 9 * 60 + 10;
        const bool offline = minute >= 12 * 60 && minute < 13 * 60;
        const int eToday = minute < 15 * 60 ? minute - 6 * 60 : minute - 15 * 60;
        eTotalHundredths += 1;
        if (gap || offline) {
            continue;
        }
        LineSample sample{Berlin(2026, 6, 10, minute / 60, minute % 60), 1000 + minute % 7 * 10,
                          eToday, eTotalHundredths / 10};
        sample.powerW = minute == 13 * 60 + 30 ? static_cast<int>(PEAK_W) : sample.powerW;
        sample.tempTenths = minute == 7 * 60 ? -25 : minute == 14 * 60 ? 612 : 250;
        samples.push_back(sample);
    }
    return samples;
}

class SummaryDayTest : public HistoryFixture {};

TEST_F(SummaryDayTest, DayRowIsWhatTheFileSays) {
    WriteBytes(InHistLog("A1.csv"), SingleFile(GeneratedDay()));
    Rebuild();
    SummaryReader reader;
    ASSERT_TRUE(reader.Open(SummaryPath(), nullptr));
    ASSERT_EQ(Succeeded(reader.Sources()).size(), 1U);
    const std::int64_t source = Succeeded(reader.Sources())[0].id;
    EXPECT_EQ(Succeeded(reader.Energy(DAY, DAY, 1, source)).at(DAY), 8380);

    SqliteDb db;
    ASSERT_TRUE(db.Open(SummaryPath(), true));
    SqliteStatement day = db.Prepare(
        "SELECT peak_w, peak_time, first_time, last_time, samples, minutes_online, temp_min,"
        " temp_max FROM day");
    ASSERT_TRUE(day.Step());
    EXPECT_EQ(day.Int(0), PEAK_W);
    EXPECT_EQ(day.Int(1), Berlin(2026, 6, 10, 13, 30));
    EXPECT_EQ(day.Int(2), Berlin(2026, 6, 10, 6, 0));
    EXPECT_EQ(day.Int(3), Berlin(2026, 6, 10, 19, 59));
    EXPECT_EQ(day.Int(4), 770);
    EXPECT_EQ(day.Int(5), 770);
    EXPECT_EQ(day.Int(6), -25);
    EXPECT_EQ(day.Int(7), 612);

    const LocalCalendar::Day bounds = LocalCalendar().Bounds(DAY);
    const std::vector<CurvePoint> curve = Succeeded(reader.Curve(bounds.start, bounds.end, source));
    EXPECT_EQ(curve.size(), 168U - 2 - 12);
    EXPECT_EQ(
        std::accumulate(curve.begin(), curve.end(), std::int64_t{0},
                        [](std::int64_t sum, const CurvePoint& p) { return sum + p.energyWh; }),
        8380);
    const std::vector<CurvePoint> plant =
        Succeeded(reader.Curve(bounds.start, bounds.end, SummaryReader::PLANT));
    ASSERT_EQ(plant.size(), curve.size());
    EXPECT_EQ(plant[0].meanW, curve[0].meanW);
    EXPECT_EQ(Succeeded(reader.Peak(DAY, DAY, bounds.start, bounds.end, source)).watts, PEAK_W);
}

// The writer thread reads the files as they grow, a line cut in two by an
// append included; what it keeps must be what a rebuild finds.
TEST_F(SummaryDayTest, LiveUpkeepKeepsWhatARebuildFinds) {
    const std::string single = SingleFile(GeneratedDay());
    std::vector<LineSample> three = GeneratedDay();
    three.resize(300);
    const std::string threeText = ThreeFile(three);
    {
        SummaryKeeper keeper(std::chrono::hours(1));
        keeper.Start();
        for (std::size_t at = 0, piece = 0; at < single.size(); at += piece) {
            piece = std::min<std::size_t>(single.size() - at, 7001);
            AppendBytes(InHistLog("A1.csv"), single.substr(at, piece));
            AppendBytes(InHistLog("B2.csv"),
                        threeText.substr(std::min(at, threeText.size()), piece));
            keeper.Notify("A1.csv");
            keeper.Notify("B2.csv");
            ASSERT_TRUE(keeper.Flush()) << keeper.Problem();
        }
    }
    const std::vector<std::string> live = SummaryRowsOf(SummaryPath());
    Rebuild();
    EXPECT_EQ(live, SummaryRowsOf(SummaryPath()));
    EXPECT_GT(live.size(), 300U);
}

// Today's half-minute spans, read as the file grows in pieces that cut spans
// in two, are the spans a rebuild finds.
TEST_F(SummaryDayTest, TodaysSpansReadInPiecesAreWhatARebuildFinds) {
    LocalCalendar calendar;
    const std::time_t now = std::time(nullptr);
    const std::time_t from = std::max(calendar.Bounds(calendar.DayKeyOf(now)).start, now - 7200);
    std::vector<LineSample> samples;
    for (std::time_t time = from; time < from + 3600; time += 7) {
        const int step = static_cast<int>(time - from) / 7;
        samples.push_back({time, 1000 + step % 13 * 37 + (step % 97 == 0 ? 900 : 0), step, 5000});
    }
    const std::string text = SingleFile(samples);
    {
        SummaryKeeper keeper(std::chrono::hours(1));
        keeper.Start();
        for (std::size_t at = 0, piece = 0; at < text.size(); at += piece) {
            piece = std::min<std::size_t>(text.size() - at, 1301);
            AppendBytes(InHistLog("A1.csv"), text.substr(at, piece));
            keeper.Notify("A1.csv");
            ASSERT_TRUE(keeper.Flush()) << keeper.Problem();
        }
    }
    const auto spansOf = [&] {
        SummaryReader reader;
        EXPECT_TRUE(reader.Open(SummaryPath(), nullptr));
        std::vector<std::string> rows;
        EXPECT_TRUE(reader.VisitSpans(from, from + 3600, [&](std::int64_t, const SpanRow& row) {
            const CTimeBucket& p = row.power;
            rows.push_back(
                std::to_string(p.m_nIndex) + " " + std::to_string(p.m_nCount) + " " +
                std::to_string(p.m_fSum) + " " + std::to_string(p.m_fMin) + "@" +
                std::to_string(p.m_nMinSecond) + " " + std::to_string(p.m_fMax) + "@" +
                std::to_string(p.m_nMaxSecond) + " " + std::to_string(p.m_fFirst) + "@" +
                std::to_string(p.m_nFirstSecond) + " " + std::to_string(p.m_fLast) + "@" +
                std::to_string(p.m_nLastSecond) + " " + std::to_string(p.m_fBeforeJump) + "@" +
                std::to_string(p.m_nJumpFromSecond) + " " + std::to_string(p.m_fAfterJump) + "@" +
                std::to_string(p.m_nJumpToSecond) + " " + std::to_string(p.m_nLongestStep) + " " +
                std::to_string(row.eTodayWh));
        }));
        return rows;
    };
    const std::vector<std::string> live = spansOf();
    EXPECT_EQ(live.size(), 120U);
    Rebuild();
    EXPECT_EQ(live, spansOf());
}

TEST_F(SummaryDayTest, FilesNamedWhileRunningAreReadWithinABatchPeriod) {
    SummaryKeeper keeper(std::chrono::milliseconds(50));
    keeper.Start();
    ASSERT_TRUE(keeper.Flush()) << keeper.Problem();
    AppendBytes(InHistLog("A1.csv"), SingleFile(GeneratedDay()));
    keeper.Notify("A1.csv");
    SummaryReader reader;
    ASSERT_TRUE(reader.Open(SummaryPath(), nullptr));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (Succeeded(reader.Sources()).empty() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_EQ(Succeeded(reader.Sources()).size(), 1U);
    EXPECT_EQ(Succeeded(reader.Energy(DAY, DAY, 1, Succeeded(reader.Sources())[0].id)).at(DAY),
              8380);
}

} // namespace
