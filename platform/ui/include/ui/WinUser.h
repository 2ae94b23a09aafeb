// Window handles, messages and the Win32 window, dialog and message-box calls
// of the window framework. Every window lives on the GUI thread (the thread
// of the QApplication). A call made on another thread is handed over to the
// GUI thread and the caller waits for the answer, as a cross-thread
// SendMessage does on Windows; on the GUI thread itself calls are direct.
// Text is narrow UTF-8.
#pragma once

#include "com/Types.h"

struct HWND__;
using HWND = HWND__*;
struct HFONT__;
using HFONT = HFONT__*;
struct HDC__;
using HDC = HDC__*;
using HGDIOBJ = void*;

using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;

struct POINT {
    LONG x;
    LONG y;
};
struct SIZE {
    LONG cx;
    LONG cy;
};
struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
using LPRECT = RECT*;
using LPSIZE = SIZE*;
using LPINT = INT*;

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};
using LPMSG = MSG*;

constexpr WORD LOWORD(DWORD_PTR v)
{
    return static_cast<WORD>(v & 0xffff);
}
constexpr WORD HIWORD(DWORD_PTR v)
{
    return static_cast<WORD>((v >> 16) & 0xffff);
}
constexpr WPARAM MAKEWPARAM(WORD low, WORD high)
{
    return static_cast<WPARAM>(static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16));
}

// ---- Messages ------------------------------------------------------------

constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_SETFONT = 0x0030;
constexpr UINT WM_GETFONT = 0x0031;
constexpr UINT WM_NCDESTROY = 0x0082;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_USER = 0x0400;

// Buttons
constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr UINT BM_CLICK = 0x00F5;
constexpr WPARAM BST_UNCHECKED = 0;
constexpr WPARAM BST_CHECKED = 1;
constexpr WORD BN_CLICKED = 0;

// Edits
constexpr WORD EN_CHANGE = 0x0300;

// List boxes
constexpr UINT LB_ADDSTRING = 0x0180;
constexpr UINT LB_INSERTSTRING = 0x0181;
constexpr UINT LB_DELETESTRING = 0x0182;
constexpr UINT LB_RESETCONTENT = 0x0184;
constexpr UINT LB_SETSEL = 0x0185;
constexpr UINT LB_SETCURSEL = 0x0186;
constexpr UINT LB_GETSEL = 0x0187;
constexpr UINT LB_GETCURSEL = 0x0188;
constexpr UINT LB_GETTEXT = 0x0189;
constexpr UINT LB_GETTEXTLEN = 0x018A;
constexpr UINT LB_GETCOUNT = 0x018B;
constexpr UINT LB_GETSELCOUNT = 0x0190;
constexpr UINT LB_GETSELITEMS = 0x0191;
constexpr UINT LB_GETHORIZONTALEXTENT = 0x0193;
constexpr UINT LB_SETHORIZONTALEXTENT = 0x0194;
constexpr UINT LB_GETITEMDATA = 0x0199;
constexpr UINT LB_SETITEMDATA = 0x019A;
constexpr LRESULT LB_ERR = -1;
constexpr WORD LBN_SELCHANGE = 1;

// Combo boxes
constexpr UINT CB_ADDSTRING = 0x0143;
constexpr UINT CB_DELETESTRING = 0x0144;
constexpr UINT CB_GETCOUNT = 0x0146;
constexpr UINT CB_GETCURSEL = 0x0147;
constexpr UINT CB_GETLBTEXT = 0x0148;
constexpr UINT CB_GETLBTEXTLEN = 0x0149;
constexpr UINT CB_INSERTSTRING = 0x014A;
constexpr UINT CB_RESETCONTENT = 0x014B;
constexpr UINT CB_SETCURSEL = 0x014E;
constexpr UINT CB_GETITEMDATA = 0x0150;
constexpr UINT CB_SETITEMDATA = 0x0151;
constexpr LRESULT CB_ERR = -1;
constexpr WORD CBN_SELCHANGE = 1;

// ---- Window and control styles -------------------------------------------

constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;

constexpr DWORD DS_3DLOOK = 0x0004;
constexpr DWORD DS_FIXEDSYS = 0x0008;
constexpr DWORD DS_SETFONT = 0x0040;
constexpr DWORD DS_MODALFRAME = 0x0080;
constexpr DWORD DS_CONTROL = 0x0400;
constexpr DWORD DS_CENTER = 0x0800;

