// The conversion run on page 5 with the test converters: list entries
// marked complete or failed, the log byte for byte, what the parts and
// mults receive, pause and cancel, and a second Convert during a run.
#include "WizardFixture.h"

#include "com/CodePage.h"
#include "com/Guid.h"

#include <chrono>
#include <thread>

namespace {

struct RunChoices {
    CLSID converter = CLSID_FakePartConverter;
    const char* job = nullptr;   // null: from the CAD file
    const char* group = nullptr; // null: from the CAD file
    std::string log;             // empty: no log
    bool metric = false;
    std::vector<std::string> files;
};

void setCheck(HWND page, int id, bool on)
{
    if (checked(page, id) != on)
        press(page, id);
}

void setSource(HWND page, int fromFile, int specify, int edit, const char* text)
{
    if (!text) {
        press(page, fromFile);
        return;
    }
    press(page, specify);
    SetDlgItemText(page, edit, text);
    settle();
}

} // namespace

class ConversionRunTest : public WizardTest {
protected:
    void SetUp() override
    {
        WizardTest::SetUp();
        installConverter(CLSID_FakePartConverter);
        installConverter(CLSID_FakeMultConverter);
    }

    // From page 1 to page 5 with the run's choices.
    void goToConvertPage(HWND h, CCadConversionPropSheet& sheet, const RunChoices& run)
    {
        sheet.m_formatPage.SetSelectedCLSIDString(guidToString(run.converter));
        setCheck(sheet.m_formatPage.m_hWnd, IDC_METRIC, run.metric);
        press(h, ID_WIZNEXT);
        const HWND page2 = sheet.m_jobGroupPage.m_hWnd;
        setSource(page2, IDC_JOB_FROM_FILE, IDC_JOB_SPECIFY, IDC_JOB, run.job);
        setSource(page2, IDC_GROUP_FROM_FILE, IDC_GROUP_SPECIFY, IDC_GROUP, run.group);
        press(h, ID_WIZNEXT);
        const HWND page3 = sheet.m_logFilePage.m_hWnd;
        setCheck(page3, IDC_USE_LOG_FILE, !run.log.empty());
        if (!run.log.empty()) {
            SetDlgItemText(page3, IDC_LOG_FILE, run.log.c_str());
            settle();
        }
        press(h, ID_WIZNEXT);
        answer({IDOK, run.files});
        press(sheet.m_filesPage.m_hWnd, IDC_SELECT_FILES);
        press(h, ID_WIZNEXT);
        ASSERT_EQ(sheet.GetActivePage(), &sheet.m_convertPage);
    }

    void convertAndWait(CCadConversionPropSheet& sheet)
    {
        press(sheet.m_convertPage.m_hWnd, IDC_CONVERT);
        pumpUntil([&] { return !sheet.m_convertPage.IsConverting(); });
    }

    HWND fileList(CCadConversionPropSheet& sheet)
    {
        return GetDlgItem(sheet.m_convertPage.m_hWnd, IDC_CONVERT_FILES);
    }
};

