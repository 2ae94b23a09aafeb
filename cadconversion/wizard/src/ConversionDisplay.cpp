// ConversionDisplay: the changes of a run's page, handed from the worker
// to the user-interface thread.
#include "wizard/ConversionDisplay.h"

#include "wizard/Resource.h"

void ConversionDisplay::setPage(HWND page, UINT wake)
{
    std::lock_guard lock(m_mutex);
    m_page = page;
    m_wake = wake;
}

void ConversionDisplay::select(int index)
{
    hand({Change::Kind::Select, index, {}, {}, {}});
}

void ConversionDisplay::mark(int index, std::string text)
{
    hand({Change::Kind::Mark, index, std::move(text), {}, {}});
}

void ConversionDisplay::show(std::string job, std::string group, std::string mark)
{
    hand({Change::Kind::Show, 0, std::move(job), std::move(group), std::move(mark)});
}

void ConversionDisplay::hand(Change change)
{
    HWND page = nullptr;
    UINT wake = 0;
    {
        std::lock_guard lock(m_mutex);
        m_selects += change.kind == Change::Kind::Select;
        m_shows += change.kind == Change::Kind::Show;
        m_changes.push_back(std::move(change));
        if (!m_woken) {
            m_woken = true;
            page = m_page;
            wake = m_wake;
        }
    }
    if (page)
        ::PostMessage(page, wake, 0, 0);
}

bool ConversionDisplay::apply(CListBoxExtent& list, std::chrono::steady_clock::duration budget)
{
    const auto until = std::chrono::steady_clock::now() + budget;
    for (;;) {
        Change change;
        bool last = false; // the last of its kind waiting
        {
            std::lock_guard lock(m_mutex);
            if (m_changes.empty()) {
                m_woken = false;
                return true;
            }
            if (std::chrono::steady_clock::now() >= until)
                return false;
            change = std::move(m_changes.front());
            m_changes.pop_front();
            if (change.kind == Change::Kind::Select)
                last = --m_selects == 0;
            else if (change.kind == Change::Kind::Show)
                last = --m_shows == 0;
        }
        switch (change.kind) {
        case Change::Kind::Select:
            if (last)
                list.SetCurSel(change.index);
            break;
        case Change::Kind::Show:
            if (last) {
                const HWND page = ::GetParent(list.m_hWnd);
                ::SetDlgItemText(page, IDC_CURRENT_JOB, change.text.c_str());
                ::SetDlgItemText(page, IDC_CURRENT_GROUP, change.group.c_str());
                ::SetDlgItemText(page, IDC_CURRENT_MARK, change.mark.c_str());
            }
            break;
        case Change::Kind::Mark:
            // The marked text goes in before the old entry, which then goes.
            if (change.index < 0 || change.index >= list.GetCount())
                break;
            list.InsertString(change.index, change.text.c_str());
            list.DeleteString(static_cast<UINT>(change.index + 1));
            break;
        }
    }
}

void ConversionDisplay::clear()
{
    std::lock_guard lock(m_mutex);
    m_changes.clear();
    m_selects = 0;
    m_shows = 0;
    m_woken = false;
}
