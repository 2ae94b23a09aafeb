// The time to save one part into the Tarsis database, each part with 20
// operations and the planes between them (26 rows), against the anchor: a
// bare loop of prepared statements writing the same rows into a schema of
// its own at the same synchronous setting (BareLoop.h). Roads: the storage
// layer alone, at the store's durability (flushed commits) and at the weaker
// one it does not use (to show what the flush costs); the part writer's
// IDispatch::Invoke road as the part objects call it (one writer for many
// parts, and a new writer per part); and the first save of a process into a
// database of 100,000 parts (opening it included) against the bare loop's
// first save into such a database. Prints each road's wall and CPU time per
// part beside its anchor's and the ratios (medians with repetitions).
#include "BareLoop.h"
#include "StoreTestSupport.h"
#include "tarsis/SqliteStore.h"
#include "tarsis/TarsisServers.h"
#include "testing/AnchoredReporter.h"
#include "testing/TemporaryDatabase.h"
#include "testing/TemporaryRegistry.h"
#include "testing/ThreadClock.h"

#include "com/ComPtr.h"
#include "com/ComVariant.h"
#include "com/Runtime.h"

#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cstdlib>

#include <algorithm>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>

namespace tarsis::bench {
namespace {

constexpr int kOperations = 20;

std::string markNumber(int n)
{
    std::string mark = "M";
    mark += std::to_string(n);
    return mark;
}

PartRecord part(const std::string& job, int n)
{
    return testing::samplePart({job, "G1", markNumber(n)}, kOperations);
}

void countParts(benchmark::State& state)
{
    state.counters["parts/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_BareLoop(benchmark::State& state, Durability durability)
{
    testsupport::TemporaryDatabase temp;
    BareLoop loop(temp.path(), durability);
    int n = 0;
    for (auto _ : state)
        loop.save(part("J1", ++n));
    countParts(state);
}
BENCHMARK_CAPTURE(BM_BareLoop, flushed, Durability::FlushedCommit)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_BareLoop, written, Durability::WrittenCommit)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

void BM_StoreSavePart(benchmark::State& state, Durability durability)
{
    testsupport::TemporaryDatabase temp;
    auto store = openSqliteStore(temp.path(), OpenMode::CreateIfMissing, durability);
    int n = 0;
    for (auto _ : state)
        store->savePart(part("J1", ++n));
    countParts(state);
}
BENCHMARK_CAPTURE(BM_StoreSavePart, flushed, Durability::FlushedCommit)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_StoreSavePart, written, Durability::WrittenCommit)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

// The store and the bare loop taking turns part by part at one durability,
// so that both meet the same disk and load; counters per part and ratios.
void BM_StoreBesideBareLoop(benchmark::State& state, Durability durability)
{
    testsupport::TemporaryDatabase temp;
    auto store = openSqliteStore(temp.path(), OpenMode::CreateIfMissing, durability);
    BareLoop loop((temp.folder() / "bare.db").string(), durability);
    testsupport::TakingTurns turns;
    int n = 0;
    for (auto _ : state) {
        const PartRecord record = part("J1", ++n);
        turns.start();
        store->savePart(record);
        turns.roadDone();
        loop.save(record);
        turns.anchorDone();
    }
    turns.setCounters(state, "store", "bare");
}
BENCHMARK_CAPTURE(BM_StoreBesideBareLoop, flushed, Durability::FlushedCommit)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_StoreBesideBareLoop, written, Durability::WrittenCommit)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

// Two databases of 100,000 parts, the store's and the anchor's, made once
// for the run by copying one saved part with SQL.
constexpr int kLargeDatabaseParts = 100000;

class LargeDatabases {
public:
    static LargeDatabases& get()
    {
        static LargeDatabases databases;
        return databases;
    }
    const std::string& store() const { return m_store; }
    const std::string& bare() const { return m_bare; }

private:
    LargeDatabases()
    {
        openSqliteStore(m_store, OpenMode::CreateIfMissing)->savePart(part("BIG", 0));
        BareLoop(m_bare, Durability::FlushedCommit).save(part("BIG", 0));
        for (const std::string& path : {m_store, m_bare})
            testing::execSql(
                path,
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                    std::to_string(kLargeDatabaseParts - 1) +
                    ") INSERT INTO parts (job, grp, mark, quantity, length, section, description,"
                    " grade, text1, number, text2, text3, measuring_system, part_kind, saved_at)"
                    " SELECT job, grp, 'C' || i, quantity, length, section, description, grade,"
                    " text1, number, text2, text3, measuring_system, part_kind, saved_at"
                    " FROM n, parts WHERE parts.id = 1;"
                    "INSERT INTO ref_planes SELECT p.id, r.seq, r.start_x, r.start_u, r.rise,"
                    " r.run, r.direction_x, r.direction_u, r.pattern"
                    " FROM parts p, ref_planes r WHERE r.part_id = 1 AND p.id > 1;"
                    "INSERT INTO operations SELECT p.id, o.seq, o.plane_seq, o.kind, o.face, o.x,"
                    " o.u, o.x_inc, o.u_inc, o.num_x, o.num_u, o.tool_size1, o.tool_size2,"
                    " o.tool_shape, o.orientation, o.tool_measuring_system, o.text"
                    " FROM parts p, operations o WHERE o.part_id = 1 AND p.id > 1;"
                    "PRAGMA wal_checkpoint(TRUNCATE);");
    }

