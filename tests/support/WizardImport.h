// The wizard driven as a user imports files with one converter, for the
// end-to-end tests (inside a WizardTest, with the servers registered):
// the converter chosen by its conversion name on the first page, job and
// group from the files or typed on the second, a log file on the third,
// the files chosen on the fourth and converted on the fifth. Header-only;
// the test links wizard_test_support.
//
//   WizardImport run{"Ferrick", files, logPath};
//   EXPECT_EQ(importThroughWizard(*this, run), (std::vector<std::string>{file + "     Complete"}));
#pragma once

#include "WizardFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

// Selects the converter listed as conversionName on the first page; false
// when it is not listed.
inline bool chooseConverter(CCadConversionPropSheet& sheet, const std::string& conversionName)
{
    const HWND combo = GetDlgItem(sheet.m_formatPage.m_hWnd, IDC_FORMAT);
    const std::vector<std::string> names = comboEntries(combo);
    const auto found = std::find(names.begin(), names.end(), conversionName);
    if (found == names.end())
        return false;
    SendMessage(combo, CB_SETCURSEL, static_cast<WPARAM>(found - names.begin()), 0);
    return true;
}

struct WizardImport {
    std::string conversionName;
    std::vector<std::string> files;
    std::string logPath;
    // Typed on the second page; null: from the files.
    const char* job = nullptr;
    const char* group = nullptr;
};

// Runs the import; answers the file list's entries after the run.
// offered, when given, gets the converters the first page listed.
inline std::vector<std::string> importThroughWizard(WizardTest& test, const WizardImport& run,
                                                    std::vector<std::string>* offered = nullptr)
{
    std::vector<std::string> entries;
    CCadConversionPropSheet sheet("Cad Conversion");
    test.runSheet(sheet, [&](HWND h) {
        if (offered)
            *offered = comboEntries(GetDlgItem(sheet.m_formatPage.m_hWnd, IDC_FORMAT));
        ASSERT_TRUE(chooseConverter(sheet, run.conversionName))
            << run.conversionName << " is not listed";
        press(h, ID_WIZNEXT);
        const HWND jobGroup = sheet.m_jobGroupPage.m_hWnd;
        press(jobGroup, run.job ? IDC_JOB_SPECIFY : IDC_JOB_FROM_FILE);
        if (run.job)
            SetDlgItemText(jobGroup, IDC_JOB, run.job);
        press(jobGroup, run.group ? IDC_GROUP_SPECIFY : IDC_GROUP_FROM_FILE);
        if (run.group)
            SetDlgItemText(jobGroup, IDC_GROUP, run.group);
        settle();
        press(h, ID_WIZNEXT);
        if (!checked(sheet.m_logFilePage.m_hWnd, IDC_USE_LOG_FILE))
            press(sheet.m_logFilePage.m_hWnd, IDC_USE_LOG_FILE);
        SetDlgItemText(sheet.m_logFilePage.m_hWnd, IDC_LOG_FILE, run.logPath.c_str());
        settle();
        press(h, ID_WIZNEXT);
        test.answer({IDOK, run.files});
        press(sheet.m_filesPage.m_hWnd, IDC_SELECT_FILES);
        press(h, ID_WIZNEXT);
        ASSERT_EQ(sheet.GetActivePage(), &sheet.m_convertPage);
        press(sheet.m_convertPage.m_hWnd, IDC_CONVERT);
        pumpUntil([&] { return !sheet.m_convertPage.IsConverting(); });
        entries = listEntries(GetDlgItem(sheet.m_convertPage.m_hWnd, IDC_CONVERT_FILES));
        press(h, IDCANCEL);
    });
    return entries;
}
