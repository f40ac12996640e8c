#pragma once

#include "history/SqliteDb.h"

// Begins a write transaction that rolls back unless Commit() succeeded.
class SqliteTransaction {
public:
    explicit SqliteTransaction(SqliteDb& db) : m_db(db), m_begun(db.Exec("BEGIN IMMEDIATE")) {}
    ~SqliteTransaction() {
        if (m_begun) {
            m_db.Exec("ROLLBACK");
        }
    }
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;

    bool Begun() const { return m_begun; }
    [[nodiscard]] bool Commit() {
        if (m_begun && m_db.Exec("COMMIT")) {
            m_begun = false;
            return true;
        }
        return false;
    }

private:
    SqliteDb& m_db;
    bool m_begun;
};
