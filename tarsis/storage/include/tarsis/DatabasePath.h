// Where the Tarsis database lives: TARSIS_DATABASE when set, else
// tarsis/tarsis.db in the user's data folder (userdata/UserDataFolder.h:
// $XDG_DATA_HOME, else ~/.local/share).
#pragma once

#include <string>

namespace tarsis {

// Throws StoreError (Failed) when neither the variables nor the user's home
// folder give a path.
std::string defaultDatabasePath();

} // namespace tarsis
