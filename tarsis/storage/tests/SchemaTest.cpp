// The schema: no constraint costs a temporary table per row, and a database
// of schema version 1 (built here from that version's own text) is upgraded
// with everything it holds, or read as it is when opened read-only.
#include "StoreTestSupport.h"
#include "tarsis/SqliteStore.h"
#include "tarsis/StoreError.h"
#include "testing/TemporaryDatabase.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

namespace tarsis {
namespace {

using testing::execSql;
using testing::querySql;
using testsupport::readFile;
using testsupport::TemporaryDatabase;

// The schema of version 1, as that version created it.
constexpr const char* kVersion1Schema = R"sql(
CREATE TABLE schema_info (version INTEGER NOT NULL);
CREATE TABLE shapes (
  section          TEXT NOT NULL COLLATE NOCASE,
  description      TEXT NOT NULL COLLATE NOCASE,
  name             TEXT NOT NULL,
  units            TEXT NOT NULL CHECK (units IN ('inch', 'metric')),
  depth            REAL NOT NULL,
  web_thickness    REAL NOT NULL,
  flange_width     REAL NOT NULL,
  flange_thickness REAL NOT NULL,
  surface          REAL NOT NULL,
  weight           REAL NOT NULL,
  PRIMARY KEY (section, description));
CREATE TABLE machines (
  name        TEXT NOT NULL PRIMARY KEY COLLATE NOCASE,
  description TEXT NOT NULL);
CREATE TABLE parts (
  id               INTEGER PRIMARY KEY,
  job              TEXT NOT NULL,
  grp              TEXT NOT NULL,
  mark             TEXT NOT NULL,
  quantity         INTEGER NOT NULL,
  length           REAL NOT NULL,
  section          TEXT NOT NULL,
  description      TEXT NOT NULL,
  grade            TEXT NOT NULL,
  text1            TEXT NOT NULL,
  number           INTEGER NOT NULL,
  text2            TEXT NOT NULL,
  text3            TEXT NOT NULL,
  measuring_system INTEGER NOT NULL,
  part_kind        INTEGER NOT NULL,
  saved_at         TEXT NOT NULL,
  UNIQUE (job, grp, mark));
CREATE TABLE ref_planes (
  part_id     INTEGER NOT NULL REFERENCES parts (id) ON DELETE CASCADE,
  seq         INTEGER NOT NULL,
  start_x     REAL NOT NULL,
  start_u     REAL NOT NULL,
  rise        REAL NOT NULL,
  run         REAL NOT NULL,
  direction_x TEXT NOT NULL,
  direction_u TEXT NOT NULL,
  pattern     TEXT NOT NULL,
  PRIMARY KEY (part_id, seq));
CREATE TABLE operations (
  part_id               INTEGER NOT NULL REFERENCES parts (id) ON DELETE CASCADE,
  seq                   INTEGER NOT NULL,
  plane_seq             INTEGER,
  kind                  TEXT NOT NULL
                        CHECK (kind IN ('hole', 'mark', 'hidden_mark', 'stencil')),
  face                  TEXT NOT NULL
                        CHECK (face IN ('web', 'web2', 'tf_near', 'tf_far', 'tf_near_far',
                                        'bf_near', 'bf_far', 'bf_near_far', 'tf', 'bf')),
  x                     REAL NOT NULL,
  u                     REAL NOT NULL,
  x_inc                 REAL,
  u_inc                 REAL,
  num_x                 INTEGER,
  num_u                 INTEGER,
  tool_size1            REAL,
  tool_size2            REAL,
  tool_shape            TEXT,
  orientation           INTEGER,
  tool_measuring_system INTEGER,
  text                  TEXT,
  PRIMARY KEY (part_id, seq),
  FOREIGN KEY (part_id, plane_seq) REFERENCES ref_planes (part_id, seq)
    ON DELETE CASCADE DEFERRABLE INITIALLY DEFERRED);
CREATE TABLE mults (
  id               INTEGER PRIMARY KEY,
  job              TEXT NOT NULL,
  grp              TEXT NOT NULL,
  mark             TEXT NOT NULL,
  number           INTEGER NOT NULL,
  quantity         INTEGER NOT NULL,
  length           REAL NOT NULL,
  kerf             REAL NOT NULL,
  section          TEXT NOT NULL,
  description      TEXT NOT NULL,
  grade            TEXT NOT NULL,
  machine          TEXT NOT NULL,
  text1            TEXT NOT NULL,
  text2            TEXT NOT NULL,
  measuring_system INTEGER NOT NULL,
  saved_at         TEXT NOT NULL,
  UNIQUE (job, grp, mark));
CREATE TABLE mult_pieces (
  mult_id  INTEGER NOT NULL REFERENCES mults (id) ON DELETE CASCADE,
  seq      INTEGER NOT NULL,
  job      TEXT NOT NULL,
  grp      TEXT NOT NULL,
  mark     TEXT NOT NULL,
  quantity INTEGER NOT NULL,
  PRIMARY KEY (mult_id, seq));
)sql";

// The opcodes SQLite compiles sql into (for a connection that may write:
// a read-only one leaves the constraints out).
std::vector<std::string> opcodes(const std::string& path, const std::string& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "PRAGMA foreign_keys = ON", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    std::vector<std::string> codes;
    if (sqlite3_prepare_v2(db, ("EXPLAIN " + sql).c_str(), -1, &st, nullptr) != SQLITE_OK)
        ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db);
    while (st && sqlite3_step(st) == SQLITE_ROW)
        codes.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return codes;
}

