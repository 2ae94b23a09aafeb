// The Tolvin record converter server: its object map, its type library
// TOLVINLib, the description of HalcyraLib's IVLMRConvert that the
// converter dispatches from, its name in the string table and the four
// module exports.
#include "TolvinConvert.h"

#include "recordconverters/RecordStrings.h"

BEGIN_OBJECT_MAP(ObjectMap)
    OBJECT_ENTRY(CLSID_TolvinConvert, CTolvinConvert)
END_OBJECT_MAP()

CComModule tolvinModule(ObjectMap);

BEGIN_STRING_TABLE(TolvinName)
    STRING_ENTRY(IDS_RECORD_SERVER_NAME, "Tolvin")
END_STRING_TABLE()

namespace {

// Registered with the server (TYPELIB 1).
const comserver::TypeLibrary& tolvinTypeLibrary()
{
    static const comserver::TypeLibrary library = converterLibrary<ITolvinConvert>(
        LIBID_TOLVINLib, "TOLVINLib", "Tolvin 1.0 Type Library", "ITolvinConvert",
        "ITolvinConvert Interface", CLSID_TolvinConvert, "TolvinConvert", "Convert Class");
    return library;
}

} // namespace

TYPELIB_RESOURCE(1, tolvinTypeLibrary)
TYPELIB_RESOURCE(2, halcyraConverterLibrary)

COMSERVER_EXPORTS(tolvinModule)
