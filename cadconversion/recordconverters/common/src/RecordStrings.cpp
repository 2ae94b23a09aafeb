// The string table of the record converter servers. It lives beside the
// load so that every module that reads a string also carries the table.
// The flange texts and the "Convert and Save" texts are part of the table
// although nothing loads them; 117 and 118 both read "Bottom Flange Far
// Illegal", as the system has always had them.
#include "recordconverters/RecordStrings.h"

#include "halcyra/ConverterServer.h"

#include "com/server/Resources.h"

BEGIN_STRING_TABLE(RecordStrings)
    STRING_ENTRY(IDS_RECORD_FILE_OPEN_FAILURE, "File Open Failure")
    STRING_ENTRY(IDS_RECORD_UNEXPECTED_EOF, "Unexpected EOF while reading part")
    STRING_ENTRY(IDS_RECORD_NUMERIC_CONVERSION, "Numeric Conversion Error while reading part")
    STRING_ENTRY(IDS_RECORD_FILE_NAME, "File Name:")
    STRING_ENTRY(IDS_RECORD_LINE, "Line:")
    STRING_ENTRY(IDS_RECORD_UNEXPECTED_READ_ERROR, "Unexpected ERROR while reading part")
    STRING_ENTRY(IDS_RECORD_CONVERT_HOLES, "Error in Convert holes")
    STRING_ENTRY(117, "Bottom Flange Far Illegal")
    STRING_ENTRY(118, "Bottom Flange Far Illegal")
    STRING_ENTRY(119, "Top Flange Near Illegal")
    STRING_ENTRY(120, "Top Flange Far Illegal")
    STRING_ENTRY(121, "Bottom Flange Near Far Illegal")
    STRING_ENTRY(122, "Top Flange Near Far Illegal")
    STRING_ENTRY(IDS_RECORD_UNEXPECTED_SET_FILE_ERROR, "Unexpected Error Setting File")
    STRING_ENTRY(IDS_RECORD_COM_ERROR_READING, "Com Error while reading part")
    STRING_ENTRY(125, "Com Error in Convert and Save")
    STRING_ENTRY(IDS_RECORD_COM_ERROR_SET_FILE, "Com Error in Set File")
    STRING_ENTRY(127, "Unexpected Error in Convert and Save")
END_STRING_TABLE()

CString loadRecordString(UINT id, const char* fallback)
{
    return loadServerString(id, fallback);
}
