// The user's hands for the test of the installed programs: a Qt generic
// plugin that the installed wizard loads when QT_QPA_GENERIC_PLUGINS names
// it. It picks "DSTV For Tolvin Ver : 1.0", names the log file, selects the
// example files, converts them, opens the help from the sheet and from a
// page, and closes the wizard. It links nothing of its own: the window
// framework it drives is the one the installed program has loaded.
//
// Environment: WIZARD_DRIVER_FILES (the files, one per line),
// WIZARD_DRIVER_LOG (the conversion log), WIZARD_DRIVER_REPORT (written at
// the end, one line each: "converted" when the conversion ended, "help:
// sheet" or "help: program" for a help window that opened, "fault: " and
// what went wrong), WIZARD_DRIVER_FORBIDDEN (a folder no
// loaded file may lie in: the build).
#include "wizard/Resource.h"

#include "ui/CommCtrl.h"
#include "ui/TestHooks.h"
#include "ui/WinUser.h"

#include <QApplication>
#include <QGenericPlugin>
#include <QWidget>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            result.push_back(line);
    return result;
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

// The page shown, when it holds the control ID (pages share ids).
HWND pageWith(HWND sheet, int id)
{
    for (HWND page = GetWindow(sheet, GW_CHILD); page; page = GetWindow(page, GW_HWNDNEXT))
        if (IsWindowVisible(page) && GetDlgItem(page, id))
            return page;
    return nullptr;
}

int helpWindowsClosed()
{
    int closed = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->windowTitle() == "Quillfen Help") {
            delete widget;
            ++closed;
        }
    return closed;
}

class Driver {
public:
    void drive(HWND sheet);
    std::vector<std::string> report;

private:
    bool chooseFormat(HWND sheet, const std::string& name);
    bool convert(HWND sheet);
    void openHelp(HWND window, const char* entry);
    void checkLoadedFiles();
};

bool Driver::chooseFormat(HWND sheet, const std::string& name)
{
    const HWND combo = GetDlgItem(pageWith(sheet, IDC_FORMAT), IDC_FORMAT);
    const LRESULT count = SendMessage(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[256] = "";
        SendMessage(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        if (text == name) {
            SendMessage(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
            return true;
        }
    }
    report.push_back("fault: the converter \"" + name + "\" is not listed");
    return false;
}

// Converts the selected files; false when the conversion does not end.
bool Driver::convert(HWND sheet)
{
    const HWND page = pageWith(sheet, IDC_CONVERT);
    press(page, IDC_CONVERT);
    // Back is enabled again when the conversion has ended.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (!IsWindowEnabled(GetDlgItem(sheet, ID_WIZBACK))) {
        if (std::chrono::steady_clock::now() > deadline) {
            report.push_back("fault: the conversion did not end");
            return false;
        }
        MSG msg;
        if (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
    }
    settle();
    return true;
}

// The help command (F1) sent to WINDOW: the sheet answers it with its help
// path, a page hands it to the program's.
void Driver::openHelp(HWND window, const char* entry)
{
    SendMessage(window, WM_COMMAND, ID_HELP, 0);
    settle();
    if (helpWindowsClosed() == 1)
        report.push_back(std::string("help: ") + entry);
}

// Every file mapped into the process, the program and the libraries and
// modules it loaded, lies outside the forbidden folder.
void Driver::checkLoadedFiles()
{
    const std::string forbidden = environment("WIZARD_DRIVER_FORBIDDEN");
    if (forbidden.empty())
        return;
    std::set<std::string> loaded;
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);)
        if (const std::size_t path = line.find('/'); path != std::string::npos)
            loaded.insert(line.substr(path));
    for (const std::string& file : loaded)
        if (file.compare(0, forbidden.size(), forbidden) == 0 &&
            (file.size() == forbidden.size() || file[forbidden.size()] == '/'))
            report.push_back("fault: loaded from the build: " + file);
}

void Driver::drive(HWND sheet)
{
    settle();
    if (chooseFormat(sheet, "DSTV For Tolvin Ver : 1.0")) {
        press(sheet, ID_WIZNEXT);
        press(sheet, ID_WIZNEXT);
        SetDlgItemText(pageWith(sheet, IDC_LOG_FILE), IDC_LOG_FILE,
                       environment("WIZARD_DRIVER_LOG").c_str());
        press(sheet, ID_WIZNEXT);
        press(pageWith(sheet, IDC_SELECT_FILES), IDC_SELECT_FILES);
        press(sheet, ID_WIZNEXT);
        if (convert(sheet)) {
            report.push_back("converted");
            openHelp(sheet, "sheet");
            openHelp(pageWith(sheet, IDC_CONVERT), "program");
        }
    }
    checkLoadedFiles();
    std::ofstream out(environment("WIZARD_DRIVER_REPORT"));
    for (const std::string& line : report)
        out << line << "\n";
    press(sheet, IDCANCEL);
}

Driver& driver()
{
    static Driver instance;
    return instance;
}

} // namespace

class WizardDriverPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "WizardDriver.json")

public:
    // Qt keeps the object answered and deletes it with the application.
    QObject* create(const QString&, const QString&) override
    {
        ui::setDialogAnswerer(
            [](const ui::DialogRequest& request) -> std::optional<ui::DialogAnswer> {
                if (request.kind == ui::DialogRequest::Kind::OpenFile)
                    return ui::DialogAnswer{IDOK, lines(environment("WIZARD_DRIVER_FILES"))};
                driver().report.push_back("fault: unexpected question: " + request.text);
                return ui::DialogAnswer{
                    request.kind == ui::DialogRequest::Kind::MessageBox ? IDNO : IDCANCEL, {}};
            });
        // The sheet is the first modal dialog; it lives as long as the
        // program, as the framework's GUI state does.
        static bool driven = false;
        static ui::ModalDialogDriver* modal = new ui::ModalDialogDriver([](HWND dialog) {
            if (!driven) {
                driven = true;
                driver().drive(dialog);
            }
        });
        (void)modal;
        return new QObject;
    }
};

#include "WizardDriver.moc"
