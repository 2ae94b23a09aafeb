// Page 4: choosing files (several at a time, duplicates allowed) and
// removing them, with Next only while the list holds entries. A selection
// too long for the name buffer adds nothing, and the user is told to
// select fewer files at a time: the file dialog has no way to hand over a
// choice that does not fit its buffer.
#include "wizard/SelectFilesPP.h"

#include "wizard/Resource.h"

namespace {

// Room for a long multiple selection: the directory and every name.
constexpr DWORD kSelectionBufferSize = 7760;

constexpr const char* kTooManyFiles =
    "Too many files were selected at once, so none were added: together their names take more "
    "than the 7760 characters a selection can hold.\nSelect fewer files at a time and choose "
    "Select Files again for the rest.";

} // namespace

CSelectFilesPP::CSelectFilesPP() : CPropertyPage(IDD_SELECT_FILES)
{
    ON_BN_CLICKED(IDC_SELECT_FILES, &CSelectFilesPP::OnSelectFiles);
    ON_BN_CLICKED(IDC_DELETE_FILES, &CSelectFilesPP::OnDelete);
}

void CSelectFilesPP::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_SELECTED_FILES, m_files);
}

BOOL CSelectFilesPP::OnSetActive()
{
    UpdateButtons();
    return CPropertyPage::OnSetActive();
}

void CSelectFilesPP::UpdateButtons()
{
    const bool any = m_files.m_hWnd && m_files.GetCount() > 0;
    ::SendMessage(::GetParent(m_hWnd), PSM_SETWIZBUTTONS, 0,
                  any ? PSWIZB_BACK | PSWIZB_NEXT : PSWIZB_BACK);
}

void CSelectFilesPP::OnSelectFiles()
{
    std::vector<char> buffer(kSelectionBufferSize, '\0');
    CFileDialog dialog(TRUE, nullptr, nullptr,
                       OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ALLOWMULTISELECT |
                           OFN_HIDEREADONLY,
                       "All Files (*.*) | *.*||", this);
    dialog.m_ofn.lpstrFile = buffer.data();
    dialog.m_ofn.nMaxFile = kSelectionBufferSize;
    if (dialog.DoModal() == IDOK) {
        POSITION pos = dialog.GetStartPosition();
        while (pos)
            m_files.AddString(dialog.GetNextPathName(pos).c_str());
    } else if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL) {
        AfxMessageBox(kTooManyFiles, MB_OK | MB_ICONEXCLAMATION);
    }
    UpdateButtons();
}

void CSelectFilesPP::OnDelete()
{
    m_files.RemoveSelected();
    UpdateButtons();
}

void CSelectFilesPP::GetFileList(std::vector<std::string>& files) const
{
    if (!m_files.m_hWnd)
        return;
    const int count = m_files.GetCount();
    for (int i = 0; i < count; ++i) {
        std::string text;
        m_files.GetText(i, text);
        files.push_back(std::move(text));
    }
}
