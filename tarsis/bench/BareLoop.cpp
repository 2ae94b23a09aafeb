// The bare SQLite loop; see BareLoop.h.
#include "BareLoop.h"

#include <sqlite3.h>

#include <stdexcept>
#include <variant>

namespace tarsis::bench {
namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS parts (id INTEGER PRIMARY KEY, job TEXT, grp TEXT, mark TEXT, quantity INTEGER,
  length REAL, section TEXT, description TEXT, grade TEXT, text1 TEXT, number INTEGER,
  text2 TEXT, text3 TEXT, measuring_system INTEGER, part_kind INTEGER, saved_at TEXT,
  UNIQUE (job, grp, mark));
CREATE TABLE IF NOT EXISTS ref_planes (part_id INTEGER, seq INTEGER, start_x REAL, start_u REAL, rise REAL,
  run REAL, direction_x TEXT, direction_u TEXT, pattern TEXT, PRIMARY KEY (part_id, seq));
CREATE TABLE IF NOT EXISTS operations (part_id INTEGER, seq INTEGER, plane_seq INTEGER, kind INTEGER,
  face INTEGER, x REAL, u REAL, x_inc REAL, u_inc REAL, num_x INTEGER, num_u INTEGER,
  tool_size1 REAL, tool_size2 REAL, tool_shape TEXT, orientation INTEGER,
  tool_measuring_system INTEGER, text TEXT, PRIMARY KEY (part_id, seq));
)sql";

void bindText(sqlite3_stmt* st, int i, const std::string& text)
{
    sqlite3_bind_text(st, i, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
}

} // namespace

BareLoop::BareLoop(const std::string& path, Durability durability)
{
    if (sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK)
        throw std::runtime_error("cannot open " + path);
    exec("PRAGMA journal_mode = WAL");
    exec(durability == Durability::FlushedCommit ? "PRAGMA synchronous = FULL"
                                                 : "PRAGMA synchronous = NORMAL");
    exec(kSchema);
    auto prepare = [&](const char* sql) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &st, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(m_db));
        return st;
    };
    m_begin = prepare("BEGIN IMMEDIATE");
    m_commit = prepare("COMMIT");
    m_part = prepare("INSERT INTO parts (job, grp, mark, quantity, length, section, description,"
                     " grade, text1, number, text2, text3, measuring_system, part_kind, saved_at)"
                     " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?,"
                     " strftime('%Y-%m-%dT%H:%M:%SZ', 'now'))");
    m_plane = prepare("INSERT INTO ref_planes (part_id, seq, start_x, start_u, rise, run,"
                      " direction_x, direction_u, pattern) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    m_operation = prepare("INSERT INTO operations (part_id, seq, plane_seq, kind, face, x, u,"
                          " x_inc, u_inc, num_x, num_u, tool_size1, tool_size2, tool_shape,"
                          " orientation, tool_measuring_system, text)"
                          " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
}

BareLoop::~BareLoop()
{
    for (sqlite3_stmt* st : {m_begin, m_commit, m_part, m_plane, m_operation})
        sqlite3_finalize(st);
    sqlite3_close(m_db);
}

void BareLoop::exec(const char* sql)
{
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(m_db));
}

void BareLoop::step(sqlite3_stmt* st)
{
    if (sqlite3_step(st) != SQLITE_DONE)
        throw std::runtime_error(sqlite3_errmsg(m_db));
    sqlite3_reset(st);
}

void BareLoop::save(const PartRecord& part)
{
    step(m_begin);
    const PartHeader& h = part.header;
    bindText(m_part, 1, h.key.job);
    bindText(m_part, 2, h.key.group);
    bindText(m_part, 3, h.key.mark);
    sqlite3_bind_int(m_part, 4, h.quantity);
    sqlite3_bind_double(m_part, 5, h.length);
    bindText(m_part, 6, h.shape.section);
    bindText(m_part, 7, h.shape.description);
    bindText(m_part, 8, h.grade);
    bindText(m_part, 9, h.text1);
    sqlite3_bind_int(m_part, 10, h.number);
    bindText(m_part, 11, h.text2);
    bindText(m_part, 12, h.text3);
    sqlite3_bind_int(m_part, 13, h.measuringSystem);
    sqlite3_bind_int(m_part, 14, h.partKind);
    step(m_part);
    const sqlite3_int64 id = sqlite3_last_insert_rowid(m_db);
    int seq = 0;
    int plane = 0;
    for (const PartEntry& entry : part.entries) {
        ++seq;
        if (const auto* p = std::get_if<RefPlane>(&entry)) {
            sqlite3_bind_int64(m_plane, 1, id);
            sqlite3_bind_int(m_plane, 2, seq);
            sqlite3_bind_double(m_plane, 3, p->startX);
            sqlite3_bind_double(m_plane, 4, p->startU);
            sqlite3_bind_double(m_plane, 5, p->rise);
            sqlite3_bind_double(m_plane, 6, p->run);
            bindText(m_plane, 7, p->directionX);
            bindText(m_plane, 8, p->directionU);
            bindText(m_plane, 9, p->pattern);
            step(m_plane);
            plane = seq;
            continue;
        }
        const Operation& op = std::get<Operation>(entry);
        sqlite3_clear_bindings(m_operation);
        sqlite3_bind_int64(m_operation, 1, id);
        sqlite3_bind_int(m_operation, 2, seq);
        if (plane)
            sqlite3_bind_int(m_operation, 3, plane);
        sqlite3_bind_int(m_operation, 4, static_cast<int>(op.kind));
        sqlite3_bind_int(m_operation, 5, static_cast<int>(op.face));
        sqlite3_bind_double(m_operation, 6, op.x);
        sqlite3_bind_double(m_operation, 7, op.u);
        if (op.kind != OperationKind::Stencil) {
            sqlite3_bind_double(m_operation, 8, op.xInc);
            sqlite3_bind_double(m_operation, 9, op.uInc);
            sqlite3_bind_int(m_operation, 10, op.numX);
            sqlite3_bind_int(m_operation, 11, op.numU);
        }
        if (op.kind == OperationKind::Hole) {
            sqlite3_bind_double(m_operation, 12, op.toolSize1);
            sqlite3_bind_double(m_operation, 13, op.toolSize2);
            bindText(m_operation, 14, op.toolShape);
            sqlite3_bind_int(m_operation, 15, op.orientation);
            if (op.toolMeasuringSystem)
                sqlite3_bind_int(m_operation, 16, *op.toolMeasuringSystem);
        } else if (op.kind == OperationKind::Stencil) {
            bindText(m_operation, 17, op.text);
        }
        step(m_operation);
    }
    step(m_commit);
}

} // namespace tarsis::bench
