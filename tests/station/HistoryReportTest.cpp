#include "station/HistoryReport.h"

#include "HistoryFixture.h"
#include "HistoryLines.h"
#include "history/SummaryLock.h"
#include "history/SummaryReader.h"
#include "history/SummarySchema.h"
#include "platform/DataDirectory.h"
#include "station/HistoryCommands.h"
#include "station/StationOptions.h"

#include <sstream>

namespace {

std::vector<std::string> Rows(const std::string& text) {
    std::vector<std::string> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        rows.push_back(line);
    }
    return rows;
}

class HistoryReportTest : public HistoryFixture {
protected:
    void SetUp() override {
        HistoryFixture::SetUp();
        WriteBytes(InHistLog("A1.csv"), SingleFile({{Berlin(2026, 3, 29, 9, 0), 800, 0, 100},
                                                    {Berlin(2026, 3, 29, 15, 30), 800, 1234, 100},
                                                    {Berlin(2026, 6, 10, 12, 0), 500, 250, 200}}));
        WriteBytes(InHistLog("B2.csv"), SingleFile({{Berlin(2026, 6, 10, 12, 0), 500, 100, 300}}));
        Rebuild();
        ASSERT_TRUE(reader.Open(SummaryPath(), nullptr));
    }
    std::vector<std::string> Report(PeriodKind kind, int day, const std::string& serial = {}) {
        std::string text;
        std::string problem;
        EXPECT_TRUE(HistoryReport(reader, {kind, day}, serial, text, problem)) << problem;
        return Rows(text);
    }

    SummaryReader reader;
};

TEST_F(HistoryReportTest, RowsBeginWithTheirDateThenThePlantThenEachInverter) {
    const auto month = Report(PeriodKind::MONTH, 20260601);
    ASSERT_EQ(month.size(), 2U + 30U + 1U);
    EXPECT_EQ(month[1], "date        plant    A1    B2");
    EXPECT_EQ(month[2], "2026-06-01   0.00  0.00  0.00");
    EXPECT_EQ(month[11], "2026-06-10   3.50  2.50  1.00");
    EXPECT_EQ(month.back(), "total        3.50  2.50  1.00");

    const auto year = Report(PeriodKind::YEAR, 20260101, "A1");
    ASSERT_EQ(year.size(), 2U + 12U + 1U);
    EXPECT_EQ(year[4], "2026-03  12.34");
    EXPECT_EQ(year[7], "2026-06   2.50");

    const auto day = Report(PeriodKind::DAY, 20260329);
    ASSERT_EQ(day.size(), 2U + 23U + 1U);
    EXPECT_EQ(day[2].substr(0, 22), "2026-03-29T00:00+01:00");
    EXPECT_EQ(day[4].substr(0, 22), "2026-03-29T03:00+02:00");
    EXPECT_EQ(day[16], "2026-03-29T15:00+02:00  12.34  12.34  0.00");

    std::string text;
    std::string problem;
    EXPECT_FALSE(HistoryReport(reader, {PeriodKind::DAY, 20260329}, "C3", text, problem));
    EXPECT_EQ(problem, "no inverter with serial number C3 in the history summary");
}

TEST_F(HistoryReportTest, AnUnreadableSummaryFailsTheReportWithItsReason) {
    SummaryLock stationWrites; // so the command reads the summary as it is
    std::string problem;
    ASSERT_TRUE(stationWrites.Acquire(&problem)) << problem;
    DropDayTable(SummaryPath());
    StationOptions options;
    options.dataDirectory = DataDirectory();
    options.report = "month";
    options.reportDate = "2026-06";
    ::testing::internal::CaptureStderr();
    const int status = RunHistoryCommand(options);
    const std::string printed = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, 1);
    EXPECT_NE(printed.find("no such table: day"), std::string::npos) << printed;
}

TEST(HistoryOptions, ReportTakesAKindAndAnOptionalDate) {
    const struct {
        std::vector<const char*> arguments;
        std::string report;
        std::string date;
        std::string error;
    } cases[] = {
        {{"--report", "month", "2026-11", "--data-dir", "d"}, "month", "2026-11", ""},
        {{"--report", "day", "--serial", "S1"}, "day", "", ""},
        {{"--report", "week"}, "week", "", "--report takes day, month or year, not week"},
        {{"--serial", "S1"}, "", "", "--serial goes with --report"},
    };
    for (const auto& c : cases) {
        std::vector<char*> argv{const_cast<char*>("heliowatch")};
        for (const char* argument : c.arguments) {
            argv.push_back(const_cast<char*>(argument));
        }
        const StationOptions options =
            ParseStationOptions(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(options.report, c.report);
        EXPECT_EQ(options.reportDate, c.date);
        EXPECT_EQ(options.error, c.error);
    }
}

} // namespace
