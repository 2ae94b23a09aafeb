// CCMultNameDlg: the modal dialog that asks for another machine when the
// database does not know the bar's machine. OK stores the typed name in
// the mult and checks it at once: the dialog stays open, showing the name,
// until the machine is known or the user cancels.
//
// The reader creates it on the conversion worker; DoModal shows it on the
// GUI thread while the worker waits, so the handlers call the mult from the
// GUI thread while its own thread is blocked. A failing mult call ends the
// dialog and is raised again (a _com_error) from DoModal on the caller's
// thread.
#pragma once

#include "MultDialogSupport.h"
#include "MultDialogTemplates.h"

#include "halcyra/HalcyraLib.h"

#include "com/ComBstr.h"
#include "com/ComPtr.h"

class CCMultNameDlg : public CAxDialogImpl<CCMultNameDlg> {
public:
    enum { IDD = IDD_MULT_NAME };

    // machineName: the name the database does not know.
    CCMultNameDlg(ICADMult* mult, BSTR machineName, BSTR fileName);

    // IDOK once a known machine is stored in the mult, IDCANCEL.
    INT_PTR DoModal(HWND hWndParent);

    LRESULT OnInitDialog(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    LRESULT OnOK(WORD code, WORD id, HWND control, BOOL& bHandled);
    LRESULT OnCancel(WORD code, WORD id, HWND control, BOOL& bHandled);

private:
    ComPtrT<ICADMult> m_pMult;
    CComBSTR m_bstrMachineName;
    CComBSTR m_bstrFileName;
    multdialog::HandlerFailure m_failure;
};
