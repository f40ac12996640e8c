#pragma once

#include "history/SqliteDb.h"

#include <mutex>
#include <string>

// The alert outbox's SQLite file (write-ahead log), shared by the queue and
// the condition table, one statement at a time under one lock. A file that
// is damaged or of another schema is moved aside and a new one begun.
class OutboxDb {
public:
    static constexpr const char* FILE_NAME = "Alerts.db";

    // False, with the reason, when no usable file can be had; the callers
    // then keep what they hold in memory.
    [[nodiscard]] bool Open(const std::string& path, std::string& problem);
    bool IsOpen() const { return m_db.IsOpen(); }
    const std::string& Path() const { return m_path; }

    SqliteDb& Db() { return m_db; }
    std::mutex& Mutex() { return m_mutex; }

    // Tells a failure once per episode and its end once; reason: why the
    // step failed, SQLite's words.
    void Note(bool worked, const std::string& what, const std::string& reason);

private:
    // foreign: the file holds another schema version.
    bool Prepare(bool& foreign);

    SqliteDb m_db;
    std::string m_path;
    std::mutex m_mutex;
    bool m_failing = false;
};
