#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace rowstone::service {

// One open SQLite database file, closed when the object goes.
class SqliteDatabase {
public:
    SqliteDatabase() = default;
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    bool Open(const std::string& path, std::string& error);
    bool Execute(std::string_view sql);
    std::string LastError() const;
    int64_t LastInsertId() const;
    // Rows changed by the last statement.
    int Changes() const;
    sqlite3* Handle() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

// One prepared statement; parameters are bound from 1 in order.
class SqliteStatement {
public:
    SqliteStatement(SqliteDatabase& db, std::string_view sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool Valid() const { return statement_ != nullptr; }
    SqliteStatement& Bind(int64_t value);
    SqliteStatement& Bind(const std::string& value);

    // Steps once: true while a row is available.
    bool NextRow();
    // Runs a statement that returns no rows; true when it completed.
    bool Run();

    int ColumnCount() const;
    int64_t Integer(int column) const;
    std::string Text(int column) const;
    bool IsNull(int column) const;

private:
    sqlite3_stmt* statement_ = nullptr;
    int nextParameter_ = 1;
    bool failed_ = false;
};

// BEGIN IMMEDIATE ... COMMIT; rolled back unless Commit succeeded.
class SqliteTransaction {
public:
    explicit SqliteTransaction(SqliteDatabase& db);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;

    bool Active() const { return active_; }
    bool Commit();

private:
    SqliteDatabase& db_;
    bool active_ = false;
};

} // namespace rowstone::service
