// The conversion worker: the parameter block the user-interface thread
// fills before it starts a worker, and the worker's thread procedure.
#pragma once

#include "ui/WinUser.h"

#include "com/Types.h"

#include <atomic>

// Values of ConversionThreadParams::nState, written by the user-interface
// thread only.
constexpr LONG kConversionRun = 0;
constexpr LONG kConversionPaused = 1;
constexpr LONG kConversionCancel = 2;

// Posted to the conversion page when a worker has finished with the block
// and the page's texts; wParam is the run's nRun.
constexpr UINT WM_CONVERSION_ENDED = WM_USER + 0x200;

// Shared by the two threads without locks. The texts point into strings of
// the conversion page that stay unchanged while the worker runs; the block
// owns nothing.
struct ConversionThreadParams {
    HWND hWndPage = nullptr;
    CLSID clsidConverter{};
    std::atomic<LONG> nState{kConversionRun};
    BOOL bUseJobId = FALSE; // the job comes from the part
    const char* pszJobId = nullptr;
    BOOL bUseGroup = FALSE; // the group comes from the part
    const char* pszGroup = nullptr;
    BOOL bUseLogFile = FALSE;
    const char* pszLogFile = nullptr;
    BOOL bIsMetric = FALSE;
    BOOL bIsToolMetric = FALSE;
    DWORD nRun = 0; // the run's number, posted back at its end
};

// Sleeps while the run is paused; true when it is to stop.
bool WaitWhilePaused(const ConversionThreadParams& params);

// The worker: converts every entry of the page's file list in turn, marks
// each entry complete or failed and writes the log. Exit code 0, or 1 when
// the page's file list cannot be reached.
DWORD ConversionThreadProc(LPVOID parameter);
