// CCMultNameDlg: the machine name dialog's handlers.
#include "MultNameDlg.h"

#include "com/ComError.h"

CCMultNameDlg::CCMultNameDlg(ICADMult* mult, BSTR machineName, BSTR fileName)
    : m_pMult(mult), m_bstrMachineName(static_cast<LPCOLESTR>(machineName)),
      m_bstrFileName(static_cast<LPCOLESTR>(fileName))
{
}

INT_PTR CCMultNameDlg::DoModal(HWND hWndParent)
{
    const INT_PTR result = CAxDialogImpl<CCMultNameDlg>::DoModal(hWndParent);
    m_failure.rethrowIfAny();
    return result;
}

LRESULT CCMultNameDlg::OnInitDialog(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    CAxDialogImpl<CCMultNameDlg>::OnInitDialog(msg, wParam, lParam, bHandled);
    multdialog::setItemText(*this, IDC_MACHINE_NAME, m_bstrMachineName);
    multdialog::setItemText(*this, IDC_MULT_FILE_NAME, m_bstrFileName);
    multdialog::placeTopmost(*this);
    return 1;
}

LRESULT CCMultNameDlg::OnOK(WORD, WORD, HWND, BOOL&)
{
    try {
        m_bstrMachineName = multdialog::itemText(*this, IDC_NEW_MACHINE_NAME);
        if (!m_pMult) {
            EndDialog(IDOK);
            return 0;
        }
        HRESULT hr = m_pMult->put_Machine(m_bstrMachineName);
        if (FAILED(hr))
            _com_issue_errorex(hr, m_pMult.GetInterfacePtr(), IID_ICADMult);
        // The mult frees the name and hands it back when the machine is
        // unknown. S_FALSE alone also means unknown: an empty name is no
        // way past the check.
        hr = m_pMult->CheckMachine(&m_bstrMachineName);
        if (FAILED(hr))
            _com_issue_errorex(hr, m_pMult.GetInterfacePtr(), IID_ICADMult);
        if (hr == S_FALSE || m_bstrMachineName.Length() != 0) {
            multdialog::setItemText(*this, IDC_MACHINE_NAME, m_bstrMachineName);
            return 0;
        }
        EndDialog(IDOK);
    } catch (...) {
        m_failure.catchCurrent();
        EndDialog(IDCANCEL);
    }
    return 0;
}

LRESULT CCMultNameDlg::OnCancel(WORD, WORD, HWND, BOOL&)
{
    EndDialog(IDCANCEL);
    return 0;
}
