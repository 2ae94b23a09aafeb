// Dialog data exchange: DoDataExchange moves values between members and
// controls, into the controls (UpdateData(FALSE)) or out of them
// (UpdateData(TRUE)). A control that does not exist fails the exchange.
#pragma once

#include "ui/Wnd.h"

#include <string>

// Thrown by CDataExchange::Fail; UpdateData catches it and answers FALSE.
class CUserException {};

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog)
    {
    }
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

    // The control's handle; fails the exchange when there is none.
    HWND PrepareCtrl(int id);
    [[noreturn]] void Fail();
};

void DDX_Text(CDataExchange* pDX, int id, std::string& value);
// 0 unchecked, 1 checked.
void DDX_Check(CDataExchange* pDX, int id, int& value);
// id is the first radio button of a group (WS_GROUP up to the next
// WS_GROUP); value is the index of the checked one, -1 for none.
void DDX_Radio(CDataExchange* pDX, int id, int& value);
// The combo box's selected index, -1 for none.
void DDX_CBIndex(CDataExchange* pDX, int id, int& index);
// Subclasses the control with the object the first time.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
