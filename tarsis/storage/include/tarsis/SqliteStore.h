// The SQLite implementation of TarsisStore: one database file shared by every
// process (write-ahead log, a busy timeout of 10 s; every write runs in BEGIN
// IMMEDIATE so two importing processes queue instead of failing).
//
// The foreign keys below are declared, and checkIntegrity reports a row
// whose part, mult or plane is missing, but SQLite does not enforce them on
// every row written (two index look-ups per operation, an eighth of a
// save's time): the store alone writes these tables, always a whole part or
// mult in one transaction, and removes a replaced one's rows itself.
//
// Durability. Every save is one transaction whose COMMIT returns only after
// the write-ahead log is flushed to the disk (PRAGMA synchronous = FULL), so
// a part whose save returned is stored whole and stays stored through a
// crash of the program, of the system or of the power. A weaker setting
// (NORMAL: the log is flushed at checkpoints only) keeps every part whole and
// loses nothing when the program crashes, but may lose the parts saved last
// when the system or the power fails, after the import reported them
// Complete; it saves a flush per part (see the store benchmark), which does
// not buy that promise back, so it is not used.
//
// Opening a file that exists reads only its header and schema: a file that
// is not a database, or not a Tarsis one of a version this program reads, is
// reported with its path and never written. Damage elsewhere in the file is
// reported as damage by the call that meets it, and in full by
// checkIntegrity ('tarsis check'); the open does not read the whole file.
// A new (or empty) file gets the schema and the built-in catalog in one
// transaction; a file of an older schema version is upgraded in one
// transaction when it is opened for writing.
//
// Schema, version 2 (texts are UTF-8; absent texts are ''):
//
//   schema_info (version INTEGER)                       one row
//   shapes      (section, description   COLLATE NOCASE, PRIMARY KEY together;
//                name, units 'inch'|'metric', depth, web_thickness,
//                flange_width, flange_thickness, surface, weight)
//   machines    (name PRIMARY KEY COLLATE NOCASE, description)
//   parts       (id INTEGER PRIMARY KEY, job, grp, mark UNIQUE together;
//                quantity, length, section, description, grade, text1,
//                number, text2, text3, measuring_system, part_kind, saved_at)
//   ref_planes  (part_id -> parts, seq; start_x, start_u,
//                rise, run, direction_x, direction_u, pattern)
//   operations  (part_id -> parts, seq; plane_seq, the seq of
//                the plane in force or NULL before any; kind, an integer:
//                0 hole, 1 mark, 2 hidden mark, 3 stencil; face, an integer:
//                0 web, 1 web2, 2 tf_near, 3 tf_far, 4 tf_near_far, 5 bf_near,
//                6 bf_far, 7 bf_near_far, 8 tf, 9 bf (stencils);
//                x, u; holes and marks: x_inc, u_inc, num_x, num_u; holes:
//                tool_size1, tool_size2, tool_shape, orientation,
//                tool_measuring_system (NULL when not sent); stencils: text)
//   mults       (id INTEGER PRIMARY KEY, job, grp, mark UNIQUE together;
//                number, quantity, length, kerf, section, description, grade,
//                machine, text1, text2, measuring_system, saved_at)
//   mult_pieces (mult_id -> mults, seq; job, grp, mark,
//                quantity)
//
// A part's planes and operations share one sequence (1, 2, ...) in arrival
// order. saved_at is UTC, 'YYYY-MM-DDTHH:MM:SSZ'. No constraint of the
// schema makes SQLite build a temporary table per row: kind and face are
// range checks on integers (version 1 kept them as names checked with IN
// lists, which cost two temporary b-trees per operation row).
//
// Version 1 differs only in kind and face of operations, which were texts
// ('hole', 'mark', 'hidden_mark', 'stencil'; the face names above). Opening
// a version 1 file for writing rewrites its operations table with the codes;
// opened read-only, it is read as it is.
#pragma once

#include "tarsis/TarsisStore.h"

#include <memory>
#include <string>

namespace tarsis {

constexpr int kSchemaVersion = 2;

enum class OpenMode {
    CreateIfMissing, // create the file (and its folder) with schema and built-in catalog
    ExistingOnly,    // StoreError Missing when there is no initialised file
    ReadOnly,        // as ExistingOnly, and never writes: every write fails as read-only
};

// When a commit is on the disk; see Durability above. FlushedCommit is the
// store's setting; WrittenCommit exists only to measure what it costs.
enum class Durability {
    FlushedCommit, // PRAGMA synchronous = FULL
    WrittenCommit, // PRAGMA synchronous = NORMAL
};

std::unique_ptr<TarsisStore> openSqliteStore(const std::string& path, OpenMode mode,
                                             Durability durability = Durability::FlushedCommit);

} // namespace tarsis
