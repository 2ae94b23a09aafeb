// Page 2 of the wizard: whether job and group come from the CAD file or
// are typed in, and the typed texts.
#pragma once

#include "ui/Afx.h"

#include <string>

class CSelectJobGroupPP : public CPropertyPage {
public:
    CSelectJobGroupPP();

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    LRESULT OnWizardNext() override;
    LRESULT OnWizardBack() override;

    // 1 when the value comes from the CAD file.
    int GetUseJobId();
    int GetUseGroup();
    std::string GetJobId();
    std::string GetGroup();
    void SetUseJobId(int flag);
    void SetUseGroup(int flag);
    void SetJobId(const std::string& text);
    void SetGroup(const std::string& text);

    // A part converter takes both from the CAD file by default; a mult
    // converter's files have neither, so they must be typed in. Shown at
    // once when the page exists.
    void SetJobSourceForConverter(bool partConverter);
    void SetGroupSourceForConverter(bool partConverter);

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void OnJobFromFile();
    void OnJobSpecify();
    void OnGroupFromFile();
    void OnGroupSpecify();
    void OnTextChange();
    void UpdateButtons();
    void takeControls();

    std::string strGroup;
    std::string strJobId;
    int nJobSource = 0;
    int nGroupSource = 0;
    unsigned char bJobFromFileAllowed = 1;
    unsigned char bGroupFromFileAllowed = 1;
};
