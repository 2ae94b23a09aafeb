// What the import benchmarks share: the servers registered in a registry
// and database of their own, the wizard's road through a converter (SetFile,
// then ReadPart until S_FALSE; each part completed and saved as the wizard
// saves it) and the bare read of the files' bytes, the anchor of the roads
// that read. Header-only; the program links server_modules and Google
// Benchmark.
//
//   RegisteredServers servers("my-bench");
//   IVLMRConvert* converter = convertertest::createConverter(CLSID_MyConvert);
//   const ImportResult result = importFile(converter, name, savingEachPart<ICADPart>());
//   if (result.failure) state.SkipWithError(result.failure);
#pragma once

#include "ServerModules.h"
#include "halcyra/HalcyraLib.h"

#include "com/Bstr.h"
#include "com/Runtime.h"
#include "testing/ScopedEnvironment.h"
#include "testing/TemporaryDatabase.h"
#include "testing/TemporaryRegistry.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

// A temporary registry and Tarsis database with every server module
// registered, OLE on the calling thread, and the maker's data folder in
// the registry's folder; folder() takes the benchmark's files. Throws
// std::runtime_error when a server cannot be registered.
class RegisteredServers {
public:
    explicit RegisteredServers(const char* name) : m_registry(name), m_database(name)
    {
        OleInitialize(nullptr);
        if (const std::string failure = m_servers.registerAll(); !failure.empty())
            throw std::runtime_error("cannot register the servers: " + failure);
    }
    RegisteredServers(const RegisteredServers&) = delete;
    RegisteredServers& operator=(const RegisteredServers&) = delete;
    ~RegisteredServers()
    {
        OleUninitialize();
        CoFreeUnusedLibraries();
    }

    const std::filesystem::path& folder() const { return m_registry.folder(); }
    const std::string& database() const { return m_database.path(); }

private:
    const testsupport::TemporaryRegistry m_registry;
    const testsupport::TemporaryDatabase m_database;
    const testsupport::ScopedEnvironment m_data{"XDG_DATA_HOME",
                                                (m_registry.folder() / "data").string()};
    ServerModules m_servers;
};

// What a part read is given: it answers what failed, or null.
using PartStep = std::function<const char*(IUnknown* part)>;

struct ImportResult {
    int parts = 0;                 // read with S_OK
    const char* failure = nullptr; // what failed, or null
};

// The wizard's road for one file: SetFile, then ReadPart until S_FALSE,
// each part read handed to onPart; it stops at the first failure.
inline ImportResult importFile(IVLMRConvert* converter, BSTR file, const PartStep& onPart = {})
{
    ImportResult result;
    if (converter->SetFile(file) != S_OK) {
        result.failure = "SetFile failed";
        return result;
    }
    for (;;) {
        IUnknown* unknown = nullptr;
        const HRESULT hr = converter->ReadPart(&unknown, 0, 0);
        if (hr == S_OK && onPart)
            result.failure = onPart(unknown);
        if (unknown)
            unknown->Release();
        if (hr != S_OK) {
            if (hr != S_FALSE)
                result.failure = "ReadPart failed";
            return result;
        }
        ++result.parts;
        if (result.failure)
            return result;
    }
}

// What the wizard does with a part read: the job typed on its job page
// (when given), the measuring system, then SaveToTarsis. Part is the part's
// interface, ICADPart or ICADPart2.
template <class Part>
const char* savePart(IUnknown* unknown, BSTR job = nullptr)
{
    Part* part = nullptr;
    if (FAILED(unknown->QueryInterface(uuidof<Part>(), reinterpret_cast<void**>(&part))))
        return "the part has not the interface";
    if (job)
        part->put_JobId(job);
    part->SetMetric(0);
    const HRESULT saved = part->SaveToTarsis();
    part->Release();
    return saved == S_OK ? nullptr : "SaveToTarsis failed";
}

// The step of importFile that saves every part read (savePart).
template <class Part>
PartStep savingEachPart(BSTR job = nullptr)
{
    return [job](IUnknown* part) { return savePart<Part>(part, job); };
}

// The anchor of the roads that read: the files' bytes, 64 KB at a time.
inline void bareRead(const std::vector<std::string>& paths)
{
    static std::vector<char> buffer(64 * 1024);
    for (const std::string& path : paths) {
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        while (read(fd, buffer.data(), buffer.size()) > 0)
            benchmark::DoNotOptimize(buffer.data());
        close(fd);
    }
}
