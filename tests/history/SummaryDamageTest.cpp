#include "HistoryFixture.h"
#include "HistoryLines.h"
#include "Succeeded.h"
#include "history/SqliteDb.h"
#include "history/SummaryReader.h"
#include "history/SummaryRebuild.h"
#include "history/SummarySchema.h"
#include "history/SummaryStore.h"

#include <filesystem>

namespace {

std::vector<LineSample> ThreeSamples() {
    return {{Berlin(2026, 6, 10, 12, 0), 1000, 100, 5000},
            {Berlin(2026, 6, 10, 12, 1), 1000, 102, 5000},
            {Berlin(2026, 6, 10, 12, 2), 1000, 104, 5000}};
}

class SummaryDamageTest : public HistoryFixture {
protected:
    std::int64_t DayEnergy() {
        SummaryReader reader;
        EXPECT_TRUE(reader.Open(SummaryPath(), nullptr));
        const auto energy = Succeeded(reader.Energy(20260610, 20260610, 1, SummaryReader::PLANT));
        return energy.empty() ? 0 : energy.begin()->second;
    }
    bool MovedAsideExists() const {
        for (const auto& entry : std::filesystem::directory_iterator(DataDirectory())) {
            if (entry.path().filename().string().starts_with(std::string(SUMMARY_FILE_NAME) +
                                                             ".bad-")) {
                return true;
            }
        }
        return false;
    }
};

// A line that cannot be read is counted and left out; a line still being
// written is left for the next time.
TEST_F(SummaryDamageTest, DamagedFilesLoseOnlyTheirDamagedLines) {
    const std::string good = SingleFile(ThreeSamples());
    const std::string lines = SingleLines(ThreeSamples());
    const std::string first = lines.substr(0, lines.find('\n') - 1);
    const struct {
        const char* name;
        std::string bytes;
        std::int64_t lines;
        std::int64_t skipped;
        std::int64_t energyWh;
    } cases[] = {
        {"truncated last line", good + lines.substr(0, 30), 3, 0, 1040},
        {"foreign lines", good + "hello,world\r\n" + first + ",0\r\n", 3, 2, 1040},
        {"other kind", ThreeFile(ThreeSamples()), 3, 0, 1040},
        {"empty file", "", 0, 0, 0},
        {"overlong line", std::string(100'000, 'x') + "\r\n" + good, 3, 1, 1040},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(HistLog());
        std::filesystem::create_directories(HistLog());
        WriteBytes(InHistLog("A1.csv"), c.bytes);
        RebuildReport report;
        std::string problem;
        ASSERT_TRUE(RebuildSummary({}, report, &problem)) << problem;
        EXPECT_EQ(report.counts.lines, c.lines);
        EXPECT_EQ(report.counts.skipped, c.skipped);
        EXPECT_EQ(DayEnergy(), c.energyWh);
    }
}

// A summary that cannot be used is moved aside, never deleted, and built anew.
TEST_F(SummaryDamageTest, UnusableSummaryIsMovedAsideAndRebuilt) {
    WriteBytes(InHistLog("A1.csv"), SingleFile(ThreeSamples()));
    const std::function<void()> spoil[] = {
        [] { WriteBytes(SummaryPath(), std::string(8192, 'x')); },
        [] {
            SqliteDb old;
            ASSERT_TRUE(old.Open(SummaryPath(), false));
            const std::string oldSchema =
                "PRAGMA application_id = " + std::to_string(SUMMARY_APPLICATION_ID) +
                "; PRAGMA user_version = 0; CREATE TABLE day(day);";
            ASSERT_TRUE(old.Exec(oldSchema.c_str()));
        },
    };
    for (const auto& damage : spoil) {
        std::filesystem::remove(SummaryPath());
        for (const auto& entry : std::filesystem::directory_iterator(DataDirectory())) {
            if (entry.path().filename().string().find(".bad-") != std::string::npos) {
                std::filesystem::remove(entry.path());
            }
        }
        damage();
        SummaryStore store;
        RebuildReport report;
        std::string problem;
        ASSERT_TRUE(OpenSummary(store, report, &problem)) << problem;
        EXPECT_FALSE(report.movedAside.empty());
        EXPECT_TRUE(MovedAsideExists());
        store.Close();
        EXPECT_EQ(DayEnergy(), 1040);
    }
}

// A summary of the version before is kept, days and all, and gains the
// half-minute spans, which start with the migration.
TEST_F(SummaryDamageTest, TheVersionBeforeIsMigratedInPlace) {
    WriteBytes(InHistLog("A1.csv"), SingleFile(ThreeSamples()));
    {
        SqliteDb old;
        ASSERT_TRUE(old.Open(SummaryPath(), false));
        const std::string oldSchema =
            "PRAGMA application_id = " + std::to_string(SUMMARY_APPLICATION_ID) +
            "; PRAGMA user_version = 1;" + SUMMARY_SCHEMA;
        ASSERT_TRUE(old.Exec(oldSchema.c_str())) << old.Error();
    }
    const std::time_t before = std::time(nullptr);
    SummaryStore store;
    RebuildReport report;
    std::string problem;
    ASSERT_TRUE(OpenSummary(store, report, &problem)) << problem;
    store.Close();
    EXPECT_TRUE(report.movedAside.empty());
    EXPECT_FALSE(MovedAsideExists());
    EXPECT_EQ(DayEnergy(), 1040);
    SummaryReader reader;
    ASSERT_TRUE(reader.Open(SummaryPath(), nullptr));
    EXPECT_GE(Succeeded(reader.SpansSince()), before);
}

} // namespace
