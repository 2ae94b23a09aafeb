// Object creation: finding a class's server module in the registry,
// loading it once per process, asking it for class objects, and unloading
// it when it says it can go.
#include "Apartment.h"
#include "ClassesRoot.h"
#include "ComponentCategories.h"

#include "com/CodePage.h"
#include "com/Runtime.h"

#include <dlfcn.h>

#include <map>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace {

using GetClassObjectFn = HRESULT (*)(REFCLSID, REFIID, LPVOID*);
using CanUnloadNowFn = HRESULT (*)();

struct Module {
    void* handle;
    GetClassObjectFn getClassObject;
    CanUnloadNowFn canUnloadNow; // null: the module stays
    int calls = 0;               // DllGetClassObject calls under way
};

// The loaded modules, by the loader's handle, and the paths they were
// loaded from. A module is loaded once however many paths name it.
struct ModuleTable {
    std::mutex mutex;
    std::map<void*, Module> modules;
    std::map<std::string, void*> byPath;
};

ModuleTable& table()
{
    static ModuleTable& modules = *new ModuleTable; // modules stay loaded until the process ends
    return modules;
}

// Sets the thread's error information to a description of the failure.
void reportError(const std::string& text)
{
    ICreateErrorInfo* create = nullptr;
    if (FAILED(CreateErrorInfo(&create)))
        return;
    const std::u16string wide = wideFromNarrow(text);
    create->SetDescription(const_cast<LPOLESTR>(wide.c_str()));
    create->SetSource(const_cast<LPOLESTR>(u"CoGetClassObject"));
    IErrorInfo* info = nullptr;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
        SetErrorInfo(0, info);
        info->Release();
    }
    create->Release();
}

std::string loaderMessage()
{
    const char* text = dlerror();
    return text ? text : "unknown loader failure";
}

// The module at path, loaded when it is not yet, with one call counted.
HRESULT enterModule(const std::string& path, Module** entered)
{
    ModuleTable& modules = table();
    {
        std::lock_guard lock(modules.mutex);
        if (auto known = modules.byPath.find(path); known != modules.byPath.end()) {
            Module& module = modules.modules.at(known->second);
            ++module.calls;
            *entered = &module;
            return S_OK;
        }
    }
    // Loaded without the lock: a module's initialisers may call back in.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        reportError("Cannot load the server module " + path + ": " + loaderMessage());
        return CO_E_DLLNOTFOUND;
    }
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(dlsym(handle, "DllGetClassObject"));
    if (!getClassObject) {
        const std::string why = loaderMessage();
        dlclose(handle);
        reportError("The module " + path + " is not a server module: " + why);
        return CO_E_ERRORINDLL;
    }
    auto canUnloadNow = reinterpret_cast<CanUnloadNowFn>(dlsym(handle, "DllCanUnloadNow"));

    std::lock_guard lock(modules.mutex);
    auto [slot, added] =
        modules.modules.try_emplace(handle, Module{handle, getClassObject, canUnloadNow});
    if (!added)
        dlclose(handle); // loaded meanwhile, or under another path: keep one reference
    modules.byPath[path] = handle;
    ++slot->second.calls;
    *entered = &slot->second;
    return S_OK;
}

// Ends the call counted by enterModule.
struct ModuleCall {
    Module* module;
    ~ModuleCall()
    {
        std::lock_guard lock(table().mutex);
        --module->calls;
    }
};

// The module path serving clsid in one of the contexts, or nullopt.
std::optional<std::string> serverPath(const std::string& classKey, DWORD context)
{
    const std::string inproc = classKey + "\\InprocServer32";
    if (context & (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER)) {
        if (auto path = classes::readString(inproc, nullptr); path && !path->empty())
            return path;
    }
    // A local server whose AppID names a surrogate is served in process.
    if (context & CLSCTX_LOCAL_SERVER) {
        const auto appId = classes::readString(classKey, "AppID");
        if (appId && classes::hasValue("AppID\\" + *appId, "DllSurrogate")) {
            if (auto path = classes::readString(inproc, nullptr); path && !path->empty())
                return path;
        }
    }
    return std::nullopt;
}

HRESULT getClassObject(REFCLSID rclsid, DWORD context, REFIID riid, LPVOID* ppv)
{
    if (rclsid == CLSID_StdComponentCategoriesMgr)
        return getCategoriesManagerFactory(riid, ppv);
    const std::string classKey = "CLSID\\" + guidToString(rclsid);
    const auto path = serverPath(classKey, context);
    if (!path)
        return REGDB_E_CLASSNOTREG;
    Module* module = nullptr;
    if (const HRESULT hr = enterModule(*path, &module); FAILED(hr))
        return hr;
    const ModuleCall call{module};
    return module->getClassObject(rclsid, riid, ppv);
}

} // namespace

HRESULT CoGetClassObject(REFCLSID rclsid, DWORD clsContext, LPVOID serverInfo, REFIID riid,
                         LPVOID* ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (!apartmentEntered())
        return CO_E_NOTINITIALIZED;
    if (!(clsContext & CLSCTX_ALL))
        return E_INVALIDARG;
    HRESULT hr;
    try {
        hr = getClassObject(rclsid, clsContext, riid, ppv);
    } catch (const std::bad_alloc&) {
        hr = E_OUTOFMEMORY;
    } catch (...) {
        hr = E_UNEXPECTED; // a module that lets an exception out
    }
    if (FAILED(hr))
        *ppv = nullptr;
    return hr;
}

HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD clsContext, REFIID riid,
                         LPVOID* ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    IClassFactory* factory = nullptr;
    HRESULT hr = CoGetClassObject(rclsid, clsContext, nullptr, IID_IClassFactory,
                                  reinterpret_cast<void**>(&factory));
    if (FAILED(hr))
        return hr;
    try {
        hr = factory->CreateInstance(pUnkOuter, riid, ppv);
    } catch (...) {
        hr = E_UNEXPECTED; // a factory that lets an exception out
    }
    factory->Release();
    if (FAILED(hr))
        *ppv = nullptr;
    return hr;
}

void CoFreeUnusedLibraries()
{
    ModuleTable& modules = table();
    std::vector<void*> unload;
    {
        std::lock_guard lock(modules.mutex);
        for (auto it = modules.modules.begin(); it != modules.modules.end();) {
            const Module& module = it->second;
            if (module.calls == 0 && module.canUnloadNow && module.canUnloadNow() == S_OK) {
                unload.push_back(module.handle);
                it = modules.modules.erase(it);
            } else {
                ++it;
            }
        }
        std::erase_if(modules.byPath,
                      [&](const auto& entry) { return !modules.modules.contains(entry.second); });
    }
    // Unloaded without the lock: a module's finalisers may call back in.
    for (void* handle : unload)
        dlclose(handle);
}

HRESULT OleRun(IUnknown* pUnknown)
{
    if (!pUnknown)
        return E_INVALIDARG;
    IRunnableObject* runnable = nullptr;
    if (FAILED(
            pUnknown->QueryInterface(IID_IRunnableObject, reinterpret_cast<void**>(&runnable))) ||
        !runnable)
        return S_OK;
    const HRESULT hr = runnable->Run(nullptr);
    runnable->Release();
    return hr;
}
