// Dialog templates as data: the dialog's caption, style, size and font and
// its controls (id, class, text, style, position and size), all in dialog
// units, entered as a resource script gives them. Dialog units are scaled by
// the dialog font's average character width (x / 4) and height (y / 8).
// The LTEXT ... CONTROL makers add the styles a resource compiler adds to
// the same statements (WS_CHILD | WS_VISIBLE and the class defaults).
//
// A module makes its templates known with a DialogResource object whose
// lifetime is the module's; dialogs find them by id.
#pragma once

#include "ui/WinUser.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace ui {

struct DialogControl {
    std::string className; // WC_STATIC, WC_EDIT, WC_BUTTON, ...
    std::string text;
    int id = IDC_STATIC;
    DWORD style = 0;
    short x = 0;
    short y = 0;
    short cx = 0;
    short cy = 0;
    DWORD exStyle = 0;

    // The same control with the given style bits cleared, e.g.
    // without(WS_VISIBLE) for a control that starts hidden.
    DialogControl without(DWORD bits) const;
};

struct DialogTemplate {
    UINT id = 0;
    std::string caption;
    DWORD style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT;
    short cx = 0;
    short cy = 0;
    std::string fontName = "MS Shell Dlg";
    WORD pointSize = 8;
    std::vector<DialogControl> controls;
};

// Registers templates for as long as the object lives. A second template
// under an id already registered is refused with a message on stderr.
class DialogResource {
public:
    DialogResource(std::initializer_list<const DialogTemplate*> templates);
    ~DialogResource();
    DialogResource(const DialogResource&) = delete;
    DialogResource& operator=(const DialogResource&) = delete;

private:
    std::vector<const DialogTemplate*> m_registered;
};

// The registered template with this id, or null.
const DialogTemplate* findDialogTemplate(UINT id);

// ---- Resource-script makers ------------------------------------------------

DialogControl LTEXT(const std::string& text, int id, short x, short y, short cx, short cy,
                    DWORD style = 0);
DialogControl RTEXT(const std::string& text, int id, short x, short y, short cx, short cy,
                    DWORD style = 0);
DialogControl CTEXT(const std::string& text, int id, short x, short y, short cx, short cy,
                    DWORD style = 0);
DialogControl EDITTEXT(int id, short x, short y, short cx, short cy, DWORD style = 0);
DialogControl PUSHBUTTON(const std::string& text, int id, short x, short y, short cx, short cy,
                         DWORD style = 0);
DialogControl DEFPUSHBUTTON(const std::string& text, int id, short x, short y, short cx, short cy,
                            DWORD style = 0);
DialogControl GROUPBOX(const std::string& text, int id, short x, short y, short cx, short cy,
                       DWORD style = 0);
DialogControl COMBOBOX(int id, short x, short y, short cx, short cy, DWORD style = 0);
DialogControl LISTBOX(int id, short x, short y, short cx, short cy, DWORD style = 0);
// Any class with exactly the styles given, plus WS_CHILD | WS_VISIBLE.
DialogControl CONTROL(const std::string& text, int id, const std::string& className, DWORD style,
                      short x, short y, short cx, short cy, DWORD exStyle = 0);

} // namespace ui
