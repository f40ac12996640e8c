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

int SummaryVersion(SqliteDb& db, std::string& problem) {
    std::string failure;
    const std::int64_t application = Pragma(db, "PRAGMA application_id", failure);
    const std::int64_t version = Pragma(db, "PRAGMA user_version", failure);
    if (!failure.empty()) {
        problem = "cannot read its header: " + failure;
        return -1;
    }
    if (application != SUMMARY_APPLICATION_ID) {
        problem = "not a history summary";
        return -1;
    }
    return static_cast<int>(version);
}

std::string SummaryUnusableReason(SqliteDb& db) {
    std::string problem;
    const int version = SummaryVersion(db, problem);
    if (version < 0) {
        return problem;
    }
    if (version != SUMMARY_SCHEMA_VERSION) {
        return "summary of schema version " + std::to_string(version) + ", not " +
               std::to_string(SUMMARY_SCHEMA_VERSION);
    }
    return {};
}