    testsupport::TemporaryDatabase m_temp;
    std::string m_store = m_temp.path();
    std::string m_bare = (m_temp.folder() / "bare.db").string();
};

// What a process's first save costs: opening the database, then one part.
void BM_FirstSaveInto100000Parts(benchmark::State& state)
{
    const std::string& path = LargeDatabases::get().store();
    static int n = 0; // a new part in every repetition too
    for (auto _ : state)
        openSqliteStore(path, OpenMode::CreateIfMissing)->savePart(part("NEW", ++n));
    state.counters["parts"] = kLargeDatabaseParts;
}
BENCHMARK(BM_FirstSaveInto100000Parts)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FirstBareSaveInto100000Parts(benchmark::State& state)
{
    const std::string& path = LargeDatabases::get().bare();
    static int n = 0;
    for (auto _ : state)
        BareLoop(path, Durability::FlushedCommit).save(part("NEW", ++n));
    state.counters["parts"] = kLargeDatabaseParts;
}
BENCHMARK(BM_FirstBareSaveInto100000Parts)->Unit(benchmark::kMillisecond)->UseRealTime();

// The part writer module registered in a registry of its own, writing into
// a database of its own.
class PartWriterRoad {
public:
    PartWriterRoad()
    {
        CoInitialize(nullptr);
        m_module = dlopen(TARSIS_SERVERS_PATH, RTLD_NOW);
        auto registerServer =
            m_module ? reinterpret_cast<HRESULT (*)()>(dlsym(m_module, "DllRegisterServer"))
                     : nullptr;
        if (!registerServer || FAILED(registerServer()))
            throw std::runtime_error("cannot register the Tarsis servers");
    }
    ~PartWriterRoad()
    {
        dlclose(m_module);
        CoFreeUnusedLibraries();
        CoUninitialize();
    }

    static CComPtr<IDispatch> createWriter()
    {
        CComPtr<IUnknown> unknown;
        CComPtr<IDispatch> writer;
        if (FAILED(CoCreateInstance(CLSID_TarsisPartWriter, nullptr, CLSCTX_LOCAL_SERVER,
                                    IID_IUnknown, reinterpret_cast<void**>(&unknown))) ||
            FAILED(OleRun(unknown)) || FAILED(unknown.QueryInterface(&writer)))
            throw std::runtime_error("cannot create the part writer");
        return writer;
    }

