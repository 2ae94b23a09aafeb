// The `tarsis` command line: the user's window into the Tarsis database.
//
//   tarsis [--database FILE] init | check
//   tarsis [--database FILE] shapes list [--wide] | add SECTION DESCRIPTION options
//                                 | remove SECTION DESCRIPTION
//   tarsis [--database FILE] machines list [--wide] | add NAME [DESCRIPTION] | remove NAME
//   tarsis [--database FILE] parts list [--job JOB] [--wide] | show JOB GROUP MARK
//   tarsis [--database FILE] mults list [--wide] | show JOB GROUP MARK
//   tarsis [COMMAND...] --help | -h,  tarsis help,  tarsis --version,  tarsis
//
// Only init creates a database, and only init and the add and remove
// commands write; the others open it read-only. Exit codes: 0 done (help,
// usage and version included, on stdout), 1 the database refused or lacks
// what was asked, 2 a bad command line.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tarsis {

// args are the words after the program name.
int runTarsisTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tarsis
