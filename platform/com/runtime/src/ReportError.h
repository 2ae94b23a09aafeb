// Inside the runtime: a failure's description put into the calling
// thread's error information, for a caller that gets only an HRESULT.
#pragma once

#include "com/Types.h"

#include <string>

// Sets the thread's error info (source and description); returns hr.
HRESULT reportError(HRESULT hr, const char16_t* source, const std::string& description);
