// The default location of the Tarsis database.
#include "tarsis/DatabasePath.h"

#include "tarsis/StoreError.h"

#include <cstdlib>

namespace tarsis {

std::string defaultDatabasePath()
{
    auto variable = [](const char* name) -> std::string {
        const char* value = std::getenv(name);
        return value ? value : "";
    };
    if (std::string path = variable("TARSIS_DATABASE"); !path.empty())
        return path;
    // A relative XDG_DATA_HOME is to be ignored.
    std::string data = variable("XDG_DATA_HOME");
    if (data.empty() || data.front() != '/') {
        std::string home = variable("HOME");
        if (home.empty())
            throw StoreError(StoreError::Kind::Failed,
                             "No Tarsis database path: set TARSIS_DATABASE or HOME");
        data = home + "/.local/share";
    }
    return data + "/tarsis/tarsis.db";
}

} // namespace tarsis
