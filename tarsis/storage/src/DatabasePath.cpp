// The default location of the Tarsis database.
#include "tarsis/DatabasePath.h"

#include "tarsis/StoreError.h"

#include "userdata/UserDataFolder.h"

#include <cstdlib>
#include <filesystem>

namespace tarsis {

std::string defaultDatabasePath()
{
    auto variable = [](const char* name) -> std::string {
        const char* value = std::getenv(name);
        return value ? value : "";
    };
    if (std::string path = variable("TARSIS_DATABASE"); !path.empty())
        return path;
    const std::filesystem::path data = userdata::folder();
    if (data.empty())
        throw StoreError(StoreError::Kind::Failed,
                         "No Tarsis database path: set TARSIS_DATABASE or HOME");
    return (data / "tarsis" / "tarsis.db").string();
}

} // namespace tarsis
