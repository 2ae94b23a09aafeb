// The Ferrick record converter server: its object map, its type library
// FERRICKLib, the description of HalcyraLib's IVLMRConvert that the
// converter dispatches from, its name in the string table and the four
// module exports.
#include "FerrickConvert.h"

#include "recordconverters/RecordStrings.h"

BEGIN_OBJECT_MAP(ObjectMap)
    OBJECT_ENTRY(CLSID_FerrickConvert, CFerrickConvert)
END_OBJECT_MAP()

CComModule ferrickModule(ObjectMap);

BEGIN_STRING_TABLE(FerrickName)
    STRING_ENTRY(IDS_RECORD_SERVER_NAME, "Ferrick")
END_STRING_TABLE()

namespace {

// Registered with the server (TYPELIB 1).
const comserver::TypeLibrary& ferrickTypeLibrary()
{
    static const comserver::TypeLibrary library = converterLibrary<IFerrickConvert>(
        LIBID_FERRICKLib, "FERRICKLib", "Ferrick 1.0 Type Library", "IFerrickConvert",
        "IFerrickConvert Interface", CLSID_FerrickConvert, "FerrickConvert",
        "FerrickConvert Class");
    return library;
}

} // namespace

TYPELIB_RESOURCE(1, ferrickTypeLibrary)
TYPELIB_RESOURCE(2, halcyraConverterLibrary)

COMSERVER_EXPORTS(ferrickModule)