    // The calls the part objects make for one part.
    static void save(IDispatch* writer, const PartRecord& part)
    {
        const PartHeader& h = part.header;
        invoke(writer, partwriter::CreatePart,
               {CComVariant(h.key.job.c_str()), CComVariant(h.key.group.c_str()),
                CComVariant(h.key.mark.c_str()), CComVariant(static_cast<SHORT>(h.quantity)),
                CComVariant(h.length), CComVariant(h.shape.section.c_str()),
                CComVariant(h.shape.description.c_str()), CComVariant(h.grade.c_str()),
                CComVariant(h.text1.c_str()), CComVariant(static_cast<LONG>(h.number)),
                CComVariant(h.text2.c_str()), CComVariant(h.text3.c_str()),
                CComVariant(static_cast<SHORT>(h.measuringSystem)),
                CComVariant(static_cast<SHORT>(h.partKind))});
        for (const PartEntry& entry : part.entries) {
            if (const auto* p = std::get_if<RefPlane>(&entry)) {
                invoke(writer, partwriter::SetRefPlane,
                       {CComVariant(p->startX), CComVariant(p->startU), CComVariant(p->rise),
                        CComVariant(p->run), CComVariant(p->directionX.c_str()),
                        CComVariant(p->directionU.c_str()), CComVariant(p->pattern.c_str())});
                continue;
            }
            const Operation& op = std::get<Operation>(entry);
            if (op.kind == OperationKind::Stencil) {
                invoke(writer,
                       op.face == Face::TF ? partwriter::AddTFStencil : partwriter::AddWebStencil,
                       {CComVariant(op.x), CComVariant(op.u), CComVariant(op.text.c_str())});
                continue;
            }
            std::vector<CComVariant> args{CComVariant(op.x),
                                          CComVariant(op.u),
                                          CComVariant(op.xInc),
                                          CComVariant(op.uInc),
                                          CComVariant(static_cast<SHORT>(op.numX)),
                                          CComVariant(static_cast<SHORT>(op.numU))};
            if (op.kind != OperationKind::Hole) {
                invoke(writer,
                       op.kind == OperationKind::Mark ? markCall(op.face)
                                                      : partwriter::AddWebHiddenMark,
                       args);
                continue;
            }
            args.emplace_back(op.toolSize1);
            args.emplace_back(op.toolSize2);
            args.emplace_back(op.toolShape.c_str());
            args.emplace_back(static_cast<SHORT>(op.orientation));
            if (op.toolMeasuringSystem)
                args.emplace_back(static_cast<SHORT>(*op.toolMeasuringSystem));
            invoke(writer, holeCall(op.face, op.toolMeasuringSystem.has_value()), args);
        }
        invoke(writer, partwriter::SavePart, {});
    }

private:
    static DISPID holeCall(Face face, bool ex)
    {
        switch (face) {
        case Face::Web2:
            return ex ? partwriter::AddWeb2HoleEx : partwriter::AddWeb2Hole;
        case Face::TFNear:
            return ex ? partwriter::AddTFNearHoleEx : partwriter::AddTFNearHole;
        case Face::TFNearFar:
            return ex ? partwriter::AddTFNearFarHoleEx : partwriter::AddTFNearFarHole;
        case Face::BFNear:
            return ex ? partwriter::AddBFNearHoleEx : partwriter::AddBFNearHole;
        case Face::BFFar:
            return ex ? partwriter::AddBFFarHoleEx : partwriter::AddBFFarHole;
        default:
            return ex ? partwriter::AddWebHoleEx : partwriter::AddWebHole;
        }
    }
    static DISPID markCall(Face face)
    {
        switch (face) {
        case Face::TFNear:
            return partwriter::AddTFNearMark;
        case Face::TFNearFar:
            return partwriter::AddTFNearFarMark;
        case Face::BFNear:
            return partwriter::AddBFNearMark;
        case Face::BFFar:
            return partwriter::AddBFFarMark;
        default:
            return partwriter::AddWebMark;
        }
    }
    static void invoke(IDispatch* writer, DISPID dispid, std::vector<CComVariant> args)
    {
        std::reverse(args.begin(), args.end());
        DISPPARAMS params{args.empty() ? nullptr : args.data(), nullptr,
                          static_cast<UINT>(args.size()), 0};
        CComVariant result;
        HRESULT hr = writer->Invoke(dispid, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr,
                                    nullptr);
        if (FAILED(hr) || result.vt != VT_I4 || result.lVal < 0)
            throw std::runtime_error("part writer call " + std::to_string(dispid) + " failed");
    }

