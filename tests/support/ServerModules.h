// The system's server modules as the end-to-end tests and benchmarks use
// them: loaded and registered into the registry that VLMR_REGISTRY names,
// as regsvr does, the part-model server first since it creates the
// converter category; unloaded when the object goes. The module paths come
// from the `server_modules` CMake target.
#pragma once

#include "com/Runtime.h"
#include "testing/ErrorInfo.h"

#include <dlfcn.h>

#include <string>
#include <utility>
#include <vector>

using testsupport::takeErrorDescription;

class ServerModules {
public:
    ServerModules() = default;
    ServerModules(const ServerModules&) = delete;
    ServerModules& operator=(const ServerModules&) = delete;
    ~ServerModules()
    {
        for (const auto& [path, module] : m_modules)
            dlclose(module);
    }

    // Empty when every module is registered, else what failed.
    std::string registerAll()
    {
        std::vector<const char*> paths{HALCYRA_PATH, TARSIS_SERVERS_PATH, LUNKETT_PATH};
#ifdef TOBRENN_PATH
        paths.push_back(TOBRENN_PATH);
#endif
#ifdef OSTRANE_PATH
        paths.push_back(OSTRANE_PATH);
#endif
#ifdef FERRICK_PATH
        paths.insert(paths.end(), {FERRICK_PATH, AMBREL_PATH, TOLVIN_PATH});
#endif
        for (const char* path : paths) {
            void* module = dlopen(path, RTLD_NOW | RTLD_LOCAL);
            if (!module)
                return dlerror();
            m_modules.emplace_back(path, module);
            const auto registerServer = exported(module, "DllRegisterServer");
            if (!registerServer)
                return std::string(path) + ": no DllRegisterServer";
            const HRESULT hr = registerServer();
            if (FAILED(hr))
                return std::string(path) + ": " + hresultMessage(hr) + " " + takeErrorDescription();
        }
        return "";
    }

    // The modules that an object of theirs still keeps loaded (their
    // DllCanUnloadNow does not answer S_OK), one path a line; empty when
    // none.
    std::string busyModules() const
    {
        std::string busy;
        for (const auto& [path, module] : m_modules)
            if (const auto canUnloadNow = exported(module, "DllCanUnloadNow");
                !canUnloadNow || canUnloadNow() != S_OK)
                busy += path + "\n";
        return busy;
    }

private:
    using Export = HRESULT (*)();
    static Export exported(void* module, const char* name)
    {
        return reinterpret_cast<Export>(dlsym(module, name));
    }

    std::vector<std::pair<std::string, void*>> m_modules;
};
