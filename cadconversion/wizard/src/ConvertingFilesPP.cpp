// Page 5: starting, pausing and stopping the conversion worker.
#include "wizard/ConvertingFilesPP.h"

#include "wizard/CadConversionPropSheet.h"
#include "wizard/Resource.h"
#include "wizard/WizardSettings.h"

#include "com/CodePage.h"
#include "com/Guid.h"

CConvertingFilesPP::CConvertingFilesPP() : CPropertyPage(IDD_CONVERTING_FILES)
{
    ON_BN_CLICKED(IDC_CONVERT, &CConvertingFilesPP::OnConvert);
}

CConvertingFilesPP::~CConvertingFilesPP()
{
    if (hThread)
        StopConversionThread();
}

void CConvertingFilesPP::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_CONVERT_FILES, m_files);
}

BOOL CConvertingFilesPP::OnInitDialog()
{
    const BOOL result = CPropertyPage::OnInitDialog();
    SetDlgItemText(IDC_CURRENT_JOB, "");
    SetDlgItemText(IDC_CURRENT_GROUP, "");
    SetDlgItemText(IDC_CURRENT_MARK, "");
    return result;
}

BOOL CConvertingFilesPP::OnSetActive()
{
    if (!pSheet)
        return -1;
    pSheet->CopySettingsToConvertPage();
    FillFileList();
    ::PostMessage(::GetParent(m_hWnd), PSM_SETWIZBUTTONS, 0, PSWIZB_BACK);
    GetDlgItem(IDC_CONVERT)->EnableWindow(m_files.GetCount() > 0);
    return CPropertyPage::OnSetActive();
}

void CConvertingFilesPP::FillFileList()
{
    m_files.ResetContent();
    m_files.SetHorizontalExtent(0);
    for (const std::string& file : StringList)
        m_files.AddString(file.c_str());
}

void CConvertingFilesPP::SetJob(int useFromFile, const std::string& job)
{
    bUseJobId = useFromFile;
    strJobId = job;
}

void CConvertingFilesPP::SetGroup(int useFromFile, const std::string& group)
{
    bUseGroup = useFromFile;
    strGroup = group;
}

void CConvertingFilesPP::SetLog(int use, const std::string& path)
{
    bUseLogFile = use;
    strLogFile = path;
}

void CConvertingFilesPP::SetMetric(int metric, int toolMetric)
{
    bIsMetric = metric;
    bIsToolMetric = toolMetric;
}

// The sheet's Back stays off while a worker runs: the worker reads the
// list and this page's texts, which coming back to the page would refill.
void CConvertingFilesPP::OnConvert()
{
    if (hThread)
        StopConversionThread();

    WizardSettings settings;
    LPOLESTR clsid = nullptr;
    if (SUCCEEDED(StringFromCLSID(clsidConvert, &clsid))) {
        settings.clsid = narrowFromWide(clsid);
        CoTaskMemFree(clsid);
    }
    settings.useJobId = bUseJobId;
    settings.jobId = strJobId;
    settings.useGroup = bUseGroup;
    settings.group = strGroup;
    settings.useLogFile = bUseLogFile;
    settings.logFile = strLogFile;
    if (CWinApp* app = AfxGetApp())
        settings.saveConversion(*app);

    m_params.hWndPage = m_hWnd;
    m_params.clsidConverter = clsidConvert;
    m_params.nState = kConversionRun;
    m_params.bUseJobId = bUseJobId;
    m_params.pszJobId = strJobId.c_str();
    m_params.bUseGroup = bUseGroup;
    m_params.pszGroup = strGroup.c_str();
    m_params.bUseLogFile = bUseLogFile;
    m_params.pszLogFile = strLogFile.c_str();
    m_params.bIsMetric = bIsMetric;
    m_params.bIsToolMetric = bIsToolMetric;
    m_params.nRun = ++m_nRun;

    hThread =
        CreateThread(nullptr, 0, ConversionThreadProc, &m_params, CREATE_SUSPENDED, &dwThreadId);
    if (!hThread) {
        AfxMessageBox("The conversion cannot be started: no thread could be created.",
                      MB_OK | MB_ICONSTOP);
        return;
    }
    ResumeThread(hThread);
    GetDlgItem(IDC_CONVERT)->EnableWindow(FALSE);
    ::PostMessage(::GetParent(m_hWnd), PSM_SETWIZBUTTONS, 0, 0);
}

bool CConvertingFilesPP::IsConverting() const
{
    DWORD code = 0;
    return hThread && GetExitCodeThread(hThread, &code) && code == STILL_ACTIVE;
}

void CConvertingFilesPP::closeThread()
{
    CloseHandle(hThread);
    hThread = nullptr;
    dwThreadId = static_cast<DWORD>(-1);
}

void CConvertingFilesPP::StopConversionThread()
{
    m_params.nState = kConversionCancel;
    if (!hThread)
        return;
    DWORD code = 0;
    while (GetExitCodeThread(hThread, &code) && code == STILL_ACTIVE) {
        MSG msg;
        if (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
    }
    closeThread();
}

bool CConvertingFilesPP::QueryCancelConversion()
{
    if (!hThread)
        return true;
    if (!IsConverting()) {
        closeThread();
        return true;
    }
    m_params.nState = kConversionPaused;
    if (AfxMessageBox("Are you sure you want to CANCEL the CAD Conversion?",
                      MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL) == IDNO) {
        m_params.nState = kConversionRun;
        return false;
    }
    return true;
}

void CConvertingFilesPP::OnDestroy()
{
    StopConversionThread();
    CPropertyPage::OnDestroy();
}

LRESULT CConvertingFilesPP::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CONVERSION_ENDED) {
        if (wParam == m_nRun && pSheet && pSheet->GetActivePage() == this)
            ::SendMessage(::GetParent(m_hWnd), PSM_SETWIZBUTTONS, 0, PSWIZB_BACK);
        return 0;
    }
    return CPropertyPage::WindowProc(message, wParam, lParam);
}
