// Setting the thread's error info from the framework's own failures.
#pragma once

#include "com/Types.h"

#include <string>

namespace comserver {

// Error info with description (UTF-8), no GUID, no source; answers hr.
HRESULT failWith(HRESULT hr, const std::string& description);

} // namespace comserver
