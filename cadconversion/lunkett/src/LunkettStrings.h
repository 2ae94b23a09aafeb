// The string table of the DSTV converter server and the load with a
// stand-in literal.
#pragma once

#include "vlmrlib/CString.h"

enum LunkettStringId : UINT {
    IDS_FILE_OPEN_FAILURE = 101,
    IDS_UNEXPECTED_EOF = 102,
    IDS_NUMERIC_CONVERSION = 103,
    IDS_FILE_NAME = 104,
    IDS_LINE = 105,
    IDS_UNEXPECTED_READ_ERROR = 106,
    IDS_UNEXPECTED_SET_FILE_ERROR = 114,
    IDS_COM_ERROR_READING = 115,
    IDS_COM_ERROR_SET_FILE = 117,
};

// String id of the server's table, or fallback when it cannot be loaded
// (loadServerString). Defined beside the table, so that whatever loads a
// string also carries the table.
CString loadLunkettString(UINT id, const char* fallback);
