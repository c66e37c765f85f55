#include "SqliteDatabase.h"

#include <sqlite3.h>

namespace rowstone::service {

namespace {

// How long a writer waits for another process (the shell's "user add")
// that holds the database.
constexpr int kBusyTimeoutMs = 5000;

} // namespace

SqliteDatabase::~SqliteDatabase() {
    if (db_ != nullptr) {
        sqlite3_close_v2(db_);
    }
}

bool SqliteDatabase::Open(const std::string& path, std::string& error) {
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;
    if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        error = db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory";
        return false;
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    sqlite3_extended_result_codes(db_, 1);
    return true;
}

bool SqliteDatabase::Execute(std::string_view sql) {
    const std::string text(sql);
    return sqlite3_exec(db_, text.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::string SqliteDatabase::LastError() const {
    return db_ != nullptr ? sqlite3_errmsg(db_) : "database not open";
}

int64_t SqliteDatabase::LastInsertId() const {
    return sqlite3_last_insert_rowid(db_);
}

int SqliteDatabase::Changes() const {
    return sqlite3_changes(db_);
}

SqliteStatement::SqliteStatement(SqliteDatabase& db, std::string_view sql) {
    if (sqlite3_prepare_v2(db.Handle(), sql.data(), static_cast<int>(sql.size()), &statement_,
                           nullptr) != SQLITE_OK) {
        statement_ = nullptr;
    }
}

SqliteStatement::~SqliteStatement() {
    if (statement_ != nullptr) {
        sqlite3_finalize(statement_);
    }
}

SqliteStatement& SqliteStatement::Bind(int64_t value) {
    if (statement_ == nullptr ||
        sqlite3_bind_int64(statement_, nextParameter_++, value) != SQLITE_OK) {
        failed_ = true;
    }
    return *this;
}

SqliteStatement& SqliteStatement::Bind(const std::string& value) {
    if (statement_ == nullptr ||
        sqlite3_bind_text(statement_, nextParameter_++, value.data(),
                          static_cast<int>(value.size()), SQLITE_TRANSIENT) != SQLITE_OK) {
        failed_ = true;
    }
    return *this;
}

bool SqliteStatement::NextRow() {
    return statement_ != nullptr && !failed_ && sqlite3_step(statement_) == SQLITE_ROW;
}

bool SqliteStatement::Run() {
    if (statement_ == nullptr || failed_) {
        return false;
    }
    const int result = sqlite3_step(statement_);
    return result == SQLITE_DONE || result == SQLITE_ROW;
}

int64_t SqliteStatement::Integer(int column) const {
    return sqlite3_column_int64(statement_, column);
}

int SqliteStatement::ColumnCount() const {
    return statement_ != nullptr ? sqlite3_column_count(statement_) : 0;
}

std::string SqliteStatement::Text(int column) const {
    const unsigned char* text = sqlite3_column_text(statement_, column);
    const int size = sqlite3_column_bytes(statement_, column);
    return text != nullptr
               ? std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(size))
               : std::string();
}

bool SqliteStatement::IsNull(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

SqliteTransaction::SqliteTransaction(SqliteDatabase& db) : db_(db) {
    active_ = db_.Execute("BEGIN IMMEDIATE");
}

SqliteTransaction::~SqliteTransaction() {
    if (active_) {
        db_.Execute("ROLLBACK");
    }
}

bool SqliteTransaction::Commit() {
    if (!active_) {
        return false;
    }
    active_ = false;
    if (!db_.Execute("COMMIT")) {
        db_.Execute("ROLLBACK");
        return false;
    }
    return true;
}

} // namespace rowstone::service