TEST_F(ConversionRunTest, ThreeFilesWithTheSecondFailingInSetFile)
{
    const std::string first = writeFile("first.txt", "part J1 G1 M1\npart J1 G1 M2\n");
    const std::string missing = (m_dir / "missing.txt").string();
    const std::string third = writeFile("third.txt", "part J3 G3 M3\n");
    const std::string log = writeFile("convert.log", "earlier run\r\n");
    CCadConversionPropSheet sheet("Cad Conversion");
    runSheet(sheet, [&](HWND h) {
        goToConvertPage(
            h, sheet, {CLSID_FakePartConverter, nullptr, "GT", log, true, {first, missing, third}});
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(sheet.m_convertPage.m_hWnd, IDC_CONVERT)));
        EXPECT_FALSE(buttonEnabled(h, ID_WIZNEXT));
        EXPECT_TRUE(buttonEnabled(h, ID_WIZBACK));
        press(sheet.m_convertPage.m_hWnd, IDC_CONVERT);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(sheet.m_convertPage.m_hWnd, IDC_CONVERT)));
        pumpUntil([&] { return !sheet.m_convertPage.IsConverting(); });
        EXPECT_EQ(listEntries(fileList(sheet)),
                  (std::vector<std::string>{first + "     Complete", missing + "     Error",
                                            third + "     Complete"}));
        EXPECT_EQ(itemText(sheet.m_convertPage.m_hWnd, IDC_CURRENT_JOB), "J3");
        EXPECT_EQ(itemText(sheet.m_convertPage.m_hWnd, IDC_CURRENT_GROUP), "GT");
        EXPECT_EQ(itemText(sheet.m_convertPage.m_hWnd, IDC_CURRENT_MARK), "M3");
        EXPECT_TRUE(buttonEnabled(h, ID_WIZBACK)) << "Back returns when the run has ended";
        press(h, IDCANCEL);
    });
    EXPECT_EQ(withoutTimes(readFile(log)), "earlier run\r\n"
                                           "CAD Conversion Begin <time>\r\n"
                                           "Converting File " +
                                               first +
                                               "\r\n"
                                               "Converted J1  GT  M1\r\n"
                                               "Converted J1  GT  M2\r\n"
                                               "File Completed\r\n"
                                               "File open Failure " +
                                               missing +
                                               "\r\n\tConversion On File Aborted\r\n\r\n"
                                               "Converting File " +
                                               third +
                                               "\r\n"
                                               "Converted J3  GT  M3\r\n"
                                               "File Completed\r\n"
                                               "CAD Conversion Completed\r\n");
    EXPECT_EQ(recorded(), "put Group GT\nsave part J1 GT M1 metric 2\n"
                          "put Group GT\nsave part J1 GT M2 metric 2\n"
                          "put Group GT\nsave part J3 GT M3 metric 2\n");
    // Convert saved the run's settings.
    EXPECT_EQ(profileString("Conversion", "CLSID"), guidToString(CLSID_FakePartConverter));
    EXPECT_EQ(profileString("JobIDGroup", "Group"), "GT");
    EXPECT_EQ(profileInt("JobIDGroup", "UseGroup"), 0);
    EXPECT_EQ(profileString("LogFile", "File"), log);
}

TEST_F(ConversionRunTest, FailuresWithoutALogAreShownAndTheRunGoesOn)
{
    const std::string reads = writeFile(
        "reads.txt", "part J1 G1 M1\nreadfail Code Block BA was not found.\npart J1 G1 M9\n");
    const std::string saves = writeFile("saves.txt", "savefail M2 Undefined shape W99X1\n");
    const std::string empty = writeFile("empty.txt", "");
    CCadConversionPropSheet sheet("Cad Conversion");
    runSheet(sheet, [&](HWND h) {
        goToConvertPage(h, sheet,
                        {CLSID_FakePartConverter, "JT", nullptr, "", false, {reads, saves, empty}});
        answer({IDOK, {}});
        answer({IDOK, {}});
        convertAndWait(sheet);
        EXPECT_EQ(listEntries(fileList(sheet)),
                  (std::vector<std::string>{reads + "     Error", saves + "     Error",
                                            empty + "     Complete"}));
        press(h, IDCANCEL);
    });
    ASSERT_EQ(asked.size(), 3u); // the file dialog, then the two errors
    EXPECT_EQ(asked[1].text, "Code Block BA was not found.");
    EXPECT_EQ(asked[1].type, MB_OK | MB_ICONSTOP | MB_SYSTEMMODAL);
    EXPECT_EQ(asked[2].text, "Undefined shape W99X1");
    // The part before the failing read stays saved; the rest of that file is skipped.
    EXPECT_EQ(recorded(), "put JobId JT\nsave part JT G1 M1 metric 0\nput JobId JT\n");
}

