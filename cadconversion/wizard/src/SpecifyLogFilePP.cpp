// Page 3: the log choice, with Next refused while logging is on and the
// path is blank.
#include "wizard/SpecifyLogFilePP.h"

#include "wizard/Resource.h"

namespace {

bool hasNonBlank(const std::string& text)
{
    return text.find_first_not_of(' ') != std::string::npos;
}

} // namespace

CSpecifyLogFilePP::CSpecifyLogFilePP() : CPropertyPage(IDD_SPECIFY_LOG_FILE)
{
    ON_BN_CLICKED(IDC_USE_LOG_FILE, &CSpecifyLogFilePP::OnUseLogFile);
    ON_EN_CHANGE(IDC_LOG_FILE, &CSpecifyLogFilePP::OnLogFileChange);
    ON_BN_CLICKED(IDC_BROWSE_LOG_FILE, &CSpecifyLogFilePP::OnBrowse);
}

void CSpecifyLogFilePP::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_LOG_FILE, strLogFile);
    DDX_Check(pDX, IDC_USE_LOG_FILE, bUseLogFile);
}

BOOL CSpecifyLogFilePP::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    UpdateData(TRUE);
    EnableLogControls();
    UpdateButtons();
    return TRUE;
}

BOOL CSpecifyLogFilePP::OnSetActive()
{
    EnableLogControls();
    UpdateButtons();
    return CPropertyPage::OnSetActive();
}

void CSpecifyLogFilePP::EnableLogControls()
{
    GetDlgItem(IDC_LOG_FILE)->EnableWindow(bUseLogFile != 0);
    GetDlgItem(IDC_BROWSE_LOG_FILE)->EnableWindow(bUseLogFile != 0);
}

void CSpecifyLogFilePP::UpdateButtons()
{
    const bool ready = !bUseLogFile || hasNonBlank(strLogFile);
    ::SendMessage(::GetParent(m_hWnd), PSM_SETWIZBUTTONS, 0,
                  ready ? PSWIZB_BACK | PSWIZB_NEXT : PSWIZB_BACK);
}

void CSpecifyLogFilePP::OnUseLogFile()
{
    UpdateData(TRUE);
    EnableLogControls();
    UpdateButtons();
}

void CSpecifyLogFilePP::OnLogFileChange()
{
    UpdateData(TRUE);
    UpdateButtons();
}

LRESULT CSpecifyLogFilePP::OnWizardNext()
{
    UpdateData(TRUE);
    if (!bUseLogFile || !strLogFile.empty())
        return CPropertyPage::OnWizardNext();
    ::SendMessage(::GetParent(m_hWnd), PSM_SETWIZBUTTONS, 0, PSWIZB_BACK);
    return -1;
}

void CSpecifyLogFilePP::OnBrowse()
{
    UpdateData(TRUE);
    char name[MAX_PATH] = "";
    CFileDialog dialog(TRUE, "LOG", nullptr,
                       OFN_CREATEPROMPT | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       "Log Files (*.LOG)|*.LOG|All Files (*.*)|*.*||", this);
    dialog.m_ofn.lpstrFile = name;
    dialog.m_ofn.nMaxFile = sizeof name;
    if (dialog.DoModal() != IDOK)
        return;
    strLogFile = dialog.GetPathName();
    UpdateData(FALSE);
    UpdateButtons();
}

void CSpecifyLogFilePP::takeControls()
{
    if (m_hWnd)
        UpdateData(TRUE);
}

int CSpecifyLogFilePP::GetUseLogFile()
{
    takeControls();
    return bUseLogFile;
}

std::string CSpecifyLogFilePP::GetLogFile()
{
    takeControls();
    return strLogFile;
}

void CSpecifyLogFilePP::SetUseLogFile(int flag)
{
    bUseLogFile = flag;
}

void CSpecifyLogFilePP::SetLogFile(const std::string& path)
{
    strLogFile = path;
}
