// DSTV part import into the Tarsis database, per part, against the anchor
// of the save: a bare SQLite loop writing the same rows (the part, its
// planes and operations, read back from a real import of the same files)
// at the same durability (BareLoop.h). Files are generated (I, U and L
// profiles with 20 holes, 2 slots and a stencil each) and imported the
// wizard's way; every pass gives them a job of its own, so that the
// database grows and every save is a new part, never the same one again.
// Roads: a bare read of the files' bytes; SetFile/ReadPart into part
// objects; the same with SaveToTarsis; the storage layer saving the rows
// alone. Prints wall and CPU time per part of each road beside the bare
// loop's and the ratios. Run it from a Release build:
// bin/dstv_import_benchmark.
#include "BareLoop.h"
#include "BenchClock.h"
#include "ServerModules.h"
#include "halcyra/HalcyraLib.h"

#include "com/Bstr.h"
#include "com/Runtime.h"
#include "tarsis/SqliteStore.h"
#include "testing/ScopedEnvironment.h"
#include "testing/TemporaryDatabase.h"
#include "testing/TemporaryRegistry.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using tarsis::bench::Clock;

constexpr int kFilesPerProfile = 20;

struct ProfileKind {
    const char* profile;
    const char* code;
    const char* height;
    const char* flangeWidth;
    const char* webThickness;
};

const ProfileKind kProfiles[] = {
    {"W12X26", "I", "310", "165", "5.8"},
    {"C10X15.3", "U", "254", "66", "6.1"},
    {"L4X3X1/4", "L", "101.6", "76.2", "6.35"},
};

// One part: 12 web holes, 4 on each flange surface, 2 web slots, a stencil.
std::string generatedFile(const ProfileKind& kind, int number)
{
    // Appends only: GCC 12 misreads chains of string + in release builds.
    char line[160];
    std::string text = "ST\n** generated for the import benchmark\n  BENCH\n  D1\n  G1\n";
    std::snprintf(line, sizeof line,
                  "  B%d\n  A36\n  2\n  %s\n  %s\n  6000\n  %s\n  %s\n  6.4\n  %s\n", number,
                  kind.profile, kind.code, kind.height, kind.flangeWidth, kind.webThickness);
    text += line;
    text += "  0\n  20\n  1\n  0\n  0\n  0\n  0\n  -\n  -\n  -\n  -\nBO\n";
    for (int i = 0; i < 20; ++i) {
        const char surface = i < 12 ? 'v' : i < 16 ? 'o' : 'u';
        std::snprintf(line, sizeof line, "  %c %8.2f%c %7.2f %6.2f\n", surface, 100.0 + 250 * i,
                      i % 2 ? 'u' : 'o', i < 12 ? 40.0 + 5 * (i % 4) : 25.0, i < 12 ? 22.0 : 18.0);
        text += line;
    }
    text += "  v  2500.00o   50.00  22.00  0.00 l 60.00 0.00 0.00\n";
    text += "  v  3500.00s    0.00  22.00  0.00 l 40.00 0.00 90.00\n";
    std::snprintf(line, sizeof line, "SI\n  v   50.00o   20.00 0.00 10rB%d\nEN\n", number);
    text += line;
    return text;
}

// A temporary registry and database with the three servers registered,
// and the generated files.
class Environment {
public:
    Environment()
    {
        OleInitialize(nullptr);
        if (const std::string failure = m_servers.registerAll(); !failure.empty())
            throw std::runtime_error("cannot register the servers: " + failure);
        int number = 0;
        for (const ProfileKind& kind : kProfiles)
            for (int i = 0; i < kFilesPerProfile; ++i) {
                char fileName[32];
                std::snprintf(fileName, sizeof fileName, "B%d.nc1", ++number);
                const std::filesystem::path file = m_dir / fileName;
                std::ofstream(file, std::ios::binary) << generatedFile(kind, number);
                m_names.push_back(bstrFromNarrow(file.string()));
                m_paths.push_back(file.string());
            }
    }
    ~Environment()
    {
        for (BSTR name : m_names)
            SysFreeString(name);
        OleUninitialize();
        CoFreeUnusedLibraries();
    }

