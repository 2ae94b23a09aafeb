// The MFC-like control classes: thin wrappers that send the control's
// messages, usable from any thread once attached.
#pragma once

#include "ui/Wnd.h"

#include <string>

class CStatic : public CWnd {};

class CEdit : public CWnd {};

class CButton : public CWnd {
public:
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
};

class CComboBox : public CWnd {
public:
    int AddString(LPCSTR text) { return send(CB_ADDSTRING, 0, text); }
    int InsertString(int index, LPCSTR text) { return send(CB_INSERTSTRING, index, text); }
    int DeleteString(UINT index) { return static_cast<int>(SendMessage(CB_DELETESTRING, index)); }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index)
    {
        return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index)));
    }
    DWORD_PTR GetItemData(int index) const
    {
        return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(index)));
    }
    int SetItemData(int index, DWORD_PTR data)
    {
        return static_cast<int>(
            SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data)));
    }
    void GetLBText(int index, std::string& text) const;
    void ResetContent() { SendMessage(CB_RESETCONTENT); }

private:
    int send(UINT msg, int index, LPCSTR text)
    {
        return static_cast<int>(
            SendMessage(msg, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)));
    }
};

class CListBox : public CWnd {
public:
    int AddString(LPCSTR text) { return send(LB_ADDSTRING, 0, text); }
    int InsertString(int index, LPCSTR text) { return send(LB_INSERTSTRING, index, text); }
    int DeleteString(UINT index) { return static_cast<int>(SendMessage(LB_DELETESTRING, index)); }
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
    int GetText(int index, LPSTR buffer) const
    {
        return static_cast<int>(
            SendMessage(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer)));
    }
    void GetText(int index, std::string& text) const;
    int GetTextLen(int index) const
    {
        return static_cast<int>(SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(index)));
    }
    int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
    int SetCurSel(int index)
    {
        return static_cast<int>(SendMessage(LB_SETCURSEL, static_cast<WPARAM>(index)));
    }
    int GetSel(int index) const
    {
        return static_cast<int>(SendMessage(LB_GETSEL, static_cast<WPARAM>(index)));
    }
    int SetSel(int index, BOOL select = TRUE)
    {
        return static_cast<int>(SendMessage(LB_SETSEL, static_cast<WPARAM>(select), index));
    }
    int GetSelCount() const { return static_cast<int>(SendMessage(LB_GETSELCOUNT)); }
    int GetSelItems(int maxItems, LPINT items) const
    {
        return static_cast<int>(SendMessage(LB_GETSELITEMS, static_cast<WPARAM>(maxItems),
                                            reinterpret_cast<LPARAM>(items)));
    }
    int GetHorizontalExtent() const
    {
        return static_cast<int>(SendMessage(LB_GETHORIZONTALEXTENT));
    }
    void SetHorizontalExtent(int extent)
    {
        SendMessage(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent));
    }
    DWORD_PTR GetItemData(int index) const
    {
        return static_cast<DWORD_PTR>(SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(index)));
    }
    int SetItemData(int index, DWORD_PTR data)
    {
        return static_cast<int>(
            SendMessage(LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data)));
    }

private:
    int send(UINT msg, int index, LPCSTR text)
    {
        return static_cast<int>(
            SendMessage(msg, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)));
    }
};