TEST_F(ConversionRunTest, MultsGetTheTypedJobAndGroupAndNoMark)
{
    const std::string bars = writeFile("bars.txt", "mult BAR1\nmult BAR2\n");
    const std::string log = (m_dir / "mult.log").string();
    CCadConversionPropSheet sheet("Cad Conversion");
    runSheet(sheet, [&](HWND h) {
        goToConvertPage(h, sheet, {CLSID_FakeMultConverter, "JM", "GM", log, false, {bars}});
        convertAndWait(sheet);
        press(h, IDCANCEL);
    });
    EXPECT_EQ(withoutTimes(readFile(log)), "CAD Conversion Begin <time>\r\n"
                                           "Converting File " +
                                               bars +
                                               "\r\n"
                                               "Converted JM  GM  \r\n"
                                               "Converted JM  GM  \r\n"
                                               "File Completed\r\n"
                                               "CAD Conversion Completed\r\n");
    EXPECT_EQ(recorded(), "put JobId JM\nput Group GM\nsave mult JM GM BAR1 metric 0\n"
                          "put JobId JM\nput Group GM\nsave mult JM GM BAR2 metric 0\n");
}

// The cancel question pauses the run while it is open: the part being
// saved is finished, and the next one waits for the answer.
TEST_F(ConversionRunTest, CancelAnsweredNoResumesTheRun)
{
    const std::string gate = (m_dir / "gate").string();
    const std::string file = writeFile("gated.txt", "gate " + gate + " M1\npart J G M2\n");
    CCadConversionPropSheet sheet("Cad Conversion");
    runSheet(sheet, [&](HWND h) {
        goToConvertPage(h, sheet, {CLSID_FakePartConverter, "J", "G", "", false, {file}});
        press(sheet.m_convertPage.m_hWnd, IDC_CONVERT);
        pumpUntil([&] { return std::filesystem::exists(gate + ".waiting"); });
        answer({IDNO, {}}, [&](const ui::DialogRequest&) {
            writeFile("gate", "");
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (recorded().find("save part J G M1") == std::string::npos &&
                   std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            EXPECT_EQ(recorded(), "put JobId J\nput Group G\nsave part J G M1 metric 0\n")
                << "the run went on while the question was open";
        });
        press(h, IDCANCEL);
        EXPECT_EQ(asked.back().text, "Are you sure you want to CANCEL the CAD Conversion?");
        EXPECT_EQ(asked.back().type, MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL);
        EXPECT_EQ(listEntries(fileList(sheet)), std::vector<std::string>{file})
            << "no entry changes";
        pumpUntil([&] { return !sheet.m_convertPage.IsConverting(); });
        EXPECT_EQ(listEntries(fileList(sheet)), std::vector<std::string>{file + "     Complete"});
        press(h, IDCANCEL);
    });
    EXPECT_EQ(recorded(), "put JobId J\nput Group G\nsave part J G M1 metric 0\n"
                          "put JobId J\nput Group G\nsave part J G M2 metric 0\n");
}

TEST_F(ConversionRunTest, CancelAnsweredYesDuringASaveKeepsThatPartAndStops)
{
    const std::string gate = (m_dir / "gate").string();
    const std::string file = writeFile("gated.txt", "gate " + gate + " M1\npart J G M2\n");
    const std::string log = (m_dir / "cancel.log").string();
    CCadConversionPropSheet sheet("Cad Conversion");
    runSheet(sheet, [&](HWND h) {
        goToConvertPage(h, sheet, {CLSID_FakePartConverter, "J", "G", log, false, {file}});
        press(sheet.m_convertPage.m_hWnd, IDC_CONVERT);
        pumpUntil([&] { return std::filesystem::exists(gate + ".waiting"); });
        answer({IDYES, {}}, [&](const ui::DialogRequest&) { writeFile("gate", ""); });
        press(h, IDCANCEL); // closes the sheet; the worker stops at its next check
    });
    EXPECT_EQ(withoutTimes(readFile(log)), "CAD Conversion Begin <time>\r\n"
                                           "Converting File " +
                                               file +
                                               "\r\n"
                                               "Converted J  G  M1\r\n"
                                               "CAD Conversion Completed\r\n");
    EXPECT_EQ(recorded(), "put JobId J\nput Group G\nsave part J G M1 metric 0\n");
}

TEST_F(ConversionRunTest, ConvertDuringARunStopsItAndStartsAgainFromTheFirstFile)
{
    const std::string gate = (m_dir / "gate").string();
    const std::string file = writeFile("gated.txt", "gate " + gate + " M1\npart J G M2\n");
    const std::string log = (m_dir / "again.log").string();
    CCadConversionPropSheet sheet("Cad Conversion");
    runSheet(sheet, [&](HWND h) {
        goToConvertPage(h, sheet, {CLSID_FakePartConverter, "J", "G", log, false, {file}});
        press(sheet.m_convertPage.m_hWnd, IDC_CONVERT);
        pumpUntil([&] { return std::filesystem::exists(gate + ".waiting"); });
        writeFile("gate", "");
        sheet.m_convertPage.OnConvert();
        pumpUntil([&] { return !sheet.m_convertPage.IsConverting(); });
        EXPECT_EQ(listEntries(fileList(sheet)), std::vector<std::string>{file + "     Complete"});
        press(h, IDCANCEL);
    });
    EXPECT_EQ(withoutTimes(readFile(log)), "CAD Conversion Begin <time>\r\n"
                                           "Converting File " +
                                               file +
                                               "\r\n"
                                               "Converted J  G  M1\r\n"
                                               "CAD Conversion Completed\r\n"
                                               "CAD Conversion Begin <time>\r\n"
                                               "Converting File " +
                                               file +
                                               "\r\n"
                                               "Converted J  G  M1\r\n"
                                               "Converted J  G  M2\r\n"
                                               "File Completed\r\n"
                                               "CAD Conversion Completed\r\n");
}

TEST_F(ConversionRunTest, ALogThatCannotBeOpenedIsToldOnceAndTheRunGoesOnWithoutIt)
{
    const std::string file = writeFile("one.txt", "part J1 G1 M1\nreadfail broken\n");
    const std::string directory = m_dir.string(); // a directory is no log file
    CCadConversionPropSheet sheet("Cad Conversion");
    runSheet(sheet, [&](HWND h) {
        goToConvertPage(h, sheet,
                        {CLSID_FakePartConverter, nullptr, nullptr, directory, false, {file}});
        answer({IDOK, {}});
        answer({IDOK, {}});
        convertAndWait(sheet);
        EXPECT_EQ(listEntries(fileList(sheet)), std::vector<std::string>{file + "     Error"});
        press(h, IDCANCEL);
    });
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[1].text, "The log file " + directory +
                                 " cannot be opened.\nThe files are converted without a log.");
    EXPECT_EQ(asked[2].text, "broken");
    EXPECT_EQ(recorded(), "save part J1 G1 M1 metric 0\n");
}

