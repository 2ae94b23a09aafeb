// Listing the classes registered under HKCR\CLSID.
#pragma once

#include <ostream>

// One line per class: CLSID, ProgID, description and module, separated by
// tabs, "-" for what is not registered. Answers the exit code.
int listRegisteredClasses(std::ostream& out, std::ostream& err);
