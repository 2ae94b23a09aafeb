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
#include "ImportRoad.h"
#include "halcyra/HalcyraLib.h"

#include "convertertest/ConverterCategory.h"

#include "com/Bstr.h"
#include "com/Runtime.h"
#include "tarsis/SqliteStore.h"
#include "testing/AnchoredReporter.h"
#include "testing/ThreadClock.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

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
    }

    const std::vector<BSTR>& names() const { return m_names; }
    const std::vector<std::string>& paths() const { return m_paths; }
    const std::string& database() const { return m_servers.database(); }
    const std::filesystem::path& folder() const { return m_dir; }
    // What the import stores for each file, as read back from the database.
    std::vector<tarsis::PartRecord> rows;

private:
    const RegisteredServers m_servers{"dstv-bench"};
    const std::filesystem::path m_dir = m_servers.folder();
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
    for (auto _ : state)
        bareRead(g_environment->paths());
    countFiles(state);
}
BENCHMARK(BM_BareRead)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The DSTV part converter the files are read with; null when it cannot be
// created.
IVLMRConvert* standardConverter()
{
    return convertertest::createConverter(guidOf("FBAB4E40-6964-11D5-927B-006008A85237"));
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
        const PartStep step = save ? savingEachPart<ICADPart2>(job) : nullptr;
        for (BSTR name : g_environment->names()) {
            const ImportResult result = importFile(converter, name, step);
            if (result.failure) {
                state.SkipWithError(result.failure);
                break;
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
    testsupport::TakingTurns turns;
    for (auto _ : state) {
        const std::string job = nextJob();
        BSTR jobText = bstrFromNarrow(job);
        const auto& names = g_environment->names();
        for (std::size_t i = 0; i < names.size(); ++i) {
            turns.start();
            IUnknown* unknown = nullptr;
            if (converter->SetFile(names[i]) != S_OK ||
                converter->ReadPart(&unknown, 0, 0) != S_OK) {
                state.SkipWithError("a file does not read");
                break;
            }
            const char* failure = savePart<ICADPart2>(unknown, jobText);
            unknown->Release();
            if (failure) {
                state.SkipWithError(failure);
                break;
            }
            turns.roadDone();
            tarsis::PartRecord rows = g_environment->rows[i];
            rows.header.key.job = job;
            loop.save(rows);
            turns.anchorDone();
        }
        SysFreeString(jobText);
    }
    converter->Release();
    turns.setCounters(state, "import", "bare");
}
BENCHMARK(BM_ImportBesideBareLoop)->Unit(benchmark::kMillisecond)->UseRealTime();

// After the usual output: each road's wall and CPU time per part beside the
// bare loop's and the ratios (medians with repetitions). files: the parts of
// one iteration.
void printRatios(const testsupport::AnchoredReporter& reporter, std::size_t files)
{
    using Clock = testsupport::AnchoredReporter::Clock;
    const auto bareWall = reporter.median("BM_BareLoop", Clock::Real);
    if (!bareWall)
        return;
    const double perPart = 1e6 / static_cast<double>(files);
    const double bareCpu = *reporter.median("BM_BareLoop", Clock::Cpu) * perPart;
    std::printf("\n%-20s %14s %14s %12s %12s\n", "per part", "wall us", "CPU us", "wall / bare",
                "CPU / bare");
    for (const char* road :
         {"BM_BareRead", "BM_ReadPart", "BM_StoreSave", "BM_ReadPartAndSave", "BM_BareLoop"}) {
        const auto wall = reporter.median(road, Clock::Real);
        if (!wall)
            continue;
        const double cpu = *reporter.median(road, Clock::Cpu) * perPart;
        std::printf("%-20s %14.1f %14.1f %12.2f %12.2f\n", road, *wall * perPart, cpu,
                    *wall / *bareWall, cpu / bareCpu);
    }
    const std::string beside = "BM_ImportBesideBareLoop";
    if (const auto ratio = reporter.counter(beside, "wall_ratio")) {
        std::printf(
            "import and bare loop taking turns per part: import %.1f us wall, %.1f us "
            "CPU; bare loop %.1f us wall, %.1f us CPU; ratios wall %.2f, CPU %.2f\n",
            *reporter.counter(beside, "import_wall_us"), *reporter.counter(beside, "import_cpu_us"),
            *reporter.counter(beside, "bare_wall_us"), *reporter.counter(beside, "bare_cpu_us"),
            *ratio, *reporter.counter(beside, "cpu_ratio"));
    }
    std::printf("goals: file to stored part within 1.5 x the bare loop's wall time and 2 x its "
                "CPU time\n");
}

// What the import stores for each file: one pass into the database, read
// back.
void probeRows(Environment& environment)
{
    IVLMRConvert* converter = standardConverter();
    if (!converter)
        throw std::runtime_error("no converter");
    BSTR job = bstrFromNarrow("PROBE");
    std::vector<tarsis::PartKey> keys;
    const PartStep keepKeyAndSave = [&](IUnknown* unknown) {
        ICADPart2* part = nullptr;
        unknown->QueryInterface(IID_ICADPart2, reinterpret_cast<void**>(&part));
        BSTR group = nullptr, mark = nullptr;
        part->get_Group(&group);
        part->get_Mark(&mark);
        keys.push_back({"PROBE", narrowFromBstr(group), narrowFromBstr(mark)});
        SysFreeString(group);
        SysFreeString(mark);
        part->Release();
        return savePart<ICADPart2>(unknown, job);
    };
    for (BSTR name : environment.names()) {
        const ImportResult result = importFile(converter, name, keepKeyAndSave);
        if (result.failure || result.parts != 1)
            throw std::runtime_error("a generated file does not import");
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
    using Reporter = testsupport::AnchoredReporter;
    return testsupport::anchoredMain(
        argc, argv, Reporter::Clock::Real, [](Reporter& reporter, auto&) {
            Environment environment;
            g_environment = &environment;
            probeRows(environment);
            benchmark::RunSpecifiedBenchmarks(&reporter);
            std::printf("%zu generated files per iteration, %zu rows per part\n",
                        environment.paths().size(), environment.rows.front().entries.size() + 1);
            printRatios(reporter, environment.paths().size());
            g_environment = nullptr;
        });
}