TEST_F(ConversionRunTest, AConverterThatCannotBeCreatedEndsTheRunBeforeTheFirstFile)
{
    const std::string file = writeFile("one.txt", "part J1 G1 M1\n");
    const std::string log = (m_dir / "none.log").string();
    CCadConversionPropSheet sheet("Cad Conversion");
    runSheet(sheet, [&](HWND h) {
        goToConvertPage(h, sheet, {CLSID_FakePartConverter, nullptr, nullptr, log, false, {file}});
        sheet.m_convertPage.SetConverter(countedConverterClsid(99)); // never installed
        answer({IDOK, {}});
        press(sheet.m_convertPage.m_hWnd, IDC_CONVERT);
        pumpUntil([&] { return !sheet.m_convertPage.IsConverting(); });
        EXPECT_EQ(listEntries(fileList(sheet)), std::vector<std::string>{file});
        press(h, IDCANCEL);
    });
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1].text.rfind("The CAD conversion component cannot be started.\n", 0), 0u)
        << asked[1].text;
    EXPECT_EQ(withoutTimes(readFile(log)), "CAD Conversion Begin <time>\r\n");
    EXPECT_EQ(recorded(), "");
}

// Convert with no file format chosen on page 1 (a saved converter that is
// no longer installed, say): the user is told so, and nothing starts.
TEST_F(ConversionRunTest, ConvertWithoutAChosenFormatSaysSoAndStartsNothing)
{
    const std::string file = writeFile("one.txt", "part J1 G1 M1\n");
    const std::string log = (m_dir / "none.log").string();
    CCadConversionPropSheet sheet("Cad Conversion");
    runSheet(sheet, [&](HWND h) {
        goToConvertPage(h, sheet, {CLSID_NULL, nullptr, nullptr, log, false, {file}});
        answer({IDOK, {}});
        press(sheet.m_convertPage.m_hWnd, IDC_CONVERT);
        EXPECT_FALSE(sheet.m_convertPage.IsConverting());
        EXPECT_EQ(listEntries(fileList(sheet)), std::vector<std::string>{file});
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(sheet.m_convertPage.m_hWnd, IDC_CONVERT)));
        EXPECT_TRUE(buttonEnabled(h, ID_WIZBACK)) << "the way back to step 1";
        press(h, IDCANCEL);
    });
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1].text, "No file format was chosen.\nGo back to step 1 and choose the format "
                             "of the files to convert under File Format.");
    EXPECT_FALSE(std::filesystem::exists(log));
    EXPECT_EQ(recorded(), "");
}

