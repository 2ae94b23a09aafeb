// The table of live windows: what a handle stands for (its widget, its
// class's built-in behaviour, the attached handler, its parent and children
// in creation order). Touched on the GUI thread only.
#pragma once

#include "Gdi.h"
#include "ui/Window.h"

#include <QFont>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

namespace ui::detail {

struct Window;

// The built-in window procedure of a window class.
class Behaviour {
public:
    virtual ~Behaviour() = default;
    // Messages every class answers (text, font, close); a class handles its
    // own first and passes the rest here.
    virtual LRESULT message(Window& window, UINT msg, WPARAM wParam, LPARAM lParam);
    virtual QString text(const Window& window) const;
    virtual void setText(Window& window, const QString& text);
    // Called once the window is in the table: connects the widget's signals.
    virtual void attached(Window& window);
};

struct Window {
    HWND handle = nullptr;
    QPointer<QWidget> widget;
    HWND parent = nullptr;
    int id = 0;
    DWORD style = 0;
    std::string className;
    std::unique_ptr<Behaviour> behaviour;
    MessageHandler* handler = nullptr;
    std::unique_ptr<MessageHandler> companion;
    std::vector<HWND> children;
    // Dialogs: their font (WM_GETFONT) and dialog base units.
    std::unique_ptr<HFONT__> font;
    int baseX = 0;
    int baseY = 0;
    // Dialogs: the modal state.
    bool modalEnded = false;
    INT_PTR modalResult = 0;
};

Window* find(HWND hWnd);
Window& add(std::unique_ptr<Window> window);
// Removes the window and its children from the table without messages.
void remove(HWND hWnd);
HWND handleOf(const QWidget* widget);
std::size_t liveCount();
// The dialog a control belongs to (the window itself for a dialog).
Window* dialogOf(Window& window);

// Sends WM_COMMAND with the notification code to the control's parent.
void notifyParent(const Window& control, WORD code);
// Dispatches to the handler or the built-in behaviour (GUI thread).
LRESULT deliver(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

// True when the current WM_KEYDOWN reached the built-in behaviour, so Qt
// is to process the key itself.
bool& keyReachedDefault();

} // namespace ui::detail
