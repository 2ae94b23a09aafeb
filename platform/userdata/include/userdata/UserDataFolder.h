// The user's data folder: where the registry (vlmr/registry), the error log
// (vlmr/log) and the Tarsis database (tarsis/) are kept unless a variable
// of their own names another place.
#pragma once

#include <filesystem>

namespace userdata {

// $XDG_DATA_HOME when it is an absolute path (a relative one is ignored),
// else $HOME/.local/share; when HOME is unset or empty, the home folder the
// password database gives the user. Empty when none of these gives one.
// The environment is read on every call.
std::filesystem::path folder();

} // namespace userdata
