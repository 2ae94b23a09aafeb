// The data exchange functions.
#include "ui/DataExchange.h"

#include <cstdio>

HWND CDataExchange::PrepareCtrl(int id)
{
    const HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
    if (!control) {
        std::fprintf(stderr, "data exchange: the dialog has no control %d\n", id);
        Fail();
    }
    return control;
}

void CDataExchange::Fail()
{
    throw CUserException();
}

void DDX_Text(CDataExchange* pDX, int id, std::string& value)
{
    const HWND control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate)
        CWnd::FromHandle(control)->GetWindowText(value);
    else
        ::SetWindowText(control, value.c_str());
}

void DDX_Check(CDataExchange* pDX, int id, int& value)
{
    const HWND control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessage(control, BM_GETCHECK, 0, 0));
    else
        ::SendMessage(control, BM_SETCHECK,
                      static_cast<WPARAM>(value ? BST_CHECKED : BST_UNCHECKED), 0);
}

namespace {

bool isRadio(HWND control)
{
    char name[16];
    ::GetClassName(control, name, sizeof name);
    const DWORD type = static_cast<DWORD>(::GetWindowLong(control, GWL_STYLE)) & BS_TYPEMASK;
    return std::string(name) == WC_BUTTON && (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
}

} // namespace

void DDX_Radio(CDataExchange* pDX, int id, int& value)
{
    HWND control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    int index = 0;
    do {
        if (isRadio(control)) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessage(control, BM_GETCHECK, 0, 0) == BST_CHECKED)
                    value = index;
            } else {
                ::SendMessage(control, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED,
                              0);
            }
            ++index;
        }
        control = ::GetWindow(control, GW_HWNDNEXT);
    } while (control && !(static_cast<DWORD>(::GetWindowLong(control, GWL_STYLE)) & WS_GROUP));
}

void DDX_CBIndex(CDataExchange* pDX, int id, int& index)
{
    const HWND control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessage(control, CB_GETCURSEL, 0, 0));
    else
        ::SendMessage(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control)
{
    if (control.m_hWnd)
        return;
    if (!control.SubclassWindow(pDX->PrepareCtrl(id)))
        pDX->Fail();
}
