// The wizard's conversion run against its anchor, the same files through
// the converter loop without a window (the worker's calls, in the same
// order, on one thread): DSTV part files generated from the examples, each
// a new part, imported by the real servers into a temporary database. The
// run's figures are its wall time and its ratio to the anchor's, and for
// the user-interface thread while the run goes on: the longest wait of
// work handed to it (a probe every millisecond) and its longest handling
// of one event, in wall time and in its own processor time.
// Beside it, the cost of marking one entry of a 10,000-entry list (entry 10
// and entry 9,990) against setting the text of an item of a bare Qt list.
//
// Run it from a Release build, on a virtual screen or offscreen (the
// default): bin/wizard_run_benchmark [--files=N] [benchmark flags], or
// xvfb-run -a -s "-screen 0 1024x768x24" env QT_QPA_PLATFORM=xcb
// bin/wizard_run_benchmark.
#include "ServerModules.h"
#include "lunkett/LunkettLib.h"
#include "wizard/CadConversionPropSheet.h"
#include "wizard/ComPointers.h"
#include "wizard/ListBoxExtent.h"
#include "wizard/QuillfenApp.h"
#include "wizard/Resource.h"

#include "halcyra/HalcyraLib.h"
#include "tarsis/SqliteStore.h"
#include "testing/ScopedEnvironment.h"
#include "testing/TemporaryDatabase.h"
#include "testing/TemporaryFolder.h"
#include "testing/TemporaryRegistry.h"

#include "com/Bstr.h"
#include "com/Guid.h"
#include "ui/TestHooks.h"
#include "ui/Window.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>
#include <QThread>
#include <QTimer>

#include <time.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::size_t g_fileCount = 10000;
constexpr int kListEntries = 10000;

// The example part files, each copy with a mark of its own (line 6 of the
// ST block), so that every file is a new part.
std::vector<std::string> generateFiles(const std::filesystem::path& folder, std::size_t count)
{
    std::vector<std::vector<std::string>> templates;
    for (const char* name : {"B101.nc1", "A201.nc1", "C301.nc1"}) {
        std::ifstream in(std::string(EXAMPLES_DIR) + "/" + name);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        if (lines.size() < 10)
            throw std::runtime_error(std::string("example file missing: ") + name);
        templates.push_back(std::move(lines));
    }
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < count; ++i) {
        std::vector<std::string> lines = templates[i % templates.size()];
        lines[5] = "  P" + std::to_string(i + 1);
        const std::filesystem::path path = folder / ("P" + std::to_string(i + 1) + ".nc1");
        std::ofstream out(path, std::ios::binary);
        for (const std::string& line : lines)
            out << line << '\n';
        paths.push_back(path.string());
    }
    return paths;
}

// A temporary registry and database with the servers registered, and the
// files.
class Environment {
public:
    Environment()
    {
        tarsis::openSqliteStore(m_database.path(), tarsis::OpenMode::CreateIfMissing);
        if (const std::string failure = m_servers.registerAll(); !failure.empty())
            throw std::runtime_error("cannot register the servers: " + failure);
        m_files = generateFiles(m_folder.path(), g_fileCount);
    }
    ~Environment() { CoFreeUnusedLibraries(); }

    const std::vector<std::string>& files() const { return m_files; }
    // A job of its own for every run, so that each run stores new parts.
    std::string nextJob(const char* road) { return road + std::to_string(++m_runs); }

private:
    const testsupport::TemporaryRegistry m_registry{"wizard-bench"};
    const testsupport::TemporaryDatabase m_database{"wizard-bench-db"};
    const testsupport::TemporaryFolder m_folder{"wizard-bench-files"};
    ServerModules m_servers;
    std::vector<std::string> m_files;
    int m_runs = 0;
};

Environment* g_environment = nullptr;

