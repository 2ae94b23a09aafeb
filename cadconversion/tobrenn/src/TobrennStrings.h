// The string table of the machine-file converter server and the load with
// a stand-in literal.
#pragma once

#include "vlmrlib/CString.h"

enum TobrennStringId : UINT {
    IDS_FILE_OPEN_FAILURE = 110,
    IDS_UNEXPECTED_EOF = 111,
    IDS_NUMERIC_CONVERSION = 112,
    IDS_FILE_NAME = 113,
    IDS_LINE = 114,
    IDS_UNEXPECTED_READ_ERROR = 115,
    IDS_CONVERT_HOLES = 116,
    IDS_UNEXPECTED_SET_FILE_ERROR = 123,
    IDS_COM_ERROR_READING = 124,
    IDS_COM_ERROR_SET_FILE = 126,
};

// String id of the server's table, read into a buffer of 254 characters,
// or fallback when it cannot be loaded (loadServerString). Defined beside
// the table, so that whatever loads a string also carries the table.
CString loadTobrennString(UINT id, const char* fallback);
