// The calling thread's error info as a test reads it after a failed call.
// Header-only: the test links the component runtime (comrt) already.
#pragma once

#include "com/Bstr.h"
#include "com/Runtime.h"

#include <string>

namespace testsupport {

// The description of the thread's error info, taken from the thread (as
// GetErrorInfo does); empty when there is none.
inline std::string takeErrorDescription()
{
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) != S_OK || !info)
        return {};
    BSTR description = nullptr;
    info->GetDescription(&description);
    info->Release();
    std::string text = narrowFromBstr(description);
    SysFreeString(description);
    return text;
}

} // namespace testsupport
