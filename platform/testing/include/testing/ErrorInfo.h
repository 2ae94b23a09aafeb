// The calling thread's error info as a test reads it after a failed call.
// Header-only: the test links the component runtime (comrt) already.
#pragma once

#include "com/Bstr.h"
#include "com/Runtime.h"

#include <string>

namespace testsupport {

// What the thread's error info says.
struct ErrorReport {
    bool present = false; // there was error info
    std::string description;
    std::string source;
    GUID guid{};
};

// The thread's error info, taken from the thread (as GetErrorInfo does).
inline ErrorReport takeErrorInfo()
{
    ErrorReport report;
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) != S_OK || !info)
        return report;
    report.present = true;
    BSTR text = nullptr;
    info->GetDescription(&text);
    report.description = narrowFromBstr(text);
    SysFreeString(text);
    text = nullptr;
    info->GetSource(&text);
    report.source = narrowFromBstr(text);
    SysFreeString(text);
    info->GetGUID(&report.guid);
    info->Release();
    return report;
}

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
