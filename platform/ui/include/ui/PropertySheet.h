// CPropertySheet in wizard mode: the pages in the order added, Back, Next,
// Finish and Cancel buttons set by PSM_SETWIZBUTTONS (SetWizardButtons),
// with Next (or Finish in its place) the default button, also while it is
// off, so that Return never presses Cancel or Back on its own,
// and the window title taken from the active page's caption. The first page
// is created and activated in the sheet's OnInitDialog. The buttons send
// ID_WIZBACK, ID_WIZNEXT, ID_WIZFINISH and IDCANCEL commands to the sheet:
// a handler registered for one (ON_COMMAND) replaces the default, which
// moves between pages or ends the sheet (IDCANCEL with IDCANCEL).
#pragma once

#include "ui/CommCtrl.h"
#include "ui/PropertyPage.h"

#include <string>
#include <vector>

class CPropertySheet : public CWnd {
public:
    explicit CPropertySheet(LPCSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    // The sheet does not own its pages.
    void AddPage(CPropertyPage* page);
    int GetPageCount() const;
    CPropertyPage* GetPage(int index) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;

    void SetWizardMode();
    void SetWizardButtons(DWORD flags);
    // Only wizard mode (PSH_WIZARD in m_psh.dwFlags) is supported: DoModal
    // answers -1 otherwise, and when a page's template is not registered.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);
    virtual BOOL OnInitDialog();

    PROPSHEETHEADER m_psh;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool activate(int index, int direction);
    void next();
    void back();
    void finish();
    int indexOfTemplate(LRESULT id) const;
    void setButtons(DWORD flags);
    bool focusWithin(HWND hWnd) const;
    void focusActivePage();

    std::string m_caption;
    CWnd* m_pParentWnd;
    std::vector<CPropertyPage*> m_pages;
    int m_active = -1;
    QWidget* m_pageArea = nullptr;
};
