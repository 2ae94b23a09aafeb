// The table of live windows, message delivery and the behaviour every
// window class shares.
#include "WindowTable.h"

#include "Text.h"

#include <QObject>

#include <algorithm>
#include <map>
#include <unordered_map>

namespace ui::detail {
namespace {

struct Table {
    std::unordered_map<HWND, std::unique_ptr<Window>> windows;
    std::unordered_map<const QWidget*, HWND> byWidget;
    ULONG_PTR next = 0x10000;
};

Table& table()
{
    static Table instance;
    return instance;
}

} // namespace

LRESULT Behaviour::message(Window& window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SETTEXT:
        setText(window, fromNarrow(reinterpret_cast<LPCSTR>(lParam)));
        return TRUE;
    case WM_GETTEXT:
        return copyText(toNarrow(text(window)), reinterpret_cast<LPSTR>(lParam),
                        static_cast<int>(wParam));
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(toNarrow(text(window)).size());
    case WM_GETFONT: {
        Window* dialog = dialogOf(window);
        return dialog && dialog->font ? reinterpret_cast<LRESULT>(dialog->font.get()) : 0;
    }
    case WM_KEYDOWN:
        keyReachedDefault() = true;
        return 0;
    default:
        return 0;
    }
}

QString Behaviour::text(const Window& window) const
{
    return window.widget ? window.widget->windowTitle() : QString();
}

void Behaviour::setText(Window& window, const QString& text)
{
    if (window.widget)
        window.widget->setWindowTitle(text);
}

void Behaviour::attached(Window&) {}

Window* find(HWND hWnd)
{
    auto it = table().windows.find(hWnd);
    return it == table().windows.end() ? nullptr : it->second.get();
}

Window& add(std::unique_ptr<Window> window)
{
    Table& t = table();
    t.next += 4;
    window->handle = reinterpret_cast<HWND>(t.next);
    Window& added = *window;
    if (Window* parent = find(added.parent))
        parent->children.push_back(added.handle);
    if (added.widget) {
        t.byWidget[added.widget] = added.handle;
        const HWND handle = added.handle;
        const QWidget* widget = added.widget;
        // A widget that Qt deletes on its own takes its handle with it.
        QObject::connect(added.widget, &QObject::destroyed, [handle, widget] {
            Window* w = find(handle);
            if (w && table().byWidget.count(widget))
                remove(handle);
        });
    }
    t.windows[added.handle] = std::move(window);
    return added;
}

void remove(HWND hWnd)
{
    Table& t = table();
    auto it = t.windows.find(hWnd);
    if (it == t.windows.end())
        return;
    const std::vector<HWND> children = it->second->children;
    for (HWND child : children)
        remove(child);
    it = t.windows.find(hWnd);
    std::unique_ptr<Window> window = std::move(it->second);
    t.windows.erase(it);
    for (auto w = t.byWidget.begin(); w != t.byWidget.end();) {
        if (w->second == hWnd)
            w = t.byWidget.erase(w);
        else
            ++w;
    }
    if (Window* parent = find(window->parent)) {
        auto& siblings = parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), hWnd), siblings.end());
    }
}

HWND handleOf(const QWidget* widget)
{
    auto it = table().byWidget.find(widget);
    return it == table().byWidget.end() ? nullptr : it->second;
}

std::size_t liveCount()
{
    return table().windows.size();
}

Window* dialogOf(Window& window)
{
    Window* w = &window;
    while (w && !w->font)
        w = find(w->parent);
    return w;
}

void notifyParent(const Window& control, WORD code)
{
    deliver(control.parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(control.id), code),
            reinterpret_cast<LPARAM>(control.handle));
}

LRESULT deliver(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Window* window = find(hWnd);
    if (!window)
        return 0;
    if (window->handler)
        return window->handler->handleMessage(hWnd, msg, wParam, lParam);
    return window->behaviour->message(*window, msg, wParam, lParam);
}

bool& keyReachedDefault()
{
    thread_local bool reached = false;
    return reached;
}

} // namespace ui::detail

namespace ui {

using namespace detail;

MessageHandler* setMessageHandler(HWND hWnd, MessageHandler* handler)
{
    MessageHandler* previous = nullptr;
    runOnGuiThread([&] {
        if (Window* w = find(hWnd)) {
            previous = w->handler;
            w->handler = handler;
        }
    });
    return previous;
}

MessageHandler* messageHandler(HWND hWnd)
{
    MessageHandler* handler = nullptr;
    runOnGuiThread([&] {
        if (Window* w = find(hWnd))
            handler = w->handler;
    });
    return handler;
}

void setWindowCompanion(HWND hWnd, std::unique_ptr<MessageHandler> companion)
{
    runOnGuiThread([&] {
        if (Window* w = find(hWnd))
            w->companion = std::move(companion);
    });
}

MessageHandler* windowCompanion(HWND hWnd)
{
    MessageHandler* companion = nullptr;
    runOnGuiThread([&] {
        if (Window* w = find(hWnd))
            companion = w->companion.get();
    });
    return companion;
}

HWND registerWindow(QWidget* widget, HWND parent)
{
    HWND handle = nullptr;
    runOnGuiThread([&] {
        auto window = std::make_unique<Window>();
        window->widget = widget;
        window->parent = parent;
        window->behaviour = std::make_unique<Behaviour>();
        handle = add(std::move(window)).handle;
    });
    return handle;
}

QWidget* windowWidget(HWND hWnd)
{
    QWidget* widget = nullptr;
    runOnGuiThread([&] {
        if (Window* w = find(hWnd))
            widget = w->widget;
    });
    return widget;
}

} // namespace ui
