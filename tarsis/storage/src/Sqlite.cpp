// RAII owners for the SQLite C library; see Sqlite.h.
#include "Sqlite.h"

#include <sqlite3.h>

#include <limits>

namespace tarsis::sqlite {
namespace {

StoreError::Kind kindOf(int code)
{
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return StoreError::Kind::Busy;
    case SQLITE_FULL:
        return StoreError::Kind::Full;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return StoreError::Kind::Damaged;
    case SQLITE_CONSTRAINT:
        return StoreError::Kind::Conflict;
    default:
        return StoreError::Kind::Failed;
    }
}

} // namespace

Connection::Connection(const std::string& path, int flags) : m_path(path)
{
    int rc = sqlite3_open_v2(path.c_str(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc);
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw StoreError(kindOf(rc), "Tarsis database " + path + ": " + message);
    }
    sqlite3_extended_result_codes(m_db, 1);
}

Connection::~Connection()
{
    sqlite3_close_v2(m_db);
}

void Connection::exec(const char* sql)
{
    int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        fail(rc);
}

std::int64_t Connection::lastInsertRowid() const
{
    return sqlite3_last_insert_rowid(m_db);
}

int Connection::changes() const
{
    return sqlite3_changes(m_db);
}

void Connection::fail(int code) const
{
    std::string message = sqlite3_errmsg(m_db);
    if ((code & 0xff) == SQLITE_NOTADB)
        message = ": the file is not a database";
    else if ((code & 0xff) == SQLITE_CORRUPT)
        message = " is damaged: " + message;
    else
        message = ": " + message;
    throw StoreError(kindOf(code), "Tarsis database " + m_path + message);
}

Statement::Statement(Connection& connection, const char* sql) : m_connection(connection)
{
    int rc = sqlite3_prepare_v2(connection.handle(), sql, -1, &m_stmt, nullptr);
    if (rc != SQLITE_OK)
        connection.fail(rc);
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

Statement& Statement::reset()
{
    // The result of the previous step was already reported by step().
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
    return *this;
}

Statement& Statement::bind(int index, std::int64_t value)
{
    int rc = sqlite3_bind_int64(m_stmt, index, value);
    if (rc != SQLITE_OK)
        m_connection.fail(rc);
    return *this;
}

Statement& Statement::bind(int index, double value)
{
    int rc = sqlite3_bind_double(m_stmt, index, value);
    if (rc != SQLITE_OK)
        m_connection.fail(rc);
    return *this;
}

Statement& Statement::bind(int index, std::string_view value)
{
    if (value.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        throw StoreError(StoreError::Kind::Failed,
                         "Tarsis database " + m_connection.path() + ": text too long");
    int rc = sqlite3_bind_text(m_stmt, index, value.data(), static_cast<int>(value.size()),
                               SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
        m_connection.fail(rc);
    return *this;
}

Statement& Statement::bindNull(int index)
{
    int rc = sqlite3_bind_null(m_stmt, index);
    if (rc != SQLITE_OK)
        m_connection.fail(rc);
    return *this;
}

bool Statement::step()
{
    int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(m_stmt);
    m_connection.fail(rc);
}

void Statement::run()
{
    while (step()) {
    }
    reset();
}

int Statement::column(std::string_view name) const
{
    int count = sqlite3_column_count(m_stmt);
    for (int i = 0; i < count; ++i)
        if (name == sqlite3_column_name(m_stmt, i))
            return i;
    throw StoreError(StoreError::Kind::Failed,
                     "Tarsis database " + m_connection.path() + ": no column " + std::string(name));
}

std::int64_t Statement::integer(std::string_view name) const
{
    return sqlite3_column_int64(m_stmt, column(name));
}

double Statement::real(std::string_view name) const
{
    return sqlite3_column_double(m_stmt, column(name));
}

std::string Statement::text(std::string_view name) const
{
    int i = column(name);
    const unsigned char* p = sqlite3_column_text(m_stmt, i);
    if (!p)
        return {};
    return std::string(reinterpret_cast<const char*>(p),
                       static_cast<std::size_t>(sqlite3_column_bytes(m_stmt, i)));
}

bool Statement::isNull(std::string_view name) const
{
    return sqlite3_column_type(m_stmt, column(name)) == SQLITE_NULL;
}

Transaction::Transaction(Connection& connection) : m_connection(connection)
{
    connection.exec("BEGIN IMMEDIATE");
}

Transaction::~Transaction()
{
    if (m_open)
        sqlite3_exec(m_connection.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit()
{
    m_connection.exec("COMMIT");
    m_open = false;
}

} // namespace tarsis::sqlite
