// Loading a server module and calling its registration export.
#include "ModuleRegistration.h"

#include "com/Bstr.h"
#include "com/Runtime.h"

#include <dlfcn.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using RegistrationFunction = HRESULT (*)();

std::string hex(HRESULT hr)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
    return text;
}

// The thread's error info description, "" when there is none.
std::string errorDescription()
{
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) != S_OK || info == nullptr)
        return {};
    BSTR description = nullptr;
    info->GetDescription(&description);
    info->Release();
    std::string text = narrowFromBstr(description);
    SysFreeString(description);
    return text;
}

class Apartment {
public:
    Apartment() : m_hr(CoInitialize(nullptr)) {}
    ~Apartment()
    {
        if (SUCCEEDED(m_hr))
            CoUninitialize();
    }
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;
    HRESULT result() const { return m_hr; }

private:
    HRESULT m_hr;
};

class LoadedModule {
public:
    explicit LoadedModule(const std::string& path)
        : m_handle(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
    {
    }
    ~LoadedModule()
    {
        if (m_handle != nullptr)
            dlclose(m_handle);
    }
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;
    void* handle() const { return m_handle; }

private:
    void* m_handle;
};

} // namespace

int runModuleRegistration(const std::string& path, bool reg, std::ostream& out, std::ostream& err)
{
    const char* exportName = reg ? "DllRegisterServer" : "DllUnregisterServer";
    // An absolute path: the module registers the path it was loaded from,
    // and a bare name must not be looked up in the system's library paths.
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) == nullptr) {
        err << "regsvr: cannot load " << path << ": " << std::strerror(errno) << "\n";
        return 1;
    }
    Apartment apartment;
    if (FAILED(apartment.result())) {
        err << "regsvr: cannot initialise COM: " << hex(apartment.result()) << " "
            << hresultMessage(apartment.result()) << "\n";
        return 1;
    }
    int exitCode = 1;
    {
        LoadedModule module(resolved);
        if (module.handle() == nullptr) {
            err << "regsvr: cannot load " << resolved << ": " << dlerror() << "\n";
            return 1;
        }
        auto function = reinterpret_cast<RegistrationFunction>(dlsym(module.handle(), exportName));
        if (function == nullptr) {
            err << "regsvr: " << resolved << " has no " << exportName << " export\n";
            return 1;
        }
        SetErrorInfo(0, nullptr);
        const HRESULT hr = function();
        if (FAILED(hr)) {
            err << "regsvr: " << exportName << " of " << resolved << " failed: " << hex(hr) << " "
                << hresultMessage(hr) << "\n";
            const std::string description = errorDescription();
            if (!description.empty())
                err << "regsvr: " << description << "\n";
        } else {
            out << "regsvr: " << (reg ? "registered " : "unregistered ") << resolved << "\n";
            exitCode = 0;
        }
        SetErrorInfo(0, nullptr);
    }
    return exitCode;
}
