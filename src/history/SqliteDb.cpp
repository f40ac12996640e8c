#include "SqliteDb.h"

#include <sqlite3.h>
#include <utility>

namespace {
constexpr int BUSY_TIMEOUT_MS = 5000;
} // namespace

SqliteStatement::SqliteStatement(sqlite3* db, sqlite3_stmt* statement)
    : m_db(db), m_statement(statement) {
    if (m_statement == nullptr) {
        m_error = db != nullptr ? sqlite3_errmsg(db) : "the history summary is not open";
    }
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(m_statement);
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : m_db(other.m_db), m_statement(std::exchange(other.m_statement, nullptr)),
      m_error(std::move(other.m_error)) {}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(m_statement);
        m_db = other.m_db;
        m_statement = std::exchange(other.m_statement, nullptr);
        m_error = std::move(other.m_error);
    }
    return *this;
}

void SqliteStatement::Check(int result) {
    if (result != SQLITE_OK && result != SQLITE_ROW && result != SQLITE_DONE && m_error.empty()) {
        m_error = m_db != nullptr ? sqlite3_errmsg(m_db) : sqlite3_errstr(result);
    }
}

SqliteStatement& SqliteStatement::Bind(int index, std::int64_t value) {
    Check(sqlite3_bind_int64(m_statement, index, value));
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, std::string_view value) {
    Check(sqlite3_bind_text(m_statement, index, value.data(), static_cast<int>(value.size()),
                            SQLITE_TRANSIENT));
    return *this;
}

SqliteStatement& SqliteStatement::BindNull(int index) {
    Check(sqlite3_bind_null(m_statement, index));
    return *this;
}

bool SqliteStatement::Step() {
    if (m_statement == nullptr || Failed()) {
        return false;
    }
    const int result = sqlite3_step(m_statement);
    Check(result);
    return result == SQLITE_ROW;
}

bool SqliteStatement::Run() {
    while (Step()) {
    }
    std::string error = std::exchange(m_error, {});
    Reset();
    m_error = std::move(error);
    return m_error.empty();
}

// Reset repeats the last step's failure, which Step has already kept.
void SqliteStatement::Reset() {
    if (m_statement == nullptr) {
        return;
    }
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
    m_error.clear();
}

std::int64_t SqliteStatement::Int(int column) const {
    return sqlite3_column_int64(m_statement, column);
}

double SqliteStatement::Real(int column) const {
    return sqlite3_column_double(m_statement, column);
}

std::string SqliteStatement::Text(int column) const {
    const auto* text = sqlite3_column_text(m_statement, column);
    const int size = sqlite3_column_bytes(m_statement, column);
    return text == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(text), size);
}

bool SqliteStatement::IsNull(int column) const {
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

SqliteDb::~SqliteDb() {
    Close();
}

bool SqliteDb::Open(const std::string& path, bool readOnly) {
    Close();
    const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    if (sqlite3_open_v2(path.c_str(), &m_db, flags | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        m_openError = m_db != nullptr ? sqlite3_errmsg(m_db) : "out of memory";
        Close();
        return false;
    }
    if (sqlite3_busy_timeout(m_db, BUSY_TIMEOUT_MS) != SQLITE_OK) {
        m_openError = sqlite3_errmsg(m_db);
        Close();
        return false;
    }
    return true;
}

void SqliteDb::Close() {
    sqlite3_close_v2(m_db);
    m_db = nullptr;
}

bool SqliteDb::Exec(const char* sql) {
    return m_db != nullptr && sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

SqliteStatement SqliteDb::Prepare(const char* sql) {
    sqlite3_stmt* statement = nullptr;
    if (m_db == nullptr || sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) != SQLITE_OK) {
        return {m_db, nullptr};
    }
    return {m_db, statement};
}

std::int64_t SqliteDb::LastInsertId() const {
    return m_db != nullptr ? sqlite3_last_insert_rowid(m_db) : 0;
}

std::string SqliteDb::Error() const {
    return m_db != nullptr ? sqlite3_errmsg(m_db) : m_openError;
}

bool SqliteDb::LastFailureIsDamage() const {
    const int code = m_db != nullptr ? sqlite3_errcode(m_db) : SQLITE_OK;
    return code == SQLITE_CORRUPT || code == SQLITE_NOTADB;
}

SqliteTransaction::SqliteTransaction(SqliteDb& db)
    : m_db(db.Exec("BEGIN IMMEDIATE") ? &db : nullptr) {}

SqliteTransaction::SqliteTransaction(SqliteTransaction&& other) noexcept
    : m_db(std::exchange(other.m_db, nullptr)) {}

SqliteTransaction::~SqliteTransaction() {
    if (m_db != nullptr && !m_db->Exec("ROLLBACK")) {
        // The connection rolls back by itself when it closes; nothing is kept.
        m_db->Close();
    }
}

bool SqliteTransaction::Commit() {
    if (m_db == nullptr || !m_db->Exec("COMMIT")) {
        return false;
    }
    m_db = nullptr;
    return true;
}
