// Parts per second saved into the Tarsis database, each part with 20
// operations (and the planes before them): through the part writer's
// IDispatch::Invoke road as the part objects call it (one writer for many
// parts, and a new writer per part as each save makes one), through the
// storage layer alone, and by a bare loop of prepared statements with one
// transaction per part, the limit the other roads are measured against.
// Prints the ratio of each road's time per part to the bare loop's.
#include "StoreTestSupport.h"
#include "tarsis/SqliteStore.h"
#include "tarsis/TarsisServers.h"
#include "testing/TemporaryDatabase.h"
#include "testing/TemporaryRegistry.h"

#include "com/ComPtr.h"
#include "com/ComVariant.h"
#include "com/Runtime.h"

#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <sqlite3.h>

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

void check(sqlite3* db, int rc)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE)
        throw std::runtime_error(sqlite3_errmsg(db));
}

class Insert {
public:
    Insert(sqlite3* db, const char* sql) : m_db(db)
    {
        check(db, sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr));
    }
    ~Insert() { sqlite3_finalize(m_stmt); }
    Insert& text(int i, const std::string& s)
    {
        sqlite3_bind_text(m_stmt, i, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Insert& real(int i, double v)
    {
        sqlite3_bind_double(m_stmt, i, v);
        return *this;
    }
    Insert& integer(int i, sqlite3_int64 v)
    {
        sqlite3_bind_int64(m_stmt, i, v);
        return *this;
    }
    void run()
    {
        check(m_db, sqlite3_step(m_stmt));
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

// The same rows the store writes, with nothing around them.
void BM_BareLoop(benchmark::State& state)
{
    testsupport::TemporaryDatabase temp;
    openSqliteStore(temp.path(), OpenMode::CreateIfMissing);
    sqlite3* db = nullptr;
    check(db, sqlite3_open_v2(temp.path().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr));
    check(db, sqlite3_exec(db, "PRAGMA foreign_keys = ON", nullptr, nullptr, nullptr));
    {
        Insert part(
            db, "INSERT INTO parts (job, grp, mark, quantity, length, section, description, grade,"
                " text1, number, text2, text3, measuring_system, part_kind, saved_at)"
                " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, strftime('%Y-%m-%dT%H:%M:%SZ', "
                "'now'))");
        Insert plane(
            db, "INSERT INTO ref_planes (part_id, seq, start_x, start_u, rise, run, direction_x,"
                " direction_u, pattern) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
        Insert operation(db,
                         "INSERT INTO operations (part_id, seq, plane_seq, kind, face, x, u, x_inc,"
                         " u_inc, num_x, num_u, tool_size1, tool_size2, tool_shape, orientation,"
                         " tool_measuring_system, text)"
                         " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        int n = 0;
        for (auto _ : state) {
            PartRecord record = testing::samplePart({"J1", "G1", markNumber(++n)}, kOperations);
            const PartHeader& h = record.header;
            check(db, sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr));
            part.text(1, h.key.job).text(2, h.key.group).text(3, h.key.mark).integer(4, h.quantity);
            part.real(5, h.length)
                .text(6, h.shape.section)
                .text(7, h.shape.description)
                .text(8, h.grade);
            part.text(9, h.text1).integer(10, h.number).text(11, h.text2).text(12, h.text3);
            part.integer(13, h.measuringSystem).integer(14, h.partKind).run();
            sqlite3_int64 id = sqlite3_last_insert_rowid(db);
            int seq = 0, planeSeq = 0;
            for (const PartEntry& entry : record.entries) {
                ++seq;
                if (const auto* p = std::get_if<RefPlane>(&entry)) {
                    plane.integer(1, id).integer(2, seq).real(3, p->startX).real(4, p->startU);
                    plane.real(5, p->rise)
                        .real(6, p->run)
                        .text(7, p->directionX)
                        .text(8, p->directionU);
                    plane.text(9, p->pattern).run();
                    planeSeq = seq;
                    continue;
                }
                const Operation& op = std::get<Operation>(entry);
                operation.integer(1, id).integer(2, seq).integer(3, planeSeq);
                operation.text(4, std::string(toText(op.kind)))
                    .text(5, std::string(toText(op.face)));
                operation.real(6, op.x).real(7, op.u);
                if (op.kind != OperationKind::Stencil)
                    operation.real(8, op.xInc)
                        .real(9, op.uInc)
                        .integer(10, op.numX)
                        .integer(11, op.numU);
                if (op.kind == OperationKind::Hole) {
                    operation.real(12, op.toolSize1).real(13, op.toolSize2).text(14, op.toolShape);
                    operation.integer(15, op.orientation);
                    if (op.toolMeasuringSystem)
                        operation.integer(16, *op.toolMeasuringSystem);
                }
                if (op.kind == OperationKind::Stencil)
                    operation.text(17, op.text);
                operation.run();
            }
            check(db, sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr));
        }
    }
    sqlite3_close(db);
    state.counters["parts/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BareLoop)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_StoreSavePart(benchmark::State& state)
{
    testsupport::TemporaryDatabase temp;
    auto store = openSqliteStore(temp.path(), OpenMode::CreateIfMissing);
    int n = 0;
    for (auto _ : state)
        store->savePart(testing::samplePart({"J1", "G1", markNumber(++n)}, kOperations));
    state.counters["parts/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StoreSavePart)->Unit(benchmark::kMicrosecond)->UseRealTime();

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
        PartWriterRoad::save(writer,
                             testing::samplePart({"J1", "G1", markNumber(++n)}, kOperations));
    writer.Release();
    state.counters["parts/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PartWriterInvoke)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_PartWriterInvokeNewWriterPerPart(benchmark::State& state)
{
    PartWriterRoad road;
    int n = 0;
    for (auto _ : state) {
        auto writer = PartWriterRoad::createWriter();
        PartWriterRoad::save(writer,
                             testing::samplePart({"J1", "G1", markNumber(++n)}, kOperations));
    }
    state.counters["parts/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PartWriterInvokeNewWriterPerPart)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Prints as usual, then the ratio of each road's time per part to the bare
// loop's: wall time (what a user waits, disk flushes included) and CPU time.
// With repetitions, the medians are compared.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(OO_None) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            Times& t = m_times[run.run_name.function_name];
            t.real.push_back(run.GetAdjustedRealTime());
            t.cpu.push_back(run.GetAdjustedCPUTime());
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void printRatios() const
    {
        auto bare = m_times.find("BM_BareLoop");
        if (bare == m_times.end())
            return;
        for (const auto& [name, times] : m_times) {
            if (name == bare->first)
                continue;
            std::printf(
                "ratio %s / BM_BareLoop: wall time %.2f, CPU time %.2f (goal: at most 1.5)\n",
                name.c_str(), median(times.real) / median(bare->second.real),
                median(times.cpu) / median(bare->second.cpu));
        }
    }

private:
    struct Times {
        std::vector<double> real;
        std::vector<double> cpu;
    };

    static double median(std::vector<double> values)
    {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    }

    std::map<std::string, Times> m_times;
};

} // namespace
} // namespace tarsis::bench

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    tarsis::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    std::fflush(stdout);
    benchmark::Shutdown();
    return 0;
}
