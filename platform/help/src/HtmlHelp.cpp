// HtmlHelp: a help window for a CHM file.
#include "help/HtmlHelp.h"

#include "ChmFile.h"
#include "HelpWindow.h"

#include "ui/Window.h"

HWND HtmlHelp(HWND owner, LPCSTR file, UINT command, DWORD_PTR)
{
    if (command != HH_DISPLAY_TOPIC || !file)
        return nullptr;
    HWND window = nullptr;
    ui::runOnGuiThread([&] {
        auto chm = help::ChmFile::open(file);
        if (!chm)
            return;
        const QString topic = chm->defaultTopic();
        auto* widget = new help::HelpWindow(std::move(chm));
        if (!widget->showTopic(topic)) {
            delete widget;
            return;
        }
        widget->setAttribute(Qt::WA_DeleteOnClose);
        window = ui::registerWindow(widget, owner);
        widget->show();
    });
    return window;
}
