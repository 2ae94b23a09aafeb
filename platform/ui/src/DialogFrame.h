// The Qt dialog behind a top-level template dialog. Escape, the close box
// and the window manager's close become the messages a Windows dialog gets
// (WM_COMMAND IDCANCEL, WM_CLOSE); F1 sends the ID_HELP command.
#pragma once

#include "ui/WinUser.h"

#include <QDialog>

namespace ui::detail {

class DialogFrame : public QDialog {
public:
    explicit DialogFrame(QWidget* owner) : QDialog(owner) {}
    HWND handle = nullptr;

    void reject() override;
    void accept() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace ui::detail
