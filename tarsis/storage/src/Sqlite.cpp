// RAII owners for the SQLite C library; see Sqlite.h.
#include "Sqlite.h"

#include <sqlite3.h>

#include <limits>

namespace tarsis::sqlite {

StoreError::Kind kindOf(int code)
{
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return StoreError::Kind::Busy;
    case SQLITE_FULL:
        return StoreError::Kind::Full;
    case SQLITE_READONLY:
        return StoreError::Kind::ReadOnly;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return StoreError::Kind::Damaged;
    case SQLITE_CONSTRAINT:
        return StoreError::Kind::Conflict;
    default:
        return StoreError::Kind::Failed;
    }
}

std::string failureText(const std::string& path, int code, const std::string& message)
{
    const std::string head = "Tarsis database " + path;
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return head + " is busy: another program has kept it locked for longer than " +
               std::to_string(kBusyTimeoutMs / 1000) + " seconds";
    case SQLITE_FULL:
        return head + " is full: its disk has no room left, or the database has reached its "
                      "size limit";
    case SQLITE_READONLY:
        if (code == SQLITE_READONLY_DBMOVED)
            return head + " is read-only: the file was moved or deleted while it was open";
        return head + " is read-only: " + message;
    case SQLITE_CORRUPT:
        return head + " is damaged: " + message;
    case SQLITE_NOTADB:
        return head + ": the file is not a database: it is damaged, or another program's file";
    case SQLITE_IOERR:
        return head + " cannot be read or written: " + message;
    default:
        return head + ": " + message;
    }
}

Connection::Connection(const std::string& path, int flags) : m_path(path)
{
    // A connection serves one thread at a time (its owner serialises the
    // calls), so SQLite's own locking of it is not needed.
    int rc = sqlite3_open_v2(path.c_str(), &m_db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc);
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        if ((rc & 0xff) == SQLITE_CANTOPEN && (flags & SQLITE_OPEN_CREATE))
            throw StoreError(StoreError::Kind::CannotCreate,
                             "Tarsis database " + path + " cannot be created: " + message);
        if ((rc & 0xff) == SQLITE_CANTOPEN)
            throw StoreError(StoreError::Kind::Failed,
                             "Tarsis database " + path + " cannot be opened: " + message);
        throw StoreError(kindOf(rc), failureText(path, rc, message));
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
}

Connection::~Connection()
{
    sqlite3_finalize(m_begin);
    sqlite3_finalize(m_commit);
    sqlite3_finalize(m_rollback);
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
    throw StoreError(kindOf(code), failureText(m_path, code, sqlite3_errmsg(m_db)));
}

void Connection::step(sqlite3_stmt*& statement, const char* sql)
{
    if (!statement) {
        int rc = sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr);
        if (rc != SQLITE_OK)
            fail(rc);
    }
    int rc = sqlite3_step(statement);
    sqlite3_reset(statement);
    if (rc != SQLITE_DONE)
        fail(rc);
}

void Connection::begin()
{
    step(m_begin, "BEGIN IMMEDIATE");
}

void Connection::commit()
{
    step(m_commit, "COMMIT");
}

void Connection::rollback() noexcept
{
    // Nothing to undo when SQLite has ended the transaction itself.
    if (sqlite3_get_autocommit(m_db))
        return;
    if (!m_rollback && sqlite3_prepare_v2(m_db, "ROLLBACK", -1, &m_rollback, nullptr) != SQLITE_OK)
        return;
    sqlite3_step(m_rollback);
    sqlite3_reset(m_rollback);
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
    connection.begin();
}

Transaction::~Transaction()
{
    if (m_open)
        m_connection.rollback();
}

void Transaction::commit()
{
    m_connection.commit();
    m_open = false;
}

} // namespace tarsis::sqlite
