// The framework's own window layer beneath the Win32 calls: message
// handlers attached to windows, dialogs created from templates and run
// modally, and the hand-over of work to the GUI thread. The MFC-like and
// ATL-like classes and the help viewer are built on it.
#pragma once

#include "ui/DialogTemplate.h"
#include "ui/WinUser.h"

#include <functional>
#include <memory>

class QWidget;

namespace ui {

// Sees a window's messages before its class's built-in behaviour
// (DefWindowProc), like a subclassed window procedure. Called on the GUI
// thread only.
class MessageHandler {
public:
    virtual ~MessageHandler() = default;
    virtual LRESULT handleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;
};

// Attaches handler (null detaches) and answers the one attached before.
MessageHandler* setMessageHandler(HWND hWnd, MessageHandler* handler);
MessageHandler* messageHandler(HWND hWnd);

// An object the window owns and deletes when it is destroyed (the MFC-like
// layer keeps its temporary wrappers here). Replaces an earlier one.
void setWindowCompanion(HWND hWnd, std::unique_ptr<MessageHandler> companion);
MessageHandler* windowCompanion(HWND hWnd);

// Creates a dialog from a template on the GUI thread, hidden, with handler
// attached. With a container the dialog is a child window placed in it
// (a property page), otherwise a top-level dialog owned by parent. Sends no
// WM_INITDIALOG: the caller does, once it knows the handle. Null when the
// template names an unknown control class (reported on stderr).
HWND createDialog(const DialogTemplate& dialogTemplate, HWND parent, MessageHandler* handler,
                  QWidget* container = nullptr);
// Shows a top-level dialog modally until EndDialog and answers its result.
INT_PTR runModalDialog(HWND hDlg);
// Creates the dialog, calls created with its handle, sends WM_INITDIALOG,
// focuses the first control that takes focus when the handler answers
// non-zero, runs the dialog modally and destroys it. Answers the
// EndDialog result, or -1 when the dialog cannot be made (the id version:
// also when no template has the id). Runs on the GUI thread, handed over
// from a worker, which waits.
INT_PTR doModal(const DialogTemplate& dialogTemplate, HWND owner, MessageHandler* handler,
                const std::function<void(HWND)>& created);
INT_PTR doModal(UINT templateId, HWND owner, MessageHandler* handler,
                const std::function<void(HWND)>& created);

// Registers a top-level widget made by other code (the help viewer) as a
// window; its handle goes when the widget is deleted.
HWND registerWindow(QWidget* widget, HWND parent);
QWidget* windowWidget(HWND hWnd);

// Runs work on the GUI thread: directly when called there (or when there
// is no application), otherwise handed over while the caller waits. An
// exception thrown by work reaches the caller.
void runOnGuiThread(const std::function<void()>& work);
bool isGuiThread();

} // namespace ui
