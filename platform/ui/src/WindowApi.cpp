// The Win32 window calls: structure, text, enabling, showing and placing.
// Each runs on the GUI thread (handed over from other threads).
#include "Text.h"
#include "WindowTable.h"

#include <QApplication>
#include <QScreen>

#include <cmath>

using namespace ui::detail;

namespace {

template <class F>
auto onGui(F&& f)
{
    decltype(f()) result{};
    ui::runOnGuiThread([&] { result = f(); });
    return result;
}

} // namespace

LRESULT DefWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return onGui([&]() -> LRESULT {
        Window* w = find(hWnd);
        return w ? w->behaviour->message(*w, msg, wParam, lParam) : 0;
    });
}

BOOL IsWindow(HWND hWnd)
{
    return onGui([&] { return find(hWnd) ? TRUE : FALSE; });
}

namespace {

void sendDestroy(HWND hWnd)
{
    deliver(hWnd, WM_DESTROY, 0, 0);
    if (Window* w = find(hWnd)) {
        const std::vector<HWND> children = w->children;
        for (HWND child : children)
            sendDestroy(child);
    }
}

void sendNcDestroy(HWND hWnd)
{
    if (Window* w = find(hWnd)) {
        const std::vector<HWND> children = w->children;
        for (HWND child : children)
            sendNcDestroy(child);
    }
    deliver(hWnd, WM_NCDESTROY, 0, 0);
}

} // namespace

BOOL DestroyWindow(HWND hWnd)
{
    return onGui([&] {
        if (!find(hWnd))
            return FALSE;
        sendDestroy(hWnd);
        sendNcDestroy(hWnd);
        Window* w = find(hWnd);
        if (!w)
            return TRUE;
        QPointer<QWidget> widget = w->widget;
        remove(hWnd);
        delete widget.data();
        return TRUE;
    });
}

HWND GetParent(HWND hWnd)
{
    return onGui([&]() -> HWND {
        Window* w = find(hWnd);
        return w ? w->parent : nullptr;
    });
}

HWND GetDlgItem(HWND hDlg, int id)
{
    return onGui([&]() -> HWND {
        if (Window* dialog = find(hDlg))
            for (HWND child : dialog->children)
                if (find(child)->id == id)
                    return child;
        return nullptr;
    });
}

int GetDlgCtrlID(HWND hWnd)
{
    return onGui([&] {
        Window* w = find(hWnd);
        return w ? w->id : 0;
    });
}

HWND GetWindow(HWND hWnd, UINT cmd)
{
    return onGui([&]() -> HWND {
        Window* w = find(hWnd);
        if (!w)
            return nullptr;
        if (cmd == GW_CHILD)
            return w->children.empty() ? nullptr : w->children.front();
        Window* parent = find(w->parent);
        if (!parent || (cmd != GW_HWNDNEXT && cmd != GW_HWNDPREV))
            return nullptr;
        const auto& siblings = parent->children;
        for (std::size_t i = 0; i < siblings.size(); ++i) {
            if (siblings[i] != hWnd)
                continue;
            if (cmd == GW_HWNDNEXT)
                return i + 1 < siblings.size() ? siblings[i + 1] : nullptr;
            return i > 0 ? siblings[i - 1] : nullptr;
        }
        return nullptr;
    });
}

LONG GetWindowLong(HWND hWnd, int index)
{
    return onGui([&]() -> LONG {
        Window* w = find(hWnd);
        if (!w)
            return 0;
        if (index == GWL_STYLE) {
            DWORD style = w->style & ~(WS_VISIBLE | WS_DISABLED);
            if (w->widget && !w->widget->isHidden())
                style |= WS_VISIBLE;
            if (w->widget && !w->widget->isEnabledTo(w->widget->parentWidget()))
                style |= WS_DISABLED;
            return static_cast<LONG>(style);
        }
        return index == GWL_ID ? w->id : 0;
    });
}

int GetClassName(HWND hWnd, LPSTR className, int maxCount)
{
    return onGui([&] {
        Window* w = find(hWnd);
        return w ? copyText(w->className, className, maxCount) : 0;
    });
}

