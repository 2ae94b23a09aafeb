// The sheet's settings: the defaults of a first start, loading a saved
// profile into the pages and writing it back when the sheet is cancelled.
#include "WizardFixture.h"

#include "wizard/QuillfenApp.h"

#include "com/Runtime.h"
#include "ui/Window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QTextBrowser>
#include <QWidget>

#include <cstdlib>
#include <cstring>

namespace {

void setHelpPath(const char* path)
{
    CWinApp* app = AfxGetApp();
    std::free(const_cast<char*>(app->m_pszHelpFilePath));
    app->m_pszHelpFilePath = strdup(path);
}

} // namespace

TEST_F(WizardTest, FirstStartShowsTheDefaultsAndCancelWritesThemBack)
{
    installConverter(CLSID_FakePartConverter);
    setHelpPath("/opt/quillfen/bin/quillfen.CHM");
    CCadConversionPropSheet sheet("Cad Conversion");
    runSheet(sheet, [&](HWND h) {
        EXPECT_EQ(
            SendMessage(GetDlgItem(sheet.m_formatPage.m_hWnd, IDC_FORMAT), CB_GETCURSEL, 0, 0), -1);
        EXPECT_FALSE(buttonEnabled(h, ID_WIZBACK));
        EXPECT_TRUE(buttonEnabled(h, ID_WIZNEXT));
        press(h, ID_WIZNEXT);
        const HWND page2 = sheet.m_jobGroupPage.m_hWnd;
        EXPECT_TRUE(checked(page2, IDC_JOB_FROM_FILE));
        EXPECT_TRUE(checked(page2, IDC_GROUP_FROM_FILE));
        EXPECT_EQ(itemText(page2, IDC_JOB), "Undefined");
        EXPECT_EQ(itemText(page2, IDC_GROUP), "Undefined");
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page2, IDC_JOB)));
        press(h, ID_WIZNEXT);
        const HWND page3 = sheet.m_logFilePage.m_hWnd;
        EXPECT_TRUE(checked(page3, IDC_USE_LOG_FILE));
        EXPECT_EQ(itemText(page3, IDC_LOG_FILE), "ConvertLog.Log");
        press(h, IDCANCEL);
    });
    EXPECT_EQ(profileString("Conversion", "CLSID"), "{00000000-0000-0000-0000-000000000000}");
    EXPECT_EQ(profileInt("JobIDGroup", "UseJobId"), 1);
    EXPECT_EQ(profileString("JobIDGroup", "JObId"), "Undefined");
    EXPECT_EQ(profileInt("JobIDGroup", "UseGroup"), 1);
    EXPECT_EQ(profileString("JobIDGroup", "Group"), "Undefined");
    EXPECT_EQ(profileInt("LogFile", "UseLogFile"), 1);
    EXPECT_EQ(profileString("LogFile", "File"), "ConvertLog.Log");
    EXPECT_EQ(profileString("HelpFile", "File"), "/opt/quillfen/bin/quillfen.CHM");
}

