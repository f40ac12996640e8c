#include "SummaryStore.h"

#include "SpanColumns.h"
#include "SummarySchema.h"
#include "store/LocalCalendar.h"

#include <sys/stat.h>

namespace {
const char* const FIND_SOURCE =
    "SELECT id, device, inode, read_bytes, skipped_lines, last_time, last_day, last_e_today_wh,"
    " last_e_total_wh FROM source WHERE file = ?1";
const char* const INSERT_SOURCE = "INSERT INTO source(file) VALUES(?1)";
const char* const SAVE_SOURCE =
    "UPDATE source SET device = ?2, inode = ?3, read_bytes = ?4, skipped_lines = ?5,"
    " last_time = ?6, last_day = ?7, last_e_today_wh = ?8, last_e_total_wh = ?9 WHERE id = ?1";
const char* const ADD_DAY =
    "INSERT INTO day VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)"
    " ON CONFLICT(day, source) DO UPDATE SET"
    " energy_wh = energy_wh + excluded.energy_wh,"
    " peak_time = CASE WHEN excluded.peak_w > peak_w THEN excluded.peak_time ELSE peak_time END,"
    " peak_w = max(peak_w, excluded.peak_w),"
    " first_time = min(first_time, excluded.first_time),"
    " last_time = max(last_time, excluded.last_time),"
    " samples = samples + excluded.samples,"
    " minutes_online = minutes_online + excluded.minutes_online,"
    " temp_min = min(temp_min, excluded.temp_min),"
    " temp_max = max(temp_max, excluded.temp_max)";
const char* const ADD_BUCKET = "INSERT INTO bucket VALUES(?1, ?2, ?3, ?4, ?5, ?6)"
                               " ON CONFLICT(source, start) DO UPDATE SET"
                               " samples = samples + excluded.samples,"
                               " power_sum_w = power_sum_w + excluded.power_sum_w,"
                               " power_max_w = max(power_max_w, excluded.power_max_w),"
                               " energy_wh = energy_wh + excluded.energy_wh";
const char* const PRUNE_SPANS = "DELETE FROM span WHERE source = ?1 AND start < ?2";
const char* const DROP_PLANT = "DELETE FROM plant_bucket WHERE start = ?1";
// Each inverter's mean in whole mW, so the sum does not depend on the order.
const char* const SUM_PLANT =
    "INSERT INTO plant_bucket SELECT start, SUM(power_sum_w * 1000 / samples), SUM(energy_wh)"
    " FROM bucket WHERE source IN (SELECT id FROM source) AND start = ?1 GROUP BY start";
const char* const REBUILD_PLANT =
    "DELETE FROM plant_bucket;"
    "INSERT INTO plant_bucket SELECT start, SUM(power_sum_w * 1000 / samples), SUM(energy_wh)"
    " FROM bucket GROUP BY start;";

bool FileExists(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0;
}
} // namespace

SummaryStore::Opened SummaryStore::Open(const std::string& path, std::string* problem) {
    Close();
    if (!FileExists(path)) {
        return Opened::MISSING;
    }
    std::string reason;
    if (!m_db.Open(path, false) || !Migrate() || !(reason = SummaryUnusableReason(m_db)).empty()) {
        if (problem != nullptr) {
            *problem = reason.empty() ? m_db.Error() : reason;
        }
        Close();
        return Opened::UNUSABLE;
    }
    if (!m_db.Exec("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL;") || !Prepare()) {
        if (problem != nullptr) {
            *problem = m_db.Error();
        }
        Close();
        return Opened::UNUSABLE;
    }
    return Opened::READY;
}

bool SummaryStore::Create(const std::string& path, bool bulk) {
    Close();
    LocalCalendar calendar;
    const std::time_t today = calendar.Bounds(calendar.DayKeyOf(std::time(nullptr))).start;
    const std::string setUp = "PRAGMA application_id = " + std::to_string(SUMMARY_APPLICATION_ID) +
                              "; PRAGMA user_version = " + std::to_string(SUMMARY_SCHEMA_VERSION) +
                              ";" +
                              (bulk ? "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF;"
                                    : "PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL;");
    const std::string since = "INSERT INTO span_since VALUES(" + std::to_string(today) + ")";
    return !FileExists(path) && m_db.Open(path, false) && m_db.Exec(setUp.c_str()) &&
           m_db.Exec(SUMMARY_SCHEMA) && m_db.Exec(SUMMARY_SPAN_SCHEMA) &&
           m_db.Exec(since.c_str()) && Prepare();
}

