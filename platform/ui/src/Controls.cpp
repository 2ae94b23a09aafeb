// Chooses the control class of a template entry and finds radio groups.
#include "Controls.h"

#include <QString>

namespace ui::detail {

bool createControl(const DialogControl& control, QWidget* parent, Window& window)
{
    using Create = void (*)(const DialogControl&, QWidget*, Window&);
    static const std::pair<const char*, Create> classes[] = {
        {WC_STATIC, createStatic},     {WC_EDIT, createEdit},       {WC_BUTTON, createButton},
        {WC_COMBOBOX, createComboBox}, {WC_LISTBOX, createListBox}, {WC_LISTVIEW, createListView},
    };
    const QString name = QString::fromStdString(control.className);
    for (const auto& [className, create] : classes) {
        if (name.compare(QLatin1String(className), Qt::CaseInsensitive) == 0) {
            window.className = className;
            create(control, parent, window);
            return true;
        }
    }
    return false;
}

bool isRadioButton(const Window& window)
{
    const DWORD type = window.style & BS_TYPEMASK;
    return window.className == WC_BUTTON && (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
}

std::vector<Window*> radioGroup(const Window& control)
{
    std::vector<Window*> group;
    Window* parent = find(control.parent);
    if (!parent)
        return group;
    const auto& siblings = parent->children;
    std::size_t at = 0;
    while (at < siblings.size() && siblings[at] != control.handle)
        ++at;
    if (at == siblings.size())
        return group;
    std::size_t first = at;
    while (first > 0 && !(find(siblings[first])->style & WS_GROUP))
        --first;
    for (std::size_t i = first; i < siblings.size(); ++i) {
        Window* w = find(siblings[i]);
        if (i > first && (w->style & WS_GROUP))
            break;
        if (isRadioButton(*w))
            group.push_back(w);
    }
    return group;
}

} // namespace ui::detail