TEST_F(WizardTest, SavedSettingsFillThePagesAndTheHelpPathAndAreWrittenBack)
{
    installConverter(CLSID_FakePartConverter);
    installConverter(CLSID_FakeMultConverter);
    setHelpPath("/opt/quillfen/bin/quillfen.CHM");
    setProfileString("Conversion", "CLSID", "{FA4E1000-0000-4000-8000-000000000002}");
    setProfileInt("JobIDGroup", "UseJobId", 0);
    setProfileString("JobIDGroup", "JObId", "J7");
    setProfileInt("JobIDGroup", "UseGroup", 0);
    setProfileString("JobIDGroup", "Group", "G7");
    setProfileInt("LogFile", "UseLogFile", 0);
    setProfileString("LogFile", "File", "/var/log/import.log");
    setProfileString("HelpFile", "File", "/srv/help/Other.chm");
    CCadConversionPropSheet sheet("Cad Conversion");
    runSheet(sheet, [&](HWND h) {
        const HWND combo = GetDlgItem(sheet.m_formatPage.m_hWnd, IDC_FORMAT);
        const auto chosen = SendMessage(combo, CB_GETCURSEL, 0, 0);
        ASSERT_GE(chosen, 0);
        char name[64] = "";
        SendMessage(combo, CB_GETLBTEXT, static_cast<WPARAM>(chosen),
                    reinterpret_cast<LPARAM>(name));
        EXPECT_STREQ(name, "Fake Mult Converter");
        EXPECT_STREQ(AfxGetApp()->m_pszHelpFilePath, "/srv/help/Other.chm");
        press(h, ID_WIZNEXT);
        // A mult converter's files have no job and group: both are typed.
        const HWND page2 = sheet.m_jobGroupPage.m_hWnd;
        EXPECT_TRUE(checked(page2, IDC_JOB_SPECIFY));
        EXPECT_TRUE(checked(page2, IDC_GROUP_SPECIFY));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page2, IDC_JOB_FROM_FILE)));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page2, IDC_GROUP_FROM_FILE)));
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(page2, IDC_MULT_NOTE)));
        EXPECT_EQ(itemText(page2, IDC_JOB), "J7");
        EXPECT_EQ(itemText(page2, IDC_GROUP), "G7");
        press(h, ID_WIZNEXT);
        const HWND page3 = sheet.m_logFilePage.m_hWnd;
        EXPECT_FALSE(checked(page3, IDC_USE_LOG_FILE));
        EXPECT_EQ(itemText(page3, IDC_LOG_FILE), "/var/log/import.log");
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page3, IDC_LOG_FILE)));
        press(h, IDCANCEL);
    });
    EXPECT_EQ(profileString("Conversion", "CLSID"), "{FA4E1000-0000-4000-8000-000000000002}");
    EXPECT_EQ(profileInt("JobIDGroup", "UseJobId"), 0);
    EXPECT_EQ(profileString("JobIDGroup", "JObId"), "J7");
    EXPECT_EQ(profileInt("LogFile", "UseLogFile"), 0);
    EXPECT_EQ(profileString("LogFile", "File"), "/var/log/import.log");
    EXPECT_EQ(profileString("HelpFile", "File"), "/srv/help/Other.chm");
}

TEST_F(WizardTest, HelpThatCannotBeOpenedOffersToBrowseUntilTheUserGivesUp)
{
    installConverter(CLSID_FakePartConverter);
    setHelpPath((m_dir / "missing.chm").c_str());
    CCadConversionPropSheet sheet("Cad Conversion");
    runSheet(sheet, [&](HWND h) {
        const std::string other = writeFile("not-a-help-file.chm", "no help here");
        answer({IDYES, {}});
        answer({IDOK, {other}});
        answer({IDYES, {}});
        answer({IDCANCEL, {}});
        sheet.ShowHelp();
        press(h, IDCANCEL);
    });
    ASSERT_EQ(asked.size(), 4u);
    EXPECT_EQ(asked[0].text, "The Help File count not be found.\nWould you like to browse for it?");
    EXPECT_EQ(asked[1].kind, ui::DialogRequest::Kind::OpenFile);
    EXPECT_EQ(asked[1].defaultExt, ".chm");
    EXPECT_EQ(asked[1].flags & ~OFN_EXPLORER,
              OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST);
    // The cancelled browse leaves no help path; it is written back so.
    EXPECT_EQ(profileString("HelpFile", "File"), "");
}

namespace {

// The test program's folder, with a closing '/'.
std::string programDirectory()
{
    char path[MAX_PATH];
    GetModuleFileName(nullptr, path, sizeof path);
    return std::filesystem::path(path).parent_path().string() + "/";
}

// Closes the help windows that are open; answers how many there were.
int closeHelpWindows()
{
    int closed = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->windowTitle() == "Quillfen Help") {
            delete widget;
            ++closed;
        }
    return closed;
}

} // namespace

TEST_F(WizardTest, BothHelpEntriesOpenTheHelpFileBesideTheProgram)
{
    installConverter(CLSID_FakePartConverter);
    // The sheet's path as the application derives it from the program's
    // name: another case than the file's own.
    setHelpPath((programDirectory() + "quillfen.CHM").c_str());
    CCadConversionPropSheet sheet("Cad Conversion");
    runSheet(sheet, [&](HWND h) {
        sheet.ShowHelp();
        EXPECT_EQ(closeHelpWindows(), 1);
        static_cast<CQuillfenApp*>(AfxGetApp())->ShowHelp();
        EXPECT_EQ(closeHelpWindows(), 1);
        press(h, IDCANCEL);
    });
    EXPECT_TRUE(asked.empty()) << "no question while the file opens";
}

