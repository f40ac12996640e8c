#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

// One prepared statement; bind, step, read columns, reset. The first failure
// (of a bind or a step) sticks until Reset, with its reason: a statement whose
// bind failed does not run.
class SqliteStatement {
public:
    SqliteStatement() : SqliteStatement(nullptr, nullptr) {}
    // Without a statement (its text did not compile) it holds the reason and
    // fails when stepped.
    SqliteStatement(sqlite3* db, sqlite3_stmt* statement);
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
    bool Failed() const { return !m_error.empty(); }
    const std::string& Error() const { return m_error; }
    // Steps to the end; false on a failure, whose reason stays in Error().
    [[nodiscard]] bool Run();
    void Reset();

    std::int64_t Int(int column) const;
    double Real(int column) const;
    std::string Text(int column) const;
    bool IsNull(int column) const;

private:
    void Check(int result);

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_statement = nullptr;
    std::string m_error;
};

// One connection. Failures come back as false, with the reason in Error().
class SqliteDb {
public:
    SqliteDb() = default;
    ~SqliteDb();
    SqliteDb(const SqliteDb&) = delete;
    SqliteDb& operator=(const SqliteDb&) = delete;

    [[nodiscard]] bool Open(const std::string& path, bool readOnly);
    void Close();
    bool IsOpen() const { return m_db != nullptr; }
    [[nodiscard]] bool Exec(const char* sql);
    // An invalid statement, which fails when stepped, when the text does not
    // compile; Error() tells why.
    SqliteStatement Prepare(const char* sql);
    // The rowid of the last row inserted through this connection.
    std::int64_t LastInsertId() const;

    std::string Error() const;
    // The damage kind of the last failure: not a database, or corrupt.
    bool LastFailureIsDamage() const;

private:
    sqlite3* m_db = nullptr;
    std::string m_openError;
};

// A transaction that rolls back unless committed, so no early return leaves
// one open.
class SqliteTransaction {
public:
    explicit SqliteTransaction(SqliteDb& db);
    ~SqliteTransaction();
    SqliteTransaction(SqliteTransaction&& other) noexcept;
    SqliteTransaction& operator=(SqliteTransaction&&) = delete;
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;

    bool Begun() const { return m_db != nullptr; }
    [[nodiscard]] bool Commit();

private:
    SqliteDb* m_db;
};
