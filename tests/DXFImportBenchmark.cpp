// Drawings per second of the DXF import, with the real servers on a
// temporary registry and database:
//   - a generated beam drawing (200 holes, 20 slots, 20 marks, 5 stencils
//     on the layer convention): a bare line read of its bytes (std::getline,
//     the anchor), the converter's SetFile/ReadPart into a part object, and
//     the same with SaveToTarsis into the SQLite stand-in;
//   - generated drawings of 6.25 to 50 MB, a beam's few features among
//     many entities on other layers: the bare line read and ReadPart, with
//     the time per byte (the same for every size when the cost is linear)
//     and how far the process's peak memory rose while each was read.
// Prints each road's drawings per second and its time as a multiple of
// the bare read's. Run it from a Release build: bin/dxf_import_benchmark.
#include "DrawingText.h"
#include "ImportRoad.h"
#include "halcyra/HalcyraLib.h"
#include "ostrane/OstraneLib.h"

#include "convertertest/ConverterCategory.h"

#include "com/Bstr.h"
#include "com/Runtime.h"
#include "testing/AnchoredReporter.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr double kMegabyte = 1024 * 1024;
const int kLargeSizes[] = {6, 12, 25, 50}; // megabytes (6.25 and 12.5 rounded in the names)

// References: TF at (0, 40), BF at (0, -20), web at (0, 22.2), second web at (0, 0).
DrawingText referencedBeam(const char* mark)
{
    DrawingText drawing;
    drawing.measurement(0)
        .partInfo(std::string("BENCH,G1,") + mark + ",-,W_1226,240,1")
        .point("TF_REF", 0, 40)
        .point("BF_REF", 0, -20)
        .point("WEBFRONT_REF", 0, 22.2)
        .point("WEBBACK_REF", 0, 0);
    return drawing;
}

// 200 holes (120 web, 40 on each flange; circles and round blocks), 20
// slots, 20 marks, 5 stencils, and the beam's outline.
std::string beamDrawing()
{
    DrawingText drawing = referencedBeam("B1");
    for (int i = 0; i < 80; ++i)
        drawing.circle("WEB_OPERATION", 3 + 2.9 * i, 19.2 - 3 * (i % 3), 13.0 / 32);
    for (int i = 0; i < 40; ++i)
        drawing.insert("WEB_OPERATION", 4 + 5.8 * i, 16.1, "15_16R");
    for (const auto& [layer, y] : {std::pair{"TF_OPERATION", 40.0}, {"BF_OPERATION", -20.0}}) {
        for (int i = 0; i < 20; ++i)
            drawing.circle(layer, 3 + 11.5 * i, y + (i % 2 ? 1.75 : -1.75), 13.0 / 32);
        for (int i = 0; i < 20; ++i)
            drawing.insert(layer, 8 + 11.5 * i, y + (i % 2 ? -1.75 : 1.75), "13_16R");
    }
    for (int i = 0; i < 10; ++i)
        drawing.insert("WEB_OPERATION", 10 + 22 * i, 12, "13_16X3_2S", 90);
    for (int i = 0; i < 10; ++i)
        drawing.insert("TF_OPERATION", 12 + 22 * i, 41.75, "13_16X3_2S 30");
    for (int i = 0; i < 10; ++i)
        drawing.point("WEBFRONT_LAYOUT", 20 + 20 * i, 16.1);
    for (int i = 0; i < 5; ++i)
        drawing.point("TF_LAYOUT", 30 + 40 * i, 42);
    for (int i = 0; i < 5; ++i)
        drawing.insert("BF_LAYOUT", 30 + 40 * i, -22, "LAYOUT_MARK");
    for (int i = 0; i < 3; ++i)
        drawing.text("WEBFRONT_STENCIL", 50 + 60 * i, 20, "B1");
    drawing.text("TF_STENCIL", 200, 40.5, "TOP").text("BF_STENCIL", 200, -20.5, "BTM");
    drawing.line("OUTLINE", 0, 10, 240, 10).line("OUTLINE", 0, 22.2, 240, 22.2);
    return drawing.str();
}

// About megabytes of drawing: the referenced beam with a few features, then
// repetitions of entities on layers off the convention, written piece by
// piece so that the writer holds little of it.
void writeLargeDrawing(const std::string& path, double megabytes)
{
    std::ofstream file(path, std::ios::binary);
    DrawingText drawing = referencedBeam("L1");
    drawing.circle("WEB_OPERATION", 3, 19.2, 13.0 / 32).text("WEBFRONT_STENCIL", 50, 20, "L1");
    file << drawing.head() << drawing.takeEntities();
    const auto target = static_cast<std::streamoff>(megabytes * kMegabyte);
    for (int i = 0; file.tellp() < target; ++i) {
        const double x = i % 2400 * 0.1;
        drawing.line("OUTLINE", x, 0, x + 1, 12.2)
            .circle("0", x, 6, 0.5)
            .text("NOTES", x, -30, "NOTE " + std::to_string(i))
            .insert("DETAIL", x, -40, "DETAIL_A", 45)
            .point("GRID", x, 50);
        file << drawing.takeEntities();
    }
    file << DrawingText::tail();
}