// F1 on the modal wizard: the help window comes in front of it and takes
// the user's keys, and pressing F1 again brings back the same window.
TEST_F(WizardTest, F1ShowsOneHelpWindowInFrontOfTheWizardThatTakesInput)
{
    installConverter(CLSID_FakePartConverter);
    setHelpPath((programDirectory() + "quillfen.CHM").c_str());
    CCadConversionPropSheet sheet("Cad Conversion");
    runSheet(sheet, [&](HWND h) {
        QWidget* wizard = ui::windowWidget(h);
        auto f1 = [&] {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
            QApplication::sendEvent(wizard, &key);
            settle();
        };
        auto helpWindows = [] {
            std::vector<QWidget*> shown;
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (widget->windowTitle() == "Quillfen Help" && widget->isVisible())
                    shown.push_back(widget);
            return shown;
        };
        f1();
        f1();
        const std::vector<QWidget*> help = helpWindows();
        ASSERT_EQ(help.size(), 1u) << "one help window however often F1 is pressed";
        EXPECT_EQ(help[0]->parentWidget(), wizard) << "owned by the wizard, above it";
        EXPECT_EQ(QApplication::activeWindow(), help[0]);
        auto* browser = help[0]->findChild<QTextBrowser*>();
        ASSERT_NE(browser, nullptr);
        QTest::keyClick(help[0]->windowHandle(), Qt::Key_Tab);
        QTest::keyClick(help[0]->windowHandle(), Qt::Key_Return);
        EXPECT_TRUE(browser->toPlainText().contains("The five steps of the wizard"))
            << "a link of the help window responds while the wizard is modal";
        press(h, IDCANCEL);
    });
    EXPECT_TRUE(asked.empty());
    // The help window closed with the wizard (the fixture checks that no
    // window is left).
}

TEST_F(WizardTest, StartUpNamesTheSettingsKeyAndTheHelpPathAndRunsTheSheetOnce)
{
    installConverter(CLSID_FakePartConverter);
    CWinApp& app = *AfxGetApp();
    setHelpPath((programDirectory() + "wizard_tests.HLP").c_str());
    const ui::ModalDialogDriver driver([&](HWND h) {
        settle();
        char title[64] = "";
        GetWindowText(h, title, sizeof title);
        EXPECT_STREQ(title, "Select CAD File Conversion Format - Step 1 of 5");
        EXPECT_EQ(AfxGetMainWnd()->m_hWnd, h);
        press(h, IDCANCEL);
    });
    EXPECT_FALSE(static_cast<CQuillfenApp&>(app).InitInstance());
    OleUninitialize(); // the start-up's own initialisation
    EXPECT_EQ(std::string(app.m_pszHelpFilePath), programDirectory() + "wizard_tests.CHM");
    EXPECT_STREQ(app.m_pszRegistryKey, "Velmora");
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
    EXPECT_EQ(profileString("HelpFile", "File"), programDirectory() + "wizard_tests.CHM");
}

// A damaged profile is said when the sheet opens and again when its
// settings cannot be kept, with the hive's file and line; the file is left
// as it was, and the wizard runs on its defaults.
TEST_F(WizardTest, ADamagedProfileIsSaidWhenReadAndWhenWrittenAndLeftAsItWas)
{
    installConverter(CLSID_FakePartConverter);
    setProfileString("JobIDGroup", "JObId", "J7");
    const std::filesystem::path hive = m_registry.directory() / "HKCU.reg";
    std::string text = readFile(hive.string());
    text.erase(text.rfind("vlmr-registry end\n"));
    testsupport::writeFile(hive, text);

    const std::string damaged = "registry file " + hive.string() + ", line ";
    answer({IDOK, {}}, [&](const ui::DialogRequest& r) {
        EXPECT_EQ(r.text.rfind("The wizard's settings could not be read, so it starts with its "
                               "defaults:\nHKEY_CURRENT_USER\\Software\\",
                               0),
                  0u)
            << r.text;
        EXPECT_NE(r.text.find(damaged), std::string::npos) << r.text;
    });
    answer({IDOK, {}}, [&](const ui::DialogRequest& r) {
        EXPECT_EQ(r.text.rfind("The wizard's settings could not be kept:\n", 0), 0u) << r.text;
        EXPECT_NE(r.text.find(damaged), std::string::npos) << r.text;
    });
    CCadConversionPropSheet sheet("Cad Conversion");
    runSheet(sheet, [&](HWND h) {
        press(h, ID_WIZNEXT);
        EXPECT_EQ(itemText(sheet.m_jobGroupPage.m_hWnd, IDC_JOB), "Undefined");
        press(h, IDCANCEL);
    });
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_EQ(readFile(hive.string()), text);
}
