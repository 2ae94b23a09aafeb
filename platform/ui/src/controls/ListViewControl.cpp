// The report list view: columns with titles and widths in pixels, rows
// with a text per column.
#include "../Controls.h"
#include "../Text.h"

#include "ui/CommCtrl.h"

#include <QHeaderView>
#include <QTreeWidget>

#include <algorithm>

namespace ui::detail {
namespace {

class ListViewBehaviour : public Behaviour {
public:
    explicit ListViewBehaviour(QTreeWidget* view) : m_view(view) {}

    LRESULT message(Window& window, UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        const int rows = m_view->topLevelItemCount();
        const int row = static_cast<int>(wParam);
        switch (msg) {
        case LVM_INSERTCOLUMN:
            return insertColumn(row, *reinterpret_cast<const LVCOLUMN*>(lParam));
        case LVM_GETCOLUMNWIDTH:
            return row >= 0 && row < static_cast<int>(m_titles.size()) ? m_view->columnWidth(row)
                                                                       : 0;
        case LVM_INSERTITEM: {
            const auto& item = *reinterpret_cast<const LVITEM*>(lParam);
            const int at = std::clamp(item.iItem, 0, rows);
            auto* entry = new QTreeWidgetItem;
            if (item.mask & LVIF_TEXT)
                entry->setText(0, fromNarrow(item.pszText));
            if (item.mask & LVIF_PARAM)
                entry->setData(0, Qt::UserRole,
                               QVariant::fromValue(static_cast<qlonglong>(item.lParam)));
            m_view->insertTopLevelItem(at, entry);
            return at;
        }
        case LVM_SETITEMTEXT: {
            const auto& item = *reinterpret_cast<const LVITEM*>(lParam);
            if (row < 0 || row >= rows || item.iSubItem < 0 ||
                item.iSubItem >= static_cast<int>(m_titles.size()))
                return FALSE;
            m_view->topLevelItem(row)->setText(item.iSubItem, fromNarrow(item.pszText));
            return TRUE;
        }
        case LVM_GETITEMTEXT: {
            auto& item = *reinterpret_cast<LVITEM*>(lParam);
            if (row < 0 || row >= rows)
                return 0;
            return copyText(toNarrow(m_view->topLevelItem(row)->text(item.iSubItem)), item.pszText,
                            item.cchTextMax);
        }
        case LVM_GETITEMCOUNT:
            return rows;
        case LVM_DELETEALLITEMS:
            m_view->clear();
            return TRUE;
        default:
            return Behaviour::message(window, msg, wParam, lParam);
        }
    }

private:
    LRESULT insertColumn(int column, const LVCOLUMN& col)
    {
        const int at = std::clamp(column, 0, static_cast<int>(m_titles.size()));
        std::vector<int> widths;
        for (int i = 0; i < static_cast<int>(m_titles.size()); ++i)
            widths.push_back(m_view->columnWidth(i));
        m_titles.insert(m_titles.begin() + at,
                        (col.mask & LVCF_TEXT) ? fromNarrow(col.pszText) : QString());
        widths.insert(widths.begin() + at, (col.mask & LVCF_WIDTH) ? col.cx : 50);
        QStringList labels(m_titles.begin(), m_titles.end());
        m_view->setColumnCount(static_cast<int>(m_titles.size()));
        m_view->setHeaderLabels(labels);
        for (int i = 0; i < static_cast<int>(widths.size()); ++i)
            m_view->setColumnWidth(i, widths[static_cast<std::size_t>(i)]);
        return at;
    }

    QTreeWidget* m_view;
    std::vector<QString> m_titles;
};

} // namespace

void createListView(const DialogControl& control, QWidget* parent, Window& window)
{
    auto* view = new QTreeWidget(parent);
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setColumnCount(0);
    view->header()->setStretchLastSection(false);
    view->header()->setVisible(control.style & LVS_REPORT);
    view->setSelectionMode((control.style & LVS_SINGLESEL) ? QAbstractItemView::SingleSelection
                                                           : QAbstractItemView::ExtendedSelection);
    view->setFrameShape((control.style & WS_BORDER) ? QFrame::StyledPanel : QFrame::NoFrame);
    window.widget = view;
    window.behaviour = std::make_unique<ListViewBehaviour>(view);
}

} // namespace ui::detail
