// Where the Tarsis database lives: TARSIS_DATABASE when set, else
// $XDG_DATA_HOME/tarsis/tarsis.db (XDG_DATA_HOME defaulting to
// ~/.local/share).
#pragma once

#include <string>

namespace tarsis {

// Throws StoreError (Failed) when neither the variables nor HOME give a path.
std::string defaultDatabasePath();

} // namespace tarsis
