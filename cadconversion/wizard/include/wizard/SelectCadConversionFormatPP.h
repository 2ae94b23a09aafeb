// Page 1 of the wizard: the converter (found through the converter
// component category) and the two metric flags.
#pragma once

#include "ui/Afx.h"

#include "com/Types.h"

#include <string>

class CSelectJobGroupPP;

class CSelectCadConversionFormatPP : public CPropertyPage {
public:
    CSelectCadConversionFormatPP();

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    LRESULT OnWizardNext() override;

    // The chosen converter's class ID; output left as it was when none is
    // chosen or the window does not exist.
    void GetSelectedCLSID(GUID& clsid);
    void GetSelectedCLSIDString(std::string& text);
    // Chooses the converter with this class ID, or none.
    void SetSelectedCLSIDString(const std::string& text);
    int IsMetric() const { return bIsMetric; }
    int IsToolMetric() const { return bIsToolMetric; }

    // Receives the job and group sources when the user moves on (a mult
    // converter needs them typed in); set by the sheet.
    CSelectJobGroupPP* pJobGroupPage = nullptr;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnDestroy() override;

private:
    void DiscoverConverters();

    int nFormatIndex = -1;
    int bIsMetric = 0;
    int bIsToolMetric = 0;
    CComboBox m_formats;
};
