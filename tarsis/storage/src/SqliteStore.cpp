// The SQLite implementation of TarsisStore; the schema is in SqliteStore.h.
#include "tarsis/SqliteStore.h"

#include "Sqlite.h"
#include "tarsis/Catalog.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <thread>
#include <utility>

namespace tarsis {
namespace {

namespace fs = std::filesystem;
using sqlite::Statement;
using Kind = StoreError::Kind;

using sqlite::kBusyTimeoutMs;

// The stored codes of operation kinds and faces: a value's code is its
// index. Stored in every database: never reorder.
constexpr std::array kKindCodes{OperationKind::Hole, OperationKind::Mark, OperationKind::HiddenMark,
                                OperationKind::Stencil};
constexpr std::array kFaceCodes{Face::Web,       Face::Web2,   Face::TFNear, Face::TFFar,
                                Face::TFNearFar, Face::BFNear, Face::BFFar,  Face::BFNearFar,
                                Face::TF,        Face::BF};

template <typename E, std::size_t N>
int codeOf(const std::array<E, N>& codes, E value)
{
    return static_cast<int>(std::find(codes.begin(), codes.end(), value) - codes.begin());
}

// The operations table under the given name (the upgrade builds it beside
// the old one).
std::string operationsTable(const std::string& name)
{
    return "CREATE TABLE " + name + R"sql( (
  part_id               INTEGER NOT NULL REFERENCES parts (id) ON DELETE CASCADE,
  seq                   INTEGER NOT NULL,
  plane_seq             INTEGER,
  kind                  INTEGER NOT NULL CHECK (kind BETWEEN 0 AND )sql" +
           std::to_string(kKindCodes.size() - 1) + R"sql(),
  face                  INTEGER NOT NULL CHECK (face BETWEEN 0 AND )sql" +
           std::to_string(kFaceCodes.size() - 1) + R"sql(),
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
)sql";
}

// Version 1 to 2: the operations table with kind and face as codes.
std::string upgradeFromVersion1()
{
    auto cases = [](const char* column, const auto& codes) {
        std::string sql = std::string("CASE ") + column;
        for (std::size_t i = 0; i < codes.size(); ++i)
            sql += " WHEN '" + std::string(toText(codes[i])) + "' THEN " + std::to_string(i);
        return sql + " END";
    };
    const char* columns = "x, u, x_inc, u_inc, num_x, num_u, tool_size1, tool_size2, tool_shape,"
                          " orientation, tool_measuring_system, text";
    return operationsTable("operations_v2") +
           "INSERT INTO operations_v2 (part_id, seq, plane_seq, kind, face, " + columns +
           ") SELECT part_id, seq, plane_seq, " + cases("kind", kKindCodes) + ", " +
           cases("face", kFaceCodes) + ", " + columns +
           " FROM operations;"
           "DROP TABLE operations;"
           "ALTER TABLE operations_v2 RENAME TO operations;"
           "UPDATE schema_info SET version = 2;";
}

constexpr const char* kSchema = R"sql(
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

class SqliteStore final : public TarsisStore {
public:
    SqliteStore(const std::string& path, OpenMode mode, Durability durability)
        : m_db(path, openFlags(path, mode))
    {
        bool fresh = !hasTables();
        if (fresh && mode != OpenMode::CreateIfMissing)
            throw StoreError(Kind::Missing,
                             "Tarsis database " + path + " is empty; create it with 'tarsis init'");
        if (!fresh)
            m_version = checkSchema();
        if (mode == OpenMode::ReadOnly)
            return;
        useWriteAheadLog();
        m_db.exec(durability == Durability::FlushedCommit ? "PRAGMA synchronous = FULL"
                                                          : "PRAGMA synchronous = NORMAL");
        if (fresh)
            initialise();
        if (m_version < kSchemaVersion)
            upgrade();
    }

    std::string location() const override { return m_db.path(); }

