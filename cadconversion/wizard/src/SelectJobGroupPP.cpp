// Page 2: job and group sources, with Next refused while a "Specify"
// choice has no text.
#include "wizard/SelectJobGroupPP.h"

#include "wizard/Resource.h"

CSelectJobGroupPP::CSelectJobGroupPP() : CPropertyPage(IDD_SELECT_JOB_GROUP)
{
    ON_BN_CLICKED(IDC_JOB_FROM_FILE, &CSelectJobGroupPP::OnJobFromFile);
    ON_BN_CLICKED(IDC_JOB_SPECIFY, &CSelectJobGroupPP::OnJobSpecify);
    ON_BN_CLICKED(IDC_GROUP_FROM_FILE, &CSelectJobGroupPP::OnGroupFromFile);
    ON_BN_CLICKED(IDC_GROUP_SPECIFY, &CSelectJobGroupPP::OnGroupSpecify);
    ON_EN_CHANGE(IDC_GROUP, &CSelectJobGroupPP::OnTextChange);
    ON_EN_CHANGE(IDC_JOB, &CSelectJobGroupPP::OnTextChange);
}

void CSelectJobGroupPP::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_GROUP, strGroup);
    DDX_Text(pDX, IDC_JOB, strJobId);
    DDX_Radio(pDX, IDC_JOB_FROM_FILE, nJobSource);
    DDX_Radio(pDX, IDC_GROUP_FROM_FILE, nGroupSource);
}

BOOL CSelectJobGroupPP::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    UpdateData(FALSE);
    return TRUE;
}

BOOL CSelectJobGroupPP::OnSetActive()
{
    UpdateData(TRUE);
    GetDlgItem(IDC_JOB)->EnableWindow(nJobSource == 1);
    GetDlgItem(IDC_GROUP)->EnableWindow(nGroupSource == 1);
    GetDlgItem(IDC_JOB_FROM_FILE)->EnableWindow(bJobFromFileAllowed);
    GetDlgItem(IDC_GROUP_FROM_FILE)->EnableWindow(bGroupFromFileAllowed);
    GetDlgItem(IDC_MULT_NOTE)
        ->ShowWindow(!bJobFromFileAllowed && !bGroupFromFileAllowed ? SW_SHOW : SW_HIDE);
    UpdateButtons();
    return CPropertyPage::OnSetActive();
}

void CSelectJobGroupPP::OnJobFromFile()
{
    GetDlgItem(IDC_JOB)->EnableWindow(FALSE);
    OnTextChange();
}

void CSelectJobGroupPP::OnJobSpecify()
{
    GetDlgItem(IDC_JOB)->EnableWindow(TRUE);
    OnTextChange();
}

void CSelectJobGroupPP::OnGroupFromFile()
{
    GetDlgItem(IDC_GROUP)->EnableWindow(FALSE);
    OnTextChange();
}

void CSelectJobGroupPP::OnGroupSpecify()
{
    GetDlgItem(IDC_GROUP)->EnableWindow(TRUE);
    OnTextChange();
}

void CSelectJobGroupPP::OnTextChange()
{
    UpdateData(TRUE);
    UpdateButtons();
}

void CSelectJobGroupPP::UpdateButtons()
{
    const bool missing =
        (nJobSource == 1 && strJobId.empty()) || (nGroupSource == 1 && strGroup.empty());
    ::SendMessage(::GetParent(m_hWnd), PSM_SETWIZBUTTONS, 0,
                  missing ? PSWIZB_BACK : PSWIZB_BACK | PSWIZB_NEXT);
}

LRESULT CSelectJobGroupPP::OnWizardNext()
{
    UpdateData(TRUE);
    return CPropertyPage::OnWizardNext();
}

LRESULT CSelectJobGroupPP::OnWizardBack()
{
    UpdateData(TRUE);
    return CPropertyPage::OnWizardBack();
}

void CSelectJobGroupPP::takeControls()
{
    if (m_hWnd)
        UpdateData(TRUE);
}

int CSelectJobGroupPP::GetUseJobId()
{
    takeControls();
    return nJobSource == 0 ? 1 : 0;
}

int CSelectJobGroupPP::GetUseGroup()
{
    takeControls();
    return nGroupSource == 0 ? 1 : 0;
}

std::string CSelectJobGroupPP::GetJobId()
{
    takeControls();
    return strJobId;
}

std::string CSelectJobGroupPP::GetGroup()
{
    takeControls();
    return strGroup;
}

void CSelectJobGroupPP::SetUseJobId(int flag)
{
    nJobSource = flag ? 0 : 1;
}

void CSelectJobGroupPP::SetUseGroup(int flag)
{
    nGroupSource = flag ? 0 : 1;
}

void CSelectJobGroupPP::SetJobId(const std::string& text)
{
    strJobId = text;
}

void CSelectJobGroupPP::SetGroup(const std::string& text)
{
    strGroup = text;
}

// When the page exists its other values are taken first, so that only the
// source changes; the page shows the new source when it becomes active.
void CSelectJobGroupPP::SetJobSourceForConverter(bool partConverter)
{
    takeControls();
    nJobSource = partConverter ? 0 : 1;
    bJobFromFileAllowed = partConverter ? 1 : 0;
    if (m_hWnd)
        UpdateData(FALSE);
}

void CSelectJobGroupPP::SetGroupSourceForConverter(bool partConverter)
{
    takeControls();
    nGroupSource = partConverter ? 0 : 1;
    bGroupFromFileAllowed = partConverter ? 1 : 0;
    if (m_hWnd)
        UpdateData(FALSE);
}
