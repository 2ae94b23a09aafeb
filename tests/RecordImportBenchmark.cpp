// Parts per second of the record converters' import, on a generated export
// file of each CAD system (10,000 records of a W12X26 beam with 20 hole
// lines each: holes on the web and both flanges, a mark, a stencil):
//   BareRead      the file's bytes read in 64 KB blocks (the anchor);
//   BareTokens    the same bytes split into white-space tokens, each
//                 number parsed (the reading work without our layers);
//   ReadPart      the converter's SetFile and ReadPart into part objects;
//   ReadPartAndSave  the same with SetMetric and SaveToTarsis of every part
//                 into the SQLite stand-in.
// Prints each road's parts per second and its time as a multiple of the
// bare read's and of the bare tokens', and the resident memory after the
// first 1,000 and after all records of one ReadPart pass (it stays flat:
// the file is read record by record). Run it from a Release build:
// bin/record_import_benchmark.
#include "ImportRoad.h"
#include "halcyra/HalcyraLib.h"

#include "convertertest/ConverterCategory.h"

#include "com/Bstr.h"
#include "com/Runtime.h"
#include "testing/AnchoredReporter.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kRecords = 10000;

struct System {
    const char* conversionName;
    const char* dimensions; // behind the section
};

const System kSystems[] = {
    {"Ferrick", " 12      26 "}, // depth, a blank, the 8-character field
    {"Ambrel (SDS)", " 12 26 0 "},
    {"Tolvin", " 12 26 0 "},
};

std::string generatedFile(const System& system)
{
    std::string text;
    char line[128];
    for (int record = 0; record < kRecords; ++record) {
        std::snprintf(line, sizeof line, "BENCH G1 B%05d 240 W%s2\n", record, system.dimensions);
        text += line;
        text += "0.8125 0 RD  0.8125 0 RD  0.8125 0 RD  0.8125 0 RD  0.8125 0 RD\n20\n";
        for (int hole = 0; hole < 18; ++hole) {
            const int code = hole < 12 ? 1 : hole < 16 ? 2 : 4;
            std::snprintf(line, sizeof line, "  %.2f %.2f %d\n", 3.0 + 12.5 * hole,
                          code == 1 ? 3.0 + 6 * (hole % 2) : 3.5, code);
            text += line;
        }
        text += "  120 6 6\n";
        std::snprintf(line, sizeof line, "  6 6 20 B%05d\n", record);
        text += line;
    }
    return text;
}

std::size_t residentKilobytes()
{
    std::ifstream statm("/proc/self/statm");
    std::size_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE)) / 1024;
}

// A temporary registry and database with the servers registered, the
// converters found by name, and the generated files.
class Environment {
public:
    Environment()
    {
        for (const System& system : kSystems) {
            const std::filesystem::path file =
                m_dir / (std::string(system.conversionName) + ".txt");
            testsupport::writeFile(file, generatedFile(system));
            m_names.push_back(bstrFromNarrow(file.string()));
            m_paths.push_back(file.string());
            m_converters.push_back(convertertest::findConverter(system.conversionName));
        }
    }
    ~Environment()
    {
        for (BSTR name : m_names)
            SysFreeString(name);
        for (IVLMRConvert* converter : m_converters)
            if (converter)
                converter->Release();
    }

    BSTR name(int system) const { return m_names.at(system); }
    const std::string& path(int system) const { return m_paths.at(system); }
    IVLMRConvert* converter(int system) const { return m_converters.at(system); }

private:
    const RegisteredServers m_servers{"record-bench"};
    const std::filesystem::path m_dir = m_servers.folder();
    std::vector<BSTR> m_names;
    std::vector<std::string> m_paths;
    std::vector<IVLMRConvert*> m_converters;
};

Environment* g_environment = nullptr;

