// What the component platform adds to a call, each road beside its anchor:
// - creating an object by class ID (CoCreateInstance: the registry, the
//   module table, the class factory) against the bare path through the
//   module's own export (DllGetClassObject, CreateInstance, both released),
//   which pays neither the registry nor the runtime;
// - IDispatch::Invoke of a member (finding it, taking the arguments from
//   DISPPARAMS, the call) against the same member called through its vtable
//   with the same values.
// The server is the framework's test server, registered by its own
// DllRegisterServer into a temporary registry. Prints the ratio of each
// road to its anchor (medians when repeated).
#include "TestServerInterfaces.h"

#include "com/Bstr.h"
#include "com/Runtime.h"
#include "com/Variant.h"
#include "testing/AnchoredReporter.h"
#include "testing/TemporaryRegistry.h"

#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using GetClassObjectFn = HRESULT (*)(REFCLSID, REFIID, LPVOID*);
using RegisterFn = HRESULT (*)();

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "com_benchmark: %s\n", what);
    std::exit(1);
}

// The test server registered in a registry of its own, COM initialised on
// the benchmark thread; lives as long as the program.
struct Setup {
    testsupport::TemporaryRegistry registry{"com-benchmark"};
    void* module = nullptr;
    GetClassObjectFn getClassObject = nullptr;

    Setup()
    {
        if (CoInitialize(nullptr) != S_OK)
            fail("CoInitialize failed");
        module = dlopen(TEST_SERVER_PATH, RTLD_NOW | RTLD_LOCAL);
        if (!module)
            fail(dlerror());
        auto registerServer = reinterpret_cast<RegisterFn>(dlsym(module, "DllRegisterServer"));
        getClassObject = reinterpret_cast<GetClassObjectFn>(dlsym(module, "DllGetClassObject"));
        if (!registerServer || !getClassObject || FAILED(registerServer()))
            fail("the test server cannot be registered");
    }
};

Setup& setup()
{
    static Setup& instance = *new Setup;
    return instance;
}

ITestWidget* newWidget()
{
    ITestWidget* widget = nullptr;
    if (FAILED(CoCreateInstance(CLSID_TestWidget, nullptr, CLSCTX_INPROC_SERVER, IID_ITestWidget,
                                reinterpret_cast<void**>(&widget))))
        fail("CoCreateInstance failed");
    return widget;
}

// ---- creation -------------------------------------------------------------------

void BM_CoCreateInstance(benchmark::State& state)
{
    setup();
    for (auto _ : state) {
        ITestWidget* widget = nullptr;
        CoCreateInstance(CLSID_TestWidget, nullptr, CLSCTX_INPROC_SERVER, IID_ITestWidget,
                         reinterpret_cast<void**>(&widget));
        benchmark::DoNotOptimize(widget);
        widget->Release();
    }
}
BENCHMARK(BM_CoCreateInstance);

void BM_BareFactoryCreate(benchmark::State& state)
{
    const GetClassObjectFn getClassObject = setup().getClassObject;
    for (auto _ : state) {
        IClassFactory* factory = nullptr;
        getClassObject(CLSID_TestWidget, IID_IClassFactory, reinterpret_cast<void**>(&factory));
        ITestWidget* widget = nullptr;
        factory->CreateInstance(nullptr, IID_ITestWidget, reinterpret_cast<void**>(&widget));
        factory->Release();
        benchmark::DoNotOptimize(widget);
        widget->Release();
    }
}
BENCHMARK(BM_BareFactoryCreate);

// ---- dispatch -------------------------------------------------------------------

// Scale(double, SHORT, double* out): numbers as the part writer's calls pass them.
void BM_InvokeScale(benchmark::State& state)
{
    setup();
    ITestWidget* widget = newWidget();
    double scaled = 0;
    VARIANT args[3]; // reversed: out, factor, value
    args[0].vt = VT_BYREF | VT_R8;
    args[0].pdblVal = &scaled;
    args[1].vt = VT_I2;
    args[1].iVal = 3;
    args[2].vt = VT_R8;
    args[2].dblVal = 1.5;
    DISPPARAMS params{args, nullptr, 3, 0};
    for (auto _ : state) {
        widget->Invoke(2, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
        benchmark::DoNotOptimize(scaled);
    }
    widget->Release();
}
BENCHMARK(BM_InvokeScale);

void BM_DirectScale(benchmark::State& state)
{
    setup();
    ITestWidget* widget = newWidget();
    double scaled = 0;
    for (auto _ : state) {
        widget->Scale(1.5, 3, &scaled);
        benchmark::DoNotOptimize(scaled);
    }
    widget->Release();
}
BENCHMARK(BM_DirectScale);

// Join(BSTR, BSTR) with a BSTR retval: texts as the part writer's calls pass them.
void BM_InvokeJoin(benchmark::State& state)
{
    setup();
    ITestWidget* widget = newWidget();
    VARIANT args[2]; // reversed: right, left
    args[0].vt = VT_BSTR;
    args[0].bstrVal = bstrFromNarrow("W12X26");
    args[1].vt = VT_BSTR;
    args[1].bstrVal = bstrFromNarrow("Job 4711 ");
    DISPPARAMS params{args, nullptr, 2, 0};
    for (auto _ : state) {
        VARIANT result;
        VariantInit(&result);
        widget->Invoke(3, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
        benchmark::DoNotOptimize(result.bstrVal);
        VariantClear(&result);
    }
    VariantClear(&args[0]);
    VariantClear(&args[1]);
    widget->Release();
}
BENCHMARK(BM_InvokeJoin);

void BM_DirectJoin(benchmark::State& state)
{
    setup();
    ITestWidget* widget = newWidget();
    BSTR left = bstrFromNarrow("Job 4711 ");
    BSTR right = bstrFromNarrow("W12X26");
    for (auto _ : state) {
        BSTR joined = nullptr;
        widget->Join(left, right, &joined);
        benchmark::DoNotOptimize(joined);
        SysFreeString(joined);
    }
    SysFreeString(left);
    SysFreeString(right);
    widget->Release();
}
BENCHMARK(BM_DirectJoin);

// After the usual output: each road's CPU time per call against its
// anchor's (with repetitions, the medians).
void printRatios(const testsupport::AnchoredReporter& reporter)
{
    const std::pair<const char*, const char*> pairs[] = {
        {"BM_CoCreateInstance", "BM_BareFactoryCreate"},
        {"BM_InvokeScale", "BM_DirectScale"},
        {"BM_InvokeJoin", "BM_DirectJoin"},
    };
    for (const auto& [road, anchor] : pairs) {
        const double roadNs = reporter.median(road).value_or(0) * 1e9;
        const double anchorNs = reporter.median(anchor).value_or(0) * 1e9;
        if (roadNs <= 0 || anchorNs <= 0)
            continue;
        std::printf("%-20s %9.1f ns  anchor %-20s %9.1f ns  ratio %.2f\n", road, roadNs, anchor,
                    anchorNs, roadNs / anchorNs);
    }
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    testsupport::AnchoredReporter reporter(testsupport::AnchoredReporter::Clock::Cpu,
                                           benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printRatios(reporter);
    std::fflush(stdout);
    benchmark::Shutdown();
    return 0;
}
