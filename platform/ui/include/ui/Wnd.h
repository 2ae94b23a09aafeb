// CWnd, the MFC-like window object: wraps a window handle, receives the
// window's messages once it subclasses it, and routes commands to handlers
// registered per object (ON_COMMAND, ON_BN_CLICKED, ON_EN_CHANGE, ...) and
// to virtual handlers (OnCommand, OnDestroy, OnKeyDown). Message handlers
// run on the GUI thread; the wrapper calls may be made from any thread.
#pragma once

#include "ui/Window.h"

#include <functional>
#include <string>
#include <vector>

class CDataExchange;

constexpr UINT HELP_CONTEXT = 0x0001;

class CWnd : public ui::MessageHandler {
public:
    CWnd() = default;
    // Detaches from a subclassed window; never destroys the window.
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    // The placements of SetWindowPos.
    static const CWnd wndTop;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object that subclasses the window, else a temporary one that the
    // window owns until it is destroyed; null for a null handle.
    static CWnd* FromHandle(HWND hWnd);

    // Attach binds the object to a window without taking its messages (so
    // a worker may wrap a window of the GUI thread); SubclassWindow also
    // takes them.
    BOOL Attach(HWND hWnd);
    HWND Detach();
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();
    virtual BOOL DestroyWindow();

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    void SetWindowText(LPCSTR text);
    int GetWindowText(LPSTR buffer, int maxCount) const;
    void GetWindowText(std::string& text) const;
    int GetWindowTextLength() const;
    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const;
    CWnd* GetParent() const;
    void SetDlgItemText(int id, LPCSTR text);
    int GetDlgItemText(int id, std::string& text) const;

    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL ShowWindow(int cmdShow);
    BOOL IsWindowVisible() const;
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    void GetWindowRect(LPRECT rect) const;
    void GetClientRect(LPRECT rect) const;
    HFONT GetFont() const;

    // Runs DoDataExchange; FALSE when an exchange failed. Notifications of
    // the window's controls are not delivered while it runs.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    // Caption null: the application's name.
    int MessageBox(LPCSTR text, LPCSTR caption = nullptr, UINT type = MB_OK);
    // The ID_HELP command (F1 in a dialog) comes here; the default hands it
    // to the application's WinHelp.
    virtual void WinHelp(DWORD_PTR data, UINT cmd = HELP_CONTEXT);

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Registered handlers first; TRUE when the command was handled.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void OnDestroy();
    virtual void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    // After the last message of the window (WM_NCDESTROY); m_hWnd is null.
    virtual void PostNcDestroy();
    // The class's own handling of the message being processed.
    LRESULT Default();
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Handler registration, normally in the constructor.
    void addCommandHandler(UINT id, WORD code, std::function<void()> handler);
    template <class T>
    void ON_COMMAND(UINT id, void (T::*handler)())
    {
        addCommandHandler(id, 0, [this, handler] { (static_cast<T*>(this)->*handler)(); });
    }
    template <class T>
    void ON_BN_CLICKED(UINT id, void (T::*handler)())
    {
        addCommandHandler(id, BN_CLICKED, [this, handler] { (static_cast<T*>(this)->*handler)(); });
    }
    template <class T>
    void ON_EN_CHANGE(UINT id, void (T::*handler)())
    {
        addCommandHandler(id, EN_CHANGE, [this, handler] { (static_cast<T*>(this)->*handler)(); });
    }
    template <class T>
    void ON_CBN_SELCHANGE(UINT id, void (T::*handler)())
    {
        addCommandHandler(id, CBN_SELCHANGE,
                          [this, handler] { (static_cast<T*>(this)->*handler)(); });
    }
    template <class T>
    void ON_LBN_SELCHANGE(UINT id, void (T::*handler)())
    {
        addCommandHandler(id, LBN_SELCHANGE,
                          [this, handler] { (static_cast<T*>(this)->*handler)(); });
    }

private:
    explicit CWnd(HWND placement) : m_hWnd(placement) {}
    LRESULT handleMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) final;

    struct CommandHandler {
        UINT id;
        WORD code;
        std::function<void()> handler;
    };
    struct Current {
        UINT message = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
    };
    std::vector<CommandHandler> m_commandHandlers;
    Current m_current;
    bool m_subclassed = false;
};
