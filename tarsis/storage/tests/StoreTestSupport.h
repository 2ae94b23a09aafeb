// Test helpers of the storage and its users: raw SQL on a database file, a
// write lock held from outside, and a sample part. A temporary database
// comes from testing/TemporaryDatabase.h.
#pragma once

#include "tarsis/Records.h"

#include <string>

struct sqlite3;

namespace tarsis::testing {

// Runs SQL on its own connection; fails the test on an error.
void execSql(const std::string& path, const std::string& sql);
// The first column of the first row, as text ("" when there is none).
std::string querySql(const std::string& path, const std::string& sql);

// Holds a write transaction on its own connection until released.
class WriteLock {
public:
    explicit WriteLock(const std::string& path);
    ~WriteLock();
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;
    void release(); // may be called from another thread

private:
    sqlite3* m_db = nullptr;
};

// Makes a file read-only while the object lives: its mode 0444 and, for a
// process that write permission does not stop (root), the immutable
// attribute where the file system has one. works() tells whether writing
// the file is refused now; a test skips when it is not.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const std::string& path);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    bool works() const;

private:
    std::string m_path;
    bool m_immutable = false;
};

// Limits every SQLite connection that this process opens while the object
// lives (the store's and the Tarsis servers' too, as they share the SQLite
// library) to a database of at most maxPages pages (PRAGMA max_page_count):
// a write that needs more fails with SQLITE_FULL, as on a full disk.
class DatabaseSizeLimit {
public:
    explicit DatabaseSizeLimit(long long maxPages);
    ~DatabaseSizeLimit();
    DatabaseSizeLimit(const DatabaseSizeLimit&) = delete;
    DatabaseSizeLimit& operator=(const DatabaseSizeLimit&) = delete;
};

// The pages the database holds now.
long long pageCount(const std::string& path);

// A part with a plane and one of each operation kind, planes and
// operations in a fixed order; operationCount operations in all.
PartRecord samplePart(const PartKey& key, int operationCount = 6);

} // namespace tarsis::testing
