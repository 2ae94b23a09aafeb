// Page 3 of the wizard: whether to write the conversion log, and where.
#pragma once

#include "ui/Afx.h"

#include <string>

class CSpecifyLogFilePP : public CPropertyPage {
public:
    CSpecifyLogFilePP();

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    LRESULT OnWizardNext() override;

    int GetUseLogFile();
    std::string GetLogFile();
    void SetUseLogFile(int flag);
    void SetLogFile(const std::string& path);

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void OnUseLogFile();
    void OnLogFileChange();
    void OnBrowse();
    void EnableLogControls();
    void UpdateButtons();
    void takeControls();

    std::string strLogFile;
    int bUseLogFile = 1;
};
