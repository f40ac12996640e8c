#include "HistoryBenchData.h"

#include "history/SummarySchema.h"
#include "history/SummaryStore.h"
#include "platform/DataDirectory.h"
#include "store/LocalCalendar.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {
constexpr int DAYS = 365;
constexpr std::time_t STEP = 300;
} // namespace

std::string FreshDataDirectory(const char* name) {
    std::string pattern = std::string("/tmp/heliowatch-") + name + ".XXXXXX";
    const std::string directory = mkdtemp(pattern.data());
    std::filesystem::create_directories(directory + "/HistLog");
    SetDataDirectory(directory);
    return directory;
}

std::string SerialOf(int inverter) {
    char text[24];
    std::snprintf(text, sizeof text, "BENCH%011d", inverter);
    return text;
}

bool FillSummary(int inverters, int withBuckets) {
    SummaryStore store;
    if (!store.Create(SummaryPath(), true)) {
        return false;
    }
    SqliteTransaction transaction = store.Begin();
    LocalCalendar calendar;
    bool filled = transaction.Begun();
    for (int inverter = 0; filled && inverter < inverters; ++inverter) {
        SourceRecord record;
        filled = store.LoadSource(SerialOf(inverter) + ".csv", record);
        std::vector<DayRow> days;
        std::vector<BucketRow> buckets;
        for (int day = 0; day < DAYS; ++day) {
            const int key = CivilDays::AddDays(FIRST_DAY, day);
            const std::time_t start = calendar.Bounds(key).start;
            days.push_back({key, 10000 + (day * 37 + inverter) % 20000, 3000, start + 43200,
                            start + 21600, start + 72000, 2520, 840, 150, 450});
            for (std::time_t t = start + 21600; inverter < withBuckets && t < start + 72000;
                 t += STEP) {
                buckets.push_back({t, 15, 15 * 2000, 2500, 170});
            }
        }
        filled = filled && store.AddRows(record.id, days, buckets);
    }
    if (withBuckets == 0) {
        std::vector<BucketRow> plant;
        for (int day = 0; day < DAYS; ++day) {
            const std::time_t start = calendar.Bounds(CivilDays::AddDays(FIRST_DAY, day)).start;
            for (std::time_t t = start + 21600; t < start + 72000; t += STEP) {
                plant.push_back({t, 15, 15 * 2000, 2500, 170});
            }
        }
        // A plant of many: one row per stretch is what counts.
        filled = filled && store.AddRows(0, {}, plant);
    }
    return filled && store.RebuildPlant() && transaction.Commit() && store.FinishBulk();
}
