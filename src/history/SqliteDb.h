#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

// One prepared statement; bind, step, read columns, reset.
class SqliteStatement {
public:
    SqliteStatement() = default;
    SqliteStatement(sqlite3* db, sqlite3_stmt* statement) : m_db(db), m_statement(statement) {}
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool IsValid() const { return m_statement != nullptr; }
    SqliteStatement& Bind(int index, std::int64_t value);
    SqliteStatement& Bind(int index, std::string_view value);
    SqliteStatement& BindNull(int index);
    // True while a row is there to read; false at the end or on a failure,
    // which Failed() then tells apart.
    bool Step();
    bool Failed() const { return m_failed; }
    // Steps to the end; false on a failure.
    bool Run();
    void Reset();

    std::int64_t Int(int column) const;
    double Real(int column) const;
    std::string Text(int column) const;
    bool IsNull(int column) const;

private:
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_statement = nullptr;
    bool m_failed = false;
};

// One connection. Failures come back as false, with the reason in Error().
class SqliteDb {
public:
    SqliteDb() = default;
    ~SqliteDb();
    SqliteDb(const SqliteDb&) = delete;
    SqliteDb& operator=(const SqliteDb&) = delete;

    bool Open(const std::string& path, bool readOnly);
    void Close();
    bool IsOpen() const { return m_db != nullptr; }
    bool Exec(const char* sql);
    SqliteStatement Prepare(const char* sql);
    // The first column of the first row of a query; fallback when none.
    std::int64_t QueryInt(const char* sql, std::int64_t fallback);

    std::string Error() const;
    // The damage kind of the last failure: not a database, or corrupt.
    bool LastFailureIsDamage() const;

private:
    sqlite3* m_db = nullptr;
    std::string m_openError;
};
