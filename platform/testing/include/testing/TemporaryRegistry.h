// A registry of the test's own: while the object lives, VLMR_REGISTRY names
// an empty registry folder inside a fresh temporary folder, so that nothing
// a test registers reaches the user's registry or another test. The
// temporary folder is the test's to use for its other files too.
//
//   class MyServerTest : public ::testing::Test {
//   protected:
//       testsupport::TemporaryRegistry m_registry;   // before SetUp, after TearDown
//       void SetUp() override { ASSERT_EQ(CoInitialize(nullptr), S_OK); ... DllRegisterServer ... }
//   };
#pragma once

#include "testing/ScopedEnvironment.h"
#include "testing/TemporaryFolder.h"

#include <filesystem>
#include <string_view>

namespace testsupport {

class TemporaryRegistry {
public:
    explicit TemporaryRegistry(std::string_view prefix = "registry-test");

    // The fresh folder; the registry's hive files are in directory().
    const std::filesystem::path& folder() const { return m_folder.path(); }
    std::filesystem::path directory() const { return m_folder / "registry"; }

private:
    TemporaryFolder m_folder;
    ScopedEnvironment m_variable;
};

} // namespace testsupport