class Environment {
public:
    Environment()
    {
        m_converter = convertertest::createConverter(CLSID_VLMROstrane);
        if (!m_converter)
            throw std::runtime_error("no DXF converter");
        m_beam = (m_servers.folder() / "beam.dxf").string();
        testsupport::writeFile(m_beam, beamDrawing());
        for (int megabytes : kLargeSizes) {
            const std::string path =
                (m_servers.folder() / ("large-" + std::to_string(megabytes) + ".dxf")).string();
            writeLargeDrawing(path, megabytes == 6 ? 6.25 : megabytes == 12 ? 12.5 : megabytes);
            m_large[megabytes] = path;
        }
    }
    ~Environment() { m_converter->Release(); }

    IVLMRConvert* converter() const { return m_converter; }
    const std::string& beam() const { return m_beam; }
    const std::string& large(int megabytes) const { return m_large.at(megabytes); }

private:
    const RegisteredServers m_servers{"dxf-bench"};
    IVLMRConvert* m_converter = nullptr;
    std::string m_beam;
    std::map<int, std::string> m_large;
};

Environment* g_environment = nullptr;

long peakMemoryKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The anchor: the file's lines with the standard library, nothing else.
std::size_t readLines(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::string line;
    std::size_t bytes = 0;
    while (std::getline(file, line))
        bytes += line.size() + 1;
    return bytes;
}

// The wizard's road for one drawing (importFile): SetFile, ReadPart until
// S_FALSE; with save, the part is completed and saved.
void importDrawing(benchmark::State& state, const std::string& path, bool save)
{
    static const PartStep saving = savingEachPart<ICADPart>();
    BSTR name = bstrFromNarrow(path);
    const ImportResult result =
        importFile(g_environment->converter(), name, save ? saving : nullptr);
    SysFreeString(name);
    if (result.failure)
        state.SkipWithError(result.failure);
}

void countDrawings(benchmark::State& state)
{
    state.counters["drawings/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_BeamLineRead(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(readLines(g_environment->beam()));
    countDrawings(state);
}
BENCHMARK(BM_BeamLineRead)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_BeamReadPart(benchmark::State& state)
{
    for (auto _ : state)
        importDrawing(state, g_environment->beam(), false);
    countDrawings(state);
}
BENCHMARK(BM_BeamReadPart)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_BeamReadPartAndSave(benchmark::State& state)
{
    for (auto _ : state)
        importDrawing(state, g_environment->beam(), true);
    countDrawings(state);
}
BENCHMARK(BM_BeamReadPartAndSave)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Per size: bytes per second, and the rise of the peak memory while read.
void large(benchmark::State& state, bool anchor)
{
    const std::string& path = g_environment->large(static_cast<int>(state.range(0)));
    const long before = peakMemoryKilobytes();
    for (auto _ : state) {
        if (anchor)
            benchmark::DoNotOptimize(readLines(path));
        else
            importDrawing(state, path, false);
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(path)));
    state.counters["peak_rise_kB"] = static_cast<double>(peakMemoryKilobytes() - before);
}

void BM_LargeLineRead(benchmark::State& state)
{
    large(state, true);
}
BENCHMARK(BM_LargeLineRead)
    ->ArgsProduct({{6, 12, 25, 50}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_LargeReadPart(benchmark::State& state)
{
    large(state, false);
}
BENCHMARK(BM_LargeReadPart)
    ->ArgsProduct({{6, 12, 25, 50}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// After the usual output: each road's drawings per second and its time as
// a multiple of the bare line read of the same bytes (medians, also of
// repetitions reported as aggregates only), and for the large drawings the
// time per byte and the largest rise of the peak memory.
void printSummary(const testsupport::AnchoredReporter& reporter)
{
    const double bare = reporter.median("BM_BeamLineRead").value_or(0);
    for (const char* road : {"BM_BeamLineRead", "BM_BeamReadPart", "BM_BeamReadPartAndSave"})
        if (const double time = reporter.median(road).value_or(0); time > 0 && bare > 0)
            std::printf("%-24s %10.0f drawings/s, %7.1f x the bare line read\n", road, 1 / time,
                        time / bare);
    std::printf("large drawings:  size   line read ns/byte   ReadPart ns/byte   ratio   "
                "peak rise kB\n");
    for (int megabytes : kLargeSizes) {
        const std::string& path = g_environment->large(megabytes);
        const double bytes = static_cast<double>(std::filesystem::file_size(path));
        const std::string size = "/" + std::to_string(megabytes);
        const double line = reporter.median("BM_LargeLineRead" + size).value_or(0);
        const double read = reporter.median("BM_LargeReadPart" + size).value_or(0);
        const double rise =
            reporter.largestCounter("BM_LargeReadPart" + size, "peak_rise_kB").value_or(0);
        std::printf("               %5.1f MB  %17.2f  %17.2f  %6.1f  %13.0f\n", bytes / kMegabyte,
                    line / bytes * 1e9, read / bytes * 1e9, line > 0 ? read / line : 0, rise);
    }
}

} // namespace

int main(int argc, char** argv)
{
    using Reporter = testsupport::AnchoredReporter;
    return testsupport::anchoredMain(argc, argv, Reporter::Clock::Real,
                                     [](Reporter& reporter, auto&) {
                                         Environment environment;
                                         g_environment = &environment;
                                         benchmark::RunSpecifiedBenchmarks(&reporter);
                                         printSummary(reporter);
                                         g_environment = nullptr;
                                     });
}
