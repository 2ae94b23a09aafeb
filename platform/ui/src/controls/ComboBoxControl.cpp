// Combo boxes (drop-down lists, or editable drop-downs) with item data. Like
// a Windows combo box they start without a selection, and adding entries
// does not choose one. A choice by the user notifies CBN_SELCHANGE.
#include "../Controls.h"
#include "../Text.h"

#include <QComboBox>

namespace ui::detail {
namespace {

class ComboBoxBehaviour : public Behaviour {
public:
    explicit ComboBoxBehaviour(QComboBox* combo) : m_combo(combo) {}

    LRESULT message(Window& window, UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        const int count = m_combo->count();
        const int index = static_cast<int>(wParam);
        const bool valid = index >= 0 && index < count;
        switch (msg) {
        case CB_ADDSTRING:
            return insert(count, reinterpret_cast<LPCSTR>(lParam));
        case CB_INSERTSTRING:
            if (index == -1)
                return insert(count, reinterpret_cast<LPCSTR>(lParam));
            return index >= 0 && index <= count ? insert(index, reinterpret_cast<LPCSTR>(lParam))
                                                : CB_ERR;
        case CB_DELETESTRING:
            if (!valid)
                return CB_ERR;
            m_combo->removeItem(index);
            return m_combo->count();
        case CB_GETCOUNT:
            return count;
        case CB_GETCURSEL:
            return m_combo->currentIndex();
        case CB_SETCURSEL:
            m_combo->setCurrentIndex(valid ? index : -1);
            return valid ? index : CB_ERR;
        case CB_GETLBTEXT:
            if (!valid)
                return CB_ERR;
            return copyText(toNarrow(m_combo->itemText(index)), reinterpret_cast<LPSTR>(lParam),
                            0x7fffffff);
        case CB_GETLBTEXTLEN:
            return valid ? static_cast<LRESULT>(toNarrow(m_combo->itemText(index)).size()) : CB_ERR;
        case CB_GETITEMDATA:
            return valid ? static_cast<LRESULT>(m_combo->itemData(index).toLongLong()) : CB_ERR;
        case CB_SETITEMDATA:
            if (!valid)
                return CB_ERR;
            m_combo->setItemData(index, QVariant::fromValue(static_cast<qlonglong>(lParam)));
            return TRUE;
        case CB_RESETCONTENT:
            m_combo->clear();
            return TRUE;
        default:
            return Behaviour::message(window, msg, wParam, lParam);
        }
    }
    QString text(const Window&) const override { return m_combo->currentText(); }
    void setText(Window&, const QString& text) override
    {
        if (m_combo->isEditable())
            m_combo->setEditText(text);
    }
    void attached(Window& window) override
    {
        const HWND handle = window.handle;
        QObject::connect(m_combo, &QComboBox::activated, [handle] {
            if (Window* w = find(handle))
                notifyParent(*w, CBN_SELCHANGE);
        });
    }

private:
    LRESULT insert(int index, LPCSTR text)
    {
        const int selected = m_combo->currentIndex();
        m_combo->insertItem(index, fromNarrow(text));
        if (selected == -1)
            m_combo->setCurrentIndex(-1);
        return index;
    }

    QComboBox* m_combo;
};

} // namespace

void createComboBox(const DialogControl& control, QWidget* parent, Window& window)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable((control.style & 0x3) == CBS_DROPDOWN);
    combo->setCurrentIndex(-1);
    window.widget = combo;
    window.behaviour = std::make_unique<ComboBoxBehaviour>(combo);
}

} // namespace ui::detail
