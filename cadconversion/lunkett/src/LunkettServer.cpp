// The DSTV converter server Lunkett: its object map, its type library
// LunkettLib, HalcyraLib's converter interfaces that the converters
// dispatch from (the converter contract), and the four module exports.
#include "DSTVConvert1.h"
#include "DSTVConvertSDS6_336.h"
#include "DSTVConvertSDSEarlyVersions.h"
#include "DSTVMultConvert.h"
#include "StrucSoftDSTV.h"

#include "halcyra/ConverterContract.h"

BEGIN_OBJECT_MAP(ObjectMap)
    OBJECT_ENTRY(CLSID_DSTVConvert1, CDSTVConvert1)
    OBJECT_ENTRY(CLSID_DSTVConvertSDS6_336, CDSTVConvertSDS6_336)
    OBJECT_ENTRY(CLSID_DSTVConvertSDSEarlyVersions, CDSTVConvertSDSEarlyVersions)
    OBJECT_ENTRY(CLSID_StrucSoftDSTV, CStrucSoftDSTV)
    OBJECT_ENTRY(CLSID_DSTVMultConvert, CDSTVMultConvert)
END_OBJECT_MAP()

CComModule lunkettModule(ObjectMap);

namespace {

// Registered with the server (TYPELIB 1).
const comserver::TypeLibrary& lunkettTypeLibrary()
{
    using namespace comserver;
    static const TypeLibrary library{
        LIBID_LUNKETTLib,
        1,
        0,
        "LunkettLib",
        "Lunkett 1.0 Type Library",
        {dualInterface<IDSTVConvert1>("IDSTVConvert1", "IDSTVConvert1 Interface", {}),
         dualInterface<IDSTVConvertSDS6_336>("IDSTVConvertSDS6_336",
                                             "IDSTVConvertSDS6_336 Interface", {}),
         dualInterface<IDSTVConvertSDSEarlyVersions>("IDSTVConvertSDSEarlyVersions",
                                                     "IDSTVConvertSDSEarlyVersions Interface", {}),
         customInterface<IStrucSoftDSTV>("IStrucSoftDSTV", "IStrucSoftDSTV Interface"),
         dualInterface<IDSTVMultConvert>("IDSTVMultConvert", "IDSTVMultConvert Interface", {})},
        {coClass(CLSID_DSTVConvert1, "DSTVConvert1", {IID_IDSTVConvert1, IID_IVLMRConvert},
                 "DSTVConvert1 Class"),
         coClass(CLSID_DSTVConvertSDS6_336, "DSTVConvertSDS6_336",
                 {IID_IDSTVConvertSDS6_336, IID_IVLMRConvert}, "DSTVConvertSDS6_336 Class"),
         coClass(CLSID_DSTVConvertSDSEarlyVersions, "DSTVConvertSDSEarlyVersions",
                 {IID_IDSTVConvertSDSEarlyVersions, IID_IVLMRConvert},
                 "DSTVConvertSDSEarlyVersions Class"),
         coClass(CLSID_StrucSoftDSTV, "StrucSoftDSTV", {IID_IStrucSoftDSTV, IID_IVLMRConvert},
                 "Velmora StrucSoftDSTV Class"),
         coClass(CLSID_DSTVMultConvert, "DSTVMultConvert",
                 {IID_IDSTVMultConvert, IID_IVLMRConvert, IID_IVLMRMultConvert},
                 "DSTVMultConvert Class")}};
    return library;
}

} // namespace

TYPELIB_RESOURCE(1, lunkettTypeLibrary)
TYPELIB_RESOURCE(2, halcyraConverterLibrary)

COMSERVER_EXPORTS(lunkettModule)
