// CWnd: handle wrapping, message routing and command handlers.
#include "ui/Wnd.h"
#include "ui/DataExchange.h"
#include "ui/WinApp.h"

#include <string>

namespace {

// The window whose UpdateData is running; its controls' notifications are
// held back (GUI thread only).
HWND& lockedOutWindow()
{
    static HWND window = nullptr;
    return window;
}

} // namespace

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

CWnd::~CWnd()
{
    if (m_subclassed && m_hWnd)
        UnsubclassWindow();
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    CWnd* found = nullptr;
    ui::runOnGuiThread([&] {
        if (!IsWindow(hWnd))
            return;
        if ((found = dynamic_cast<CWnd*>(ui::messageHandler(hWnd))))
            return;
        if ((found = dynamic_cast<CWnd*>(ui::windowCompanion(hWnd))))
            return;
        auto wrapper = std::make_unique<CWnd>();
        wrapper->m_hWnd = hWnd;
        found = wrapper.get();
        ui::setWindowCompanion(hWnd, std::move(wrapper));
    });
    return found;
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (!hWnd || m_hWnd)
        return FALSE;
    m_hWnd = hWnd;
    return TRUE;
}

HWND CWnd::Detach()
{
    const HWND hWnd = m_hWnd;
    if (m_subclassed)
        UnsubclassWindow();
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!hWnd || m_hWnd || !IsWindow(hWnd))
        return FALSE;
    ui::setMessageHandler(hWnd, this);
    m_hWnd = hWnd;
    m_subclassed = true;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    return parent ? SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id))) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    const HWND hWnd = m_hWnd;
    if (m_subclassed && ui::messageHandler(hWnd) == this)
        ui::setMessageHandler(hWnd, nullptr);
    m_subclassed = false;
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessage(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessage(m_hWnd, message, wParam, lParam);
}

void CWnd::SetWindowText(LPCSTR text)
{
    ::SetWindowText(m_hWnd, text);
}

int CWnd::GetWindowText(LPSTR buffer, int maxCount) const
{
    return ::GetWindowText(m_hWnd, buffer, maxCount);
}

void CWnd::GetWindowText(std::string& text) const
{
    std::string buffer(static_cast<std::size_t>(GetWindowTextLength()) + 1, '\0');
    const int n = ::GetWindowText(m_hWnd, buffer.data(), static_cast<int>(buffer.size()));
    text.assign(buffer.data(), static_cast<std::size_t>(n));
}

int CWnd::GetWindowTextLength() const
{
    return ::GetWindowTextLength(m_hWnd);
}

CWnd* CWnd::GetDlgItem(int id) const
{
    return FromHandle(::GetDlgItem(m_hWnd, id));
}

int CWnd::GetDlgCtrlID() const
{
    return ::GetDlgCtrlID(m_hWnd);
}

CWnd* CWnd::GetParent() const
{
    return FromHandle(::GetParent(m_hWnd));
}

void CWnd::SetDlgItemText(int id, LPCSTR text)
{
    ::SetDlgItemText(m_hWnd, id, text);
}

int CWnd::GetDlgItemText(int id, std::string& text) const
{
    text.clear();
    if (CWnd* item = GetDlgItem(id))
        item->GetWindowText(text);
    return static_cast<int>(text.size());
}

BOOL CWnd::EnableWindow(BOOL enable)
{
    return ::EnableWindow(m_hWnd, enable);
}

BOOL CWnd::IsWindowEnabled() const
{
    return ::IsWindowEnabled(m_hWnd);
}

BOOL CWnd::ShowWindow(int cmdShow)
{
    return ::ShowWindow(m_hWnd, cmdShow);
}

BOOL CWnd::IsWindowVisible() const
{
    return ::IsWindowVisible(m_hWnd);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    return ::SetWindowPos(m_hWnd, insertAfter ? insertAfter->m_hWnd : nullptr, x, y, cx, cy, flags);
}

void CWnd::GetWindowRect(LPRECT rect) const
{
    ::GetWindowRect(m_hWnd, rect);
}

void CWnd::GetClientRect(LPRECT rect) const
{
    ::GetClientRect(m_hWnd, rect);
}

HFONT CWnd::GetFont() const
{
    return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    BOOL ok = TRUE;
    ui::runOnGuiThread([&] {
        const HWND previous = lockedOutWindow();
        lockedOutWindow() = m_hWnd;
        CDataExchange dx(this, bSaveAndValidate);
        try {
            DoDataExchange(&dx);
        } catch (const CUserException&) {
            ok = FALSE;
        }
        lockedOutWindow() = previous;
    });
    return ok;
}

int CWnd::MessageBox(LPCSTR text, LPCSTR caption, UINT type)
{
    return ::MessageBox(m_hWnd, text, caption ? caption : AfxGetAppName(), type);
}

void CWnd::WinHelp(DWORD_PTR data, UINT cmd)
{
    if (CWinApp* app = AfxGetApp())
        app->WinHelp(data, cmd);
}

LRESULT CWnd::handleMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam)
{
    const Current saved = m_current;
    m_current = {message, wParam, lParam};
    const LRESULT result = WindowProc(message, wParam, lParam);
    m_current = saved;
    if (message == WM_NCDESTROY) {
        m_hWnd = nullptr;
        m_subclassed = false;
        PostNcDestroy(); // may delete this
    }
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (OnCommand(wParam, lParam))
            return 0;
        break;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(static_cast<UINT>(wParam), LOWORD(static_cast<DWORD_PTR>(lParam)),
                  HIWORD(static_cast<DWORD_PTR>(lParam)));
        return 0;
    default:
        break;
    }
    return DefWindowProc(message, wParam, lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    const WORD code = HIWORD(wParam);
    if (lParam != 0 && lockedOutWindow() == m_hWnd)
        return TRUE;
    for (const CommandHandler& h : m_commandHandlers) {
        if (h.id == id && h.code == code) {
            const auto handler = h.handler; // the handler may add handlers
            handler();
            return TRUE;
        }
    }
    if (id == static_cast<UINT>(ID_HELP) && code == 0) {
        WinHelp(0, HELP_CONTEXT);
        return TRUE;
    }
    return FALSE;
}

void CWnd::DoDataExchange(CDataExchange*) {}

void CWnd::OnDestroy()
{
    Default();
}

void CWnd::OnKeyDown(UINT, UINT, UINT)
{
    Default();
}

void CWnd::PostNcDestroy() {}

LRESULT CWnd::Default()
{
    return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProc(m_hWnd, message, wParam, lParam);
}

void CWnd::addCommandHandler(UINT id, WORD code, std::function<void()> handler)
{
    m_commandHandlers.push_back({id, code, std::move(handler)});
}
