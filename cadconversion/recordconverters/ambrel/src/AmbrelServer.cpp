// The Ambrel record converter server: its object map, its type library
// AMBRELLib, the description of HalcyraLib's IVLMRConvert that the
// converter dispatches from, its name in the string table and the four
// module exports.
#include "AmbrelConvert.h"

#include "recordconverters/RecordStrings.h"

BEGIN_OBJECT_MAP(ObjectMap)
    OBJECT_ENTRY(CLSID_AmbrelConvert, CAmbrelConvert)
END_OBJECT_MAP()

CComModule ambrelModule(ObjectMap);

BEGIN_STRING_TABLE(AmbrelName)
    STRING_ENTRY(IDS_RECORD_SERVER_NAME, "Ambrel")
END_STRING_TABLE()

namespace {

// Registered with the server (TYPELIB 1).
const comserver::TypeLibrary& ambrelTypeLibrary()
{
    static const comserver::TypeLibrary library = converterLibrary<IAmbrelConvert>(
        LIBID_AMBRELLib, "AMBRELLib", "Ambrel 1.0 Type Library", "IAmbrelConvert",
        "IAmbrelConvert Interface", CLSID_AmbrelConvert, "AmbrelConvert", "Ambrel Class");
    return library;
}

} // namespace

TYPELIB_RESOURCE(1, ambrelTypeLibrary)
TYPELIB_RESOURCE(2, halcyraConverterLibrary)

COMSERVER_EXPORTS(ambrelModule)
