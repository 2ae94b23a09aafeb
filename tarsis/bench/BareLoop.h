// The anchor of the save benchmarks: the rows one save of a part writes (the
// part, its reference planes and its operations), written by a bare loop of
// plain prepared SQLite statements into a schema of its own (the same
// columns and keys, no checks, no foreign keys), one transaction per part,
// in write-ahead-log mode at the store's synchronous setting. What the
// store costs beyond it is what its layers cost.
#pragma once

#include "tarsis/Records.h"
#include "tarsis/SqliteStore.h"

#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace tarsis::bench {

class BareLoop {
public:
    // Opens the file, creating it with the anchor's schema where it has none.
    BareLoop(const std::string& path, Durability durability);
    ~BareLoop();
    BareLoop(const BareLoop&) = delete;
    BareLoop& operator=(const BareLoop&) = delete;

    // One transaction: the part row, then each plane and operation.
    void save(const PartRecord& part);

private:
    void exec(const char* sql);
    void step(sqlite3_stmt* statement);

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_begin = nullptr;
    sqlite3_stmt* m_commit = nullptr;
    sqlite3_stmt* m_part = nullptr;
    sqlite3_stmt* m_plane = nullptr;
    sqlite3_stmt* m_operation = nullptr;
};

} // namespace tarsis::bench
