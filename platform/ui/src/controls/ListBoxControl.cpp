// List boxes with single, multiple or extended selection, item data and a
// horizontal extent. Selection calls follow Windows: LB_SETCURSEL serves
// single-selection lists, LB_SETSEL, LB_GETSELCOUNT and LB_GETSELITEMS the
// others. A selection change by the user notifies LBN_SELCHANGE when the
// list has LBS_NOTIFY.
//
// As on Windows every entry is one line high and the horizontal extent
// (LB_SETHORIZONTALEXTENT), not the entries' texts, sets how far the list
// scrolls sideways: no entry is measured to lay the list out, so that
// adding, inserting or deleting an entry costs the same in a list of ten
// entries or of ten thousand, wherever the entry is.
#include "../Controls.h"
#include "../Text.h"

#include <QApplication>
#include <QListWidget>
#include <QStyledItemDelegate>

#include <algorithm>

namespace ui::detail {
namespace {

// Every entry is as wide as the extent and as high as a line of the list's
// font, whatever its text.
class ListBoxDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem line = option;
        initStyleOption(&line, index);
        line.text = QStringLiteral("Xg");
        const QWidget* widget = option.widget;
        const QStyle* style = widget ? widget->style() : QApplication::style();
        return {m_extent,
                style->sizeFromContents(QStyle::CT_ItemViewItem, &line, QSize(), widget).height()};
    }

    int extent() const { return m_extent; }
    // The list lays itself out again when it next handles its events.
    void setExtent(int extent)
    {
        if (extent == m_extent)
            return;
        m_extent = extent;
        emit sizeHintChanged(QModelIndex());
    }

private:
    int m_extent = 0;
};

class ListBoxBehaviour : public Behaviour {
public:
    ListBoxBehaviour(QListWidget* list, bool multiple)
        : m_list(list), m_delegate(new ListBoxDelegate(list)), m_multiple(multiple)
    {
        m_list->setUniformItemSizes(true);
        m_list->setItemDelegate(m_delegate);
        m_list->setTextElideMode(Qt::ElideNone); // entries are cut, not shortened
    }

    LRESULT message(Window& window, UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        m_busy = true;
        const LRESULT result = handle(window, msg, wParam, lParam);
        m_busy = false;
        return result;
    }
    void attached(Window& window) override
    {
        if (!(window.style & LBS_NOTIFY))
            return;
        const HWND handle = window.handle;
        QObject::connect(m_list, &QListWidget::itemSelectionChanged, [this, handle] {
            if (Window* w = find(handle); w && !m_busy)
                notifyParent(*w, LBN_SELCHANGE);
        });
    }

private:
    LRESULT handle(Window& window, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        const int count = m_list->count();
        const int index = static_cast<int>(wParam);
        const bool valid = index >= 0 && index < count;
        switch (msg) {
        case LB_ADDSTRING:
            return insert(count, reinterpret_cast<LPCSTR>(lParam));
        case LB_INSERTSTRING:
            if (index == -1)
                return insert(count, reinterpret_cast<LPCSTR>(lParam));
            return index >= 0 && index <= count ? insert(index, reinterpret_cast<LPCSTR>(lParam))
                                                : LB_ERR;
        case LB_DELETESTRING:
            if (!valid)
                return LB_ERR;
            delete m_list->takeItem(index);
            return m_list->count();
        case LB_RESETCONTENT:
            m_list->clear();
            return 0;
        case LB_GETCOUNT:
            return count;
        case LB_GETTEXT:
            if (!valid)
                return LB_ERR;
            return copyText(toNarrow(m_list->item(index)->text()), reinterpret_cast<LPSTR>(lParam),
                            0x7fffffff);
        case LB_GETTEXTLEN:
            return valid ? static_cast<LRESULT>(toNarrow(m_list->item(index)->text()).size())
                         : LB_ERR;
        case LB_SETCURSEL:
            if (m_multiple)
                return LB_ERR;
            m_list->clearSelection();
            m_list->setCurrentRow(valid ? index : -1);
            if (valid)
                m_list->scrollToItem(m_list->item(index));
            return valid ? index : LB_ERR;
        case LB_GETCURSEL:
            if (m_multiple)
                return m_list->currentRow();
            return m_list->selectedItems().isEmpty() ? LB_ERR : m_list->currentRow();
        case LB_SETSEL: {
            if (!m_multiple)
                return LB_ERR;
            const int item = static_cast<int>(lParam);
            if (item == -1) {
                for (int i = 0; i < count; ++i)
                    m_list->item(i)->setSelected(wParam != 0);
                return 0;
            }
            if (item < 0 || item >= count)
                return LB_ERR;
            m_list->item(item)->setSelected(wParam != 0);
            return 0;
        }
        case LB_GETSEL:
            return valid ? (m_list->item(index)->isSelected() ? 1 : 0) : LB_ERR;
        case LB_GETSELCOUNT:
            return m_multiple ? static_cast<LRESULT>(selectedRows().size()) : LB_ERR;
        case LB_GETSELITEMS: {
            if (!m_multiple)
                return LB_ERR;
            const std::vector<int> rows = selectedRows();
            const std::size_t n = std::min(rows.size(), static_cast<std::size_t>(wParam));
            auto* out = reinterpret_cast<INT*>(lParam);
            std::copy_n(rows.begin(), n, out);
            return static_cast<LRESULT>(n);
        }
        case LB_GETHORIZONTALEXTENT:
            return m_delegate->extent();
        case LB_SETHORIZONTALEXTENT:
            m_delegate->setExtent(static_cast<int>(wParam));
            return 0;
        case LB_GETITEMDATA:
            return valid
                       ? static_cast<LRESULT>(m_list->item(index)->data(Qt::UserRole).toLongLong())
                       : LB_ERR;
        case LB_SETITEMDATA:
            if (!valid)
                return LB_ERR;
            m_list->item(index)->setData(Qt::UserRole,
                                         QVariant::fromValue(static_cast<qlonglong>(lParam)));
            return 0;
        default:
            return Behaviour::message(window, msg, wParam, lParam);
        }
    }

    LRESULT insert(int index, LPCSTR text)
    {
        m_list->insertItem(index, fromNarrow(text));
        return index;
    }

    std::vector<int> selectedRows() const
    {
        std::vector<int> rows;
        for (int i = 0; i < m_list->count(); ++i)
            if (m_list->item(i)->isSelected())
                rows.push_back(i);
        return rows;
    }

    QListWidget* m_list;
    ListBoxDelegate* m_delegate;
    bool m_multiple;
    bool m_busy = false;
};

} // namespace

void createListBox(const DialogControl& control, QWidget* parent, Window& window)
{
    auto* list = new QListWidget(parent);
    const bool extended = control.style & LBS_EXTENDEDSEL;
    const bool multiple = extended || (control.style & LBS_MULTIPLESEL);
    list->setSelectionMode(extended   ? QAbstractItemView::ExtendedSelection
                           : multiple ? QAbstractItemView::MultiSelection
                                      : QAbstractItemView::SingleSelection);
    list->setHorizontalScrollBarPolicy((control.style & WS_HSCROLL) ? Qt::ScrollBarAsNeeded
                                                                    : Qt::ScrollBarAlwaysOff);
    window.widget = list;
    window.behaviour = std::make_unique<ListBoxBehaviour>(list, multiple);
}

} // namespace ui::detail
