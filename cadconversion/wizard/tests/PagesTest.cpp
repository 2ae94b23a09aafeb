// The page rules: when Next is offered or refused on pages 2 to 4, and
// page 4's file list (Select Files, Delete and the Delete key).
#include "WizardFixture.h"

namespace {

void type(HWND page, int id, const char* text)
{
    SetDlgItemText(page, id, text);
    settle();
}

} // namespace

TEST_F(WizardTest, NextWaitsForEveryTypedJobGroupAndLogPath)
{
    installConverter(CLSID_FakePartConverter);
    CCadConversionPropSheet sheet("Cad Conversion");
    runSheet(sheet, [&](HWND h) {
        press(h, ID_WIZNEXT);
        const HWND page2 = sheet.m_jobGroupPage.m_hWnd;
        press(page2, IDC_JOB_SPECIFY);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page2, IDC_JOB)));
        type(page2, IDC_JOB, "");
        EXPECT_FALSE(buttonEnabled(h, ID_WIZNEXT)) << "a typed job is missing";
        EXPECT_TRUE(buttonEnabled(h, ID_WIZBACK));
        type(page2, IDC_JOB, "J1");
        EXPECT_TRUE(buttonEnabled(h, ID_WIZNEXT));
        press(page2, IDC_GROUP_SPECIFY);
        type(page2, IDC_GROUP, "");
        EXPECT_FALSE(buttonEnabled(h, ID_WIZNEXT)) << "a typed group is missing";
        press(page2, IDC_GROUP_FROM_FILE);
        EXPECT_TRUE(buttonEnabled(h, ID_WIZNEXT));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page2, IDC_GROUP)));

        press(h, ID_WIZNEXT);
        const HWND page3 = sheet.m_logFilePage.m_hWnd;
        type(page3, IDC_LOG_FILE, "   ");
        EXPECT_FALSE(buttonEnabled(h, ID_WIZNEXT)) << "a path of blanks";
        press(page3, IDC_USE_LOG_FILE);
        EXPECT_TRUE(buttonEnabled(h, ID_WIZNEXT)) << "no log, no path needed";
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page3, IDC_LOG_FILE)));
        press(page3, IDC_USE_LOG_FILE);
        const std::string chosen = writeFile("chosen.LOG", "");
        answer({IDOK, {chosen}});
        press(page3, IDC_BROWSE_LOG_FILE);
        EXPECT_EQ(itemText(page3, IDC_LOG_FILE), chosen);
        EXPECT_TRUE(buttonEnabled(h, ID_WIZNEXT));
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0].defaultExt, "LOG");
        EXPECT_EQ(asked[0].flags & ~OFN_EXPLORER,
                  OFN_CREATEPROMPT | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);

        type(page3, IDC_LOG_FILE, "");
        press(h, ID_WIZNEXT);
        EXPECT_EQ(sheet.GetActiveIndex(), 2) << "an empty path is refused";
        type(page3, IDC_LOG_FILE, "run.log");
        press(h, ID_WIZNEXT);
        EXPECT_EQ(sheet.GetActiveIndex(), 3);
        EXPECT_FALSE(buttonEnabled(h, ID_WIZNEXT)) << "no file chosen yet";
        press(h, IDCANCEL);
    });
}

TEST_F(WizardTest, FileListTakesEveryChoiceAndRemovesTheSelectedEntries)
{
    installConverter(CLSID_FakePartConverter);
    CCadConversionPropSheet sheet("Cad Conversion");
    runSheet(sheet, [&](HWND h) {
        for (int i = 0; i < 3; ++i)
            press(h, ID_WIZNEXT);
        const HWND page4 = sheet.m_filesPage.m_hWnd;
        const HWND list = GetDlgItem(page4, IDC_SELECTED_FILES);
        answer({IDOK, {"/data/a.nc1", "/data/a.nc1.bak", "/data/b.nc1"}});
        press(page4, IDC_SELECT_FILES);
        answer({IDOK, {"/data/a.nc1"}});
        press(page4, IDC_SELECT_FILES);
        EXPECT_EQ(asked[0].flags & ~OFN_EXPLORER,
                  OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY);
        EXPECT_EQ(listEntries(list), (std::vector<std::string>{"/data/a.nc1", "/data/a.nc1.bak",
                                                               "/data/b.nc1", "/data/a.nc1"}));
        EXPECT_TRUE(buttonEnabled(h, ID_WIZNEXT));

        // Two paths that differ only by a suffix: exactly those two go.
        SendMessage(list, LB_SETSEL, TRUE, 0);
        SendMessage(list, LB_SETSEL, TRUE, 1);
        press(page4, IDC_DELETE_FILES);
        EXPECT_EQ(listEntries(list), (std::vector<std::string>{"/data/b.nc1", "/data/a.nc1"}));

        SendMessage(list, LB_SETSEL, TRUE, 1);
        SendMessage(list, WM_KEYDOWN, VK_DELETE, 0);
        EXPECT_EQ(listEntries(list), (std::vector<std::string>{"/data/b.nc1"}));
        press(page4, IDC_DELETE_FILES); // nothing selected: nothing goes
        EXPECT_EQ(listEntries(list).size(), 1u);

        SendMessage(list, LB_SETSEL, TRUE, 0);
        press(page4, IDC_DELETE_FILES);
        EXPECT_FALSE(buttonEnabled(h, ID_WIZNEXT));
        press(h, IDCANCEL);
    });
}

