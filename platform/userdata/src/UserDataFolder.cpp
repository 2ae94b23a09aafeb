// The user's data folder; see UserDataFolder.h.
#include "userdata/UserDataFolder.h"

#include <cstdlib>
#include <string>
#include <vector>

#include <pwd.h>
#include <unistd.h>

namespace userdata {

namespace {

// The user's home folder from the password database; empty when it has none.
std::string homeFromPasswordDatabase()
{
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !found->pw_dir)
        return {};
    return found->pw_dir;
}

} // namespace

std::filesystem::path folder()
{
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/')
        return xdg;
    std::string home;
    if (const char* variable = std::getenv("HOME"); variable && variable[0])
        home = variable;
    else
        home = homeFromPasswordDatabase();
    if (home.empty())
        return {};
    return std::filesystem::path(home) / ".local" / "share";
}

} // namespace userdata