    testsupport::TemporaryRegistry m_registry;
    testsupport::TemporaryDatabase m_database;
    void* m_module = nullptr;
};

void BM_PartWriterInvoke(benchmark::State& state)
{
    PartWriterRoad road;
    auto writer = PartWriterRoad::createWriter();
    int n = 0;
    for (auto _ : state)
        PartWriterRoad::save(writer, part("J1", ++n));
    writer.Release();
    countParts(state);
}
BENCHMARK(BM_PartWriterInvoke)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_PartWriterInvokeNewWriterPerPart(benchmark::State& state)
{
    PartWriterRoad road;
    int n = 0;
    for (auto _ : state) {
        auto writer = PartWriterRoad::createWriter();
        PartWriterRoad::save(writer, part("J1", ++n));
    }
    countParts(state);
}
BENCHMARK(BM_PartWriterInvokeNewWriterPerPart)->Unit(benchmark::kMicrosecond)->UseRealTime();

// After the usual output: each road's time per part beside its anchor's and
// the ratios, wall time (what a user waits, flushes included) and CPU time.
// With repetitions, the medians are compared.
void printRatios(const testsupport::AnchoredReporter& reporter)
{
    using Clock = testsupport::AnchoredReporter::Clock;
    struct Pair {
        const char* road;
        const char* anchor;
        const char* goal;
    };
    const Pair pairs[] = {
        {"BM_StoreSavePart/flushed", "BM_BareLoop/flushed", ""},
        {"BM_StoreSavePart/written", "BM_BareLoop/written", ""},
        {"BM_PartWriterInvoke", "BM_BareLoop/flushed", ""},
        {"BM_PartWriterInvokeNewWriterPerPart", "BM_BareLoop/flushed", ""},
        {"BM_BareLoop/written", "BM_BareLoop/flushed", " (what the flush per part costs)"},
        {"BM_StoreSavePart/written", "BM_StoreSavePart/flushed", ""},
        {"BM_FirstSaveInto100000Parts", "BM_FirstBareSaveInto100000Parts",
         " (goal: under 50 ms wall)"},
    };
    std::printf("\n%-38s %12s %12s   %-32s %12s %12s   %6s %6s\n", "road", "wall us", "CPU us",
                "anchor", "wall us", "CPU us", "wall", "CPU");
    for (const Pair& p : pairs) {
        const auto wall = reporter.median(p.road, Clock::Real);
        const auto anchorWall = reporter.median(p.anchor, Clock::Real);
        if (!wall || !anchorWall)
            continue;
        const double cpu = *reporter.median(p.road, Clock::Cpu) * 1e6;
        const double anchorCpu = *reporter.median(p.anchor, Clock::Cpu) * 1e6;
        std::printf("%-38s %12.1f %12.1f   %-32s %12.1f %12.1f   %6.2f %6.2f%s\n", p.road,
                    *wall * 1e6, cpu, p.anchor, *anchorWall * 1e6, anchorCpu, *wall / *anchorWall,
                    cpu / anchorCpu, p.goal);
    }
}

} // namespace
} // namespace tarsis::bench

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    testsupport::AnchoredReporter reporter(testsupport::AnchoredReporter::Clock::Real,
                                           benchmark::ConsoleReporter::OO_None);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    tarsis::bench::printRatios(reporter);
    std::fflush(stdout);
    benchmark::Shutdown();
    return 0;
}