constexpr DWORD SS_LEFT = 0x0000;
constexpr DWORD SS_CENTER = 0x0001;
constexpr DWORD SS_RIGHT = 0x0002;
constexpr DWORD SS_ETCHEDHORZ = 0x0010;
constexpr DWORD SS_TYPEMASK = 0x001F;

constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_READONLY = 0x0800;

constexpr DWORD BS_PUSHBUTTON = 0x0000;
constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;
constexpr DWORD BS_CHECKBOX = 0x0002;
constexpr DWORD BS_AUTOCHECKBOX = 0x0003;
constexpr DWORD BS_RADIOBUTTON = 0x0004;
constexpr DWORD BS_GROUPBOX = 0x0007;
constexpr DWORD BS_AUTORADIOBUTTON = 0x0009;
constexpr DWORD BS_TYPEMASK = 0x000F;
constexpr DWORD BS_LEFTTEXT = 0x0020;

constexpr DWORD LBS_NOTIFY = 0x0001;
constexpr DWORD LBS_MULTIPLESEL = 0x0008;
constexpr DWORD LBS_NOINTEGRALHEIGHT = 0x0100;
constexpr DWORD LBS_EXTENDEDSEL = 0x0800;

constexpr DWORD CBS_DROPDOWN = 0x0002;
constexpr DWORD CBS_DROPDOWNLIST = 0x0003;

// Control class names of dialog templates (compared without regard to case).
constexpr const char* WC_STATIC = "Static";
constexpr const char* WC_EDIT = "Edit";
constexpr const char* WC_BUTTON = "Button";
constexpr const char* WC_COMBOBOX = "ComboBox";
constexpr const char* WC_LISTBOX = "ListBox";
constexpr const char* WC_LISTVIEW = "SysListView32";

constexpr int IDC_STATIC = -1;

// ---- Dialog results and message boxes ------------------------------------

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
constexpr int ID_HELP = 0xE146;

constexpr UINT MB_OK = 0x0000;
constexpr UINT MB_OKCANCEL = 0x0001;
constexpr UINT MB_YESNOCANCEL = 0x0003;
constexpr UINT MB_YESNO = 0x0004;
constexpr UINT MB_RETRYCANCEL = 0x0005;
constexpr UINT MB_TYPEMASK = 0x000F;
constexpr UINT MB_ICONHAND = 0x0010;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x0020;
constexpr UINT MB_ICONEXCLAMATION = 0x0030;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONINFORMATION = 0x0040;
constexpr UINT MB_ICONASTERISK = MB_ICONINFORMATION;
constexpr UINT MB_ICONMASK = 0x00F0;
constexpr UINT MB_APPLMODAL = 0x0000;
constexpr UINT MB_SYSTEMMODAL = 0x1000;
constexpr UINT MB_TASKMODAL = 0x2000;

// ---- Showing and placing -------------------------------------------------

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;

inline HWND const HWND_TOP = reinterpret_cast<HWND>(static_cast<INT_PTR>(0));
inline HWND const HWND_BOTTOM = reinterpret_cast<HWND>(static_cast<INT_PTR>(1));
inline HWND const HWND_TOPMOST = reinterpret_cast<HWND>(static_cast<INT_PTR>(-1));
inline HWND const HWND_NOTOPMOST = reinterpret_cast<HWND>(static_cast<INT_PTR>(-2));

constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;

// ---- Keys ----------------------------------------------------------------

constexpr UINT VK_BACK = 0x08;
constexpr UINT VK_TAB = 0x09;
constexpr UINT VK_RETURN = 0x0D;
constexpr UINT VK_ESCAPE = 0x1B;
constexpr UINT VK_SPACE = 0x20;
constexpr UINT VK_PRIOR = 0x21;
constexpr UINT VK_NEXT = 0x22;
constexpr UINT VK_END = 0x23;
constexpr UINT VK_HOME = 0x24;
constexpr UINT VK_LEFT = 0x25;
constexpr UINT VK_UP = 0x26;
constexpr UINT VK_RIGHT = 0x27;
constexpr UINT VK_DOWN = 0x28;
constexpr UINT VK_INSERT = 0x2D;
constexpr UINT VK_DELETE = 0x2E;
constexpr UINT VK_F1 = 0x70;

// ---- Message queue -------------------------------------------------------

constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;

