// The exception that CLog::ThrowHResult raises for a failed HRESULT. It is
// deliberately not a CvmException: no catch block of a caller names it, so
// the caller's catch-all reports it.
#pragma once

#include "com/Types.h"

#include <string>

class CHResultException {
public:
    CHResultException(const char* sourceFile, int line, HRESULT hr);

    const char* GetFileName() const { return m_file.c_str(); }
    int GetLine() const { return m_line; }
    HRESULT GetHResult() const { return m_hr; }
    // "HRESULT 0x80040004 at <file>(<line>)"
    const char* GetMessage() const { return m_message.c_str(); }

private:
    std::string m_file;
    std::string m_message;
    int m_line;
    HRESULT m_hr;
};