// How long the user-interface thread leaves work handed to it waiting: a
// probe thread hands it a stamp every millisecond; the longest wait from
// stamp to handling is the longest time the thread was blocked.
class UiBlockProbe {
public:
    UiBlockProbe()
        : m_thread([this] {
              while (!m_stop.load()) {
                  const auto posted = Clock::now();
                  QMetaObject::invokeMethod(
                      qApp,
                      [this, posted] {
                          const auto waited = Clock::now() - posted;
                          std::lock_guard lock(m_mutex);
                          m_longest = std::max(m_longest, waited);
                      },
                      Qt::QueuedConnection);
                  std::this_thread::sleep_for(std::chrono::milliseconds(1));
              }
          })
    {
    }
    ~UiBlockProbe() { stop(); }

    // Stops probing; the probes still queued are handled first.
    double stopAndTakeLongestMs()
    {
        stop();
        QCoreApplication::processEvents();
        std::lock_guard lock(m_mutex);
        return std::chrono::duration<double, std::milli>(m_longest).count();
    }

private:
    void stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }

    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    Clock::duration m_longest{};
    std::thread m_thread;
};

// The user-interface thread's longest handling of one event while armed
// (outermost events only), in wall time and in the thread's own processor
// time: the wall time also counts the moments other programs had the
// processor.
class WatchedApplication : public QApplication {
public:
    using QApplication::QApplication;

    void arm()
    {
        m_longestWall = 0;
        m_longestCpu = 0;
        m_armed = true;
    }
    void disarm() { m_armed = false; }
    double longestWallMs() const { return m_longestWall; }
    double longestCpuMs() const { return m_longestCpu; }

    bool notify(QObject* receiver, QEvent* event) override
    {
        if (!m_armed || m_depth > 0 || QThread::currentThread() != thread())
            return QApplication::notify(receiver, event);
        ++m_depth;
        const auto wall = Clock::now();
        const double cpu = threadCpuMs();
        bool handled = false;
        try {
            handled = QApplication::notify(receiver, event);
        } catch (...) {
            --m_depth;
            throw;
        }
        --m_depth;
        m_longestWall = std::max(
            m_longestWall, std::chrono::duration<double, std::milli>(Clock::now() - wall).count());
        m_longestCpu = std::max(m_longestCpu, threadCpuMs() - cpu);
        return handled;
    }

private:
    static double threadCpuMs()
    {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
    }

    bool m_armed = false;
    int m_depth = 0;
    double m_longestWall = 0;
    double m_longestCpu = 0;
};

WatchedApplication* watched()
{
    return static_cast<WatchedApplication*>(qApp);
}

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

void press(HWND window, int id)
{
    SendMessage(GetDlgItem(window, id), BM_CLICK, 0, 0);
    settle();
}

struct RunResult {
    double seconds = 0;
    double longestWaitMs = 0;     // of work handed to the user-interface thread
    double longestEventMs = 0;    // wall time
    double longestEventCpuMs = 0; // the thread's processor time
    std::size_t completed = 0;
};

