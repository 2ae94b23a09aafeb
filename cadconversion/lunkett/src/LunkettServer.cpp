// The DSTV converter server Lunkett: its object map, its type library
// LunkettLib, the description of HalcyraLib's IVLMRConvert that the
// converters dispatch from, and the four module exports.
#include "DSTVConvert1.h"
#include "DSTVConvertSDS6_336.h"
#include "DSTVConvertSDSEarlyVersions.h"
#include "DSTVMultConvert.h"
#include "StrucSoftDSTV.h"

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

// IVLMRConvert and IVLMRMultConvert as HalcyraLib describes them, for dispatching only: the
// part-model server registers that library, this one never does.
const comserver::TypeLibrary& convertInterfaceLibrary()
{
    using namespace comserver;
    static const TypeLibrary library{
        LIBID_HALCYRALib,
        1,
        0,
        "HalcyraLib",
        "Halcyra 1.0 Type Library",
        {dualInterface<IVLMRConvert>(
             "IVLMRConvert", "IVLMRConvert Interface",
             {dispMethod<&IVLMRConvert::SetFile>(1, "SetFile", {"bstrFilename"}),
              dispMethod<&IVLMRConvert::ReadPart>(2, "ReadPart",
                                                  {"ppIUnkCADPart", "bIsMetric", "bIsToolMetric"}),
              dispPropGet<&IVLMRConvert::get_ConversionName>(3, "ConversionName", {"pVal"})}),
         dualInterface<IVLMRMultConvert>(
             "IVLMRMultConvert", "IVLMRMultConvert Interface",
             {dispMethod<&IVLMRMultConvert::ReadMult>(1, "ReadMult", {"ppIUnkCADMult"})})},
        {}};
    return library;
}

} // namespace

TYPELIB_RESOURCE(1, lunkettTypeLibrary)
TYPELIB_RESOURCE(2, convertInterfaceLibrary)

COMSERVER_EXPORTS(lunkettModule)
