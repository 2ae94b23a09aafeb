// Files per second of the machine part file import, for each version of the
// file, on generated files (W12X26 beams with 20 holes and 5 marks each):
// the converter's SetFile/ReadPart into part objects, and the same with
// SaveToTarsis into the SQLite stand-in. Each road prints beside its figure
// the anchor measured in the same run, a bare read of the same files'
// bytes (open, read, close), and its time per file as a multiple of it;
// a summary of them follows the usual output.
// Run it from a Release build: bin/tobrenn_import_benchmark.
#include "ImportRoad.h"
#include "halcyra/HalcyraLib.h"
#include "tobrenn/TobrennLib.h"

#include "convertertest/ConverterCategory.h"

#include "com/Bstr.h"
#include "com/Runtime.h"
#include "testing/AnchoredReporter.h"
#include "testing/TemporaryFolder.h"
#include "testing/ThreadClock.h"

#include <benchmark/benchmark.h>

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
    }

    const VersionFiles& files(int version) const { return m_files.at(version); }

private:
    const RegisteredServers m_servers{"tobrenn-bench"};
    const testsupport::TemporaryFolder m_folder{"tobrenn-bench-files"};
    std::map<int, VersionFiles> m_files;
};

Environment* g_environment = nullptr;

// The wizard's road: one converter for the run, then per file SetFile and
// ReadPart until S_FALSE; with save, each part gets SetMetric and
// SaveToTarsis. Then the anchor, the files' bytes read as they are
// (bareRead), as many times over the same files, and the counters: files/s
// of both and the time per file as a multiple of the bare read's.
void importFiles(benchmark::State& state, bool save)
{
    const VersionFiles& files = g_environment->files(static_cast<int>(state.range(0)));
    IVLMRConvert* converter = convertertest::createConverter(files.converter);
    if (!converter) {
        state.SkipWithError("no converter");
        return;
    }
    const PartStep step = save ? savingEachPart<ICADPart>() : nullptr;
    const testsupport::ThreadClock roadStart = testsupport::ThreadClock::now();
    for (auto _ : state) {
        for (BSTR name : files.names) {
            const ImportResult result = importFile(converter, name, step);
            if (result.failure) {
                state.SkipWithError(result.failure);
                break;
            }
        }
    }
    const double roadSeconds = (testsupport::ThreadClock::now().wall - roadStart.wall) / 1e6;
    converter->Release();

    const testsupport::ThreadClock start = testsupport::ThreadClock::now();
    for (benchmark::IterationCount i = 0; i < state.iterations(); ++i)
        bareRead(files.paths);
    const double bareSeconds = (testsupport::ThreadClock::now().wall - start.wall) / 1e6;

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

// After the usual output: each road's files per second beside the bare
// read's of the same files and the ratio of their times.
void printRatios(const testsupport::AnchoredReporter& reporter)
{
    for (const char* road : {"BM_ReadPart", "BM_ReadPartAndSave"})
        for (int version : {3, 2, 1}) {
            const std::string name = std::string(road) + "/version:" + std::to_string(version);
            const auto files = reporter.counter(name, "files/s");
            const auto bare = reporter.counter(name, "bare files/s");
            const auto ratio = reporter.counter(name, "x bare");
            if (files && bare && ratio)
                std::printf("%-20s version %d %10.0f files/s   anchor bare read %10.0f files/s"
                            "   ratio %6.1f\n",
                            road, version, *files, *bare, *ratio);
        }
}

} // namespace

int main(int argc, char** argv)
{
    using Reporter = testsupport::AnchoredReporter;
    return testsupport::anchoredMain(
        argc, argv, Reporter::Clock::Real, [](Reporter& reporter, auto&) {
            Environment environment;
            g_environment = &environment;
            benchmark::RunSpecifiedBenchmarks(&reporter);
            std::printf("%d generated files per version and iteration, 20 holes and 5 marks each\n",
                        kFilesPerVersion);
            printRatios(reporter);
            g_environment = nullptr;
        });
}
