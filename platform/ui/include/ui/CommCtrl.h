// The common controls the system uses beyond the basic ones: the report
// list view (its messages, structures and ListView_* helpers) and the
// property sheet's wizard messages and flags.
#pragma once

#include "ui/WinUser.h"

// ---- List view -----------------------------------------------------------

constexpr DWORD LVS_REPORT = 0x0001;
constexpr DWORD LVS_SINGLESEL = 0x0004;
constexpr DWORD LVS_SHOWSELALWAYS = 0x0008;

constexpr UINT LVM_FIRST = 0x1000;
constexpr UINT LVM_GETITEMCOUNT = LVM_FIRST + 4;
constexpr UINT LVM_INSERTITEM = LVM_FIRST + 7;
constexpr UINT LVM_DELETEALLITEMS = LVM_FIRST + 9;
constexpr UINT LVM_INSERTCOLUMN = LVM_FIRST + 27;
constexpr UINT LVM_GETCOLUMNWIDTH = LVM_FIRST + 29;
constexpr UINT LVM_GETITEMTEXT = LVM_FIRST + 45;
constexpr UINT LVM_SETITEMTEXT = LVM_FIRST + 46;

constexpr UINT LVCF_FMT = 0x0001;
constexpr UINT LVCF_WIDTH = 0x0002;
constexpr UINT LVCF_TEXT = 0x0004;
constexpr UINT LVCF_SUBITEM = 0x0008;
constexpr int LVCFMT_LEFT = 0;
constexpr int LVCFMT_RIGHT = 1;
constexpr int LVCFMT_CENTER = 2;

constexpr UINT LVIF_TEXT = 0x0001;
constexpr UINT LVIF_PARAM = 0x0004;

struct LVCOLUMN {
    UINT mask;
    int fmt;
    int cx;
    LPSTR pszText;
    int cchTextMax;
    int iSubItem;
};
using LPLVCOLUMN = LVCOLUMN*;

struct LVITEM {
    UINT mask;
    int iItem;
    int iSubItem;
    UINT state;
    UINT stateMask;
    LPSTR pszText;
    int cchTextMax;
    int iImage;
    LPARAM lParam;
};
using LPLVITEM = LVITEM*;

// Answers the new column's index, -1 on failure.
inline int ListView_InsertColumn(HWND hwnd, int column, const LVCOLUMN* col)
{
    return static_cast<int>(SendMessage(hwnd, LVM_INSERTCOLUMN, static_cast<WPARAM>(column),
                                        reinterpret_cast<LPARAM>(col)));
}
// Answers the new row's index, -1 on failure.
inline int ListView_InsertItem(HWND hwnd, const LVITEM* item)
{
    return static_cast<int>(SendMessage(hwnd, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(item)));
}
inline void ListView_SetItemText(HWND hwnd, int item, int subItem, LPSTR text)
{
    LVITEM lv{};
    lv.iSubItem = subItem;
    lv.pszText = text;
    SendMessage(hwnd, LVM_SETITEMTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
}
inline void ListView_GetItemText(HWND hwnd, int item, int subItem, LPSTR text, int max)
{
    LVITEM lv{};
    lv.iSubItem = subItem;
    lv.pszText = text;
    lv.cchTextMax = max;
    SendMessage(hwnd, LVM_GETITEMTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
}
inline int ListView_GetItemCount(HWND hwnd)
{
    return static_cast<int>(SendMessage(hwnd, LVM_GETITEMCOUNT, 0, 0));
}
inline BOOL ListView_DeleteAllItems(HWND hwnd)
{
    return static_cast<BOOL>(SendMessage(hwnd, LVM_DELETEALLITEMS, 0, 0));
}
inline int ListView_GetColumnWidth(HWND hwnd, int column)
{
    return static_cast<int>(SendMessage(hwnd, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

// ---- Property sheets -----------------------------------------------------

constexpr UINT PSM_SETWIZBUTTONS = WM_USER + 112;
constexpr LPARAM PSWIZB_BACK = 0x1;
constexpr LPARAM PSWIZB_NEXT = 0x2;
constexpr LPARAM PSWIZB_FINISH = 0x4;
constexpr LPARAM PSWIZB_DISABLEDFINISH = 0x8;

constexpr DWORD PSH_WIZARD = 0x00000020;

// The sheet's own buttons.
constexpr int ID_WIZBACK = 0x3023;
constexpr int ID_WIZNEXT = 0x3024;
constexpr int ID_WIZFINISH = 0x3025;

struct PROPSHEETHEADER {
    DWORD dwSize;
    DWORD dwFlags;
    HWND hwndParent;
    LPCSTR pszCaption;
    UINT nPages;
    UINT nStartPage;
};
