// The string table of the machine-file converter server. It lives beside
// the load so that every module or program that reads a string also
// carries the table.
#include "TobrennStrings.h"

#include "halcyra/ConverterServer.h"

#include "com/server/Resources.h"

BEGIN_STRING_TABLE(TobrennStrings)
    STRING_ENTRY(IDS_FILE_OPEN_FAILURE, "File Open Failure")
    STRING_ENTRY(IDS_UNEXPECTED_EOF, "Unexpected EOF while reading part")
    STRING_ENTRY(IDS_NUMERIC_CONVERSION, "Numeric Conversion Error while reading part")
    STRING_ENTRY(IDS_FILE_NAME, "File Name:")
    STRING_ENTRY(IDS_LINE, "Line:")
    STRING_ENTRY(IDS_UNEXPECTED_READ_ERROR, "Unexpected ERROR while reading part")
    STRING_ENTRY(IDS_CONVERT_HOLES, "Error in Convert holes")
    STRING_ENTRY(IDS_UNEXPECTED_SET_FILE_ERROR, "Unexpected Error Setting File")
    STRING_ENTRY(IDS_COM_ERROR_READING, "Com Error while reading part")
    STRING_ENTRY(IDS_COM_ERROR_SET_FILE, "Com Error in Set File")
END_STRING_TABLE()

CString loadTobrennString(UINT id, const char* fallback)
{
    return loadServerString(id, fallback, 254);
}
