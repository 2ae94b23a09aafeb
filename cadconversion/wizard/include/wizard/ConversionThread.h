// The conversion worker: the parameter block the user-interface thread
// fills before it starts a worker, and the worker's thread procedure.
#pragma once

#include "wizard/ConversionDisplay.h"

#include "ui/WinUser.h"

#include "com/Types.h"

#include <atomic>
#include <string>
#include <vector>

// Values of ConversionThreadParams::nState, written by the user-interface
// thread only.
constexpr LONG kConversionRun = 0;
constexpr LONG kConversionPaused = 1;
constexpr LONG kConversionCancel = 2;

// Posted to the conversion page when a worker has finished with the block
// and the page's texts; wParam is the run's nRun.
constexpr UINT WM_CONVERSION_ENDED = WM_USER + 0x200;
// Posted to the conversion page (lParam 0) when the worker has handed
// changes to show (see ConversionDisplay); sent by the worker at its end
// (lParam 1) until the answer is 0: every change is shown.
constexpr UINT WM_CONVERSION_SHOW = WM_USER + 0x201;

// Shared by the two threads. The user-interface thread fills it before a
// worker starts and changes only nState while the worker runs; the texts
// point into strings of the conversion page that stay unchanged while the
// worker runs. The display is the one part both threads change, under its
// own lock.
struct ConversionThreadParams {
    HWND hWndPage = nullptr;
    // The entries of the page's file list as the run starts, in order.
    std::vector<std::string> files;
    ConversionDisplay display;
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

// The worker: converts every file of the block in turn, marks each one's
// entry of the page's list complete or failed and writes the log. Exit
// code 0, or 1 when something other than a file's failure ended the run.
DWORD ConversionThreadProc(LPVOID parameter);