bool SummaryStore::Migrate() {
    std::string ignored;
    if (SummaryVersion(m_db, ignored) != SUMMARY_MIGRATABLE_VERSION) {
        return true;
    }
    const std::string steps = std::string(SUMMARY_SPAN_SCHEMA) +
                              "INSERT INTO span_since VALUES(strftime('%s', 'now'));"
                              "PRAGMA user_version = " +
                              std::to_string(SUMMARY_SCHEMA_VERSION) + ";";
    SqliteTransaction transaction(m_db);
    return transaction.Begun() && m_db.Exec(steps.c_str()) && transaction.Commit();
}

bool SummaryStore::FinishBulk() {
    return m_db.Exec("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL;");
}

void SummaryStore::Close() {
    m_findSource = {};
    m_insertSource = {};
    m_saveSource = {};
    m_addDay = {};
    m_addBucket = {};
    m_findSpan = {};
    m_putSpan = {};
    m_pruneSpans = {};
    m_dropPlant = {};
    m_sumPlant = {};
    m_db.Close();
}

bool SummaryStore::Prepare() {
    m_findSource = m_db.Prepare(FIND_SOURCE);
    m_insertSource = m_db.Prepare(INSERT_SOURCE);
    m_saveSource = m_db.Prepare(SAVE_SOURCE);
    m_addDay = m_db.Prepare(ADD_DAY);
    m_addBucket = m_db.Prepare(ADD_BUCKET);
    const std::string findSpan =
        std::string("SELECT ") + SPAN_COLUMNS + " FROM span WHERE source = ?1 AND start = ?2";
    m_findSpan = m_db.Prepare(findSpan.c_str());
    m_putSpan = m_db.Prepare(
        "INSERT OR REPLACE INTO span VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12,"
        " ?13, ?14, ?15, ?16, ?17, ?18)");
    m_pruneSpans = m_db.Prepare(PRUNE_SPANS);
    m_dropPlant = m_db.Prepare(DROP_PLANT);
    m_sumPlant = m_db.Prepare(SUM_PLANT);
    return m_findSource.IsValid() && m_insertSource.IsValid() && m_saveSource.IsValid() &&
           m_addDay.IsValid() && m_addBucket.IsValid() && m_findSpan.IsValid() &&
           m_putSpan.IsValid() && m_pruneSpans.IsValid() && m_dropPlant.IsValid() &&
           m_sumPlant.IsValid();
}

SqliteTransaction SummaryStore::Begin() {
    return SqliteTransaction(m_db);
}

bool SummaryStore::LoadSource(const std::string& file, SourceRecord& record) {
    record = SourceRecord{};
    record.file = file;
    m_findSource.Bind(1, file);
    if (m_findSource.Step()) {
        record.id = m_findSource.Int(0);
        record.device = m_findSource.Int(1);
        record.inode = m_findSource.Int(2);
        record.readBytes = m_findSource.Int(3);
        record.skippedLines = m_findSource.Int(4);
        record.state.any = !m_findSource.IsNull(5);
        record.state.lastTime = m_findSource.Int(5);
        record.state.lastDay = static_cast<int>(m_findSource.Int(6));
        record.state.eTodayWh = m_findSource.Int(7);
        record.state.eTotalWh = m_findSource.Int(8);
    }
    const bool failed = m_findSource.Failed();
    m_findSource.Reset();
    if (failed) {
        return false;
    }
    if (record.id != 0) {
        return true;
    }
    m_insertSource.Bind(1, file);
    if (!m_insertSource.Run()) {
        return false;
    }
    record.id = m_db.LastInsertId();
    return record.id != 0;
}

