// CChangeMultPartDlg: the mult parts dialog's list and handlers.
#include "ChangeMultPartDlg.h"

#include "ui/CommCtrl.h"

CChangeMultPartDlg::CChangeMultPartDlg(BSTR fileName)
    : m_bstrFileName(static_cast<LPCOLESTR>(fileName))
{
}

void CChangeMultPartDlg::AddMissingPart(int, BSTR job, BSTR group, BSTR mark)
{
    m_jobs.Add(CString(static_cast<const OLECHAR*>(job)));
    m_groups.Add(CString(static_cast<const OLECHAR*>(group)));
    m_marks.Add(CString(static_cast<const OLECHAR*>(mark)));
}

LRESULT CChangeMultPartDlg::OnInitDialog(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    CAxDialogImpl<CChangeMultPartDlg>::OnInitDialog(msg, wParam, lParam, bHandled);
    multdialog::setItemText(*this, IDC_PARTS_FILE_NAME, m_bstrFileName);

    const HWND list = GetDlgItem(IDC_MISSING_PARTS);
    const char* const titles[] = {"JOB", "GROUP", "MARK"};
    for (int column = 0; column < 3; ++column) {
        LVCOLUMN col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.cx = 150;
        col.pszText = const_cast<char*>(titles[column]);
        ListView_InsertColumn(list, column, &col);
    }
    for (int row = 0; row < m_jobs.GetSize(); ++row) {
        CString job = m_jobs.GetAt(row);
        CString group = m_groups.GetAt(row);
        CString mark = m_marks.GetAt(row);
        LVITEM item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<char*>(static_cast<const char*>(job));
        ListView_InsertItem(list, &item);
        ListView_SetItemText(list, row, 1, const_cast<char*>(static_cast<const char*>(group)));
        ListView_SetItemText(list, row, 2, const_cast<char*>(static_cast<const char*>(mark)));
    }
    m_jobs.RemoveAll();
    m_groups.RemoveAll();
    m_marks.RemoveAll();

    multdialog::placeTopmost(*this);
    return 1;
}

LRESULT CChangeMultPartDlg::OnOK(WORD, WORD, HWND, BOOL&)
{
    m_bstrNewJob = multdialog::itemText(*this, IDC_NEW_JOB);
    m_bstrNewGroup = multdialog::itemText(*this, IDC_NEW_GROUP);
    EndDialog(IDOK);
    return 0;
}

LRESULT CChangeMultPartDlg::OnCancel(WORD, WORD, HWND, BOOL&)
{
    EndDialog(IDCANCEL);
    return 0;
}