// Delivers the message to the window procedure on the GUI thread and
// returns its answer; 0 for a window that does not exist.
LRESULT SendMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Queues the message for the GUI thread and returns at once. The GUI
// thread's event loop delivers it, or PeekMessage hands it out.
BOOL PostMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
// On the GUI thread: takes a posted message that matches (hWnd null = any,
// min = max = 0 = any) when there is one; otherwise lets Qt deliver its
// pending events, including calls handed over by other threads, waits a
// moment for more and answers FALSE. Use it in a loop that waits for a
// worker which sends messages to this thread.
BOOL PeekMessage(LPMSG msg, HWND hWnd, UINT msgFilterMin, UINT msgFilterMax, UINT removeMsg);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);
// The built-in behaviour of the window's class.
LRESULT DefWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

// ---- Timers --------------------------------------------------------------

using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);
// Sends WM_TIMER (wParam the id) to the window on the GUI thread every
// elapse milliseconds until KillTimer or the window's destruction; a timer
// of the same window and id is replaced. Window timers only: timerProc
// must be null. Answers the id, or 0 when the window does not exist.
UINT_PTR SetTimer(HWND hWnd, UINT_PTR id, UINT elapse, TIMERPROC timerProc);
BOOL KillTimer(HWND hWnd, UINT_PTR id);

// ---- Windows -------------------------------------------------------------

BOOL IsWindow(HWND hWnd);
// Sends WM_DESTROY to the window and then to its children, WM_NCDESTROY to
// the children and then to the window, and deletes them.
BOOL DestroyWindow(HWND hWnd);
HWND GetParent(HWND hWnd);
HWND GetDlgItem(HWND hDlg, int id);
int GetDlgCtrlID(HWND hWnd);
BOOL SetWindowText(HWND hWnd, LPCSTR text);
int GetWindowText(HWND hWnd, LPSTR buffer, int maxCount);
int GetWindowTextLength(HWND hWnd);
BOOL SetDlgItemText(HWND hDlg, int id, LPCSTR text);
UINT GetDlgItemText(HWND hDlg, int id, LPSTR buffer, int maxCount);
// Answers whether the window was disabled before.
BOOL EnableWindow(HWND hWnd, BOOL enable);
BOOL IsWindowEnabled(HWND hWnd);
// Answers whether the window was visible before.
BOOL ShowWindow(HWND hWnd, int cmdShow);
BOOL IsWindowVisible(HWND hWnd);
// Top-level windows take screen pixels, children their parent's client
// pixels. HWND_TOPMOST keeps the window above others.
BOOL SetWindowPos(HWND hWnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL GetWindowRect(HWND hWnd, LPRECT rect);
BOOL GetClientRect(HWND hWnd, LPRECT rect);
// Dialog units of the dialog's font to pixels.
BOOL MapDialogRect(HWND hDlg, LPRECT rect);
// The active modal dialog, else the active top-level window, else null.
HWND GetActiveWindow();

// Ends the modal loop of a dialog; its DoModal answers result.
BOOL EndDialog(HWND hDlg, INT_PTR result);

// A message box on the GUI thread, also when called from a worker (which
// waits). The test hook (TestHooks.h) is asked first. A null caption
// shows "Error". Answers IDOK, IDCANCEL, IDYES or IDNO.
int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// ---- Text measuring ------------------------------------------------------

struct TEXTMETRIC {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
};
using LPTEXTMETRIC = TEXTMETRIC*;

// A device context for measuring text with the fonts of a window; it starts
// with the dialog font and takes fonts from SelectObject. Usable on any
// thread; release it with ReleaseDC.
HDC GetDC(HWND hWnd);
int ReleaseDC(HWND hWnd, HDC hdc);
// Answers the font selected before. The context keeps a copy, so the font
// may go away while the context lives.
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);
BOOL GetTextExtentPoint32(HDC hdc, LPCSTR text, int length, LPSIZE size);
BOOL GetTextMetrics(HDC hdc, LPTEXTMETRIC metrics);

// ---- Window structure ----------------------------------------------------

constexpr int GWL_STYLE = -16;
constexpr int GWL_ID = -12;
constexpr UINT GW_HWNDNEXT = 2;
constexpr UINT GW_HWNDPREV = 3;
constexpr UINT GW_CHILD = 5;

// Siblings in creation order (a dialog's controls in template order).
HWND GetWindow(HWND hWnd, UINT cmd);
LONG GetWindowLong(HWND hWnd, int index);
int GetClassName(HWND hWnd, LPSTR className, int maxCount);
