// Object creation: finding a class's server module in the registry,
// loading it once per process, asking it for class objects, and unloading
// it when it says it can go.
//
// What creation has read is kept: where each class is served from, until
// HKEY_CLASSES_ROOT's hive changes (one stat per creation tells, so another
// process's registration is seen by the next creation), and the class
// factory of each class of a loaded module. A cached factory holds a
// reference, which locks its module: CoFreeUnusedLibraries first lets go of
// the factories of every module not in a call, then asks each module
// whether it can go, so that the cache never keeps a module loaded, and a
// module is unloaded only after its factories have left the cache.
#include "Apartment.h"
#include "ClassesRoot.h"
#include "ComponentCategories.h"
#include "ReportError.h"

#include "com/Runtime.h"

#include <dlfcn.h>

#include <cstring>
#include <map>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using GetClassObjectFn = HRESULT (*)(REFCLSID, REFIID, LPVOID*);
using CanUnloadNowFn = HRESULT (*)();

struct GuidLess {
    bool operator()(const GUID& a, const GUID& b) const
    {
        return std::memcmp(&a, &b, sizeof(GUID)) < 0;
    }
};

struct Module {
    void* handle;
    GetClassObjectFn getClassObject;
    CanUnloadNowFn canUnloadNow; // null: the module stays
    int calls = 0;               // creations and DllGetClassObject calls under way
    // The class factories the module gave out, one reference each.
    std::map<CLSID, IClassFactory*, GuidLess> factories;
};

// Where the registry says a class is served from.
struct ClassServer {
    std::string inprocPath; // InprocServer32's default value; empty when none
    bool surrogate = false; // its AppID names a DllSurrogate
};

// The loaded modules, by the loader's handle, and the paths they were
// loaded from. A module is loaded once however many paths name it. The
// classes read from the registry, valid for one version of the hive.
struct ModuleTable {
    std::mutex mutex;
    std::map<void*, Module> modules;
    std::map<std::string, void*> byPath;
    std::uint64_t classesVersion = 0;
    std::map<CLSID, ClassServer, GuidLess> classes;
};

ModuleTable& table()
{
    static ModuleTable& modules = *new ModuleTable; // modules stay loaded until the process ends
    return modules;
}

HRESULT reportCreationError(HRESULT hr, const std::string& text)
{
    return reportError(hr, u"CoGetClassObject", text);
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
    if (!handle)
        return reportCreationError(CO_E_DLLNOTFOUND, "Cannot load the server module " + path +
                                                         ": " + loaderMessage());
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(dlsym(handle, "DllGetClassObject"));
    if (!getClassObject) {
        const std::string why = loaderMessage();
        dlclose(handle);
        return reportCreationError(CO_E_ERRORINDLL,
                                   "The module " + path + " is not a server module: " + why);
    }
    auto canUnloadNow = reinterpret_cast<CanUnloadNowFn>(dlsym(handle, "DllCanUnloadNow"));

    std::lock_guard lock(modules.mutex);
    auto [slot, added] =
        modules.modules.try_emplace(handle, Module{handle, getClassObject, canUnloadNow, 0, {}});
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

// The registry's word on clsid; throws classes::ReadFailure.
ClassServer readClassServer(REFCLSID clsid)
{
    const std::string classKey = "CLSID\\" + guidToString(clsid);
    ClassServer server;
    server.inprocPath = classes::readString(classKey + "\\InprocServer32", nullptr).value_or("");
    const auto appId = classes::readString(classKey, "AppID");
    server.surrogate = appId && classes::hasValue("AppID\\" + *appId, "DllSurrogate");
    return server;
}

// The module path serving clsid in one of the contexts, or nullopt; from
// the cache while the hive is unchanged. Throws classes::ReadFailure.
std::optional<std::string> serverPath(REFCLSID clsid, DWORD context)
{
    ModuleTable& modules = table();
    const std::uint64_t version = classes::hiveVersion();
    std::optional<ClassServer> server;
    {
        std::lock_guard lock(modules.mutex);
        if (modules.classesVersion != version) {
            modules.classes.clear();
            modules.classesVersion = version;
        }
        if (auto known = modules.classes.find(clsid); known != modules.classes.end())
            server = known->second;
    }
    if (!server) {
        // Read without the lock. Should the hive change meanwhile, the entry
        // is kept under the older version, which the next creation drops.
        server = readClassServer(clsid);
        std::lock_guard lock(modules.mutex);
        if (modules.classesVersion == version)
            modules.classes.emplace(clsid, *server);
    }
    if (server->inprocPath.empty())
        return std::nullopt;
    if (context & (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER))
        return server->inprocPath;
    // A local server whose AppID names a surrogate is served in process.
    if ((context & CLSCTX_LOCAL_SERVER) && server->surrogate)
        return server->inprocPath;
    return std::nullopt;
}

// The class factory of clsid from a module in a counted call: the cached
// one, or one asked for and kept. The cache's reference stays the cache's.
HRESULT moduleFactory(Module& module, REFCLSID clsid, IClassFactory** factory)
{
    ModuleTable& modules = table();
    {
        std::lock_guard lock(modules.mutex);
        if (auto known = module.factories.find(clsid); known != module.factories.end()) {
            *factory = known->second;
            return S_OK;
        }
    }
    IClassFactory* asked = nullptr;
    const HRESULT hr =
        module.getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&asked));
    if (FAILED(hr))
        return hr;
    if (!asked)
        return E_UNEXPECTED;
    IClassFactory* spare = nullptr;
    {
        std::lock_guard lock(modules.mutex);
        auto [slot, added] = module.factories.try_emplace(clsid, asked);
        if (!added)
            spare = asked; // another thread kept one meanwhile
        *factory = slot->second;
    }
    if (spare)
        spare->Release();
    return S_OK;
}

