// The SQLite implementation of TarsisStore: one database file shared by every
// process (write-ahead log, foreign keys, a busy timeout of 10 s; every write
// runs in BEGIN IMMEDIATE so two importing processes queue instead of failing).
//
// Opening a file that exists checks it first (it must be a database that
// passes PRAGMA quick_check and holds the Tarsis schema of this version) and
// never writes to a file that fails: it is reported with its path. A new (or
// empty) file gets the schema and the built-in catalog in one transaction.
//
// Schema, version 1 (texts are UTF-8; absent texts are ''):
//
//   schema_info (version INTEGER)                       one row
//   shapes      (section, description   COLLATE NOCASE, PRIMARY KEY together;
//                name, units 'inch'|'metric', depth, web_thickness,
//                flange_width, flange_thickness, surface, weight)
//   machines    (name PRIMARY KEY COLLATE NOCASE, description)
//   parts       (id INTEGER PRIMARY KEY, job, grp, mark UNIQUE together;
//                quantity, length, section, description, grade, text1,
//                number, text2, text3, measuring_system, part_kind, saved_at)
//   ref_planes  (part_id -> parts ON DELETE CASCADE, seq; start_x, start_u,
//                rise, run, direction_x, direction_u, pattern)
//   operations  (part_id -> parts ON DELETE CASCADE, seq; plane_seq, the seq of
//                the plane in force or NULL before any; kind 'hole'|'mark'|
//                'hidden_mark'|'stencil'; face 'web'|'web2'|'tf_near'|'tf_far'|
//                'tf_near_far'|'bf_near'|'bf_far'|'bf_near_far'|'tf'|'bf';
//                x, u; holes and marks: x_inc, u_inc, num_x, num_u; holes:
//                tool_size1, tool_size2, tool_shape, orientation,
//                tool_measuring_system (NULL when not sent); stencils: text)
//   mults       (id INTEGER PRIMARY KEY, job, grp, mark UNIQUE together;
//                number, quantity, length, kerf, section, description, grade,
//                machine, text1, text2, measuring_system, saved_at)
//   mult_pieces (mult_id -> mults ON DELETE CASCADE, seq; job, grp, mark,
//                quantity)
//
// A part's planes and operations share one sequence (1, 2, ...) in arrival
// order. saved_at is UTC, 'YYYY-MM-DDTHH:MM:SSZ'.
#pragma once

#include "tarsis/TarsisStore.h"

#include <memory>
#include <string>

namespace tarsis {

constexpr int kSchemaVersion = 1;

enum class OpenMode {
    CreateIfMissing, // create the file (and its folder) with schema and built-in catalog
    ExistingOnly,    // StoreError Missing when there is no initialised file
};

std::unique_ptr<TarsisStore> openSqliteStore(const std::string& path, OpenMode mode);

} // namespace tarsis