bool SummaryStore::SaveSource(const SourceRecord& record) {
    m_saveSource.Bind(1, record.id)
        .Bind(2, record.device)
        .Bind(3, record.inode)
        .Bind(4, record.readBytes)
        .Bind(5, record.skippedLines);
    if (record.state.any) {
        m_saveSource.Bind(6, std::int64_t{record.state.lastTime})
            .Bind(7, std::int64_t{record.state.lastDay})
            .Bind(8, record.state.eTodayWh)
            .Bind(9, record.state.eTotalWh);
    }
    return m_saveSource.Run();
}

bool SummaryStore::ForgetRows(std::int64_t source, std::set<std::time_t>& touched) {
    SqliteStatement starts = m_db.Prepare("SELECT start FROM bucket WHERE source = ?1");
    starts.Bind(1, source);
    while (starts.Step()) {
        touched.insert(starts.Int(0));
    }
    SqliteStatement dropDays = m_db.Prepare("DELETE FROM day WHERE source = ?1");
    SqliteStatement dropBuckets = m_db.Prepare("DELETE FROM bucket WHERE source = ?1");
    SqliteStatement dropSpans = m_db.Prepare("DELETE FROM span WHERE source = ?1");
    dropDays.Bind(1, source);
    dropBuckets.Bind(1, source);
    dropSpans.Bind(1, source);
    return !starts.Failed() && dropDays.Run() && dropBuckets.Run() && dropSpans.Run();
}

bool SummaryStore::AddRows(std::int64_t source, const std::vector<DayRow>& days,
                           const std::vector<BucketRow>& buckets) {
    for (const DayRow& row : days) {
        m_addDay.Bind(1, std::int64_t{row.day})
            .Bind(2, source)
            .Bind(3, row.energyWh)
            .Bind(4, row.peakW)
            .Bind(5, std::int64_t{row.peakTime})
            .Bind(6, std::int64_t{row.firstTime})
            .Bind(7, std::int64_t{row.lastTime})
            .Bind(8, row.samples)
            .Bind(9, row.minutes)
            .Bind(10, row.tempMin)
            .Bind(11, row.tempMax);
        if (!m_addDay.Run()) {
            return false;
        }
    }
    for (const BucketRow& row : buckets) {
        m_addBucket.Bind(1, source)
            .Bind(2, std::int64_t{row.start})
            .Bind(3, row.samples)
            .Bind(4, row.powerSum)
            .Bind(5, row.powerMax)
            .Bind(6, row.energyWh);
        if (!m_addBucket.Run()) {
            return false;
        }
    }
    return true;
}

// A span read in two runs merges with the part stored before.
bool SummaryStore::AddSpans(std::int64_t source, const std::vector<SpanRow>& spans) {
    for (SpanRow row : spans) {
        m_findSpan.Bind(1, source).Bind(2, std::int64_t{row.power.Start()});
        if (m_findSpan.Step()) {
            SpanRow stored = SpanAt(m_findSpan, 0);
            const bool later = row.power.m_nLastSecond >= stored.power.m_nLastSecond;
            stored.power.Append(row.power);
            stored.eTodayWh = later ? row.eTodayWh : stored.eTodayWh;
            row = stored;
        }
        const bool failed = m_findSpan.Failed();
        m_findSpan.Reset();
        m_putSpan.Bind(1, source);
        BindSpan(m_putSpan, 2, row);
        if (failed || !m_putSpan.Run()) {
            return false;
        }
    }
    return true;
}

bool SummaryStore::PruneSpans(std::int64_t source, std::time_t before) {
    m_pruneSpans.Bind(1, source).Bind(2, std::int64_t{before});
    return m_pruneSpans.Run();
}

bool SummaryStore::RefreshPlant(const std::set<std::time_t>& starts) {
    for (const std::time_t start : starts) {
        m_dropPlant.Bind(1, std::int64_t{start});
        m_sumPlant.Bind(1, std::int64_t{start});
        if (!m_dropPlant.Run() || !m_sumPlant.Run()) {
            return false;
        }
    }
    return true;
}

bool SummaryStore::RebuildPlant() {
    return m_db.Exec(REBUILD_PLANT);
}
