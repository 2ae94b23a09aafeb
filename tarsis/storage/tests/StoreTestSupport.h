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

// A part with a plane and one of each operation kind, planes and
// operations in a fixed order; operationCount operations in all.
PartRecord samplePart(const PartKey& key, int operationCount = 6);

} // namespace tarsis::testing
