// CDialog, a modal dialog built from a registered template. DoModal may be
// called on a worker thread: the dialog then runs on the GUI thread while
// the worker waits, and its handlers run on the GUI thread.
#pragma once

#include "ui/Wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // EndDialog's result; -1 when the template is not registered.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);
    // The default moves the members into the controls (UpdateData(FALSE))
    // and answers TRUE (focus to the first control).
    virtual BOOL OnInitDialog();

protected:
    // OK takes the controls' values (UpdateData(TRUE)) and ends with IDOK
    // when they are valid; Cancel ends with IDCANCEL.
    virtual void OnOK();
    virtual void OnCancel();
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
};