// The statements of the save path, and an insert of parameters into every
// column of every table.
std::vector<std::string> writes(const std::string& path)
{
    std::vector<std::string> sql = {"DELETE FROM parts WHERE job = ? AND grp = ? AND mark = ?",
                                    "DELETE FROM mults WHERE job = ? AND grp = ? AND mark = ?"};
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT t.name, group_concat(c.name), group_concat('?')"
                       " FROM sqlite_schema t, pragma_table_info(t.name) c"
                       " WHERE t.type = 'table' GROUP BY t.name",
                       -1, &st, nullptr);
    auto column = [&](int i) {
        return std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
    };
    while (sqlite3_step(st) == SQLITE_ROW)
        sql.push_back("INSERT INTO " + column(0) + " (" + column(1) + ") VALUES (" + column(2) +
                      ")");
    sqlite3_finalize(st);
    sqlite3_close(db);
    return sql;
}

int temporaryTables(const std::string& path, const std::string& sql)
{
    int count = 0;
    for (const std::string& code : opcodes(path, sql))
        count += code == "OpenEphemeral";
    return count;
}

TEST(Schema, NoWriteBuildsATemporaryTablePerRow)
{
    TemporaryDatabase temp;
    openSqliteStore(temp.path(), OpenMode::CreateIfMissing);
    const std::vector<std::string> statements = writes(temp.path());
    ASSERT_GE(statements.size(), 9u);
    for (const std::string& sql : statements) {
        SCOPED_TRACE(sql);
        EXPECT_EQ(temporaryTables(temp.path(), sql), 0);
    }
}

// A version 1 database with a part holding every kind and face, a shape
// and a mult.
class Version1Database : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::writeFile(m_temp.path(), ""); // an empty file is a new database
        execSql(m_temp.path(), std::string("PRAGMA journal_mode = WAL;") + kVersion1Schema +
                                   "INSERT INTO schema_info (version) VALUES (1);"
                                   "INSERT INTO shapes VALUES ('W', '1226', 'W12X26', 'inch', "
                                   "12.2, 0.23, 6.49, 0.38, 5.65, 26);"
                                   "INSERT INTO machines VALUES ('SAW1', 'Band saw');");
        m_part = testing::samplePart({"J1", "G1", "M1"}, 24);
        std::string sql = "INSERT INTO parts VALUES (1, 'J1', 'G1', 'M1', 3, 240.5, 'W', '1226', "
                          "'A992', 'first', 70000, 'second', 'third', 0, 1, "
                          "'2024-01-02T03:04:05Z');";
        int seq = 0;
        std::string plane = "NULL";
        for (const PartEntry& entry : m_part.entries) {
            ++seq;
            if (const auto* p = std::get_if<RefPlane>(&entry)) {
                sql += "INSERT INTO ref_planes VALUES (1, " + std::to_string(seq) + ", " +
                       std::to_string(p->startX) + ", " + std::to_string(p->startU) + ", " +
                       std::to_string(p->rise) + ", " + std::to_string(p->run) + ", '" +
                       p->directionX + "', '" + p->directionU + "', '" + p->pattern + "');";
                plane = std::to_string(seq);
                continue;
            }
            const Operation& op = std::get<Operation>(entry);
            const bool hole = op.kind == OperationKind::Hole;
            const bool stencil = op.kind == OperationKind::Stencil;
            auto real = [](double v) { return std::to_string(v); };
            sql += "INSERT INTO operations VALUES (1, " + std::to_string(seq) + ", " + plane +
                   ", '" + std::string(toText(op.kind)) + "', '" + std::string(toText(op.face)) +
                   "', " + real(op.x) + ", " + real(op.u) + ", " +
                   (stencil ? "NULL, NULL, NULL, NULL, "
                            : real(op.xInc) + ", " + real(op.uInc) + ", " +
                                  std::to_string(op.numX) + ", " + std::to_string(op.numU) + ", ") +
                   (hole ? real(op.toolSize1) + ", " + real(op.toolSize2) + ", '" + op.toolShape +
                               "', " + std::to_string(op.orientation) + ", " +
                               (op.toolMeasuringSystem ? std::to_string(*op.toolMeasuringSystem)
                                                       : std::string("NULL")) +
                               ", "
                         : std::string("NULL, NULL, NULL, NULL, NULL, ")) +
                   (stencil ? "'" + op.text + "'" : std::string("NULL")) + ");";
        }
        sql += "INSERT INTO mults VALUES (1, 'J1', 'G1', 'BAR1', 1, 4, 480, 0.125, 'L', '43014', "
               "'', 'SAW1', '', '', 0, '2024-01-02T03:04:05Z');"
               "INSERT INTO mult_pieces VALUES (1, 1, 'J1', 'G1', 'M1', 2);";
        execSql(m_temp.path(), sql);
    }

    TemporaryDatabase m_temp;
    PartRecord m_part;
};

