// Thin RAII owners for the SQLite C library: a connection, a prepared
// statement and a write transaction. Every failure throws StoreError naming
// the database file. Destructors never throw. Internal to the storage layer.
#pragma once

#include "tarsis/StoreError.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace tarsis::sqlite {

// How long a statement waits for another connection's write lock before it
// fails as busy.
constexpr int kBusyTimeoutMs = 10000;

class Connection {
public:
    // flags are SQLite open flags; with SQLITE_OPEN_CREATE a file that
    // cannot be opened is reported as one that cannot be created.
    Connection(const std::string& path, int flags);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const std::string& path() const { return m_path; }
    sqlite3* handle() const { return m_db; }

    void exec(const char* sql);
    std::int64_t lastInsertRowid() const;
    // Rows changed by the latest INSERT, UPDATE or DELETE.
    int changes() const;

    // BEGIN IMMEDIATE, COMMIT and ROLLBACK, each compiled once per
    // connection. rollback() never throws.
    void begin();
    void commit();
    void rollback() noexcept;

    // Throws the StoreError for an SQLite result code, with the
    // connection's latest message.
    [[noreturn]] void fail(int code) const;

private:
    void step(sqlite3_stmt*& statement, const char* sql);

    std::string m_path;
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_begin = nullptr;
    sqlite3_stmt* m_commit = nullptr;
    sqlite3_stmt* m_rollback = nullptr;
};

// The text of a StoreError for an SQLite result code: the path, what is
// wrong in the words a user acts on (busy, full, read-only, damaged), then
// SQLite's own message where it adds something.
std::string failureText(const std::string& path, int code, const std::string& message);
StoreError::Kind kindOf(int code);

// Columns are read by the names the SELECT gives them.
class Statement {
public:
    Statement(Connection& connection, const char* sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Makes the statement ready for new bindings.
    Statement& reset();
    Statement& bind(int index, std::int64_t value);
    Statement& bind(int index, int value) { return bind(index, static_cast<std::int64_t>(value)); }
    Statement& bind(int index, double value);
    Statement& bind(int index, std::string_view value);
    Statement& bindNull(int index);
    template <typename T>
    Statement& bind(int index, const std::optional<T>& value)
    {
        return value ? bind(index, *value) : bindNull(index);
    }

    // True when a row is ready, false when the statement is done.
    bool step();
    // Steps a statement that returns no rows, then resets it.
    void run();

    std::int64_t integer(std::string_view column) const;
    double real(std::string_view column) const;
    std::string text(std::string_view column) const;
    bool isNull(std::string_view column) const;

private:
    int column(std::string_view name) const;

    Connection& m_connection;
    sqlite3_stmt* m_stmt = nullptr;
};

// BEGIN IMMEDIATE on construction; rolls back unless committed.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Connection& m_connection;
    bool m_open = true;
};

} // namespace tarsis::sqlite