    void checkIntegrity() override
    {
        std::string problems;
        int count = 0;
        Statement check(m_db, "PRAGMA integrity_check");
        while (check.step()) {
            std::string line = check.text("integrity_check");
            if (line == "ok")
                continue;
            std::replace(line.begin(), line.end(), '\n', ' ');
            if (++count <= 10)
                problems += (problems.empty() ? "" : "; ") + line;
        }
        if (count > 10)
            problems += "; and " + std::to_string(count - 10) + " more";
        if (!problems.empty())
            fail(Kind::Damaged, " is damaged: " + problems);
        Statement orphans(m_db, "SELECT count(*) AS n FROM pragma_foreign_key_check");
        if (orphans.step() && orphans.integer("n") > 0)
            fail(Kind::Damaged, " is damaged: " + std::to_string(orphans.integer("n")) +
                                    " entries refer to a part, mult or plane that is missing");
    }

    void savePart(const PartRecord& part) override
    {
        sqlite::Transaction transaction(m_db);
        const PartHeader& h = part.header;
        removeStored(
            m_findPart, "SELECT id FROM parts WHERE job = ? AND grp = ? AND mark = ?", h.key,
            {"DELETE FROM operations WHERE part_id = ?", "DELETE FROM ref_planes WHERE part_id = ?",
             "DELETE FROM parts WHERE id = ?"});
        prepared(m_insertPart,
                 "INSERT INTO parts (job, grp, mark, quantity, length, section, description, grade,"
                 " text1, number, text2, text3, measuring_system, part_kind, saved_at)"
                 " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                 "strftime('%Y-%m-%dT%H:%M:%SZ', 'now'))")
            .reset()
            .bind(1, h.key.job)
            .bind(2, h.key.group)
            .bind(3, h.key.mark)
            .bind(4, h.quantity)
            .bind(5, h.length)
            .bind(6, h.shape.section)
            .bind(7, h.shape.description)
            .bind(8, h.grade)
            .bind(9, h.text1)
            .bind(10, static_cast<std::int64_t>(h.number))
            .bind(11, h.text2)
            .bind(12, h.text3)
            .bind(13, h.measuringSystem)
            .bind(14, h.partKind)
            .run();
        std::int64_t id = m_db.lastInsertRowid();
        int seq = 0;
        std::optional<int> plane;
        for (const PartEntry& entry : part.entries) {
            ++seq;
            if (const auto* p = std::get_if<RefPlane>(&entry)) {
                insertPlane(id, seq, *p);
                plane = seq;
            } else {
                insertOperation(id, seq, plane, std::get<Operation>(entry));
            }
        }
        transaction.commit();
    }

