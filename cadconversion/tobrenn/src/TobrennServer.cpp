// The machine-file converter server Tobrenn: its object map, its type
// library TOBRENNLib, HalcyraLib's converter interfaces that the
// converters dispatch from (the converter contract), and the four module
// exports.
#include "COldestConver.h"
#include "Convert.h"
#include "OldConvert.h"

#include "halcyra/ConverterContract.h"

BEGIN_OBJECT_MAP(ObjectMap)
    OBJECT_ENTRY(CLSID_Convert, CTobrennConvert)
    OBJECT_ENTRY(CLSID_OldConvert, COldConvert)
    OBJECT_ENTRY(CLSID_COldestConver, CCOldestConver)
END_OBJECT_MAP()

CComModule tobrennModule(ObjectMap);

namespace {

// Registered with the server (TYPELIB 1); it imports HalcyraLib.
const comserver::TypeLibrary& tobrennTypeLibrary()
{
    using namespace comserver;
    static const TypeLibrary library{
        LIBID_TOBRENNLib,
        1,
        0,
        "TOBRENNLib",
        "Tobrenn 1.0 Type Library",
        {dualInterface<IConvert>("IConvert", "IConvert Interface", {}),
         dualInterface<IOldConvert>("IOldConvert", "IOldConvert Interface", {}),
         dualInterface<ICOldestConver>("ICOldestConver", "ICOldestConver Interface", {})},
        {coClass(CLSID_Convert, "Convert", {IID_IConvert, IID_IVLMRConvert}, "Convert Class"),
         coClass(CLSID_OldConvert, "OldConvert", {IID_IOldConvert, IID_IVLMRConvert},
                 "OldConvert Class"),
         coClass(CLSID_COldestConver, "COldestConver", {IID_ICOldestConver, IID_IVLMRConvert},
                 "COldestConver Class")}};
    return library;
}

} // namespace

TYPELIB_RESOURCE(1, tobrennTypeLibrary)
TYPELIB_RESOURCE(2, halcyraConverterLibrary)

COMSERVER_EXPORTS(tobrennModule)