// Coming back to page 1 and choosing another kind of converter: the
// source that converter needs is what page 2 shows.
TEST_F(WizardTest, JobGroupSourcesFollowTheConverterChosenLast)
{
    installConverter(CLSID_FakePartConverter);
    installConverter(CLSID_FakeMultConverter);
    CCadConversionPropSheet sheet("Cad Conversion");
    runSheet(sheet, [&](HWND h) {
        const HWND combo = GetDlgItem(sheet.m_formatPage.m_hWnd, IDC_FORMAT);
        auto choose = [&](const char* name) {
            for (LRESULT i = 0; i < SendMessage(combo, CB_GETCOUNT, 0, 0); ++i) {
                char text[64] = "";
                SendMessage(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                            reinterpret_cast<LPARAM>(text));
                if (std::string(text) == name)
                    SendMessage(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
            }
        };
        choose("Fake Part Converter");
        press(h, ID_WIZNEXT);
        const HWND page2 = sheet.m_jobGroupPage.m_hWnd;
        press(page2, IDC_JOB_SPECIFY);
        press(h, ID_WIZBACK);
        choose("Fake Mult Converter");
        press(h, ID_WIZNEXT);
        EXPECT_TRUE(checked(page2, IDC_JOB_SPECIFY));
        EXPECT_TRUE(checked(page2, IDC_GROUP_SPECIFY));
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(page2, IDC_MULT_NOTE)));
        press(h, ID_WIZBACK);
        choose("Fake Part Converter");
        press(h, ID_WIZNEXT);
        EXPECT_TRUE(checked(page2, IDC_JOB_FROM_FILE));
        EXPECT_TRUE(checked(page2, IDC_GROUP_FROM_FILE));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page2, IDC_JOB_FROM_FILE)));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(page2, IDC_MULT_NOTE)));
        press(h, IDCANCEL);
    });
}

// Return on page 4 with nothing listed: Next is off, and Return must not
// fall to Cancel, which would end the program.
TEST_F(WizardTest, ReturnOnAnEmptyFileListKeepsTheWizardOpen)
{
    installConverter(CLSID_FakePartConverter);
    CCadConversionPropSheet sheet("Cad Conversion");
    runSheet(sheet, [&](HWND h) {
        for (int i = 0; i < 3; ++i)
            click(h, ID_WIZNEXT);
        ASSERT_EQ(sheet.GetActivePage(), &sheet.m_filesPage);
        EXPECT_FALSE(buttonEnabled(h, ID_WIZNEXT));
        pressReturn(h);
        EXPECT_TRUE(IsWindowVisible(h)) << "Return ended the wizard";
        EXPECT_EQ(sheet.GetActivePage(), &sheet.m_filesPage);
        press(h, IDCANCEL);
    });
}

// More files than the name buffer holds (some 700 with names of this
// length): nothing is added, and the user is told to select fewer at once.
TEST_F(WizardTest, ASelectionTooLongForTheBufferIsToldAndAddsNothing)
{
    installConverter(CLSID_FakePartConverter);
    std::vector<std::string> many;
    for (int i = 0; i < 800; ++i)
        many.push_back("/data/exports/job-2024-117/P" + std::to_string(10000 + i) + ".nc1");
    CCadConversionPropSheet sheet("Cad Conversion");
    runSheet(sheet, [&](HWND h) {
        for (int i = 0; i < 3; ++i)
            press(h, ID_WIZNEXT);
        const HWND page4 = sheet.m_filesPage.m_hWnd;
        answer({IDOK, {"/data/exports/job-2024-117/P1.nc1"}});
        press(page4, IDC_SELECT_FILES);
        answer({IDOK, many});
        answer({IDOK, {}});
        press(page4, IDC_SELECT_FILES);
        EXPECT_EQ(listEntries(GetDlgItem(page4, IDC_SELECTED_FILES)),
                  std::vector<std::string>{"/data/exports/job-2024-117/P1.nc1"});
        many.resize(300);
        answer({IDOK, many});
        press(page4, IDC_SELECT_FILES);
        EXPECT_EQ(listEntries(GetDlgItem(page4, IDC_SELECTED_FILES)).size(), 301u);
        press(h, IDCANCEL);
    });
    ASSERT_EQ(asked.size(), 4u);
    EXPECT_EQ(asked[2].kind, ui::DialogRequest::Kind::MessageBox);
    EXPECT_EQ(asked[2].text,
              "Too many files were selected at once, so none were added: together their names "
              "take more than the 7760 characters a selection can hold.\nSelect fewer files at a "
              "time and choose Select Files again for the rest.");
    EXPECT_EQ(asked[2].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
}