int countCompleted(HWND list)
{
    int completed = 0;
    const int count = static_cast<int>(SendMessage(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[4096] = "";
        SendMessage(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        const std::string entry = text;
        completed +=
            entry.size() > 13 && entry.compare(entry.size() - 13, 13, "     Complete") == 0;
    }
    return completed;
}

// The user's road: the DSTV converter, a typed job, no log, the files
// chosen on page 4 in selections that fit its buffer, then Convert. The
// run's time is from the press of Convert to the worker's end, while the
// user-interface thread runs the sheet's own modal loop.
RunResult runWizard(const std::vector<std::string>& files, const std::string& job)
{
    RunResult result;
    CCadConversionPropSheet sheet("Cad Conversion");
    std::vector<std::string> batch;
    ui::setDialogAnswerer([&](const ui::DialogRequest& request) -> std::optional<ui::DialogAnswer> {
        if (request.kind == ui::DialogRequest::Kind::OpenFile)
            return ui::DialogAnswer{IDOK, batch};
        std::fprintf(stderr, "unexpected message: %s\n", request.text.c_str());
        return ui::DialogAnswer{IDOK, {}};
    });
    std::optional<UiBlockProbe> probe;
    Clock::time_point started;
    QTimer ended;
    ended.setInterval(1);
    QObject::connect(&ended, &QTimer::timeout, [&] {
        if (sheet.m_convertPage.IsConverting())
            return;
        result.seconds = std::chrono::duration<double>(Clock::now() - started).count();
        ended.stop();
        watched()->disarm();
        result.longestEventMs = watched()->longestWallMs();
        result.longestEventCpuMs = watched()->longestCpuMs();
        result.longestWaitMs = probe->stopAndTakeLongestMs();
        result.completed = static_cast<std::size_t>(
            countCompleted(GetDlgItem(sheet.m_convertPage.m_hWnd, IDC_CONVERT_FILES)));
        press(sheet.m_hWnd, IDCANCEL);
    });
    bool driven = false;
    const ui::ModalDialogDriver driver([&](HWND h) {
        if (driven)
            return;
        driven = true;
        settle();
        sheet.m_formatPage.SetSelectedCLSIDString(guidToString(CLSID_DSTVConvert1));
        press(h, ID_WIZNEXT);
        const HWND page2 = sheet.m_jobGroupPage.m_hWnd;
        press(page2, IDC_JOB_SPECIFY);
        SetDlgItemText(page2, IDC_JOB, job.c_str());
        press(page2, IDC_GROUP_FROM_FILE);
        press(h, ID_WIZNEXT);
        const HWND page3 = sheet.m_logFilePage.m_hWnd;
        if (SendMessage(GetDlgItem(page3, IDC_USE_LOG_FILE), BM_GETCHECK, 0, 0) == BST_CHECKED)
            press(page3, IDC_USE_LOG_FILE);
        press(h, ID_WIZNEXT);
        for (std::size_t at = 0; at < files.size();) {
            const std::size_t end = std::min(files.size(), at + 100);
            batch.assign(files.begin() + static_cast<std::ptrdiff_t>(at),
                         files.begin() + static_cast<std::ptrdiff_t>(end));
            press(sheet.m_filesPage.m_hWnd, IDC_SELECT_FILES);
            at = end;
        }
        press(h, ID_WIZNEXT);
        probe.emplace();
        watched()->arm();
        started = Clock::now();
        SendMessage(GetDlgItem(sheet.m_convertPage.m_hWnd, IDC_CONVERT), BM_CLICK, 0, 0);
        ended.start();
    });
    sheet.DoModal();
    ui::setDialogAnswerer({});
    return result;
}

void check(HRESULT hr, const char* what)
{
    if (FAILED(hr))
        throw std::runtime_error(std::string(what) + " failed: " + hresultMessage(hr));
}

// The anchor: what the worker asks of the converter and the parts for each
// file, in the same order, without a window.
RunResult runConverterLoop(const std::vector<std::string>& files, const std::string& job)
{
    RunResult result;
    const auto started = Clock::now();
    IVLMRConvertPtr converter;
    check(converter.CreateInstance(CLSID_DSTVConvert1), "creating the converter");
    IVLMRMultConvertPtr mult = converter.GetInterfacePtr();
    const _bstr_t typedJob(job.c_str());
    for (const std::string& file : files) {
        const _bstr_t path(file.c_str());
        check(converter->SetFile(path.copy(false)), "SetFile");
        for (;;) {
            IUnknownPtr object;
            const HRESULT hr = converter->ReadPart(&object, FALSE, FALSE);
            check(hr, "ReadPart");
            if (hr != S_OK)
                break;
            ICADPartPtr part(object.GetInterfacePtr());
            ICADPart2Ptr part2(object.GetInterfacePtr());
            ICADMultPtr multPart(object.GetInterfacePtr());
            if (!part2)
                throw std::runtime_error("the converter gave no ICADPart2");
            part2->put_JobId(typedJob.copy(false));
            BSTR value = nullptr;
            check(part2->get_Group(&value), "get_Group");
            SysFreeString(value);
            value = nullptr;
            check(part2->get_Mark(&value), "get_Mark");
            SysFreeString(value);
            check(part2->SetMetric(FALSE), "SetMetric");
            check(part2->SaveToTarsis(), "SaveToTarsis");
        }
        ++result.completed;
    }
    result.seconds = std::chrono::duration<double>(Clock::now() - started).count();
    return result;
}

// Each iteration imports the files twice, through the wizard and through
// the anchor, into the same growing database, the order changing from one
// iteration to the next so that neither gains from the other's moment.
// The iteration's time is the wizard's.
void BM_WizardRunAgainstLoop(benchmark::State& state)
{
    const std::vector<std::string>& files = g_environment->files();
    bool wizardFirst = false;
    for (auto _ : state) {
        wizardFirst = !wizardFirst;
        RunResult wizard;
        RunResult loop;
        if (wizardFirst)
            wizard = runWizard(files, g_environment->nextJob("WIZARD"));
        loop = runConverterLoop(files, g_environment->nextJob("ANCHOR"));
        if (!wizardFirst)
            wizard = runWizard(files, g_environment->nextJob("WIZARD"));
        if (wizard.completed != files.size() || loop.completed != files.size()) {
            state.SkipWithError("not every file was converted");
            break;
        }
        state.SetIterationTime(wizard.seconds);
        state.counters["loop s"] = loop.seconds;
        state.counters["ratio"] = wizard.seconds / loop.seconds;
        state.counters["UI wait ms"] = wizard.longestWaitMs;
        state.counters["UI event ms"] = wizard.longestEventMs;
        state.counters["UI event cpu ms"] = wizard.longestEventCpuMs;
    }
}

// One entry of a long list marked as the worker marks it, on the
// user-interface thread: the text with its suffix inserted through the
// widening list, the old entry deleted, and the events (layout, painting)
// handled. Argument: the entry's index.
const ui::DialogTemplate kListDialog = [] {
    ui::DialogTemplate t;
    t.id = 9100;
    t.caption = "List";
    t.style = WS_POPUP | WS_CAPTION | DS_SETFONT;
    t.cx = 290;
    t.cy = 170;
    t.controls = {
        ui::LISTBOX(1023, 7, 7, 276, 156,
                    LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP)};
    return t;
}();

std::string entryText(int i)
{
    return "/home/user/exports/job-2024-117/phase-3/P" + std::to_string(i) + ".nc1";
}

void BM_MarkListEntry(benchmark::State& state)
{
    const int index = static_cast<int>(state.range(0));
    const HWND dialog = ui::createDialog(kListDialog, nullptr, nullptr);
    ShowWindow(dialog, SW_SHOW);
    CListBoxExtent list;
    list.Attach(GetDlgItem(dialog, 1023));
    for (int i = 0; i < kListEntries; ++i)
        list.AddString(entryText(i).c_str());
    settle();
    bool marked = false;
    for (auto _ : state) {
        const std::string text = entryText(index) + (marked ? "" : "     Complete");
        marked = !marked;
        list.InsertString(index, text.c_str());
        list.DeleteString(static_cast<UINT>(index + 1));
        QCoreApplication::processEvents();
    }
    list.Detach();
    DestroyWindow(dialog);
}

// The anchor: the text of an item set in a bare Qt list of as many
// entries, all of one height (Qt then measures no entry to lay the list
// out), and the events handled.
void BM_BareQtListItem(benchmark::State& state)
{
    const int index = static_cast<int>(state.range(0));
    QListWidget list;
    list.setUniformItemSizes(true);
    list.resize(560, 300);
    for (int i = 0; i < kListEntries; ++i)
        list.addItem(QString::fromStdString(entryText(i)));
    list.show();
    settle();
    bool marked = false;
    for (auto _ : state) {
        const std::string text = entryText(index) + (marked ? "" : "     Complete");
        marked = !marked;
        list.item(index)->setText(QString::fromStdString(text));
        QCoreApplication::processEvents();
    }
}

// Prints as usual, then each figure beside its anchor with the ratio
// (medians over the repetitions).
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty())
                name += "/" + run.run_name.args;
            Figures& f = m_figures[name];
            f.seconds.push_back(run.GetAdjustedRealTime() /
                                benchmark::GetTimeUnitMultiplier(run.time_unit));
            for (auto& [counter, values] :
                 {std::pair{"loop s", &f.anchors}, std::pair{"ratio", &f.ratios},
                  std::pair{"UI wait ms", &f.waits}, std::pair{"UI event ms", &f.events},
                  std::pair{"UI event cpu ms", &f.eventCpus}})
                if (auto found = run.counters.find(counter); found != run.counters.end())
                    values->push_back(found->second);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void printRatios() const
    {
        const char* run = "BM_WizardRunAgainstLoop";
        if (median(run) > 0) {
            std::printf("%zu files: wizard run %.2f s, converter loop without a window %.2f s "
                        "(anchor), ratio %.3f (medians)\n",
                        g_fileCount, median(run), median(run, &Figures::anchors),
                        median(run, &Figures::ratios));
            std::printf("user-interface thread during the run: longest wait of work handed to it "
                        "%.1f ms, longest event %.1f ms (%.1f ms of its own processor time); "
                        "frame 16 ms\n",
                        median(run, &Figures::waits), median(run, &Figures::events),
                        median(run, &Figures::eventCpus));
        }
        for (const char* index : {"/10", "/9990"}) {
            const double ours = median(std::string("BM_MarkListEntry") + index);
            const double bare = median(std::string("BM_BareQtListItem") + index);
            if (ours > 0 && bare > 0)
                std::printf("marking entry %s of %d: %.1f us, bare Qt item text %.1f us (anchor), "
                            "ratio %.2f\n",
                            index + 1, kListEntries, ours * 1e6, bare * 1e6, ours / bare);
        }
        const double first = median("BM_MarkListEntry/10");
        const double last = median("BM_MarkListEntry/9990");
        if (first > 0 && last > 0)
            std::printf("entry 9990 costs %.2f x entry 10\n", last / first);
    }

private:
    struct Figures {
        std::vector<double> seconds; // per iteration
        std::vector<double> anchors;
        std::vector<double> ratios;
        std::vector<double> waits;
        std::vector<double> events;
        std::vector<double> eventCpus;
    };
    double median(const std::string& name,
                  std::vector<double> Figures::*figure = &Figures::seconds) const
    {
        auto found = m_figures.find(name);
        if (found == m_figures.end())
            return 0;
        std::vector<double> values = found->second.*figure;
        if (values.empty())
            return 0;
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    }

    std::map<std::string, Figures> m_figures;
};

} // namespace

