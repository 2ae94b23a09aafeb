// The server module: its object map, class factories, lock count,
// registration, and the four exports every server module has.
#pragma once

#include "com/server/CategoryMap.h"
#include "com/server/ComObject.h"
#include "com/server/Registrar.h"

#include <mutex>
#include <string>

namespace comserver {

// One class of the module.
struct ObjectMapEntry {
    const CLSID* clsid;
    CreateFunction createPlain;
    CreateFunction createAggregated; // null: the class cannot be aggregated
    HRESULT (*updateRegistry)(BOOL bRegister);
    const CategoryMapEntry* (*categoryMap)();
    IClassFactory* classObject; // created on first request, owned by the module
};

template <class T>
constexpr ObjectMapEntry objectMapEntry(const CLSID* clsid)
{
    return {clsid,
            T::_CreatorClass::plain,
            T::_CreatorClass::aggregated,
            &T::UpdateRegistry,
            &T::GetCategoryMap,
            nullptr};
}

// The module's absolute path, found from an address inside it.
std::string modulePath();

} // namespace comserver

// Objects, locks and resources are per module: the framework is a static
// library linked into each module. Define one CComModule per module, after
// its object map.
class CComModule {
public:
    explicit CComModule(comserver::ObjectMapEntry* objectMap);
    ~CComModule();
    CComModule(const CComModule&) = delete;
    CComModule& operator=(const CComModule&) = delete;

    // The class factory of rclsid (one per class, kept by the module);
    // CLASS_E_CLASSNOTAVAILABLE for a class not in the object map.
    HRESULT GetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv);
    // S_OK when no object, lock or factory reference is left, else S_FALSE.
    HRESULT CanUnloadNow() const;

    // Every class of the object map (or only *pCLSID): its registrar script,
    // then its category map; with bRegTypeLib, the type library TYPELIB 1.
    // Registration stops at the first failure; unregistration goes on and
    // answers the first failure.
    HRESULT RegisterServer(BOOL bRegTypeLib = FALSE, const CLSID* pCLSID = nullptr);
    HRESULT UnregisterServer(BOOL bUnRegTypeLib = FALSE, const CLSID* pCLSID = nullptr);

    // The type library TYPELIB 1: TypeLib and Interface keys.
    static HRESULT RegisterTypeLib();
    static HRESULT UnRegisterTypeLib();

    // Runs the REGISTRY resource nResID with %MODULE% (the module's path)
    // and the extra replacements.
    static HRESULT UpdateRegistryFromResource(UINT nResID, BOOL bRegister,
                                              const comserver::Replacements* extra = nullptr);

    static LONG Lock() { return comserver::moduleLock(); }
    static LONG Unlock() { return comserver::moduleUnlock(); }
    static LONG GetLockCount() { return comserver::moduleLockCount(); }

    // The handle of the module's resources, for LoadString.
    static HINSTANCE GetModuleInstance();
    static HINSTANCE GetResourceInstance() { return GetModuleInstance(); }

private:
    comserver::ObjectMapEntry* findEntry(REFCLSID clsid) const;

    comserver::ObjectMapEntry* m_objectMap;
    std::mutex m_mutex;
};

// The object map:
//   BEGIN_OBJECT_MAP(ObjectMap)
//       OBJECT_ENTRY(CLSID_MyClass, CMyClass)
//   END_OBJECT_MAP()
//   CComModule _Module(ObjectMap);
#define BEGIN_OBJECT_MAP(name) static ::comserver::ObjectMapEntry name[] = {
#define OBJECT_ENTRY(clsid, class) ::comserver::objectMapEntry<class>(&(clsid)),
#define END_OBJECT_MAP()                                                                           \
    ::comserver::ObjectMapEntry {}                                                                 \
    }                                                                                              \
    ;

// Inside a class: its registrar script is the REGISTRY resource id.
#define DECLARE_REGISTRY_RESOURCEID(id)                                                            \
    static HRESULT UpdateRegistry(BOOL bRegister)                                                  \
    {                                                                                              \
        return CComModule::UpdateRegistryFromResource(id, bRegister);                              \
    }

// An exported entry point of a module (modules hide every other symbol).
#define COMSERVER_STDAPI extern "C" __attribute__((visibility("default"))) HRESULT

// DllGetClassObject and DllCanUnloadNow of the module object.
#define COMSERVER_EXPORT_CLASS_OBJECTS(module)                                                     \
    COMSERVER_STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv)                  \
    {                                                                                              \
        return (module).GetClassObject(rclsid, riid, ppv);                                         \
    }                                                                                              \
    COMSERVER_STDAPI DllCanUnloadNow()                                                             \
    {                                                                                              \
        return (module).CanUnloadNow();                                                            \
    }

// All four exports, registering the classes and the type library. A server
// that must do more on registration uses COMSERVER_EXPORT_CLASS_OBJECTS and
// writes its own DllRegisterServer/DllUnregisterServer with COMSERVER_STDAPI,
// calling module.RegisterServer(TRUE) / module.UnregisterServer(TRUE).
#define COMSERVER_EXPORTS(module)                                                                  \
    COMSERVER_EXPORT_CLASS_OBJECTS(module)                                                         \
    COMSERVER_STDAPI DllRegisterServer()                                                           \
    {                                                                                              \
        return (module).RegisterServer(TRUE);                                                      \
    }                                                                                              \
    COMSERVER_STDAPI DllUnregisterServer()                                                         \
    {                                                                                              \
        return (module).UnregisterServer(TRUE);                                                    \
    }
