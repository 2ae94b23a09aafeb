// Hooks for automated tests: an answerer for message boxes and file
// dialogs, a driver for modal template dialogs, and the count of live
// windows (every test should end with none).
#pragma once

#include "ui/WinUser.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

struct DialogRequest {
    enum class Kind { MessageBox, OpenFile, SaveFile };
    Kind kind = Kind::MessageBox;
    std::string text;    // message boxes
    std::string caption; // message boxes: the caption; file dialogs: the title
    UINT type = 0;       // message boxes: the MB_ flags
    std::string filter;  // file dialogs: "Name|patterns|Name|patterns"
    std::string defaultExt;
    DWORD flags = 0;      // file dialogs: the OFN_ flags
    std::string fileName; // file dialogs: the initial name
};

struct DialogAnswer {
    int result = IDCANCEL;          // IDOK, IDCANCEL, IDYES, IDNO
    std::vector<std::string> paths; // file dialogs: the chosen files
};

// Asked on the GUI thread before a message box or file dialog is shown;
// an answer stands for the user's, no answer shows the dialog. An empty
// function removes the hook.
using DialogAnswerer = std::function<std::optional<DialogAnswer>(const DialogRequest&)>;
void setDialogAnswerer(DialogAnswerer answerer);

// While it lives, calls onDialog on the GUI thread once for every modal
// template dialog that becomes the active modal window (polled every few
// milliseconds), inside the dialog's modal loop.
class ModalDialogDriver {
public:
    explicit ModalDialogDriver(std::function<void(HWND)> onDialog);
    ~ModalDialogDriver();
    ModalDialogDriver(const ModalDialogDriver&) = delete;
    ModalDialogDriver& operator=(const ModalDialogDriver&) = delete;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

std::size_t liveWindowCount();

} // namespace ui
