// The module object: class factories, registration and the module's path.
#include "ClassFactory.h"
#include "ErrorInfo.h"
#include "com/server/Resources.h"
#include "com/server/TypeLibrary.h"

#include "registry/Registry.h"

#include <dlfcn.h>

#include <climits>
#include <cstdlib>
#include <new>

namespace comserver {

namespace {
// An address inside this module, to find the module's file.
const char moduleAnchor = 0;
} // namespace

std::string modulePath()
{
    Dl_info info{};
    if (dladdr(&moduleAnchor, &info) == 0 || info.dli_fname == nullptr)
        return {};
    std::string path = info.dli_fname;
    if (path.empty() || path[0] != '/') {
        // The main program, or a module opened by a relative name.
        char resolved[PATH_MAX];
        if ((!path.empty() && realpath(path.c_str(), resolved) != nullptr) ||
            realpath("/proc/self/exe", resolved) != nullptr)
            path = resolved;
    }
    return path;
}

} // namespace comserver

using comserver::ClassFactory;
using comserver::ObjectMapEntry;

CComModule::CComModule(ObjectMapEntry* objectMap) : m_objectMap(objectMap) {}

CComModule::~CComModule()
{
    // A factory still referenced by a client is left alone rather than
    // destroyed under it.
    for (ObjectMapEntry* entry = m_objectMap; entry->clsid != nullptr; ++entry) {
        auto* factory = static_cast<ClassFactory*>(entry->classObject);
        if (factory != nullptr && factory->references() == 0) {
            delete factory;
            entry->classObject = nullptr;
        }
    }
}

ObjectMapEntry* CComModule::findEntry(REFCLSID clsid) const
{
    for (ObjectMapEntry* entry = m_objectMap; entry->clsid != nullptr; ++entry)
        if (*entry->clsid == clsid)
            return entry;
    return nullptr;
}

HRESULT CComModule::GetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    ObjectMapEntry* entry = findEntry(rclsid);
    if (entry == nullptr)
        return CLASS_E_CLASSNOTAVAILABLE;
    {
        std::lock_guard lock(m_mutex);
        if (entry->classObject == nullptr)
            entry->classObject = new (std::nothrow) ClassFactory(*entry);
        if (entry->classObject == nullptr)
            return E_OUTOFMEMORY;
    }
    return entry->classObject->QueryInterface(riid, ppv);
}

HRESULT CComModule::CanUnloadNow() const
{
    return comserver::moduleLockCount() == 0 ? S_OK : S_FALSE;
}

namespace {

// The registry's failure to begin or end a module's group of changes.
HRESULT groupFailure(LONG rc, const char* what)
{
    const std::string text = registryLastError();
    return comserver::failWith(HRESULT_FROM_WIN32(static_cast<ULONG>(rc)),
                               std::string(what) + ": " +
                                   (text.empty() ? "registry error " + std::to_string(rc) : text));
}

} // namespace

// A module's registration is one group of changes (its scripts, categories
// and type library): other processes see all of it or none, and a second
// process registering at the same time waits for it.
HRESULT CComModule::RegisterServer(BOOL bRegTypeLib, const CLSID* pCLSID)
{
    RegistryChanges changes;
    if (changes.status() != ERROR_SUCCESS)
        return groupFailure(changes.status(), "cannot change the registry");
    for (ObjectMapEntry* entry = m_objectMap; entry->clsid != nullptr; ++entry) {
        if (pCLSID != nullptr && *pCLSID != *entry->clsid)
            continue;
        HRESULT hr = entry->updateRegistry(TRUE);
        if (FAILED(hr))
            return hr;
        hr = comserver::registerClassCategories(*entry->clsid, entry->categoryMap(), true);
        if (FAILED(hr))
            return hr;
    }
    if (bRegTypeLib)
        if (const HRESULT hr = RegisterTypeLib(); FAILED(hr))
            return hr;
    if (const LONG rc = changes.commit(); rc != ERROR_SUCCESS)
        return groupFailure(rc, "cannot write the registry");
    return S_OK;
}

// Unregistration goes on past a failure and writes what it could remove.
HRESULT CComModule::UnregisterServer(BOOL bUnRegTypeLib, const CLSID* pCLSID)
{
    RegistryChanges changes;
    if (changes.status() != ERROR_SUCCESS)
        return groupFailure(changes.status(), "cannot change the registry");
    HRESULT first = S_OK;
    auto keep = [&first](HRESULT hr) {
        if (FAILED(hr) && SUCCEEDED(first))
            first = hr;
    };
    for (ObjectMapEntry* entry = m_objectMap; entry->clsid != nullptr; ++entry) {
        if (pCLSID != nullptr && *pCLSID != *entry->clsid)
            continue;
        keep(comserver::registerClassCategories(*entry->clsid, entry->categoryMap(), false));
        keep(entry->updateRegistry(FALSE));
    }
    if (bUnRegTypeLib)
        keep(UnRegisterTypeLib());
    if (const LONG rc = changes.commit(); rc != ERROR_SUCCESS)
        keep(groupFailure(rc, "cannot write the registry"));
    return first;
}

HRESULT CComModule::RegisterTypeLib()
{
    const comserver::TypeLibrary* library = comserver::moduleResources().typeLibrary(1);
    if (library == nullptr)
        return S_OK;
    try {
        comserver::Registrar registrar("type library " + library->name);
        return registrar.registerScript(
            comserver::typeLibraryScript(*library, comserver::modulePath()));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CComModule::UnRegisterTypeLib()
{
    const comserver::TypeLibrary* library = comserver::moduleResources().typeLibrary(1);
    if (library == nullptr)
        return S_OK;
    try {
        comserver::Registrar registrar("type library " + library->name);
        HRESULT hr = registrar.unregisterScript(
            comserver::typeLibraryScript(*library, comserver::modulePath()));
        // The library's key goes when no other version is left in it.
        RegDeleteKey(HKEY_CLASSES_ROOT, ("TypeLib\\" + guidToString(library->libid)).c_str());
        return hr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CComModule::UpdateRegistryFromResource(UINT nResID, BOOL bRegister,
                                               const comserver::Replacements* extra)
{
    try {
        std::string label = "registrar script " + std::to_string(nResID);
        std::optional<std::string_view> script =
            comserver::moduleResources().find("REGISTRY", nResID);
        if (!script)
            return comserver::failWith(E_FAIL, label + " is not among the module's resources");
        comserver::Registrar registrar(label);
        registrar.addReplacement("MODULE", comserver::modulePath());
        if (extra != nullptr)
            for (const auto& [name, value] : *extra)
                registrar.addReplacement(name, value);
        return bRegister ? registrar.registerScript(*script) : registrar.unregisterScript(*script);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HINSTANCE CComModule::GetModuleInstance()
{
    return comserver::moduleInstance();
}
