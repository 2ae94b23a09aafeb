// The calling thread's error info as a test reads it after a failed call:
// its description, or the whole report (description, source, interface).
// Header-only: the test links the component runtime (comrt) already.
#pragma once

#include "com/Bstr.h"
#include "com/Guid.h"
#include "com/Runtime.h"

#include <string>

namespace testsupport {

// The error info that a failing call left.
struct ErrorReport {
    bool present = false;
    std::string description;
    std::string source; // the ProgID of the class that reported it
    GUID guid{};        // the interface it was reported on
};

// The thread's error info, taken from the thread as GetErrorInfo does.
inline ErrorReport takeErrorReport()
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
    return takeErrorReport().description;
}

} // namespace testsupport
