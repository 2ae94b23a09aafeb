// The maker's error log and the HRESULT-to-exception step of the servers.
//
// Entries go to $XDG_DATA_HOME/vlmr/log/error.log (XDG_DATA_HOME unset,
// empty or relative means ~/.local/share); the directories are created as
// needed. One line per entry: "YYYY-MM-DD HH:MM:SS <file>(<line>): <text>",
// local time, line breaks inside the text written as blanks. Appends are
// serialised within the process and are single writes, so entries of
// several processes do not interleave.
#pragma once

#include "com/Types.h"

class CLog {
public:
    // Appends one entry; never throws and never fails the caller (an entry
    // that cannot be written is dropped). Null texts count as empty.
    static void LogError(const char* sourceFile, int line, const char* text);

    // Logs the failure and throws CHResultException with the file, line
    // and HRESULT; never returns.
    [[noreturn]] static void ThrowHResult(const char* sourceFile, int line, HRESULT hr);
};
