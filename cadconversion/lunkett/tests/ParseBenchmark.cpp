// Parse speed of the DSTV part reader on the shared DSTV samples that
// convert, each figure per file beside its anchor, measured in the same run:
//
//   from memory  ReadPart of the bytes held in memory into a CADPart2 made
//                beforehand, against a bare tokenise of the same bytes
//                (split into lines and white-space fields, nothing else);
//   from disk    SetFile and ReadPart of the file into a part made
//                beforehand, against a bare open, read and tokenise of the
//                same file;
//   part         a CADPart2 made through the component runtime and
//                released, against the same through the module's own class
//                factory (what the runtime adds to the part's own cost).
//
// The parts are real part objects of the part-model server (libhalcyra),
// registered in a temporary registry. Run it from a Release build:
// bin/lunkett_parse_benchmark [samples folder]; the default folder is the
// shared samples' dstv/ beside the checkout.
#include "DSTVPartReader.h"

#include "halcyra/HalcyraLib.h"

#include "com/Bstr.h"
#include "com/Runtime.h"
#include "testing/AnchoredReporter.h"
#include "testing/ScopedEnvironment.h"
#include "testing/TemporaryRegistry.h"

#include <benchmark/benchmark.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr DWORD kPartContext =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

// A reader that also reads bytes held in memory.
class MemoryPartReader : public DSTVPartReader {
public:
    using DSTVPartReader::DSTVPartReader;
    void openBytes(const std::string& name, const std::string& bytes)
    {
        CloseNCFile();
        m_NCFile.OpenBytes(name.c_str(), bytes.data(), bytes.size());
        m_bFileOpen = 1;
    }
};

struct Sample {
    std::string path;
    std::string bytes;
};

// A temporary registry with the part-model server registered, COM on this
// thread, and the samples that the standard reader converts.
class Environment {
public:
    explicit Environment(const std::filesystem::path& samples)
    {
        OleInitialize(nullptr);
        m_halcyra = dlopen(HALCYRA_PATH, RTLD_NOW | RTLD_LOCAL);
        if (!m_halcyra)
            throw std::runtime_error(dlerror());
        const auto registerServer =
            reinterpret_cast<HRESULT (*)()>(dlsym(m_halcyra, "DllRegisterServer"));
        if (!registerServer || FAILED(registerServer()))
            throw std::runtime_error("cannot register the part-model server");
        m_getClassObject = reinterpret_cast<HRESULT (*)(REFCLSID, REFIID, void**)>(
            dlsym(m_halcyra, "DllGetClassObject"));

        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(samples))
            if (entry.is_regular_file())
                files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        for (const auto& file : files) {
            std::ifstream in(file, std::ios::binary);
            std::ostringstream bytes;
            bytes << in.rdbuf();
            Sample sample{file.string(), bytes.str()};
            if (converts(sample))
                m_samples.push_back(std::move(sample));
            else
                ++m_skipped;
        }
        if (m_samples.empty())
            throw std::runtime_error("no sample in " + samples.string() + " converts");
    }
    ~Environment()
    {
        OleUninitialize();
        CoFreeUnusedLibraries();
        if (m_halcyra)
            dlclose(m_halcyra);
    }

    const std::vector<Sample>& samples() const { return m_samples; }
    int skipped() const { return m_skipped; }

    static IUnknown* newPart()
    {
        IUnknown* part = nullptr;
        if (FAILED(CoCreateInstance(CLSID_CADPart2, nullptr, kPartContext, IID_IUnknown,
                                    reinterpret_cast<void**>(&part))))
            throw std::runtime_error("cannot create CADPart2");
        return part;
    }
    // The same part, made through the module's class factory (quicker, so
    // that the paused part of a parse iteration stays short).
    IUnknown* newPartFromFactory() const
    {
        IClassFactory* factory = partFactory();
        IUnknown* part = nullptr;
        const HRESULT hr =
            factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&part));
        factory->Release();
        if (FAILED(hr))
            throw std::runtime_error("cannot create CADPart2");
        return part;
    }
    IClassFactory* partFactory() const
    {
        IClassFactory* factory = nullptr;
        m_getClassObject(CLSID_CADPart2, IID_IClassFactory, reinterpret_cast<void**>(&factory));
        return factory;
    }