// Calls use with the module serving clsid, held in a counted call (so it is
// neither unloaded nor its factories let go meanwhile). Throws
// classes::ReadFailure.
template <class Use>
HRESULT withModule(REFCLSID rclsid, DWORD context, Use use)
{
    const auto path = serverPath(rclsid, context);
    if (!path)
        return REGDB_E_CLASSNOTREG;
    Module* module = nullptr;
    if (const HRESULT hr = enterModule(*path, &module); FAILED(hr))
        return hr;
    const ModuleCall call{module};
    return use(*module);
}

// Calls use with the class factory of clsid, valid for the call.
template <class Use>
HRESULT withClassFactory(REFCLSID rclsid, DWORD context, Use use)
{
    if (rclsid == CLSID_StdComponentCategoriesMgr) {
        IClassFactory* factory = nullptr;
        if (const HRESULT hr =
                getCategoriesManagerFactory(IID_IClassFactory, reinterpret_cast<void**>(&factory));
            FAILED(hr))
            return hr;
        return use(factory);
    }
    return withModule(rclsid, context, [&](Module& module) {
        IClassFactory* factory = nullptr;
        if (const HRESULT hr = moduleFactory(module, rclsid, &factory); FAILED(hr))
            return hr;
        return use(factory);
    });
}

// The class object for any other interface than IClassFactory, straight
// from the module.
HRESULT moduleClassObject(REFCLSID rclsid, DWORD context, REFIID riid, LPVOID* ppv)
{
    if (rclsid == CLSID_StdComponentCategoriesMgr)
        return getCategoriesManagerFactory(riid, ppv);
    return withModule(rclsid, context,
                      [&](Module& module) { return module.getClassObject(rclsid, riid, ppv); });
}

// Runs a creation step and turns what escapes it into an HRESULT: a
// registry that cannot be read is told as such, never as a class that is
// not registered.
template <class Step>
HRESULT guardedCreation(Step step)
{
    try {
        return step();
    } catch (const classes::ReadFailure& failure) {
        return classes::reportReadFailure(failure, u"CoGetClassObject");
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED; // a module that lets an exception out
    }
}

HRESULT checkCreation(DWORD clsContext)
{
    if (!apartmentEntered())
        return CO_E_NOTINITIALIZED;
    if (!(clsContext & CLSCTX_ALL))
        return E_INVALIDARG;
    return S_OK;
}

} // namespace

HRESULT CoGetClassObject(REFCLSID rclsid, DWORD clsContext, LPVOID serverInfo, REFIID riid,
                         LPVOID* ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (const HRESULT hr = checkCreation(clsContext); FAILED(hr))
        return hr;
    const HRESULT hr = guardedCreation([&] {
        if (riid != IID_IClassFactory && riid != IID_IUnknown)
            return moduleClassObject(rclsid, clsContext, riid, ppv);
        return withClassFactory(rclsid, clsContext, [&](IClassFactory* factory) {
            factory->AddRef();
            *ppv = factory;
            return S_OK;
        });
    });
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
    if (const HRESULT hr = checkCreation(clsContext); FAILED(hr))
        return hr;
    const HRESULT hr = guardedCreation([&] {
        return withClassFactory(rclsid, clsContext, [&](IClassFactory* factory) {
            return factory->CreateInstance(pUnkOuter, riid, ppv);
        });
    });
    if (FAILED(hr))
        *ppv = nullptr;
    return hr;
}

void CoFreeUnusedLibraries()
{
    ModuleTable& modules = table();
    // The cache's factories of every module not in a call go first: their
    // references would keep the module from answering that it can go.
    std::vector<IClassFactory*> released;
    {
        std::lock_guard lock(modules.mutex);
        for (auto& [handle, module] : modules.modules) {
            if (module.calls > 0)
                continue;
            for (const auto& [clsid, factory] : module.factories)
                released.push_back(factory);
            module.factories.clear();
        }
    }
    for (IClassFactory* factory : released)
        factory->Release();

    std::vector<void*> unload;
    {
        std::lock_guard lock(modules.mutex);
        for (auto it = modules.modules.begin(); it != modules.modules.end();) {
            const Module& module = it->second;
            if (module.calls == 0 && module.factories.empty() && module.canUnloadNow &&
                module.canUnloadNow() == S_OK) {
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
