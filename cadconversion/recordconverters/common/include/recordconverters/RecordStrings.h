// The string table that the three record converter servers share, and the
// load with a stand-in literal. Each server adds its own name as string
// 100.
#pragma once

#include "vlmrlib/CString.h"

enum RecordStringId : UINT {
    IDS_RECORD_SERVER_NAME = 100,
    IDS_RECORD_FILE_OPEN_FAILURE = 110,
    IDS_RECORD_UNEXPECTED_EOF = 111,
    IDS_RECORD_NUMERIC_CONVERSION = 112,
    IDS_RECORD_FILE_NAME = 113,
    IDS_RECORD_LINE = 114,
    IDS_RECORD_UNEXPECTED_READ_ERROR = 115,
    IDS_RECORD_CONVERT_HOLES = 116,
    IDS_RECORD_UNEXPECTED_SET_FILE_ERROR = 123,
    IDS_RECORD_COM_ERROR_READING = 124,
    IDS_RECORD_COM_ERROR_SET_FILE = 126,
};

// String id of the server's table, or fallback when it cannot be loaded
// (loadServerString). Defined beside the table, so that whatever loads a
// string also carries the table.
CString loadRecordString(UINT id, const char* fallback);