private:
    static bool converts(const Sample& sample)
    {
        MemoryPartReader reader(DSTVPartReader::createRegisteredPart);
        reader.openBytes(sample.path, sample.bytes);
        IUnknown* part = nullptr;
        BSTR error = nullptr;
        const HRESULT hr = reader.ReadPart(&part, 0, 0, &error);
        SysFreeString(error);
        if (part)
            part->Release();
        return hr == S_OK;
    }

    const testsupport::TemporaryRegistry m_registry{"lunkett-bench"};
    const testsupport::ScopedEnvironment m_data{"XDG_DATA_HOME",
                                                (m_registry.folder() / "data").string()};
    void* m_halcyra = nullptr;
    HRESULT (*m_getClassObject)(REFCLSID, REFIID, void**) = nullptr;
    std::vector<Sample> m_samples;
    int m_skipped = 0;
};

Environment* g_environment = nullptr;

// The anchor: the bytes split into lines (at CR and LF) and each line into
// fields (at blanks and tabs) in one pass over a byte-class table, the
// fastest bare loop we have for it; answers the count of line ends, fields
// and field bytes, so that none of the work is dropped.
std::size_t tokenise(std::string_view bytes)
{
    enum : unsigned char { Text, Blank, LineEnd };
    static const auto kClass = [] {
        std::array<unsigned char, 256> table{};
        table[' '] = table['\t'] = Blank;
        table['\r'] = table['\n'] = LineEnd;
        return table;
    }();
    std::size_t total = 0;
    bool inField = false;
    for (const char c : bytes) {
        const unsigned char kind = kClass[static_cast<unsigned char>(c)];
        if (kind == Text) {
            total += inField ? 1 : 2;
            inField = true;
        } else {
            total += kind == LineEnd;
            inField = false;
        }
    }
    return total;
}

void countFiles(benchmark::State& state)
{
    state.counters["files"] = static_cast<double>(g_environment->samples().size());
}

void BM_TokeniseInMemory(benchmark::State& state)
{
    for (auto _ : state)
        for (const Sample& sample : g_environment->samples())
            benchmark::DoNotOptimize(tokenise(sample.bytes));
    countFiles(state);
}

void BM_TokeniseFromDisk(benchmark::State& state)
{
    std::vector<char> buffer(64 * 1024);
    for (auto _ : state)
        for (const Sample& sample : g_environment->samples()) {
            const int fd = open(sample.path.c_str(), O_RDONLY | O_CLOEXEC);
            const ssize_t n = read(fd, buffer.data(), buffer.size());
            close(fd);
            benchmark::DoNotOptimize(
                tokenise(std::string_view(buffer.data(), n > 0 ? std::size_t(n) : 0)));
        }
    countFiles(state);
}

// Reads every sample once per iteration (ReadPart, then the read that
// finds the end); the parts are made before the iteration and released
// after it, outside the time.
template <class Open>
void parseSamples(benchmark::State& state, Open open)
{
    const std::size_t count = g_environment->samples().size();
    std::vector<IUnknown*> parts;
    std::size_t next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (IUnknown* part : parts)
            part->Release();
        parts.clear();
        for (std::size_t i = 0; i < count; ++i)
            parts.push_back(g_environment->newPartFromFactory());
        next = 0;
        auto reader = std::make_unique<MemoryPartReader>([&](IUnknown** pp) {
            *pp = parts[next++];
            (*pp)->AddRef();
            return S_OK;
        });
        state.ResumeTiming();

        for (const Sample& sample : g_environment->samples()) {
            open(*reader, sample);
            for (HRESULT hr = S_OK; hr == S_OK;) {
                IUnknown* part = nullptr;
                BSTR error = nullptr;
                hr = reader->ReadPart(&part, 0, 0, &error);
                if (part)
                    part->Release();
                if (error) {
                    SysFreeString(error);
                    state.SkipWithError("a sample no longer converts");
                }
            }
        }

        state.PauseTiming();
        reader.reset();
        state.ResumeTiming();
    }
    for (IUnknown* part : parts)
        part->Release();
    countFiles(state);
}

