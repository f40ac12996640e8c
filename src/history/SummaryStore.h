#pragma once

#include "SqliteDb.h"
#include "SummaryRows.h"

#include <cstdint>
#include <ctime>
#include <set>
#include <string>
#include <vector>

// One history file as the summary knows it: how far it has been read, and
// the file those bytes belong to.
struct SourceRecord {
    std::int64_t id = 0;
    std::string file;
    std::int64_t device = 0;
    std::int64_t inode = 0;
    std::int64_t readBytes = 0;
    std::int64_t skippedLines = 0;
    SourceState state;
};

// The summary database as its one writer sees it. Every day and bucket row
// merges into the stored one, so rows may come in any number of runs.
class SummaryStore {
public:
    enum class Opened { READY, MISSING, UNUSABLE };

    // An existing summary of this schema version, ready to write.
    Opened Open(const std::string& path, std::string* problem);
    // A new summary in a file that must not exist yet, whose spans start
    // with the local day of its creation. Bulk filling writes without a
    // journal; FinishBulk then turns write-ahead logging on.
    [[nodiscard]] bool Create(const std::string& path, bool bulk);
    [[nodiscard]] bool FinishBulk();
    void Close();

    // Rolls back unless committed.
    SqliteTransaction Begin();

    // The record of a file, created when the file is new to the summary.
    [[nodiscard]] bool LoadSource(const std::string& file, SourceRecord& record);
    [[nodiscard]] bool SaveSource(const SourceRecord& record);
    // Drops every row of a source, adding the stretches it had to touched.
    [[nodiscard]] bool ForgetRows(std::int64_t source, std::set<std::time_t>& touched);
    [[nodiscard]] bool AddRows(std::int64_t source, const std::vector<DayRow>& days,
                               const std::vector<BucketRow>& buckets);
    [[nodiscard]] bool AddSpans(std::int64_t source, const std::vector<SpanRow>& spans);
    // Drops a source's spans before a time.
    [[nodiscard]] bool PruneSpans(std::int64_t source, std::time_t before);
    // The plant's rows of the given stretches, or of all, from its inverters'.
    [[nodiscard]] bool RefreshPlant(const std::set<std::time_t>& starts);
    [[nodiscard]] bool RebuildPlant();

    std::string Error() const { return m_db.Error(); }
    bool Damaged() const { return m_db.LastFailureIsDamage(); }

private:
    bool Prepare();
    // Version 1 lacks the spans, which then start now.
    bool Migrate();

    SqliteDb m_db;
    SqliteStatement m_findSource;
    SqliteStatement m_insertSource;
    SqliteStatement m_saveSource;
    SqliteStatement m_addDay;
    SqliteStatement m_addBucket;
    SqliteStatement m_findSpan;
    SqliteStatement m_putSpan;
    SqliteStatement m_pruneSpans;
    SqliteStatement m_dropPlant;
    SqliteStatement m_sumPlant;
};
