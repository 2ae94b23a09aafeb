// The `tarsis` command line: the user's window into the Tarsis database.
//
//   tarsis [--database FILE] init
//   tarsis [--database FILE] shapes list | add SECTION DESCRIPTION options | remove SECTION
//   DESCRIPTION tarsis [--database FILE] machines list | add NAME [DESCRIPTION] | remove NAME
//   tarsis [--database FILE] parts list [--job JOB] | show JOB GROUP MARK
//   tarsis [--database FILE] mults list | show JOB GROUP MARK
//   tarsis help
//
// Only init creates a database; every other command needs an initialised
// one. Exit codes: 0 done, 1 the database refused or lacks what was asked,
// 2 a bad command line.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tarsis {

// args are the words after the program name.
int runTarsisTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tarsis