// Return once a run has ended: only Back is offered, and Return must not
// fall to Cancel, which would end the program.
TEST_F(ConversionRunTest, ReturnAfterARunKeepsTheWizardOpen)
{
    const std::string file = writeFile("one.txt", "part J1 G1 M1\n");
    CCadConversionPropSheet sheet("Cad Conversion");
    runSheet(sheet, [&](HWND h) {
        goToConvertPage(h, sheet, {CLSID_FakePartConverter, "J", "G", "", false, {file}});
        click(sheet.m_convertPage.m_hWnd, IDC_CONVERT);
        pumpUntil([&] { return !sheet.m_convertPage.IsConverting(); });
        pressReturn(h);
        EXPECT_TRUE(IsWindowVisible(h)) << "Return ended the wizard";
        EXPECT_EQ(sheet.GetActivePage(), &sheet.m_convertPage);
        press(h, IDCANCEL);
    });
}

// The worker hands what the page shows to the user-interface thread
// without waiting for it: a run goes on to its last file while that thread
// is busy elsewhere, and once the thread is back the page shows it all.
TEST_F(ConversionRunTest, TheRunDoesNotWaitForTheUserInterfaceThread)
{
    std::vector<std::string> files;
    std::string saves;
    for (int i = 1; i <= 40; ++i) {
        const std::string mark = "M" + std::to_string(i);
        files.push_back(writeFile(mark + ".txt", "part J G " + mark + "\n"));
        saves += "save part J G " + mark + " metric 0\n";
    }
    CCadConversionPropSheet sheet("Cad Conversion");
    runSheet(sheet, [&](HWND h) {
        goToConvertPage(h, sheet, {CLSID_FakePartConverter, nullptr, nullptr, "", false, files});
        press(sheet.m_convertPage.m_hWnd, IDC_CONVERT);
        // This thread handles no message until every part is saved.
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (recorded() != saves && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_EQ(recorded(), saves) << "the run waited for the user-interface thread";
        pumpUntil([&] { return !sheet.m_convertPage.IsConverting(); });
        const std::vector<std::string> entries = listEntries(fileList(sheet));
        ASSERT_EQ(entries.size(), files.size());
        for (std::size_t i = 0; i < files.size(); ++i)
            EXPECT_EQ(entries[i], files[i] + "     Complete");
        EXPECT_EQ(itemText(sheet.m_convertPage.m_hWnd, IDC_CURRENT_MARK), "M40");
        press(h, IDCANCEL);
    });
}
