#include "SummarySchema.h"

#include "SqliteDb.h"
#include "platform/DataDirectory.h"

namespace {
// The pragma's value; -1 with the reason when it cannot be read.
std::int64_t Pragma(SqliteDb& db, const char* query, std::string& problem) {
    SqliteStatement statement = db.Prepare(query);
    if (statement.Step()) {
        return statement.Int(0);
    }
    problem = statement.Failed() ? statement.Error() : "no value";
    return -1;
}
} // namespace

std::string SummaryPath() {
    return DataDirectory() + "/" + SUMMARY_FILE_NAME;
}

std::string SummaryUnusableReason(SqliteDb& db) {
    std::string problem;
    const std::int64_t application = Pragma(db, "PRAGMA application_id", problem);
    const std::int64_t version = Pragma(db, "PRAGMA user_version", problem);
    if (!problem.empty()) {
        return "cannot read its header: " + problem;
    }
    if (application != SUMMARY_APPLICATION_ID) {
        return "not a history summary";
    }
    if (version != SUMMARY_SCHEMA_VERSION) {
        return "summary of schema version " + std::to_string(version) + ", not " +
               std::to_string(SUMMARY_SCHEMA_VERSION);
    }
    return {};
}
