// Files per second of the machine part file import, for each version of the
// file, on generated files (W12X26 beams with 20 holes and 5 marks each):
// the converter's SetFile/ReadPart into part objects, and the same with
// SaveToTarsis into the SQLite stand-in. Each road prints beside its figure
// the anchor measured in the same run, a bare read of the same files'
// bytes (open, read, close), and its time per file as a multiple of it.
// Run it from a Release build: bin/tobrenn_import_benchmark.
#include "ServerModules.h"
#include "halcyra/HalcyraLib.h"
#include "tobrenn/TobrennLib.h"

#include "com/Bstr.h"
#include "com/Runtime.h"
#include "testing/ScopedEnvironment.h"
#include "testing/TemporaryDatabase.h"
#include "testing/TemporaryFolder.h"
#include "testing/TemporaryRegistry.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kFilesPerVersion = 20;

// One hole or mark of a generated part, in millimetres; tool 0 is a mark.
struct Feature {
    int x, y, face, tool;
};

// 20 holes (12 on the web, 4 on each flange, tools 1 to 3) and 5 marks.
std::vector<Feature> features()
{
    std::vector<Feature> list;
    for (int i = 0; i < 12; ++i)
        list.push_back({100 + 250 * i, 60 + 40 * (i % 5), 1, 1 + i % 3});
    for (int i = 0; i < 8; ++i)
        list.push_back({200 + 500 * (i % 4), i < 4 ? 40 : 125, 2 + i / 4, 1 + i % 3});
    for (int i = 0; i < 5; ++i)
        list.push_back({50 + 900 * i, i < 3 ? 150 : 40, i < 3 ? 1 : i - 1, 0});
    return list;
}

// A hole line as the version writes it.
std::string holeLine(int version, const Feature& f)
{
    char line[64];
    const int code = f.tool * 10;
    if (version == 3)
        std::snprintf(line, sizeof line, "%d %d.%02d%02d", f.x * 1000, f.y * 1000, f.face * 10,
                      code);
    else if (version == 2)
        std::snprintf(line, sizeof line, "%d%07d.%02d%02d", f.x * 1000, f.y * 1000, f.face * 10,
                      code);
    else
        std::snprintf(line, sizeof line, "%d%04d%d%d", f.x * 10, f.y * 10, f.face, f.tool);
    return line;
}

std::string generatedFile(int version, int number)
{
    // Appends only: GCC 12 misreads chains of string + in release builds.
    const std::vector<Feature> list = features();
    char line[64];
    std::snprintf(line, sizeof line, "B%d%d\r\nW12X26\r\nB 2\r\n", version, number);
    std::string text = line;
    text += "3099 58 1648 97\r\n0 0 0\r\n60960\r\n";
    text += "222 222 222 175 175 175 222X556 222X556 222X556\r\n";
    text += std::to_string(list.size() + 1);
    text += "\r\n";
    for (const Feature& f : list) {
        text += holeLine(version, f);
        text += "\r\n";
    }
    return text;
}

struct VersionFiles {
    CLSID converter;
    std::vector<BSTR> names;
    std::vector<std::string> paths;
};

// A temporary registry and database with the servers registered, and the
// generated files of each version.
class Environment {
public:
    Environment()
    {
        OleInitialize(nullptr);
        if (const std::string failure = m_servers.registerAll(); !failure.empty())
            throw std::runtime_error("cannot register the servers: " + failure);
        const std::map<int, CLSID> converters{
            {3, CLSID_Convert}, {2, CLSID_OldConvert}, {1, CLSID_COldestConver}};
        for (const auto& [version, clsid] : converters) {
            VersionFiles& files = m_files[version];
            files.converter = clsid;
            for (int i = 0; i < kFilesPerVersion; ++i) {
                const std::string path =
                    m_folder.write("v" + std::to_string(version) + "-" + std::to_string(i) + ".txt",
                                   generatedFile(version, i));
                files.names.push_back(bstrFromNarrow(path));
                files.paths.push_back(path);
            }
        }
    }
    ~Environment()
    {
        for (auto& [version, files] : m_files)
            for (BSTR name : files.names)
                SysFreeString(name);
        OleUninitialize();
        CoFreeUnusedLibraries();
    }

