#include "OutboxDb.h"

#include "platform/Log.h"
#include "store/MoveFileAside.h"

#include <filesystem>

namespace {
constexpr int SCHEMA_VERSION = 1;

const char* const SCHEMA = R"(
CREATE TABLE IF NOT EXISTS alert(
    id INTEGER PRIMARY KEY, identity TEXT NOT NULL, rule TEXT NOT NULL, state TEXT NOT NULL,
    severity TEXT NOT NULL, serial TEXT NOT NULL, port INTEGER NOT NULL,
    address INTEGER NOT NULL, title TEXT NOT NULL, text TEXT NOT NULL, time INTEGER NOT NULL,
    count INTEGER NOT NULL, station TEXT NOT NULL, not_before INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS delivery(
    alert INTEGER NOT NULL REFERENCES alert(id) ON DELETE CASCADE, channel TEXT NOT NULL,
    sent INTEGER, given_up INTEGER, attempts INTEGER NOT NULL DEFAULT 0,
    error TEXT NOT NULL DEFAULT '', PRIMARY KEY(alert, channel));
CREATE INDEX IF NOT EXISTS queued ON delivery(channel, alert)
    WHERE sent IS NULL AND given_up IS NULL;
CREATE TABLE IF NOT EXISTS condition(
    id INTEGER NOT NULL DEFAULT 0, identity TEXT PRIMARY KEY, rule TEXT NOT NULL,
    state TEXT NOT NULL, severity TEXT NOT NULL, serial TEXT NOT NULL, port INTEGER NOT NULL,
    address INTEGER NOT NULL, title TEXT NOT NULL, text TEXT NOT NULL, time INTEGER NOT NULL,
    count INTEGER NOT NULL, station TEXT NOT NULL, open INTEGER NOT NULL,
    announced_open INTEGER NOT NULL, opened_at INTEGER NOT NULL, window_end INTEGER NOT NULL,
    occurrences INTEGER NOT NULL, folded INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS mark(name TEXT PRIMARY KEY, value INTEGER NOT NULL);
PRAGMA user_version = 1;
)";

// Its log goes with it; the shared-memory index is made anew.
Outcome<std::string> MoveAside(const std::string& path) {
    std::error_code ignored;
    if (std::filesystem::exists(path + "-wal", ignored)) {
        if (auto log = MoveFileAside(path + "-wal"); !log) {
            return log;
        }
    }
    std::filesystem::remove(path + "-shm", ignored);
    return MoveFileAside(path);
}
} // namespace

bool OutboxDb::Open(const std::string& path, std::string& problem) {
    std::lock_guard lock(m_mutex);
    m_path = path;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!m_db.Open(path, false)) {
            problem = "alert outbox " + path + ": " + m_db.Error();
            return false;
        }
        bool foreign = false;
        if (Prepare(foreign)) {
            return true;
        }
        problem = "alert outbox " + path + ": " +
                  (foreign ? std::string("written by another version") : m_db.Error());
        const bool unusable = foreign || m_db.LastFailureIsDamage();
        m_db.Close();
        if (!unusable) {
            return false;
        }
        const Outcome<std::string> moved = MoveAside(path);
        if (!moved) {
            problem += "; it cannot be moved aside: " + moved.Reason();
            return false;
        }
        Log(LogLevel::Warning, problem + "; it is now " + *moved + " and a new one is begun");
    }
    return false;
}

bool OutboxDb::Prepare(bool& foreign) {
    if (!m_db.Exec("PRAGMA journal_mode=WAL") || !m_db.Exec("PRAGMA foreign_keys=ON")) {
        return false;
    }
    SqliteStatement version = m_db.Prepare("PRAGMA user_version");
    if (!version.Step()) {
        return false;
    }
    foreign = version.Int(0) != 0 && version.Int(0) != SCHEMA_VERSION;
    return !foreign && m_db.Exec(SCHEMA);
}

void OutboxDb::Note(bool worked, const std::string& what, const std::string& reason) {
    if (worked == !m_failing) {
        return;
    }
    m_failing = !worked;
    if (worked) {
        Log(LogLevel::Info, "alert outbox " + m_path + " is written again");
    } else {
        Log(LogLevel::Error, "alert outbox " + m_path + ": " + what + ": " + reason +
                                 "; alerts are kept in memory meanwhile");
    }
}