    const std::vector<BSTR>& names() const { return m_names; }
    const std::vector<std::string>& paths() const { return m_paths; }
    const std::string& database() const { return m_database.path(); }
    const std::filesystem::path& folder() const { return m_dir; }
    // What the import stores for each file, as read back from the database.
    std::vector<tarsis::PartRecord> rows;

private:
    const testsupport::TemporaryRegistry m_registry{"dstv-bench"};
    const std::filesystem::path m_dir = m_registry.folder();
    const testsupport::TemporaryDatabase m_database;
    const testsupport::ScopedEnvironment m_data{"XDG_DATA_HOME", (m_dir / "data").string()};
    ServerModules m_servers;
    std::vector<BSTR> m_names;
    std::vector<std::string> m_paths;
};

Environment* g_environment = nullptr;

void countFiles(benchmark::State& state)
{
    const auto files = static_cast<double>(state.iterations() * g_environment->paths().size());
    state.counters["files/s"] = benchmark::Counter(files, benchmark::Counter::kIsRate);
}

void BM_BareRead(benchmark::State& state)
{
    std::vector<char> buffer(64 * 1024);
    for (auto _ : state) {
        for (const std::string& path : g_environment->paths()) {
            const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
            while (read(fd, buffer.data(), buffer.size()) > 0)
                benchmark::DoNotOptimize(buffer.data());
            close(fd);
        }
    }
    countFiles(state);
}
BENCHMARK(BM_BareRead)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The DSTV part converter the files are read with; null when it cannot be
// created.
IVLMRConvert* standardConverter()
{
    IVLMRConvert* converter = nullptr;
    const CLSID clsid = guidOf("FBAB4E40-6964-11D5-927B-006008A85237");
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IVLMRConvert,
                                reinterpret_cast<void**>(&converter))))
        return nullptr;
    return converter;
}

int g_pass = 0; // every pass saves its parts under a job of its own

std::string nextJob()
{
    return "PASS" + std::to_string(++g_pass);
}