int main(int argc, char** argv)
{
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--files=", 8) == 0)
            g_fileCount = static_cast<std::size_t>(std::strtoul(argv[i] + 8, nullptr, 10));
        else
            args.push_back(argv[i]);
    }
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    std::optional<testsupport::ScopedEnvironment> platform;
    if (!std::getenv("QT_QPA_PLATFORM"))
        platform.emplace("QT_QPA_PLATFORM", "offscreen");
    const testsupport::TemporaryFolder runtime("wizard-bench-runtime");
    std::optional<testsupport::ScopedEnvironment> runtimeVariable;
    if (!std::getenv("XDG_RUNTIME_DIR"))
        runtimeVariable.emplace("XDG_RUNTIME_DIR", runtime.path().string());
    int qtArgc = 1;
    WatchedApplication application(qtArgc, argv);
    CQuillfenApp app;
    AfxWinInit();
    AfxOleInit();
    app.SetRegistryKey("Velmora");
    int result = 0;
    try {
        Environment environment;
        g_environment = &environment;
        benchmark::RegisterBenchmark("BM_WizardRunAgainstLoop", BM_WizardRunAgainstLoop)
            ->Iterations(1)
            ->UseManualTime()
            ->Unit(benchmark::kSecond);
        benchmark::RegisterBenchmark("BM_MarkListEntry", BM_MarkListEntry)
            ->Arg(10)
            ->Arg(kListEntries - 10)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark("BM_BareQtListItem", BM_BareQtListItem)
            ->Arg(10)
            ->Arg(kListEntries - 10)
            ->Unit(benchmark::kMicrosecond);
        RatioReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        reporter.printRatios();
        std::fflush(stdout);
        g_environment = nullptr;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        result = 1;
    }
    OleUninitialize();
    benchmark::Shutdown();
    return result;
}
