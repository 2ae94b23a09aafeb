// The DXF converter server Ostrane: its object map, its type library
// OstraneLib, HalcyraLib's converter contract for dispatching, and the four
// module exports, whose registration also writes the server's AppID.
//
// The interfaces' proxy and stub: registering OstraneLib writes the
// Interface key of IVLMROstrane with the universal marshaler, as a merged
// proxy/stub registers it; the component runtime serves every call in the
// caller's apartment and looks no proxy up, so nothing more is registered.
#include "VLMROstrane.h"

BEGIN_OBJECT_MAP(ObjectMap)
    OBJECT_ENTRY(CLSID_VLMROstrane, CVLMROstrane)
END_OBJECT_MAP()

CComModule ostraneModule(ObjectMap);

namespace {

// Registered with the server (TYPELIB 1).
const comserver::TypeLibrary& ostraneTypeLibrary()
{
    static const comserver::TypeLibrary library = converterLibrary<IVLMROstrane>(
        LIBID_OstraneLib, "OstraneLib", "Ostrane 1.0 Type Library", "IVLMROstrane",
        "IVLMROstrane Interface", CLSID_VLMROstrane, "VLMROstrane", "VLMROstrane Class");
    return library;
}

} // namespace

TYPELIB_RESOURCE(1, ostraneTypeLibrary)
TYPELIB_RESOURCE(2, halcyraConverterLibrary)

COMSERVER_EXPORT_CLASS_OBJECTS(ostraneModule)

COMSERVER_STDAPI DllRegisterServer()
{
    const HRESULT hr = CComModule::UpdateRegistryFromResource(IDR_OSTRANE_APPID, TRUE);
    return FAILED(hr) ? hr : ostraneModule.RegisterServer(TRUE);
}

COMSERVER_STDAPI DllUnregisterServer()
{
    const HRESULT classes = ostraneModule.UnregisterServer(TRUE);
    const HRESULT appId = CComModule::UpdateRegistryFromResource(IDR_OSTRANE_APPID, FALSE);
    return FAILED(classes) ? classes : appId;
}
