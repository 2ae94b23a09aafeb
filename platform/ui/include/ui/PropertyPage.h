// CPropertyPage, one page of a property sheet in wizard mode, built from a
// registered template. Its window is created when the page is first shown
// and destroyed with the sheet's.
#pragma once

#include "ui/Dialog.h"

class CPropertySheet;

class CPropertyPage : public CDialog {
public:
    explicit CPropertyPage(UINT nIDTemplate);

    // Non-zero accepts the activation (the default moves the members into
    // the controls, except on the first activation after OnInitDialog);
    // zero skips the page in the direction of travel.
    virtual BOOL OnSetActive();
    // Before the page is left: the default takes the controls' values and
    // answers whether they are valid.
    virtual BOOL OnKillActive();
    // 0 goes to the next (previous) page, -1 stays, another value is the
    // template id of the page to go to.
    virtual LRESULT OnWizardNext();
    virtual LRESULT OnWizardBack();
    // TRUE lets Finish end the sheet with ID_WIZFINISH.
    virtual BOOL OnWizardFinish();

    // A page runs inside its sheet only.
    INT_PTR DoModal() override;

private:
    friend class CPropertySheet;
    bool m_bFirstSetActive = true;
};
