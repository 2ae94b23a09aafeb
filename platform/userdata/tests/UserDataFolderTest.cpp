// The user's data folder from the environment, with the password database
// as the last resort.
#include "userdata/UserDataFolder.h"

#include "testing/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include <pwd.h>
#include <unistd.h>

namespace {

using testsupport::ScopedEnvironment;

TEST(UserDataFolder, FollowsXdgDataHomeThenHomeThenThePasswordDatabase)
{
    const passwd* user = getpwuid(getuid());
    ASSERT_NE(user, nullptr);
    const std::string passwordHome = std::string(user->pw_dir) + "/.local/share";
    struct Case {
        std::optional<std::string> xdgDataHome;
        std::optional<std::string> home;
        std::string folder;
    };
    const Case cases[] = {
        {"/data", "/home/u", "/data"},
        {"relative/dir", "/home/u", "/home/u/.local/share"},
        {"", "/home/u", "/home/u/.local/share"},
        {std::nullopt, "/home/u", "/home/u/.local/share"},
        {std::nullopt, std::nullopt, passwordHome},
        {"relative", "", passwordHome},
        {"/data", std::nullopt, "/data"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xdgDataHome.value_or("(unset)") + " " + c.home.value_or("(unset)"));
        const ScopedEnvironment xdg("XDG_DATA_HOME", c.xdgDataHome);
        const ScopedEnvironment home("HOME", c.home);
        EXPECT_EQ(userdata::folder(), c.folder);
    }
}

} // namespace
