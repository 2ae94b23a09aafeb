// The wizard sheet: pages in order, settings loaded when the sheet opens
// and saved when it is cancelled, and the sheet's help.
#include "wizard/CadConversionPropSheet.h"

#include "wizard/HelpViewer.h"
#include "wizard/Resource.h"
#include "wizard/WizardSettings.h"

#include "com/server/Resources.h"

#include <cstdlib>
#include <cstring>

CCadConversionPropSheet::CCadConversionPropSheet(LPCSTR pszCaption, CWnd* pParentWnd,
                                                 UINT iSelectPage)
    : CPropertySheet(pszCaption, pParentWnd, iSelectPage)
{
    AddPage(&m_formatPage);
    AddPage(&m_jobGroupPage);
    AddPage(&m_logFilePage);
    AddPage(&m_filesPage);
    AddPage(&m_convertPage);
    m_formatPage.pJobGroupPage = &m_jobGroupPage;
    m_convertPage.pSheet = this;
    m_psh.dwFlags |= PSH_WIZARD;
    ON_COMMAND(IDCANCEL, &CCadConversionPropSheet::OnCancel);
}

BOOL CCadConversionPropSheet::OnInitDialog()
{
    const BOOL result = CPropertySheet::OnInitDialog();
    LoadSettings();
    return result;
}

namespace {

void replaceHelpPath(CWinApp& app, const std::string& path)
{
    std::free(const_cast<char*>(app.m_pszHelpFilePath));
    app.m_pszHelpFilePath = strdup(path.c_str());
}

} // namespace

void CCadConversionPropSheet::LoadSettings()
{
    CWinApp& app = *AfxGetApp();
    const WizardSettings s = WizardSettings::load(app);
    if (s.helpFile != (app.m_pszHelpFilePath ? app.m_pszHelpFilePath : ""))
        replaceHelpPath(app, s.helpFile);
    m_formatPage.SetSelectedCLSIDString(s.clsid);
    m_jobGroupPage.SetUseJobId(s.useJobId);
    m_jobGroupPage.SetJobId(s.jobId);
    m_jobGroupPage.SetUseGroup(s.useGroup);
    m_jobGroupPage.SetGroup(s.group);
    m_logFilePage.SetUseLogFile(s.useLogFile);
    m_logFilePage.SetLogFile(s.logFile);
    // A damaged or unreadable registry is said, not taken for "no settings".
    if (const std::string why = app.TakeProfileFailure(); !why.empty())
        MessageBox(("The wizard's settings could not be read, so it starts with its "
                    "defaults:\n" +
                    why)
                       .c_str());
}

void CCadConversionPropSheet::SaveSettings()
{
    CWinApp& app = *AfxGetApp();
    WizardSettings s;
    m_formatPage.GetSelectedCLSIDString(s.clsid);
    s.useJobId = m_jobGroupPage.GetUseJobId();
    s.jobId = m_jobGroupPage.GetJobId();
    s.useGroup = m_jobGroupPage.GetUseGroup();
    s.group = m_jobGroupPage.GetGroup();
    s.useLogFile = m_logFilePage.GetUseLogFile();
    s.logFile = m_logFilePage.GetLogFile();
    s.helpFile = app.m_pszHelpFilePath ? app.m_pszHelpFilePath : "";
    s.save(app);
    if (const std::string why = app.TakeProfileFailure(); !why.empty())
        MessageBox(("The wizard's settings could not be kept:\n" + why).c_str());
}

void CCadConversionPropSheet::CopySettingsToConvertPage()
{
    std::vector<std::string> files;
    m_filesPage.GetFileList(files);
    GUID clsid = GUID_NULL;
    m_formatPage.GetSelectedCLSID(clsid);
    bIsMetric = m_formatPage.IsMetric();
    bIsToolMetric = m_formatPage.IsToolMetric();
    m_convertPage.SetConverter(clsid);
    m_convertPage.SetJob(m_jobGroupPage.GetUseJobId(), m_jobGroupPage.GetJobId());
    m_convertPage.SetGroup(m_jobGroupPage.GetUseGroup(), m_jobGroupPage.GetGroup());
    m_convertPage.SetLog(m_logFilePage.GetUseLogFile(), m_logFilePage.GetLogFile());
    m_convertPage.SetFileList(std::move(files));
    m_convertPage.SetMetric(bIsMetric, bIsToolMetric);
}

void CCadConversionPropSheet::OnCancel()
{
    if (GetActivePage() != &m_convertPage || m_convertPage.QueryCancelConversion()) {
        SaveSettings();
        EndDialog(0);
    }
}

void CCadConversionPropSheet::WinHelp(DWORD_PTR, UINT)
{
    ShowHelp();
}

void CCadConversionPropSheet::ShowHelp()
{
    CWinApp& app = *AfxGetApp();
    std::string path = app.m_pszHelpFilePath ? app.m_pszHelpFilePath : "";
    while (!openHelpFile(m_hWnd, path)) {
        char question[256];
        if (LoadString(nullptr, IDS_HELP_NOT_FOUND, question, sizeof question) == 0 ||
            AfxMessageBox(question, MB_YESNO | MB_ICONINFORMATION) != IDYES)
            return;
        BrowseForHelpFile(path);
        replaceHelpPath(app, path);
        if (path.empty())
            return;
    }
}

void CCadConversionPropSheet::BrowseForHelpFile(std::string& path)
{
    path.clear();
    CFileDialog dialog(TRUE, ".chm", nullptr,
                       OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST,
                       "HTML Help Files (*.chm) | *.chm||", this);
    if (dialog.DoModal() == IDOK)
        path = dialog.GetPathName();
}
