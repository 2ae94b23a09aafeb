// Page 5: starting, pausing and stopping the conversion worker.
#include "wizard/ConvertingFilesPP.h"

#include "wizard/CadConversionPropSheet.h"
#include "wizard/Resource.h"

#include "com/Guid.h"

namespace {

constexpr const char* kNoFormatChosen =
    "No file format was chosen.\nGo back to step 1 and choose the format of the files to "
    "convert under File Format.";

} // namespace

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

// The sheet's Back stays off while a worker runs: the worker reads this
// page's texts, which coming back to the page would refill. The worker
// saves the run's settings in the profile first thing: each value is a
// durable registry write, too slow for this thread.
// Without a chosen file format there is nothing to convert with: the user
// is told so, rather than what creating no class at all would say.
void CConvertingFilesPP::OnConvert()
{
    if (clsidConvert == CLSID_NULL) {
        AfxMessageBox(kNoFormatChosen, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (hThread)
        StopConversionThread();
    if (!m_files.m_hWnd)
        return;

    m_params.hWndPage = m_hWnd;
    m_params.files = StringList;
    m_params.display.clear();
    m_params.display.setPage(m_hWnd, WM_CONVERSION_SHOW);
    m_showScheduled = false; // a timer of an earlier window went with it
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

// What the worker hands over is shown at most once a frame, at most a
// budget's worth at a time; what is left waits for the next frame, behind
// the user's input and the painting. The worker's own sends at its end
// show a budget's worth each and answer 0 once everything is shown.
LRESULT CConvertingFilesPP::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CONVERSION_SHOW) {
        if (lParam == 0) {
            scheduleShow();
            return 0;
        }
        return m_params.display.apply(m_files, ConversionDisplay::kBudget) ? 0 : 1;
    }
    if (message == WM_TIMER && wParam == kShowTimer) {
        ::KillTimer(m_hWnd, kShowTimer);
        m_showScheduled = false;
        m_lastShown = std::chrono::steady_clock::now();
        if (!m_params.display.apply(m_files, ConversionDisplay::kBudget))
            scheduleShow();
        return 0;
    }
    if (message == WM_CONVERSION_ENDED) {
        if (wParam == m_nRun && pSheet && pSheet->GetActivePage() == this)
            ::SendMessage(::GetParent(m_hWnd), PSM_SETWIZBUTTONS, 0, PSWIZB_BACK);
        return 0;
    }
    return CPropertyPage::WindowProc(message, wParam, lParam);
}

void CConvertingFilesPP::scheduleShow()
{
    if (m_showScheduled)
        return;
    using namespace std::chrono;
    const auto since = steady_clock::now() - m_lastShown;
    const auto wait =
        since >= kFrame ? milliseconds(0) : duration_cast<milliseconds>(kFrame - since);
    m_showScheduled = ::SetTimer(m_hWnd, kShowTimer, static_cast<UINT>(wait.count()), nullptr) != 0;
}
