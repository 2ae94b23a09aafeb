// A Tarsis database of the test's own: while the object lives,
// TARSIS_DATABASE names a database file (not yet created) in a fresh
// temporary folder, so that the Tarsis servers and the `tarsis` tool store
// there and nothing reaches the user's database. The temporary folder is
// the test's to use for its other files too.
//
//   testsupport::TemporaryDatabase database;
//   tarsis::openSqliteStore(database.path(), tarsis::OpenMode::CreateIfMissing);
#pragma once

#include "testing/ScopedEnvironment.h"
#include "testing/TemporaryFolder.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace testsupport {

class TemporaryDatabase {
public:
    explicit TemporaryDatabase(std::string_view prefix = "tarsis-test");

    const std::filesystem::path& folder() const { return m_folder.path(); }
    // folder()/tarsis.db.
    const std::string& path() const { return m_path; }

private:
    TemporaryFolder m_folder;
    std::string m_path;
    ScopedEnvironment m_variable;
};

} // namespace testsupport