BOOL SetWindowText(HWND hWnd, LPCSTR text)
{
    return static_cast<BOOL>(SendMessage(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

int GetWindowText(HWND hWnd, LPSTR buffer, int maxCount)
{
    if (!buffer || maxCount <= 0)
        return 0;
    buffer[0] = '\0';
    return static_cast<int>(SendMessage(hWnd, WM_GETTEXT, static_cast<WPARAM>(maxCount),
                                        reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLength(HWND hWnd)
{
    return static_cast<int>(SendMessage(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL SetDlgItemText(HWND hDlg, int id, LPCSTR text)
{
    const HWND item = GetDlgItem(hDlg, id);
    return item ? SetWindowText(item, text) : FALSE;
}

UINT GetDlgItemText(HWND hDlg, int id, LPSTR buffer, int maxCount)
{
    const HWND item = GetDlgItem(hDlg, id);
    if (!item) {
        if (buffer && maxCount > 0)
            buffer[0] = '\0';
        return 0;
    }
    return static_cast<UINT>(GetWindowText(item, buffer, maxCount));
}

BOOL EnableWindow(HWND hWnd, BOOL enable)
{
    return onGui([&] {
        Window* w = find(hWnd);
        if (!w || !w->widget)
            return FALSE;
        const bool wasDisabled = !w->widget->isEnabledTo(w->widget->parentWidget());
        w->widget->setEnabled(enable != FALSE);
        return wasDisabled ? TRUE : FALSE;
    });
}

BOOL IsWindowEnabled(HWND hWnd)
{
    return onGui([&] {
        Window* w = find(hWnd);
        return w && w->widget && w->widget->isEnabledTo(w->widget->parentWidget()) ? TRUE : FALSE;
    });
}

BOOL ShowWindow(HWND hWnd, int cmdShow)
{
    return onGui([&] {
        Window* w = find(hWnd);
        if (!w || !w->widget)
            return FALSE;
        const bool wasVisible = !w->widget->isHidden();
        w->widget->setVisible(cmdShow != SW_HIDE);
        return wasVisible ? TRUE : FALSE;
    });
}

BOOL IsWindowVisible(HWND hWnd)
{
    return onGui([&] {
        Window* w = find(hWnd);
        return w && w->widget && w->widget->isVisible() ? TRUE : FALSE;
    });
}

BOOL SetWindowPos(HWND hWnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    return onGui([&] {
        Window* w = find(hWnd);
        if (!w || !w->widget)
            return FALSE;
        QWidget* widget = w->widget;
        if (!(flags & SWP_NOZORDER) && widget->isWindow() &&
            (insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST)) {
            const bool shown = widget->isVisible();
            widget->setWindowFlag(Qt::WindowStaysOnTopHint, insertAfter == HWND_TOPMOST);
            if (shown)
                widget->show();
        }
        if (!(flags & SWP_NOSIZE)) {
            if (widget->isWindow())
                widget->setFixedSize(cx, cy);
            else
                widget->resize(cx, cy);
        }
        if (!(flags & SWP_NOMOVE))
            widget->move(x, y);
        if (flags & SWP_SHOWWINDOW)
            widget->show();
        if (flags & SWP_HIDEWINDOW)
            widget->hide();
        return TRUE;
    });
}

BOOL GetWindowRect(HWND hWnd, LPRECT rect)
{
    return onGui([&] {
        Window* w = find(hWnd);
        if (!w || !w->widget || !rect)
            return FALSE;
        QWidget* widget = w->widget;
        const QPoint origin = widget->isWindow() ? widget->frameGeometry().topLeft()
                                                 : widget->mapToGlobal(QPoint(0, 0));
        const QSize size = widget->isWindow() ? widget->frameGeometry().size() : widget->size();
        *rect = {origin.x(), origin.y(), origin.x() + size.width(), origin.y() + size.height()};
        return TRUE;
    });
}

BOOL GetClientRect(HWND hWnd, LPRECT rect)
{
    return onGui([&] {
        Window* w = find(hWnd);
        if (!w || !w->widget || !rect)
            return FALSE;
        *rect = {0, 0, w->widget->width(), w->widget->height()};
        return TRUE;
    });
}

BOOL MapDialogRect(HWND hDlg, LPRECT rect)
{
    return onGui([&] {
        Window* w = find(hDlg);
        if (!w || !w->font || !rect)
            return FALSE;
        auto scale = [](LONG v, int base, int units) {
            return static_cast<LONG>(std::lround(static_cast<double>(v) * base / units));
        };
        *rect = {scale(rect->left, w->baseX, 4), scale(rect->top, w->baseY, 8),
                 scale(rect->right, w->baseX, 4), scale(rect->bottom, w->baseY, 8)};
        return TRUE;
    });
}

HWND GetActiveWindow()
{
    return onGui([]() -> HWND {
        if (!qApp)
            return nullptr;
        QWidget* active = QApplication::activeModalWidget();
        if (!active)
            active = QApplication::activeWindow();
        return active ? handleOf(active) : nullptr;
    });
}