TEST_F(Version1Database, IsUpgradedWhenOpenedForWritingAndKeepsEverything)
{
    ASSERT_EQ(querySql(m_temp.path(), "SELECT version FROM schema_info"), "1");
    int before = 0; // the two IN lists of version 1, one temporary table each
    for (const std::string& sql : writes(m_temp.path()))
        before += temporaryTables(m_temp.path(), sql);
    EXPECT_EQ(before, 2);

    auto store = openSqliteStore(m_temp.path(), OpenMode::ExistingOnly);
    EXPECT_EQ(querySql(m_temp.path(), "SELECT version FROM schema_info"), "2");
    for (const std::string& sql : writes(m_temp.path())) {
        SCOPED_TRACE(sql);
        EXPECT_EQ(temporaryTables(m_temp.path(), sql), 0);
    }
    auto part = store->findPart({"J1", "G1", "M1"});
    ASSERT_TRUE(part);
    EXPECT_EQ(part->header.number, 70000);
    EXPECT_EQ(part->savedAt, "2024-01-02T03:04:05Z");
    ASSERT_EQ(part->entries.size(), m_part.entries.size());
    for (std::size_t i = 0; i < part->entries.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(part->entries[i].index(), m_part.entries[i].index());
        if (const auto* op = std::get_if<Operation>(&part->entries[i])) {
            const Operation& was = std::get<Operation>(m_part.entries[i]);
            EXPECT_EQ(op->kind, was.kind);
            EXPECT_EQ(op->face, was.face);
            EXPECT_EQ(op->toolMeasuringSystem, was.toolMeasuringSystem);
            EXPECT_EQ(op->text, was.text);
        }
    }
    EXPECT_EQ(querySql(m_temp.path(), "SELECT group_concat(DISTINCT typeof(kind) || typeof(face))"
                                      " FROM operations"),
              "integerinteger");
    EXPECT_EQ(store->findMult({"J1", "G1", "BAR1"})->pieces.size(), 1u);
    EXPECT_EQ(store->findShape({"W", "1226"})->name, "W12X26");
    EXPECT_NO_THROW(store->checkIntegrity());

    // The upgraded database takes new parts, and is upgraded once.
    store->savePart(testing::samplePart({"J1", "G1", "M2"}, 6));
    store.reset();
    EXPECT_EQ(openSqliteStore(m_temp.path(), OpenMode::CreateIfMissing)
                  ->findPart({"J1", "G1", "M2"})
                  ->entries.size(),
              8u);
    EXPECT_EQ(querySql(m_temp.path(), "SELECT count(*) FROM operations"), "30");
}

TEST_F(Version1Database, IsReadAsItIsWhenOpenedReadOnly)
{
    const std::string before = readFile(m_temp.path());
    {
        auto store = openSqliteStore(m_temp.path(), OpenMode::ReadOnly);
        auto part = store->findPart({"J1", "G1", "M1"});
        ASSERT_TRUE(part);
        ASSERT_EQ(part->entries.size(), m_part.entries.size());
        const auto& last = std::get<Operation>(part->entries.back());
        EXPECT_EQ(last.kind, std::get<Operation>(m_part.entries.back()).kind);
        EXPECT_EQ(last.face, std::get<Operation>(m_part.entries.back()).face);
        EXPECT_EQ(store->listParts(std::nullopt).size(), 1u);
        try {
            store->savePart(testing::samplePart({"J1", "G1", "M2"}, 2));
            ADD_FAILURE() << "a read-only store saved";
        } catch (const StoreError& e) {
            EXPECT_EQ(e.kind(), StoreError::Kind::ReadOnly) << e.what();
        }
    }
    EXPECT_EQ(querySql(m_temp.path(), "SELECT version FROM schema_info"), "1");
    EXPECT_EQ(readFile(m_temp.path()), before);
}

} // namespace
} // namespace tarsis
