// Page 5 of the wizard: the chosen files, the Convert button, the current
// job, group and mark, and the worker thread that converts.
#pragma once

#include "wizard/ConversionThread.h"
#include "wizard/ListBoxExtent.h"

#include "com/Types.h"

#include <chrono>
#include <string>
#include <vector>

class CCadConversionPropSheet;

class CConvertingFilesPP : public CPropertyPage {
public:
    CConvertingFilesPP();
    // Stops a worker that still runs.
    ~CConvertingFilesPP() override;

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;

    // Starts a run over the listed files (stopping a running one first).
    void OnConvert();
    // Sets the cancel state and waits for the worker's end, keeping the
    // window messages flowing (the worker sends to this thread's windows).
    void StopConversionThread();
    // Asked by the sheet's Cancel while this page is active: true when the
    // wizard may close. A running worker pauses while the user is asked.
    bool QueryCancelConversion();
    bool IsConverting() const;

    // Filled by the sheet each time the page becomes active.
    void SetConverter(const CLSID& clsid) { clsidConvert = clsid; }
    void SetJob(int useFromFile, const std::string& job);
    void SetGroup(int useFromFile, const std::string& group);
    void SetLog(int use, const std::string& path);
    void SetFileList(std::vector<std::string> files) { StringList = std::move(files); }
    void SetMetric(int metric, int toolMetric);

    CCadConversionPropSheet* pSheet = nullptr;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnDestroy() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The worker's changes are shown at most once a frame.
    static constexpr UINT_PTR kShowTimer = 1;
    static constexpr std::chrono::milliseconds kFrame{16};

    void FillFileList();
    void closeThread();
    void scheduleShow();

    CListBoxExtent m_files;
    CLSID clsidConvert{};
    int bUseJobId = 0;
    std::string strJobId;
    int bUseGroup = 0;
    std::string strGroup;
    int bUseLogFile = 0;
    std::string strLogFile;
    std::vector<std::string> StringList;
    int bIsMetric = 0;
    int bIsToolMetric = 0;
    DWORD dwThreadId = static_cast<DWORD>(-1);
    HANDLE hThread = nullptr;
    DWORD m_nRun = 0; // numbers the runs, so that a stopped one's end is told apart
    ConversionThreadParams m_params;
    bool m_showScheduled = false;
    std::chrono::steady_clock::time_point m_lastShown;
};
