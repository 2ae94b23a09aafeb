// The string table of the DXF converter server. It lives beside the load
// so that every module or program that reads a string also carries the
// table.
#include "OstraneStrings.h"

#include "halcyra/ConverterServer.h"

#include "com/server/Resources.h"

BEGIN_STRING_TABLE(OstraneStrings)
    STRING_ENTRY(IDS_FILE_OPEN_FAILURE, "File open Failure")
    STRING_ENTRY(IDS_UNEXPECTED_EOF, "Unexpected EOF while reading part")
    STRING_ENTRY(IDS_FILE_NAME, "File Name:")
    STRING_ENTRY(IDS_LINE, "Line:")
    STRING_ENTRY(IDS_UNEXPECTED_SET_FILE_ERROR, "Unexpected Error Setting File")
    STRING_ENTRY(IDS_COM_ERROR_SET_FILE, "Com Error in Set File")
END_STRING_TABLE()

CString loadOstraneString(UINT id, const char* fallback)
{
    return loadServerString(id, fallback);
}
