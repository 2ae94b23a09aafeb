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

class Connection {
public:
    // flags are SQLite open flags.
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

    // Throws the StoreError for an SQLite result code, with the
    // connection's latest message.
    [[noreturn]] void fail(int code) const;

private:
    std::string m_path;
    sqlite3* m_db = nullptr;
};

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