void BM_ParseInMemory(benchmark::State& state)
{
    parseSamples(state, [](MemoryPartReader& reader, const Sample& sample) {
        reader.openBytes(sample.path, sample.bytes);
    });
}

void BM_ParseFromDisk(benchmark::State& state)
{
    std::vector<BSTR> names;
    for (const Sample& sample : g_environment->samples())
        names.push_back(bstrFromNarrow(sample.path));
    std::size_t i = 0;
    parseSamples(state, [&](MemoryPartReader& reader, const Sample&) {
        BSTR error = nullptr;
        if (reader.SetFile(names[i++ % names.size()], &error) != S_OK)
            throw std::runtime_error("SetFile failed");
    });
    for (BSTR name : names)
        SysFreeString(name);
}

// One part per sample, made and released.
void BM_CreatePartThroughRuntime(benchmark::State& state)
{
    for (auto _ : state)
        for (std::size_t i = 0; i < g_environment->samples().size(); ++i) {
            IUnknown* part = Environment::newPart();
            ICADPart2* filled = nullptr;
            OleRun(part);
            part->QueryInterface(IID_ICADPart2, reinterpret_cast<void**>(&filled));
            filled->Release();
            part->Release();
        }
    countFiles(state);
}

void BM_CreatePartThroughFactory(benchmark::State& state)
{
    IClassFactory* factory = g_environment->partFactory();
    for (auto _ : state)
        for (std::size_t i = 0; i < g_environment->samples().size(); ++i) {
            ICADPart2* part = nullptr;
            factory->CreateInstance(nullptr, IID_ICADPart2, reinterpret_cast<void**>(&part));
            part->Release();
        }
    factory->Release();
    countFiles(state);
}

BENCHMARK(BM_TokeniseInMemory)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_ParseInMemory)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_TokeniseFromDisk)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_ParseFromDisk)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_CreatePartThroughFactory)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_CreatePartThroughRuntime)->Unit(benchmark::kMicrosecond)->Repetitions(5);

} // namespace

int main(int argc, char** argv)
{
    // The repetitions of the figures and their anchors take turns, so that
    // a change in the machine's load falls on both.
    std::vector<char*> args(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave.data());
    using Reporter = testsupport::AnchoredReporter;
    const auto run = [](Reporter& reporter, const std::vector<std::string>& operands) {
        const std::filesystem::path samples =
            std::filesystem::path(operands.empty() ? DSTV_SAMPLES_DIR : operands.front());
        if (!std::filesystem::is_directory(samples))
            throw std::runtime_error("no samples folder " + samples.string());
        Environment environment(samples);
        g_environment = &environment;
        std::printf("%zu of %zu samples convert\n", environment.samples().size(),
                    environment.samples().size() + static_cast<std::size_t>(environment.skipped()));
        benchmark::RunSpecifiedBenchmarks(&reporter);
        const auto files = static_cast<double>(environment.samples().size());
        std::printf("\nper file, median CPU time of 5 (%zu samples that convert):\n",
                    environment.samples().size());
        reporter.printRatio("parse and fill, bytes in memory", "BM_ParseInMemory",
                            "BM_TokeniseInMemory", files);
        reporter.printRatio("parse and fill, file from disk", "BM_ParseFromDisk",
                            "BM_TokeniseFromDisk", files);
        reporter.printRatio("part creation through the runtime", "BM_CreatePartThroughRuntime",
                            "BM_CreatePartThroughFactory", files);
        g_environment = nullptr;
    };
    return testsupport::anchoredMain(static_cast<int>(args.size()), args.data(),
                                     Reporter::Clock::Cpu, run, testsupport::Operands::Accepted);
}
