// HtmlHelp: one help window per compiled help file, owned by the caller's
// window when it names one.
#include "help/HtmlHelp.h"

#include "ChmFile.h"
#include "HelpWindow.h"

#include "ui/Window.h"

#include <QPointer>

#include <filesystem>
#include <map>
#include <string>
#include <system_error>

namespace {

struct OpenHelp {
    QPointer<help::HelpWindow> window;
    HWND handle = nullptr;
    HWND owner = nullptr;
};

// The help windows shown, by file; touched on the GUI thread only. A
// window the user closed is null.
std::map<std::string, OpenHelp>& openHelp()
{
    static std::map<std::string, OpenHelp> windows;
    return windows;
}

std::string fileKey(const char* file)
{
    std::error_code error;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(file, error);
    return error ? std::string(file) : canonical.string();
}

void bringToFront(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

HWND HtmlHelp(HWND owner, LPCSTR file, UINT command, DWORD_PTR)
{
    if (command != HH_DISPLAY_TOPIC || !file)
        return nullptr;
    HWND window = nullptr;
    ui::runOnGuiThread([&] {
        const std::string key = fileKey(file);
        OpenHelp& open = openHelp()[key];
        if (open.window && open.owner == owner &&
            open.window->showTopic(open.window->defaultTopic())) {
            bringToFront(open.window);
            window = open.handle;
            return;
        }
        // Another owner's window, or one whose file no longer reads, goes.
        delete open.window.data();
        openHelp().erase(key);

        auto chm = help::ChmFile::open(file);
        if (!chm)
            return;
        // Owned by the caller's window: above it, usable while it is
        // modal, and closed with it.
        QWidget* ownerWidget = ui::windowWidget(owner);
        auto* widget =
            new help::HelpWindow(std::move(chm), ownerWidget ? ownerWidget->window() : nullptr);
        if (!widget->showTopic(widget->defaultTopic())) {
            delete widget;
            return;
        }
        widget->setAttribute(Qt::WA_DeleteOnClose);
        window = ui::registerWindow(widget, owner);
        openHelp()[key] = {widget, window, owner};
        bringToFront(widget);
    });
    return window;
}
