// The registered dialog templates and the resource-script makers.
#include "ui/DialogTemplate.h"

#include <cstdio>
#include <map>
#include <mutex>

namespace ui {
namespace {

struct Templates {
    std::mutex mutex;
    std::map<UINT, const DialogTemplate*> byId;
};

Templates& templates()
{
    static Templates instance;
    return instance;
}

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

DialogControl make(const char* className, const std::string& text, int id, DWORD style, short x,
                   short y, short cx, short cy)
{
    DialogControl c;
    c.className = className;
    c.text = text;
    c.id = id;
    c.style = style;
    c.x = x;
    c.y = y;
    c.cx = cx;
    c.cy = cy;
    return c;
}

} // namespace

DialogControl DialogControl::without(DWORD bits) const
{
    DialogControl copy = *this;
    copy.style &= ~bits;
    return copy;
}

DialogResource::DialogResource(std::initializer_list<const DialogTemplate*> list)
{
    std::lock_guard lock(templates().mutex);
    for (const DialogTemplate* t : list) {
        auto [it, added] = templates().byId.emplace(t->id, t);
        if (added)
            m_registered.push_back(t);
        else if (it->second != t)
            std::fprintf(
                stderr, "dialog template %u is registered already; the second is ignored\n", t->id);
    }
}

DialogResource::~DialogResource()
{
    std::lock_guard lock(templates().mutex);
    for (const DialogTemplate* t : m_registered)
        templates().byId.erase(t->id);
}

const DialogTemplate* findDialogTemplate(UINT id)
{
    std::lock_guard lock(templates().mutex);
    auto it = templates().byId.find(id);
    return it == templates().byId.end() ? nullptr : it->second;
}

DialogControl LTEXT(const std::string& text, int id, short x, short y, short cx, short cy,
                    DWORD style)
{
    return make(WC_STATIC, text, id, kChild | WS_GROUP | SS_LEFT | style, x, y, cx, cy);
}

DialogControl RTEXT(const std::string& text, int id, short x, short y, short cx, short cy,
                    DWORD style)
{
    return make(WC_STATIC, text, id, kChild | WS_GROUP | SS_RIGHT | style, x, y, cx, cy);
}

DialogControl CTEXT(const std::string& text, int id, short x, short y, short cx, short cy,
                    DWORD style)
{
    return make(WC_STATIC, text, id, kChild | WS_GROUP | SS_CENTER | style, x, y, cx, cy);
}

DialogControl EDITTEXT(int id, short x, short y, short cx, short cy, DWORD style)
{
    return make(WC_EDIT, "", id, kChild | WS_TABSTOP | WS_BORDER | ES_LEFT | style, x, y, cx, cy);
}

DialogControl PUSHBUTTON(const std::string& text, int id, short x, short y, short cx, short cy,
                         DWORD style)
{
    return make(WC_BUTTON, text, id, kChild | WS_TABSTOP | BS_PUSHBUTTON | style, x, y, cx, cy);
}

DialogControl DEFPUSHBUTTON(const std::string& text, int id, short x, short y, short cx, short cy,
                            DWORD style)
{
    return make(WC_BUTTON, text, id, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON | style, x, y, cx, cy);
}

DialogControl GROUPBOX(const std::string& text, int id, short x, short y, short cx, short cy,
                       DWORD style)
{
    return make(WC_BUTTON, text, id, kChild | BS_GROUPBOX | style, x, y, cx, cy);
}

DialogControl COMBOBOX(int id, short x, short y, short cx, short cy, DWORD style)
{
    return make(WC_COMBOBOX, "", id, kChild | WS_TABSTOP | style, x, y, cx, cy);
}

DialogControl LISTBOX(int id, short x, short y, short cx, short cy, DWORD style)
{
    return make(WC_LISTBOX, "", id, kChild | WS_TABSTOP | WS_BORDER | LBS_NOTIFY | style, x, y, cx,
                cy);
}

DialogControl CONTROL(const std::string& text, int id, const std::string& className, DWORD style,
                      short x, short y, short cx, short cy, DWORD exStyle)
{
    DialogControl c = make("", text, id, kChild | style, x, y, cx, cy);
    c.className = className;
    c.exStyle = exStyle;
    return c;
}

} // namespace ui
