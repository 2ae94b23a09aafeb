// CFileDialog, the open and save dialogs with MFC's filter form
// ("Name|patterns|...||"). After DoModal the chosen files are in m_ofn's
// buffer: GetPathName gives the first, GetStartPosition and
// GetNextPathName walk them all. A caller may give m_ofn a buffer of its
// own (lpstrFile, nMaxFile) for a long multiple selection.
#pragma once

#include "ui/CommDlg.h"
#include "ui/Process.h"
#include "ui/Wnd.h"

#include <string>

struct __POSITION;
using POSITION = __POSITION*;

class CFileDialog {
public:
    explicit CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = nullptr,
                         LPCSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         LPCSTR lpszFilter = nullptr, CWnd* pParentWnd = nullptr);
    virtual ~CFileDialog() = default;

    // IDOK or IDCANCEL (also when the choice does not fit the buffer).
    virtual INT_PTR DoModal();
    std::string GetPathName() const;
    POSITION GetStartPosition() const;
    std::string GetNextPathName(POSITION& pos) const;

    OPENFILENAME m_ofn;

private:
    BOOL m_bOpenFileDialog;
    std::string m_filter;
    std::string m_defExt;
    char m_szFileName[MAX_PATH];
};
