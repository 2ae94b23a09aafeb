// The ATL-like dialog classes for server modules: CWindow, a handle with
// the window calls, and CAxDialogImpl<T>, a modal dialog from the template
// T::IDD. T declares the handlers it wants with the ATL signatures, hiding
// the defaults here:
//   LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled);
//   LRESULT OnOK(WORD code, WORD id, HWND control, BOOL& bHandled);
//   LRESULT OnCancel(WORD code, WORD id, HWND control, BOOL& bHandled);
// Everything else goes to the window's built-in behaviour. DoModal may be
// called on a worker: the dialog runs on the GUI thread while it waits.
#pragma once

#include "ui/Window.h"

class CWindow {
public:
    CWindow(HWND hWnd = nullptr) : m_hWnd(hWnd) {}
    HWND m_hWnd;
    operator HWND() const { return m_hWnd; }

    CWindow GetDlgItem(int id) const { return CWindow(::GetDlgItem(m_hWnd, id)); }
    BOOL SetDlgItemText(int id, LPCSTR text) { return ::SetDlgItemText(m_hWnd, id, text); }
    UINT GetDlgItemText(int id, LPSTR text, int maxCount) const
    {
        return ::GetDlgItemText(m_hWnd, id, text, maxCount);
    }
    BOOL SetWindowText(LPCSTR text) { return ::SetWindowText(m_hWnd, text); }
    int GetWindowText(LPSTR text, int maxCount) const
    {
        return ::GetWindowText(m_hWnd, text, maxCount);
    }
    int GetWindowTextLength() const { return ::GetWindowTextLength(m_hWnd); }
    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::SendMessage(m_hWnd, msg, wParam, lParam);
    }
    BOOL SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
    {
        return ::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags);
    }
    BOOL GetWindowRect(LPRECT rect) const { return ::GetWindowRect(m_hWnd, rect); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL ShowWindow(int cmdShow) { return ::ShowWindow(m_hWnd, cmdShow); }
    BOOL IsWindow() const { return ::IsWindow(m_hWnd); }
    BOOL DestroyWindow() { return ::DestroyWindow(m_hWnd); }
};

template <class T>
class CAxDialogImpl : public CWindow, public ui::MessageHandler {
public:
    INT_PTR DoModal(HWND hWndParent = ::GetActiveWindow(), LPARAM = 0)
    {
        return ui::doModal(static_cast<UINT>(T::IDD), hWndParent, this,
                           [this](HWND h) { m_hWnd = h; });
    }
    BOOL EndDialog(int nRetCode) { return ::EndDialog(m_hWnd, nRetCode); }

    // The framework's handlers.
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
    LRESULT OnOK(WORD, WORD id, HWND, BOOL&)
    {
        EndDialog(id);
        return 0;
    }
    LRESULT OnCancel(WORD, WORD id, HWND, BOOL&)
    {
        EndDialog(id);
        return 0;
    }

    LRESULT handleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        T* self = static_cast<T*>(this);
        BOOL handled = TRUE;
        LRESULT result = 0;
        if (msg == WM_INITDIALOG) {
            result = self->OnInitDialog(msg, wParam, lParam, handled);
        } else if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
            const WORD code = HIWORD(wParam);
            const WORD id = LOWORD(wParam);
            const auto control = reinterpret_cast<HWND>(lParam);
            result = id == IDOK ? self->OnOK(code, id, control, handled)
                                : self->OnCancel(code, id, control, handled);
        } else {
            handled = FALSE;
            if (msg == WM_NCDESTROY)
                m_hWnd = nullptr;
        }
        return handled ? result : ::DefWindowProc(hWnd, msg, wParam, lParam);
    }
};
