// Message boxes: OK, OK/Cancel, Yes/No, Yes/No/Cancel and Retry/Cancel with
// the four icons. MB_SYSTEMMODAL keeps the box above every window.
#include "DialogAnswerer.h"
#include "Text.h"
#include "WindowTable.h"

#include <QMessageBox>

using namespace ui::detail;

int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    int result = IDCANCEL;
    ui::runOnGuiThread([&] {
        ui::DialogRequest request;
        request.kind = ui::DialogRequest::Kind::MessageBox;
        request.text = text ? text : "";
        request.caption = caption ? caption : "Error";
        request.type = type;
        if (auto answer = askAnswerer(request)) {
            result = answer->result;
            return;
        }
        QWidget* ownerWidget = ui::windowWidget(owner);
        QMessageBox box(ownerWidget ? ownerWidget->window() : nullptr);
        box.setText(fromNarrow(request.text.c_str()));
        box.setWindowTitle(fromNarrow(request.caption.c_str()));
        switch (type & MB_ICONMASK) {
        case MB_ICONHAND:
            box.setIcon(QMessageBox::Critical);
            break;
        case MB_ICONQUESTION:
            box.setIcon(QMessageBox::Question);
            break;
        case MB_ICONEXCLAMATION:
            box.setIcon(QMessageBox::Warning);
            break;
        case MB_ICONINFORMATION:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            break;
        }
        struct Choice {
            QMessageBox::StandardButton button;
            int id;
        };
        std::vector<Choice> choices;
        switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            choices = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
            break;
        case MB_YESNOCANCEL:
            choices = {{QMessageBox::Yes, IDYES},
                       {QMessageBox::No, IDNO},
                       {QMessageBox::Cancel, IDCANCEL}};
            break;
        case MB_YESNO:
            choices = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
            break;
        case MB_RETRYCANCEL:
            choices = {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
            break;
        default:
            choices = {{QMessageBox::Ok, IDOK}};
            break;
        }
        QMessageBox::StandardButtons buttons;
        for (const Choice& c : choices)
            buttons |= c.button;
        box.setStandardButtons(buttons);
        if (type & (MB_SYSTEMMODAL | MB_TASKMODAL))
            box.setWindowFlag(Qt::WindowStaysOnTopHint);
        const int pressed = box.exec();
        result = choices.back().id == IDCANCEL ? IDCANCEL : choices.front().id;
        for (const Choice& c : choices)
            if (pressed == c.button)
                result = c.id;
    });
    return result;
}