    const VersionFiles& files(int version) const { return m_files.at(version); }

private:
    const testsupport::TemporaryRegistry m_registry{"tobrenn-bench"};
    const testsupport::TemporaryFolder m_folder{"tobrenn-bench-files"};
    const testsupport::TemporaryDatabase m_database;
    const testsupport::ScopedEnvironment m_data{"XDG_DATA_HOME",
                                                (m_registry.folder() / "data").string()};
    ServerModules m_servers;
    std::map<int, VersionFiles> m_files;
};

Environment* g_environment = nullptr;

// The anchor: the files' bytes read as they are.
void bareRead(const std::vector<std::string>& paths)
{
    static std::vector<char> buffer(64 * 1024);
    for (const std::string& path : paths) {
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        while (read(fd, buffer.data(), buffer.size()) > 0)
            benchmark::DoNotOptimize(buffer.data());
        close(fd);
    }
}

// The wizard's road: one converter for the run, then per file SetFile and
// ReadPart until S_FALSE; with save, each part gets SetMetric and
// SaveToTarsis. Then the anchor, as many times over the same files, and
// the counters: files/s of both and the time per file as a multiple of the
// bare read's.
void importFiles(benchmark::State& state, bool save)
{
    const VersionFiles& files = g_environment->files(static_cast<int>(state.range(0)));
    IVLMRConvert* converter = nullptr;
    if (FAILED(CoCreateInstance(files.converter, nullptr, CLSCTX_ALL, IID_IVLMRConvert,
                                reinterpret_cast<void**>(&converter)))) {
        state.SkipWithError("no converter");
        return;
    }
    const auto roadStart = std::chrono::steady_clock::now();
    for (auto _ : state) {
        for (BSTR name : files.names) {
            if (converter->SetFile(name) != S_OK) {
                state.SkipWithError("SetFile failed");
                break;
            }
            for (;;) {
                IUnknown* unknown = nullptr;
                const HRESULT hr = converter->ReadPart(&unknown, 0, 0);
                if (hr == S_OK && save) {
                    ICADPart* part = nullptr;
                    unknown->QueryInterface(IID_ICADPart, reinterpret_cast<void**>(&part));
                    part->SetMetric(0);
                    if (part->SaveToTarsis() != S_OK)
                        state.SkipWithError("SaveToTarsis failed");
                    part->Release();
                }
                if (unknown)
                    unknown->Release();
                if (hr != S_OK) {
                    if (hr != S_FALSE)
                        state.SkipWithError("ReadPart failed");
                    break;
                }
            }
        }
    }
    const double roadSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - roadStart).count();
    converter->Release();

    const auto start = std::chrono::steady_clock::now();
    for (benchmark::IterationCount i = 0; i < state.iterations(); ++i)
        bareRead(files.paths);
    const double bareSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    const auto count = static_cast<double>(state.iterations() * files.paths.size());
    state.counters["files/s"] = benchmark::Counter(count, benchmark::Counter::kIsRate);
    state.counters["bare files/s"] = count / bareSeconds;
    state.counters["x bare"] = roadSeconds / bareSeconds;
}

void BM_ReadPart(benchmark::State& state)
{
    importFiles(state, false);
}
BENCHMARK(BM_ReadPart)->ArgName("version")->Arg(3)->Arg(2)->Arg(1)->UseRealTime();

void BM_ReadPartAndSave(benchmark::State& state)
{
    importFiles(state, true);
}
BENCHMARK(BM_ReadPartAndSave)->ArgName("version")->Arg(3)->Arg(2)->Arg(1)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    try {
        Environment environment;
        g_environment = &environment;
        benchmark::RunSpecifiedBenchmarks();
        std::printf("%d generated files per version and iteration, 20 holes and 5 marks each\n",
                    kFilesPerVersion);
        std::fflush(stdout);
        g_environment = nullptr;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    benchmark::Shutdown();
    return 0;
}
