#include "SqliteDb.h"

#include <sqlite3.h>
#include <utility>

namespace {
constexpr int BUSY_TIMEOUT_MS = 5000;
} // namespace

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(m_statement);
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : m_db(other.m_db), m_statement(std::exchange(other.m_statement, nullptr)),
      m_failed(other.m_failed) {}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(m_statement);
        m_db = other.m_db;
        m_statement = std::exchange(other.m_statement, nullptr);
        m_failed = other.m_failed;
    }
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, std::int64_t value) {
    sqlite3_bind_int64(m_statement, index, value);
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, std::string_view value) {
    sqlite3_bind_text(m_statement, index, value.data(), static_cast<int>(value.size()),
                      SQLITE_TRANSIENT);
    return *this;
}

SqliteStatement& SqliteStatement::BindNull(int index) {
    sqlite3_bind_null(m_statement, index);
    return *this;
}

bool SqliteStatement::Step() {
    if (m_statement == nullptr) {
        m_failed = true;
        return false;
    }
    const int result = sqlite3_step(m_statement);
    m_failed = result != SQLITE_ROW && result != SQLITE_DONE;
    return result == SQLITE_ROW;
}

bool SqliteStatement::Run() {
    while (Step()) {
    }
    const bool succeeded = !m_failed;
    Reset();
    m_failed = !succeeded;
    return succeeded;
}

void SqliteStatement::Reset() {
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
    m_failed = false;
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
    sqlite3_busy_timeout(m_db, BUSY_TIMEOUT_MS);
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
        return {};
    }
    return {m_db, statement};
}

std::int64_t SqliteDb::QueryInt(const char* sql, std::int64_t fallback) {
    SqliteStatement query = Prepare(sql);
    return query.IsValid() && query.Step() && !query.IsNull(0) ? query.Int(0) : fallback;
}

std::string SqliteDb::Error() const {
    return m_db != nullptr ? sqlite3_errmsg(m_db) : m_openError;
}

bool SqliteDb::LastFailureIsDamage() const {
    const int code = m_db != nullptr ? sqlite3_errcode(m_db) : SQLITE_OK;
    return code == SQLITE_CORRUPT || code == SQLITE_NOTADB;
}
