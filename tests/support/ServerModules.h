// The system's server modules as the end-to-end tests and benchmarks use
// them: loaded and registered into the registry that VLMR_REGISTRY names,
// as regsvr does, the part-model server first since it creates the
// converter category; unloaded when the object goes. The module paths come
// from the `server_modules` CMake target.
#pragma once

#include "com/Bstr.h"
#include "com/CodePage.h"
#include "com/Runtime.h"

#include <dlfcn.h>

#include <string>
#include <vector>

// The description of the calling thread's error info, taken from it; empty
// when there is none.
inline std::string takeErrorDescription()
{
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) != S_OK || !info)
        return "";
    BSTR text = nullptr;
    info->GetDescription(&text);
    info->Release();
    const std::string description = narrowFromWide(std::u16string_view(text, SysStringLen(text)));
    SysFreeString(text);
    return description;
}

class ServerModules {
public:
    ServerModules() = default;
    ServerModules(const ServerModules&) = delete;
    ServerModules& operator=(const ServerModules&) = delete;
    ~ServerModules()
    {
        for (void* module : m_modules)
            dlclose(module);
    }

    // Empty when every module is registered, else what failed.
    std::string registerAll()
    {
        for (const char* path : {HALCYRA_PATH, TARSIS_SERVERS_PATH, LUNKETT_PATH}) {
            void* module = dlopen(path, RTLD_NOW | RTLD_LOCAL);
            if (!module)
                return dlerror();
            m_modules.push_back(module);
            auto registerServer =
                reinterpret_cast<HRESULT (*)()>(dlsym(module, "DllRegisterServer"));
            if (!registerServer)
                return std::string(path) + ": no DllRegisterServer";
            const HRESULT hr = registerServer();
            if (FAILED(hr))
                return std::string(path) + ": " + hresultMessage(hr) + " " + takeErrorDescription();
        }
        return "";
    }

private:
    std::vector<void*> m_modules;
};
