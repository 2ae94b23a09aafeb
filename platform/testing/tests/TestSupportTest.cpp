// The shared test support: what it sets is set while it lives and put back
// when it goes, and what it makes is gone afterwards.
#include "testing/ScopedEnvironment.h"
#include "testing/TemporaryDatabase.h"
#include "testing/TemporaryFolder.h"
#include "testing/TemporaryRegistry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace {

using namespace testsupport;

std::optional<std::string> variable(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

TEST(ScopedEnvironment, PutsBackTheOldValueOrItsAbsence)
{
    const ScopedEnvironment outer("TESTSUPPORT_VARIABLE", "old");
    {
        ScopedEnvironment inner("TESTSUPPORT_VARIABLE", std::nullopt);
        EXPECT_EQ(variable("TESTSUPPORT_VARIABLE"), std::nullopt);
        inner.set("changed");
        EXPECT_EQ(variable("TESTSUPPORT_VARIABLE"), "changed");
    }
    EXPECT_EQ(variable("TESTSUPPORT_VARIABLE"), "old");
    {
        const ScopedEnvironment unset("TESTSUPPORT_UNSET", "new");
        EXPECT_EQ(variable("TESTSUPPORT_UNSET"), "new");
    }
    EXPECT_EQ(variable("TESTSUPPORT_UNSET"), std::nullopt);
}

TEST(TemporaryFolder, IsPrivateAndGoesWithWhatItHolds)
{
    std::filesystem::path path;
    {
        const TemporaryFolder folder("testsupport");
        path = folder.path();
        EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms::owner_all);
        const std::string file = folder.write("sub/bytes.bin", std::string("a\0\r\n", 4));
        EXPECT_EQ(readFile(file), std::string("a\0\r\n", 4));
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(TemporaryStores, NameTheirFolderWhileTheyLive)
{
    const std::optional<std::string> registryBefore = variable("VLMR_REGISTRY");
    const std::optional<std::string> databaseBefore = variable("TARSIS_DATABASE");
    {
        const TemporaryRegistry registry;
        const TemporaryDatabase database;
        EXPECT_EQ(variable("VLMR_REGISTRY"), registry.directory().string());
        EXPECT_EQ(registry.directory().parent_path(), registry.folder());
        EXPECT_EQ(variable("TARSIS_DATABASE"), database.path());
        EXPECT_EQ(std::filesystem::path(database.path()).parent_path(), database.folder());
        EXPECT_FALSE(std::filesystem::exists(database.path()));
    }
    EXPECT_EQ(variable("VLMR_REGISTRY"), registryBefore);
    EXPECT_EQ(variable("TARSIS_DATABASE"), databaseBefore);
}

} // namespace
