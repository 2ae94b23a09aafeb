// CCadConversionPropSheet: the wizard sheet with its five pages, its
// settings in the registry profile and its help.
#pragma once

#include "wizard/ConvertingFilesPP.h"
#include "wizard/SelectCadConversionFormatPP.h"
#include "wizard/SelectFilesPP.h"
#include "wizard/SelectJobGroupPP.h"
#include "wizard/SpecifyLogFilePP.h"

#include <string>

class CCadConversionPropSheet : public CPropertySheet {
public:
    explicit CCadConversionPropSheet(LPCSTR pszCaption, CWnd* pParentWnd = nullptr,
                                     UINT iSelectPage = 0);

    BOOL OnInitDialog() override;
    void LoadSettings();
    void SaveSettings();
    // Hands pages 1 to 4's choices to the conversion page.
    void CopySettingsToConvertPage();
    // Opens the help file of the help path, offering to browse for it
    // while it cannot be opened.
    void ShowHelp();
    // The chosen help file, empty when the dialog was cancelled.
    void BrowseForHelpFile(std::string& path);

    void WinHelp(DWORD_PTR data, UINT cmd = HELP_CONTEXT) override;

    CSelectCadConversionFormatPP m_formatPage;
    CSelectJobGroupPP m_jobGroupPage;
    CSpecifyLogFilePP m_logFilePage;
    CSelectFilesPP m_filesPage;
    CConvertingFilesPP m_convertPage;
    int bIsMetric = 0;
    int bIsToolMetric = 0;

private:
    void OnCancel();
};
