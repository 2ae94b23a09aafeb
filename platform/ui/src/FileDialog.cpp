// CFileDialog over the Win32 file dialogs.
#include "ui/FileDialog.h"

#include <algorithm>
#include <cstring>

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName,
                         DWORD dwFlags, LPCSTR lpszFilter, CWnd* pParentWnd)
    : m_ofn{}, m_bOpenFileDialog(bOpenFileDialog),
      m_defExt(lpszDefExt ? lpszDefExt : ""), m_szFileName{}
{
    if (lpszFilter) {
        m_filter = lpszFilter;
        std::replace(m_filter.begin(), m_filter.end(), '|', '\0');
        m_filter.push_back('\0');
    }
    if (lpszFileName)
        std::strncpy(m_szFileName, lpszFileName, sizeof m_szFileName - 1);
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.hwndOwner = pParentWnd ? pParentWnd->m_hWnd : nullptr;
    m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = sizeof m_szFileName;
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
    m_ofn.lpstrDefExt = m_defExt.empty() ? nullptr : m_defExt.c_str();
}

INT_PTR CFileDialog::DoModal()
{
    const BOOL ok = m_bOpenFileDialog ? GetOpenFileName(&m_ofn) : GetSaveFileName(&m_ofn);
    return ok ? IDOK : IDCANCEL;
}

std::string CFileDialog::GetPathName() const
{
    POSITION pos = GetStartPosition();
    return pos ? GetNextPathName(pos) : std::string();
}

// A position is the offset of the next name in m_ofn's buffer, plus one.
POSITION CFileDialog::GetStartPosition() const
{
    if (!m_ofn.lpstrFile || !m_ofn.lpstrFile[0])
        return nullptr;
    const std::size_t first = std::strlen(m_ofn.lpstrFile) + 1;
    const bool several = (m_ofn.Flags & OFN_ALLOWMULTISELECT) && m_ofn.lpstrFile[first] != '\0';
    return reinterpret_cast<POSITION>((several ? first : 0) + 1);
}

std::string CFileDialog::GetNextPathName(POSITION& pos) const
{
    const std::size_t at = reinterpret_cast<std::size_t>(pos) - 1;
    const char* name = m_ofn.lpstrFile + at;
    const std::size_t next = at + std::strlen(name) + 1;
    if (at == 0) {
        pos = nullptr;
        return name;
    }
    pos = m_ofn.lpstrFile[next] ? reinterpret_cast<POSITION>(next + 1) : nullptr;
    const std::string dir = m_ofn.lpstrFile;
    return dir.empty() || dir.back() == '/' ? dir + name : dir + "/" + name;
}
