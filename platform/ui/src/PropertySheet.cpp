// CPropertySheet in wizard mode: the sheet's own template (page area,
// separator, buttons) made from the largest page, page creation on first
// activation and the page flow.
#include "ui/PropertySheet.h"

#include <QPushButton>
#include <QWidget>

#include <algorithm>
#include <cstdio>

namespace {

constexpr short kMargin = 7;
constexpr short kButtonWidth = 50;
constexpr short kButtonHeight = 14;

} // namespace

CPropertySheet::CPropertySheet(LPCSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_psh{}, m_caption(pszCaption ? pszCaption : ""), m_pParentWnd(pParentWnd)
{
    m_psh.dwSize = sizeof m_psh;
    m_psh.pszCaption = m_caption.c_str();
    m_psh.nStartPage = iSelectPage;
}

void CPropertySheet::AddPage(CPropertyPage* page)
{
    m_pages.push_back(page);
    m_psh.nPages = static_cast<UINT>(m_pages.size());
}

int CPropertySheet::GetPageCount() const
{
    return static_cast<int>(m_pages.size());
}

CPropertyPage* CPropertySheet::GetPage(int index) const
{
    return index >= 0 && index < GetPageCount() ? m_pages[static_cast<std::size_t>(index)]
                                                : nullptr;
}

CPropertyPage* CPropertySheet::GetActivePage() const
{
    return GetPage(m_active);
}

int CPropertySheet::GetActiveIndex() const
{
    return m_active;
}

void CPropertySheet::SetWizardMode()
{
    m_psh.dwFlags |= PSH_WIZARD;
}

void CPropertySheet::SetWizardButtons(DWORD flags)
{
    SendMessage(PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(flags));
}

INT_PTR CPropertySheet::DoModal()
{
    if (!(m_psh.dwFlags & PSH_WIZARD) || m_pages.empty()) {
        std::fprintf(stderr, "property sheet \"%s\": only wizard mode with pages is supported\n",
                     m_caption.c_str());
        return -1;
    }
    short pageCx = 0;
    short pageCy = 0;
    for (CPropertyPage* page : m_pages) {
        const ui::DialogTemplate* t = ui::findDialogTemplate(page->m_nIDTemplate);
        if (!t) {
            std::fprintf(stderr, "property sheet \"%s\": page template %u is not registered\n",
                         m_caption.c_str(), page->m_nIDTemplate);
            return -1;
        }
        pageCx = std::max(pageCx, t->cx);
        pageCy = std::max(pageCy, t->cy);
    }
    ui::DialogTemplate sheet;
    sheet.caption = m_caption;
    sheet.cx = static_cast<short>(pageCx + 2 * kMargin);
    const short lineY = static_cast<short>(kMargin + pageCy + kMargin);
    const short buttonY = static_cast<short>(lineY + kMargin);
    sheet.cy = static_cast<short>(buttonY + kButtonHeight + kMargin);
    const short cancelX = static_cast<short>(sheet.cx - kMargin - kButtonWidth);
    const short nextX = static_cast<short>(cancelX - kMargin - kButtonWidth);
    const short backX = static_cast<short>(nextX - kButtonWidth);
    sheet.controls = {
        ui::CONTROL("", IDC_STATIC, WC_STATIC, SS_ETCHEDHORZ, kMargin, lineY,
                    static_cast<short>(sheet.cx - 2 * kMargin), 1),
        ui::PUSHBUTTON("< &Back", ID_WIZBACK, backX, buttonY, kButtonWidth, kButtonHeight),
        ui::DEFPUSHBUTTON("&Next >", ID_WIZNEXT, nextX, buttonY, kButtonWidth, kButtonHeight),
        ui::PUSHBUTTON("Finish", ID_WIZFINISH, nextX, buttonY, kButtonWidth, kButtonHeight)
            .without(WS_VISIBLE),
        ui::PUSHBUTTON("Cancel", IDCANCEL, cancelX, buttonY, kButtonWidth, kButtonHeight),
    };
    const HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : ::GetActiveWindow();
    m_active = -1;
    const INT_PTR result = ui::doModal(sheet, owner, this, [&](HWND hSheet) {
        m_hWnd = hSheet;
        RECT area{kMargin, kMargin, kMargin + pageCx, kMargin + pageCy};
        ::MapDialogRect(hSheet, &area);
        m_pageArea = new QWidget(ui::windowWidget(hSheet));
        m_pageArea->setGeometry(area.left, area.top, area.right - area.left,
                                area.bottom - area.top);
    });
    m_active = -1;
    m_pageArea = nullptr;
    return result;
}

void CPropertySheet::EndDialog(int nResult)
{
    ::EndDialog(m_hWnd, nResult);
}

BOOL CPropertySheet::OnInitDialog()
{
    activate(static_cast<int>(std::min<UINT>(m_psh.nStartPage, m_psh.nPages - 1)), +1);
    return TRUE;
}

bool CPropertySheet::activate(int index, int direction)
{
    for (; index >= 0 && index < GetPageCount(); index += direction) {
        CPropertyPage* page = m_pages[static_cast<std::size_t>(index)];
        if (!page->m_hWnd) {
            const ui::DialogTemplate* t = ui::findDialogTemplate(page->m_nIDTemplate);
            const HWND hPage = ui::createDialog(*t, m_hWnd, page, m_pageArea);
            if (!hPage)
                return false;
            page->m_hWnd = hPage;
            page->m_bFirstSetActive = true;
            ::SendMessage(hPage, WM_INITDIALOG, 0, 0);
        }
        if (page->OnSetActive()) {
            bool focusInOldPage = false;
            if (CPropertyPage* old = GetActivePage(); old && old != page) {
                focusInOldPage = focusWithin(old->m_hWnd);
                old->ShowWindow(SW_HIDE);
            }
            m_active = index;
            page->ShowWindow(SW_SHOW);
            if (focusInOldPage || focusWithin(nullptr))
                focusActivePage();
            std::string caption;
            page->GetWindowText(caption);
            SetWindowText(caption.empty() ? m_caption.c_str() : caption.c_str());
            return true;
        }
        if (direction == 0)
            break;
    }
    return false;
}

int CPropertySheet::indexOfTemplate(LRESULT id) const
{
    for (int i = 0; i < GetPageCount(); ++i)
        if (static_cast<LRESULT>(m_pages[static_cast<std::size_t>(i)]->m_nIDTemplate) == id)
            return i;
    return -1;
}

void CPropertySheet::next()
{
    CPropertyPage* page = GetActivePage();
    if (!page)
        return;
    const LRESULT go = page->OnWizardNext();
    if (go == -1)
        return;
    const int target = go == 0 ? m_active + 1 : indexOfTemplate(go);
    if (target < 0 || target >= GetPageCount() || !page->OnKillActive())
        return;
    activate(target, go == 0 ? +1 : 0);
}

void CPropertySheet::back()
{
    CPropertyPage* page = GetActivePage();
    if (!page)
        return;
    const LRESULT go = page->OnWizardBack();
    if (go == -1)
        return;
    const int target = go == 0 ? m_active - 1 : indexOfTemplate(go);
    if (target < 0 || !page->OnKillActive())
        return;
    activate(target, go == 0 ? -1 : 0);
}

void CPropertySheet::finish()
{
    if (CPropertyPage* page = GetActivePage(); page && page->OnWizardFinish())
        EndDialog(ID_WIZFINISH);
}

BOOL CPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CWnd::OnCommand(wParam, lParam))
        return TRUE;
    if (HIWORD(wParam) != BN_CLICKED)
        return FALSE;
    switch (LOWORD(wParam)) {
    case ID_WIZBACK:
        back();
        return TRUE;
    case ID_WIZNEXT:
        next();
        return TRUE;
    case ID_WIZFINISH:
        finish();
        return TRUE;
    case IDCANCEL:
        EndDialog(IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

LRESULT CPropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return OnInitDialog();
    if (message == PSM_SETWIZBUTTONS) {
        setButtons(static_cast<DWORD>(lParam));
        return TRUE;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

// Next, or Finish in its place, stays the default button also while it is
// off, so that Return then presses nothing. A focused button that goes off
// hands the focus to the page: left to itself the focus would move on along
// the tab order to Cancel, which would then take Return as its own.
void CPropertySheet::setButtons(DWORD flags)
{
    const bool finish = flags & (PSWIZB_FINISH | PSWIZB_DISABLEDFINISH);
    const struct {
        int id;
        bool shown;
        bool enabled;
    } buttons[] = {
        {ID_WIZBACK, true, (flags & PSWIZB_BACK) != 0},
        {ID_WIZNEXT, !finish, (flags & PSWIZB_NEXT) != 0},
        {ID_WIZFINISH, finish, (flags & PSWIZB_FINISH) != 0},
    };
    for (const auto& b : buttons)
        if (!(b.shown && b.enabled) && focusWithin(::GetDlgItem(m_hWnd, b.id)))
            focusActivePage();
    for (const auto& b : buttons) {
        const HWND button = ::GetDlgItem(m_hWnd, b.id);
        ::EnableWindow(button, b.enabled);
        ::ShowWindow(button, b.shown ? SW_SHOW : SW_HIDE);
    }
    if (auto* main = qobject_cast<QPushButton*>(
            ui::windowWidget(::GetDlgItem(m_hWnd, finish ? ID_WIZFINISH : ID_WIZNEXT))))
        main->setDefault(true);
}

// True when the keyboard focus of the sheet lies on the window or inside it;
// for null, when it lies on the sheet itself or nowhere.
bool CPropertySheet::focusWithin(HWND hWnd) const
{
    QWidget* sheet = ui::windowWidget(m_hWnd);
    QWidget* focus = sheet ? sheet->focusWidget() : nullptr;
    if (!hWnd)
        return !focus || focus == sheet;
    QWidget* window = ui::windowWidget(hWnd);
    return focus && window && (focus == window || window->isAncestorOf(focus));
}

// The first control of the active page that takes the focus from the
// keyboard gets it; without one (or while the page is hidden) the sheet.
void CPropertySheet::focusActivePage()
{
    QWidget* target = ui::windowWidget(m_hWnd);
    if (CPropertyPage* page = GetActivePage(); page && page->m_hWnd) {
        for (HWND child = ::GetWindow(page->m_hWnd, GW_CHILD); child;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            QWidget* control = ui::windowWidget(child);
            if (control && (control->focusPolicy() & Qt::TabFocus) && control->isEnabled() &&
                control->isVisible()) {
                target = control;
                break;
            }
        }
    }
    if (target)
        target->setFocus(Qt::OtherFocusReason);
}