void countParts(benchmark::State& state)
{
    state.counters["parts/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kRecords, benchmark::Counter::kIsRate);
}

void BM_BareRead(benchmark::State& state)
{
    const std::vector<std::string> file{g_environment->path(static_cast<int>(state.range(0)))};
    for (auto _ : state)
        bareRead(file);
    countParts(state);
}

void BM_BareTokens(benchmark::State& state)
{
    std::vector<char> buffer(64 * 1024);
    const std::string& path = g_environment->path(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        std::string token;
        double sum = 0;
        std::size_t tokens = 0;
        auto endToken = [&] {
            if (token.empty())
                return;
            double value = 0;
            if (std::from_chars(token.data(), token.data() + token.size(), value).ec == std::errc())
                sum += value;
            ++tokens;
            token.clear();
        };
        for (ssize_t n; (n = read(fd, buffer.data(), buffer.size())) > 0;)
            for (ssize_t i = 0; i < n; ++i) {
                const char c = buffer[static_cast<std::size_t>(i)];
                if (c == ' ' || c == '\n' || c == '\r' || c == '\t')
                    endToken();
                else
                    token += c;
            }
        endToken();
        close(fd);
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(tokens);
    }
    countParts(state);
}

// The wizard's road (importFile): SetFile, then ReadPart until S_FALSE; with
// save, each part gets SetMetric and SaveToTarsis. Answers the parts read,
// or -1 when a call failed; afterPart is told the count after each part.
int importSystem(int system, bool save, const std::function<void(int)>& afterPart = {})
{
    IVLMRConvert* converter = g_environment->converter(system);
    if (!converter)
        return -1;
    const PartStep saving = save ? savingEachPart<ICADPart>() : nullptr;
    int parts = 0;
    const ImportResult result =
        importFile(converter, g_environment->name(system), [&](IUnknown* part) {
            const char* failure = saving ? saving(part) : nullptr;
            if (!failure && afterPart)
                afterPart(++parts);
            return failure;
        });
    return result.failure ? -1 : result.parts;
}

void importFiles(benchmark::State& state, bool save)
{
    for (auto _ : state)
        if (importSystem(static_cast<int>(state.range(0)), save) != kRecords) {
            state.SkipWithError("the import failed");
            break;
        }
    countParts(state);
}

void BM_ReadPart(benchmark::State& state)
{
    importFiles(state, false);
}

void BM_ReadPartAndSave(benchmark::State& state)
{
    importFiles(state, true);
}

BENCHMARK(BM_BareRead)
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(3);
BENCHMARK(BM_BareTokens)
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(3);
BENCHMARK(BM_ReadPart)
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(3);
BENCHMARK(BM_ReadPartAndSave)
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

// After the usual output: per system each road's parts per second and its
// time as a multiple of the two anchors' (medians with repetitions).
void printRatios(const testsupport::AnchoredReporter& reporter)
{
    for (int system = 0; system < 3; ++system) {
        const std::string arg = "/" + std::to_string(system);
        const double bare = reporter.median("BM_BareRead" + arg).value_or(0);
        const double tokens = reporter.median("BM_BareTokens" + arg).value_or(0);
        std::printf("%s, %d records of 20 hole lines:\n", kSystems[system].conversionName,
                    kRecords);
        for (const char* road :
             {"BM_BareRead", "BM_BareTokens", "BM_ReadPart", "BM_ReadPartAndSave"}) {
            const double time = reporter.median(road + arg).value_or(0);
            if (time <= 0)
                continue;
            std::printf("  %-20s %10.0f parts/s, %8.1f x the bare read, %6.1f x the bare "
                        "tokens\n",
                        road, kRecords / time, bare > 0 ? time / bare : 0,
                        tokens > 0 ? time / tokens : 0);
        }
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
            printRatios(reporter);

            // One more ReadPart pass of each file, watching the resident memory.
            for (int system = 0; system < 3; ++system) {
                std::size_t early = 0;
                const int parts = importSystem(system, false, [&](int part) {
                    if (part == 1000)
                        early = residentKilobytes();
                });
                std::printf("%s: resident memory %zu KB after 1,000 records, %zu KB after %d; "
                            "file %ju KB\n",
                            kSystems[system].conversionName, early, residentKilobytes(), parts,
                            static_cast<std::uintmax_t>(
                                std::filesystem::file_size(environment.path(system)) / 1024));
            }
            g_environment = nullptr;
        });
}