    std::optional<PartRecord> findPart(const PartKey& key) override
    {
        Statement header(m_db,
                         "SELECT id, quantity, length, section, description, grade, text1, number,"
                         " text2, text3, measuring_system, part_kind, saved_at"
                         " FROM parts WHERE job = ? AND grp = ? AND mark = ?");
        header.bind(1, key.job).bind(2, key.group).bind(3, key.mark);
        if (!header.step())
            return std::nullopt;
        PartRecord part;
        PartHeader& h = part.header;
        h.key = key;
        h.quantity = static_cast<int>(header.integer("quantity"));
        h.length = header.real("length");
        h.shape = {header.text("section"), header.text("description")};
        h.grade = header.text("grade");
        h.text1 = header.text("text1");
        h.number = static_cast<std::int32_t>(header.integer("number"));
        h.text2 = header.text("text2");
        h.text3 = header.text("text3");
        h.measuringSystem = static_cast<int>(header.integer("measuring_system"));
        h.partKind = static_cast<int>(header.integer("part_kind"));
        part.savedAt = header.text("saved_at");
        std::int64_t id = header.integer("id");

        std::vector<std::pair<std::int64_t, PartEntry>> entries;
        Statement planes(
            m_db, "SELECT seq, start_x, start_u, rise, run, direction_x, direction_u, pattern"
                  " FROM ref_planes WHERE part_id = ? ORDER BY seq");
        planes.bind(1, id);
        while (planes.step()) {
            RefPlane p{planes.real("start_x"),     planes.real("start_u"),
                       planes.real("rise"),        planes.real("run"),
                       planes.text("direction_x"), planes.text("direction_u"),
                       planes.text("pattern")};
            entries.emplace_back(planes.integer("seq"), std::move(p));
        }
        Statement ops(
            m_db,
            "SELECT seq, kind, face, x, u, x_inc, u_inc, num_x, num_u, tool_size1, tool_size2,"
            " tool_shape, orientation, tool_measuring_system, text"
            " FROM operations WHERE part_id = ? ORDER BY seq");
        ops.bind(1, id);
        while (ops.step())
            entries.emplace_back(ops.integer("seq"), readOperation(ops));
        std::sort(entries.begin(), entries.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        for (auto& e : entries)
            part.entries.push_back(std::move(e.second));
        return part;
    }

    std::optional<ShapeKey> findPartShape(const PartKey& key) override
    {
        Statement st(
            m_db, "SELECT section, description FROM parts WHERE job = ? AND grp = ? AND mark = ?");
        st.bind(1, key.job).bind(2, key.group).bind(3, key.mark);
        if (!st.step())
            return std::nullopt;
        return ShapeKey{st.text("section"), st.text("description")};
    }

    std::vector<PartSummary> listParts(const std::optional<std::string>& job) override
    {
        Statement st(
            m_db, "SELECT p.job AS job, p.grp AS grp, p.mark AS mark, p.section AS section,"
                  " p.description AS description, p.quantity AS quantity, p.length AS length,"
                  " p.saved_at AS saved_at,"
                  " (SELECT count(*) FROM operations o WHERE o.part_id = p.id) AS operation_count"
                  " FROM parts p WHERE ?1 IS NULL OR p.job = ?1 ORDER BY p.job, p.grp, p.mark");
        st.bind(1, job);
        std::vector<PartSummary> parts;
        while (st.step()) {
            parts.push_back({{st.text("job"), st.text("grp"), st.text("mark")},
                             {st.text("section"), st.text("description")},
                             static_cast<int>(st.integer("quantity")),
                             st.real("length"),
                             static_cast<int>(st.integer("operation_count")),
                             st.text("saved_at")});
        }
        return parts;
    }

    void saveMult(const MultRecord& mult) override
    {
        sqlite::Transaction transaction(m_db);
        const MultHeader& h = mult.header;
        removeStored(
            m_findMult, "SELECT id FROM mults WHERE job = ? AND grp = ? AND mark = ?", h.key,
            {"DELETE FROM mult_pieces WHERE mult_id = ?", "DELETE FROM mults WHERE id = ?"});
        Statement insert(
            m_db, "INSERT INTO mults (job, grp, mark, number, quantity, length, kerf, section,"
                  " description, grade, machine, text1, text2, measuring_system, saved_at)"
                  " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?,"
                  " strftime('%Y-%m-%dT%H:%M:%SZ', 'now'))");
        insert.bind(1, h.key.job)
            .bind(2, h.key.group)
            .bind(3, h.key.mark)
            .bind(4, h.number)
            .bind(5, h.quantity)
            .bind(6, h.length)
            .bind(7, h.kerf)
            .bind(8, h.shape.section)
            .bind(9, h.shape.description)
            .bind(10, h.grade)
            .bind(11, h.machine)
            .bind(12, h.text1)
            .bind(13, h.text2)
            .bind(14, h.measuringSystem)
            .run();
        std::int64_t id = m_db.lastInsertRowid();
        Statement piece(m_db, "INSERT INTO mult_pieces (mult_id, seq, job, grp, mark, quantity)"
                              " VALUES (?, ?, ?, ?, ?, ?)");
        int seq = 0;
        for (const MultPiece& p : mult.pieces) {
            piece.reset()
                .bind(1, id)
                .bind(2, ++seq)
                .bind(3, p.key.job)
                .bind(4, p.key.group)
                .bind(5, p.key.mark)
                .bind(6, static_cast<std::int64_t>(p.quantity))
                .run();
        }
        transaction.commit();
    }

    std::optional<MultRecord> findMult(const PartKey& key) override
    {
        Statement header(m_db,
                         "SELECT id, number, quantity, length, kerf, section, description, grade,"
                         " machine, text1, text2, measuring_system, saved_at"
                         " FROM mults WHERE job = ? AND grp = ? AND mark = ?");
        header.bind(1, key.job).bind(2, key.group).bind(3, key.mark);
        if (!header.step())
            return std::nullopt;
        MultRecord mult;
        MultHeader& h = mult.header;
        h.key = key;
        h.number = static_cast<int>(header.integer("number"));
        h.quantity = static_cast<int>(header.integer("quantity"));
        h.length = header.real("length");
        h.kerf = header.real("kerf");
        h.shape = {header.text("section"), header.text("description")};
        h.grade = header.text("grade");
        h.machine = header.text("machine");
        h.text1 = header.text("text1");
        h.text2 = header.text("text2");
        h.measuringSystem = static_cast<int>(header.integer("measuring_system"));
        mult.savedAt = header.text("saved_at");
        Statement pieces(
            m_db,
            "SELECT job, grp, mark, quantity FROM mult_pieces WHERE mult_id = ? ORDER BY seq");
        pieces.bind(1, header.integer("id"));
        while (pieces.step()) {
            mult.pieces.push_back({{pieces.text("job"), pieces.text("grp"), pieces.text("mark")},
                                   static_cast<std::int32_t>(pieces.integer("quantity"))});
        }
        return mult;
    }

    std::vector<MultSummary> listMults() override
    {
        Statement st(m_db,
                     "SELECT m.job AS job, m.grp AS grp, m.mark AS mark, m.section AS section,"
                     " m.description AS description, m.machine AS machine, m.quantity AS quantity,"
                     " m.length AS length, m.saved_at AS saved_at,"
                     " (SELECT count(*) FROM mult_pieces p WHERE p.mult_id = m.id) AS piece_count"
                     " FROM mults m ORDER BY m.job, m.grp, m.mark");
        std::vector<MultSummary> mults;
        while (st.step()) {
            mults.push_back({{st.text("job"), st.text("grp"), st.text("mark")},
                             {st.text("section"), st.text("description")},
                             st.text("machine"),
                             static_cast<int>(st.integer("quantity")),
                             st.real("length"),
                             static_cast<int>(st.integer("piece_count")),
                             st.text("saved_at")});
        }
        return mults;
    }

    std::optional<ShapeRecord> findShape(const ShapeKey& key) override
    {
        Statement& st =
            prepared(m_findShape, "SELECT section, description, name, units, depth, web_thickness,"
                                  " flange_width, flange_thickness, surface, weight"
                                  " FROM shapes WHERE section = ? AND description = ?");
        st.reset().bind(1, key.section).bind(2, key.description);
        std::optional<ShapeRecord> shape;
        if (st.step())
            shape = readShape(st);
        st.reset();
        return shape;
    }

    std::vector<ShapeRecord> listShapes() override
    {
        Statement st(
            m_db, "SELECT section, description, name, units, depth, web_thickness, flange_width,"
                  " flange_thickness, surface, weight FROM shapes ORDER BY section, description");
        std::vector<ShapeRecord> shapes;
        while (st.step())
            shapes.push_back(readShape(st));
        return shapes;
    }

    void addShape(const ShapeRecord& shape) override
    {
        sqlite::Transaction transaction(m_db);
        if (findShape(shape.key))
            throw StoreError(Kind::Conflict, "Shape " + shape.key.section + " " +
                                                 shape.key.description + " exists already in " +
                                                 m_db.path());
        insertShape(shape);
        transaction.commit();
    }

    void removeShape(const ShapeKey& key) override
    {
        Statement st(m_db, "DELETE FROM shapes WHERE section = ? AND description = ?");
        st.bind(1, key.section).bind(2, key.description).run();
        if (m_db.changes() == 0)
            throw StoreError(Kind::NotFound, "No shape " + key.section + " " + key.description +
                                                 " in " + m_db.path());
    }

    bool machineExists(std::string_view name) override
    {
        Statement st(m_db, "SELECT name FROM machines WHERE name = ?");
        st.bind(1, name);
        return st.step();
    }

    std::vector<MachineRecord> listMachines() override
    {
        Statement st(m_db, "SELECT name, description FROM machines ORDER BY name");
        std::vector<MachineRecord> machines;
        while (st.step())
            machines.push_back({st.text("name"), st.text("description")});
        return machines;
    }

    void addMachine(const MachineRecord& machine) override
    {
        sqlite::Transaction transaction(m_db);
        if (machineExists(machine.name))
            throw StoreError(Kind::Conflict,
                             "Machine " + machine.name + " exists already in " + m_db.path());
        insertMachine(machine);
        transaction.commit();
    }

    void removeMachine(std::string_view name) override
    {
        Statement st(m_db, "DELETE FROM machines WHERE name = ?");
        st.bind(1, name).run();
        if (m_db.changes() == 0)
            throw StoreError(Kind::NotFound,
                             "No machine " + std::string(name) + " in " + m_db.path());
    }

private:
    static int openFlags(const std::string& path, OpenMode mode)
    {
        std::error_code ec;
        if (fs::exists(path, ec)) {
            if (fs::is_directory(path, ec))
                throw StoreError(Kind::Failed,
                                 "Tarsis database " + path + " is a folder, not a file");
            return mode == OpenMode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
        }
        if (mode != OpenMode::CreateIfMissing)
            throw StoreError(Kind::Missing, "Tarsis database " + path +
                                                " does not exist; create it with 'tarsis init'");
        fs::path folder = fs::path(path).parent_path();
        if (!folder.empty() && !fs::create_directories(folder, ec) && ec)
            throw StoreError(Kind::CannotCreate,
                             "Tarsis database " + path + " cannot be created: the folder " +
                                 folder.string() + " cannot be made: " + ec.message());
        return SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    }

    bool hasTables()
    {
        Statement st(m_db, "SELECT count(*) AS n FROM sqlite_schema");
        return st.step() && st.integer("n") > 0;
    }

    // The schema version of a Tarsis database this program reads.
    int checkSchema()
    {
        Statement has(m_db, "SELECT count(*) AS n FROM sqlite_schema WHERE type = 'table' AND name "
                            "= 'schema_info'");
        if (!has.step() || has.integer("n") == 0)
            fail(Kind::Incompatible, " is not a Tarsis database");
        Statement version(m_db, "SELECT version FROM schema_info");
        if (!version.step())
            fail(Kind::Incompatible, " has no schema version");
        std::int64_t v = version.integer("version");
        if (v < 1)
            fail(Kind::Damaged, " is damaged: its schema version reads " + version.text("version"));
        if (v > kSchemaVersion)
            fail(Kind::Incompatible, " has schema version " + std::to_string(v) +
                                         "; this program reads versions 1 to " +
                                         std::to_string(kSchemaVersion));
        return static_cast<int>(v);
    }

    // Brings an older schema to this version, unless another process did
    // first; nothing changes when it fails.
    void upgrade()
    {
        sqlite::Transaction transaction(m_db);
        if (checkSchema() == 1) {
            try {
                m_db.exec(upgradeFromVersion1().c_str());
            } catch (const StoreError& e) {
                if (e.kind() != Kind::Conflict)
                    throw;
                fail(Kind::Damaged, " cannot be upgraded to schema version " +
                                        std::to_string(kSchemaVersion) + ": " + e.what());
            }
        }
        transaction.commit();
        m_version = kSchemaVersion;
    }

    // Switching a new database to the write-ahead log needs it to itself,
    // and SQLite answers "busy" at once instead of waiting for another
    // process that is creating it too: wait here, as long as the busy
    // timeout.
    void useWriteAheadLog()
    {
        auto journalMode = [&](const char* sql) {
            Statement st(m_db, sql);
            return st.step() ? st.text("journal_mode") : std::string();
        };
        std::string mode = journalMode("PRAGMA journal_mode");
        auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyTimeoutMs);
        while (mode != "wal") {
            try {
                mode = journalMode("PRAGMA journal_mode = WAL");
                if (mode != "wal")
                    fail(Kind::Failed,
                         " cannot use write-ahead logging (journal mode is '" + mode + "')");
            } catch (const StoreError& e) {
                if (e.kind() != Kind::Busy || std::chrono::steady_clock::now() > deadline)
                    throw;
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        }
    }

    // Creates the schema and loads the built-in catalog, unless another
    // process did first.
    void initialise()
    {
        sqlite::Transaction transaction(m_db);
        if (hasTables()) {
            m_version = checkSchema();
            return;
        }
        m_db.exec(kSchema);
        m_db.exec(operationsTable("operations").c_str());
        m_version = kSchemaVersion;
        Statement version(m_db, "INSERT INTO schema_info (version) VALUES (?)");
        version.bind(1, kSchemaVersion).run();
        const Catalog& catalog = builtInCatalog();
        for (const ShapeRecord& shape : catalog.shapes)
            insertShape(shape);
        for (const MachineRecord& machine : catalog.machines)
            insertMachine(machine);
        transaction.commit();
    }

    [[noreturn]] void fail(Kind kind, const std::string& what) const
    {
        throw StoreError(kind, "Tarsis database " + m_db.path() + what);
    }

    Statement& prepared(std::unique_ptr<Statement>& slot, const char* sql)
    {
        if (!slot)
            slot = std::make_unique<Statement>(m_db, sql);
        return *slot;
    }

    // Removes the stored part or mult of the key with its rows, the rows
    // first: each delete takes the id. Foreign keys are not enforced (see
    // the header), so nothing cascades.
    void removeStored(std::unique_ptr<Statement>& find, const char* findSql, const PartKey& key,
                      std::initializer_list<const char*> deletes)
    {
        Statement& st = prepared(find, findSql);
        st.reset().bind(1, key.job).bind(2, key.group).bind(3, key.mark);
        if (!st.step())
            return;
        const std::int64_t id = st.integer("id");
        st.reset();
        for (const char* sql : deletes) {
            Statement remove(m_db, sql);
            remove.bind(1, id).run();
        }
    }

    void insertPlane(std::int64_t part, int seq, const RefPlane& p)
    {
        prepared(m_insertPlane,
                 "INSERT INTO ref_planes (part_id, seq, start_x, start_u, rise, run, direction_x,"
                 " direction_u, pattern) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")
            .reset()
            .bind(1, part)
            .bind(2, seq)
            .bind(3, p.startX)
            .bind(4, p.startU)
            .bind(5, p.rise)
            .bind(6, p.run)
            .bind(7, p.directionX)
            .bind(8, p.directionU)
            .bind(9, p.pattern)
            .run();
    }

    void insertOperation(std::int64_t part, int seq, std::optional<int> plane, const Operation& op)
    {
        Statement& st =
            prepared(m_insertOperation,
                     "INSERT INTO operations (part_id, seq, plane_seq, kind, face, x, u, x_inc,"
                     " u_inc, num_x, num_u, tool_size1, tool_size2, tool_shape, orientation,"
                     " tool_measuring_system, text)"
                     " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        st.reset()
            .bind(1, part)
            .bind(2, seq)
            .bind(3, plane)
            .bind(4, codeOf(kKindCodes, op.kind))
            .bind(5, codeOf(kFaceCodes, op.face))
            .bind(6, op.x)
            .bind(7, op.u);
        if (op.kind != OperationKind::Stencil)
            st.bind(8, op.xInc).bind(9, op.uInc).bind(10, op.numX).bind(11, op.numU);
        if (op.kind == OperationKind::Hole) {
            st.bind(12, op.toolSize1)
                .bind(13, op.toolSize2)
                .bind(14, op.toolShape)
                .bind(15, op.orientation)
                .bind(16, op.toolMeasuringSystem);
        }
        if (op.kind == OperationKind::Stencil)
            st.bind(17, op.text);
        st.run();
    }

    Operation readOperation(const Statement& st) const
    {
        Operation op;
        std::optional<OperationKind> kind;
        std::optional<Face> face;
        if (m_version == 1) {
            kind = operationKindFromText(st.text("kind"));
            face = faceFromText(st.text("face"));
        } else {
            kind = fromCode(kKindCodes, st.integer("kind"));
            face = fromCode(kFaceCodes, st.integer("face"));
        }
        if (!kind || !face)
            fail(Kind::Damaged, " holds an operation of unknown kind or face");
        op.kind = *kind;
        op.face = *face;
        op.x = st.real("x");
        op.u = st.real("u");
        op.xInc = st.real("x_inc");
        op.uInc = st.real("u_inc");
        op.numX = static_cast<int>(st.integer("num_x"));
        op.numU = static_cast<int>(st.integer("num_u"));
        op.toolSize1 = st.real("tool_size1");
        op.toolSize2 = st.real("tool_size2");
        op.toolShape = st.text("tool_shape");
        op.orientation = static_cast<int>(st.integer("orientation"));
        if (!st.isNull("tool_measuring_system"))
            op.toolMeasuringSystem = static_cast<int>(st.integer("tool_measuring_system"));
        op.text = st.text("text");
        return op;
    }

    void insertShape(const ShapeRecord& s)
    {
        Statement st(m_db,
                     "INSERT INTO shapes (section, description, name, units, depth, web_thickness,"
                     " flange_width, flange_thickness, surface, weight) VALUES (?, ?, ?, ?, ?, ?, "
                     "?, ?, ?, ?)");
        st.bind(1, s.key.section)
            .bind(2, s.key.description)
            .bind(3, s.name)
            .bind(4, toText(s.units))
            .bind(5, s.depth)
            .bind(6, s.webThickness)
            .bind(7, s.flangeWidth)
            .bind(8, s.flangeThickness)
            .bind(9, s.surface)
            .bind(10, s.weight)
            .run();
    }

    ShapeRecord readShape(const Statement& st) const
    {
        ShapeRecord s;
        s.key = {st.text("section"), st.text("description")};
        s.name = st.text("name");
        auto units = unitsFromText(st.text("units"));
        if (!units)
            fail(Kind::Damaged, " holds a shape of unknown units");
        s.units = *units;
        s.depth = st.real("depth");
        s.webThickness = st.real("web_thickness");
        s.flangeWidth = st.real("flange_width");
        s.flangeThickness = st.real("flange_thickness");
        s.surface = st.real("surface");
        s.weight = st.real("weight");
        return s;
    }

    void insertMachine(const MachineRecord& m)
    {
        Statement st(m_db, "INSERT INTO machines (name, description) VALUES (?, ?)");
        st.bind(1, m.name).bind(2, m.description).run();
    }

    template <typename E, std::size_t N>
    static std::optional<E> fromCode(const std::array<E, N>& codes, std::int64_t code)
    {
        if (code < 0 || code >= static_cast<std::int64_t>(N))
            return std::nullopt;
        return codes[static_cast<std::size_t>(code)];
    }

    sqlite::Connection m_db;
    int m_version = kSchemaVersion;
    // Statements of the import path, prepared once; destroyed before m_db.
    std::unique_ptr<Statement> m_findPart;
    std::unique_ptr<Statement> m_findMult;
    std::unique_ptr<Statement> m_insertPart;
    std::unique_ptr<Statement> m_insertPlane;
    std::unique_ptr<Statement> m_insertOperation;
    std::unique_ptr<Statement> m_findShape;
};

} // namespace

std::unique_ptr<TarsisStore> openSqliteStore(const std::string& path, OpenMode mode,
                                             Durability durability)
{
    return std::make_unique<SqliteStore>(path, mode, durability);
}

} // namespace tarsis