// The wizard's road: one converter for the run, then per file SetFile and
// ReadPart until S_FALSE; with save, each part gets the pass's job (as the
// wizard puts a typed job) and is saved.
void importFiles(benchmark::State& state, bool save)
{
    IVLMRConvert* converter = standardConverter();
    if (!converter) {
        state.SkipWithError("no converter");
        return;
    }
    for (auto _ : state) {
        BSTR job = bstrFromNarrow(nextJob());
        for (BSTR name : g_environment->names()) {
            if (converter->SetFile(name) != S_OK) {
                state.SkipWithError("SetFile failed");
                break;
            }
            for (;;) {
                IUnknown* unknown = nullptr;
                const HRESULT hr = converter->ReadPart(&unknown, 0, 0);
                if (hr == S_OK && save) {
                    ICADPart2* part = nullptr;
                    unknown->QueryInterface(IID_ICADPart2, reinterpret_cast<void**>(&part));
                    part->put_JobId(job);
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
        SysFreeString(job);
    }
    converter->Release();
    countFiles(state);
}

void BM_ReadPart(benchmark::State& state)
{
    importFiles(state, false);
}
BENCHMARK(BM_ReadPart)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_ReadPartAndSave(benchmark::State& state)
{
    importFiles(state, true);
}
BENCHMARK(BM_ReadPartAndSave)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The rows of the same parts through the storage layer alone.
void BM_StoreSave(benchmark::State& state)
{
    const std::string path = (g_environment->folder() / "store.db").string();
    auto store = tarsis::openSqliteStore(path, tarsis::OpenMode::CreateIfMissing);
    for (auto _ : state) {
        const std::string job = nextJob();
        for (tarsis::PartRecord part : g_environment->rows) {
            part.header.key.job = job;
            store->savePart(part);
        }
    }
    countFiles(state);
}
BENCHMARK(BM_StoreSave)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The anchor: the same rows by a bare loop, at the store's durability.
void BM_BareLoop(benchmark::State& state)
{
    const std::string path = (g_environment->folder() / "bare.db").string();
    tarsis::bench::BareLoop loop(path, tarsis::Durability::FlushedCommit);
    for (auto _ : state) {
        const std::string job = nextJob();
        for (tarsis::PartRecord part : g_environment->rows) {
            part.header.key.job = job;
            loop.save(part);
        }
    }
    countFiles(state);
}
BENCHMARK(BM_BareLoop)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The import and the anchor taking turns part by part, so that both meet
// the same disk and the same load: each file is imported and saved, then
// its rows are saved by the bare loop. Counters per part: the import's and
// the bare loop's wall and CPU time, and the ratios.
void BM_ImportBesideBareLoop(benchmark::State& state)
{
    IVLMRConvert* converter = standardConverter();
    if (!converter) {
        state.SkipWithError("no converter");
        return;
    }
    const std::string path = (g_environment->folder() / "beside.db").string();
    tarsis::bench::BareLoop loop(path, tarsis::Durability::FlushedCommit);
    double importWall = 0, importCpu = 0, bareWall = 0, bareCpu = 0, parts = 0;
    for (auto _ : state) {
        const std::string job = nextJob();
        BSTR jobText = bstrFromNarrow(job);
        const auto& names = g_environment->names();
        for (std::size_t i = 0; i < names.size(); ++i) {
            const Clock start = Clock::now();
            IUnknown* unknown = nullptr;
            if (converter->SetFile(names[i]) != S_OK ||
                converter->ReadPart(&unknown, 0, 0) != S_OK) {
                state.SkipWithError("a file does not read");
                break;
            }
            ICADPart2* part = nullptr;
            unknown->QueryInterface(IID_ICADPart2, reinterpret_cast<void**>(&part));
            part->put_JobId(jobText);
            part->SetMetric(0);
            const HRESULT saved = part->SaveToTarsis();
            part->Release();
            unknown->Release();
            if (saved != S_OK) {
                state.SkipWithError("SaveToTarsis failed");
                break;
            }
            const Clock middle = Clock::now();
            tarsis::PartRecord rows = g_environment->rows[i];
            rows.header.key.job = job;
            loop.save(rows);
            const Clock end = Clock::now();
            importWall += middle.wall - start.wall;
            importCpu += middle.cpu - start.cpu;
            bareWall += end.wall - middle.wall;
            bareCpu += end.cpu - middle.cpu;
            ++parts;
        }
        SysFreeString(jobText);
    }
    converter->Release();
    if (parts == 0)
        return;
    state.counters["import_wall_us"] = importWall / parts;
    state.counters["import_cpu_us"] = importCpu / parts;
    state.counters["bare_wall_us"] = bareWall / parts;
    state.counters["bare_cpu_us"] = bareCpu / parts;
    state.counters["wall_ratio"] = importWall / bareWall;
    state.counters["cpu_ratio"] = importCpu / bareCpu;
}
BENCHMARK(BM_ImportBesideBareLoop)->Unit(benchmark::kMillisecond)->UseRealTime();

// Prints as usual, then each road's wall and CPU time per part beside the
// bare loop's and the ratios (medians with repetitions).
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            // Each repetition's run, or only the median where the
            // repetitions are reported as aggregates.
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if ((run.run_type != Run::RT_Iteration && !median) || run.error_occurred)
                continue;
            const double unit = benchmark::GetTimeUnitMultiplier(run.time_unit);
            for (const auto& [name, counter] : run.counters)
                m_counters[run.run_name.function_name][name] = counter.value;
            Times& t = m_times[run.run_name.function_name];
            t.real.push_back(run.GetAdjustedRealTime() / unit);
            t.cpu.push_back(run.GetAdjustedCPUTime() / unit);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // files: the parts of one iteration.
    void printRatios(std::size_t files) const
    {
        auto bare = m_times.find("BM_BareLoop");
        if (bare == m_times.end())
            return;
        const double perPart = 1e6 / static_cast<double>(files);
        const double bareWall = median(bare->second.real) * perPart;
        const double bareCpu = median(bare->second.cpu) * perPart;
        std::printf("\n%-20s %14s %14s %12s %12s\n", "per part", "wall us", "CPU us", "wall / bare",
                    "CPU / bare");
        for (const char* road :
             {"BM_BareRead", "BM_ReadPart", "BM_StoreSave", "BM_ReadPartAndSave", "BM_BareLoop"}) {
            auto found = m_times.find(road);
            if (found == m_times.end())
                continue;
            const double wall = median(found->second.real) * perPart;
            const double cpu = median(found->second.cpu) * perPart;
            std::printf("%-20s %14.1f %14.1f %12.2f %12.2f\n", road, wall, cpu, wall / bareWall,
                        cpu / bareCpu);
        }
        if (auto beside = m_counters.find("BM_ImportBesideBareLoop"); beside != m_counters.end()) {
            const auto& c = beside->second;
            std::printf("import and bare loop taking turns per part: import %.1f us wall, %.1f us "
                        "CPU; bare loop %.1f us wall, %.1f us CPU; ratios wall %.2f, CPU %.2f\n",
                        c.at("import_wall_us"), c.at("import_cpu_us"), c.at("bare_wall_us"),
                        c.at("bare_cpu_us"), c.at("wall_ratio"), c.at("cpu_ratio"));
        }
        std::printf("goals: file to stored part within 1.5 x the bare loop's wall time and 2 x its "
                    "CPU time\n");
    }

private:
    struct Times {
        std::vector<double> real; // seconds per iteration, that is per set of files
        std::vector<double> cpu;
    };

    static double median(std::vector<double> values)
    {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    }

    std::map<std::string, Times> m_times;
    std::map<std::string, std::map<std::string, double>> m_counters; // the median run's
};

// What the import stores for each file: one pass into the database, read
// back.
void probeRows(Environment& environment)
{
    IVLMRConvert* converter = standardConverter();
    if (!converter)
        throw std::runtime_error("no converter");
    BSTR job = bstrFromNarrow("PROBE");
    std::vector<tarsis::PartKey> keys;
    for (BSTR name : environment.names()) {
        IUnknown* unknown = nullptr;
        if (converter->SetFile(name) != S_OK || converter->ReadPart(&unknown, 0, 0) != S_OK)
            throw std::runtime_error("a generated file does not read");
        ICADPart2* part = nullptr;
        unknown->QueryInterface(IID_ICADPart2, reinterpret_cast<void**>(&part));
        part->put_JobId(job);
        part->SetMetric(0);
        BSTR group = nullptr, mark = nullptr;
        part->get_Group(&group);
        part->get_Mark(&mark);
        if (part->SaveToTarsis() != S_OK)
            throw std::runtime_error("a generated part does not save");
        keys.push_back({"PROBE", narrowFromBstr(group), narrowFromBstr(mark)});
        SysFreeString(group);
        SysFreeString(mark);
        part->Release();
        unknown->Release();
    }
    SysFreeString(job);
    converter->Release();
    auto store = tarsis::openSqliteStore(environment.database(), tarsis::OpenMode::ExistingOnly);
    for (const tarsis::PartKey& key : keys)
        environment.rows.push_back(*store->findPart(key));
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    try {
        Environment environment;
        g_environment = &environment;
        probeRows(environment);
        RatioReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        std::printf("%zu generated files per iteration, %zu rows per part\n",
                    environment.paths().size(), environment.rows.front().entries.size() + 1);
        reporter.printRatios(environment.paths().size());
        std::fflush(stdout);
        g_environment = nullptr;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    benchmark::Shutdown();
    return 0;
}
