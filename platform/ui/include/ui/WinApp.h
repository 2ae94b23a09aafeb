// CWinApp, the application object, and the Afx functions around it. One
// object per process, defined statically by the program; AfxWinMain
// creates the QApplication, fills in the names and runs InitInstance. The
// profile is the registry key
// HKEY_CURRENT_USER\Software\<registry key>\<application name>\<section>,
// strings as REG_SZ, integers as REG_DWORD.
//
// The string members are malloc'ed: to replace one, free it and store a
// strdup'ed copy; the object frees them when it is destroyed.
#pragma once

#include "ui/Wnd.h"

#include <mutex>
#include <string>

class CWinApp {
public:
    // A null name becomes the program's base file name in AfxWinInit.
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance();
    // The Qt event loop; then ExitInstance.
    virtual int Run();
    // The program's exit code.
    virtual int ExitInstance();
    // The application's help entry; the default shows nothing.
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);

    void SetRegistryKey(LPCSTR lpszRegistryKey);
    // The defaults when the value is missing or has another type, or when
    // no registry key is set.
    std::string GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry,
                                 LPCSTR lpszDefault = nullptr);
    UINT GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault);
    // A null value deletes the entry, a null entry the section.
    BOOL WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue);
    BOOL WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue);
    // Why a profile value could not be read or written, for a registry that
    // is damaged, busy or cannot be written (a value that is merely missing
    // is no failure): the first such text since the last call, then empty.
    // Any thread may write the profile; the texts are kept under a lock.
    std::string TakeProfileFailure();

    LPCSTR m_pszAppName = nullptr;
    LPCSTR m_pszExeName = nullptr;
    // The program's path with the extension ".HLP".
    LPCSTR m_pszHelpFilePath = nullptr;
    LPCSTR m_pszRegistryKey = nullptr;
    LPCSTR m_pszProfileName = nullptr;
    CWnd* m_pMainWnd = nullptr;

private:
    std::string sectionKey(LPCSTR section) const;
    // Remembers why status failed, unless it only says "not found".
    void noteProfileFailure(LONG status, LPCSTR section);
    bool profileHolds(LPCSTR section, LPCSTR entry, DWORD type, const void* data, DWORD size) const;

    std::mutex m_profileFailureLock;
    std::string m_profileFailure;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
LPCSTR AfxGetAppName();

// Fills in the application's names and help path from the program's path
// (also for an application made without AfxWinMain, as in tests).
BOOL AfxWinInit();
// The program's main: main() returns AfxWinMain(argc, argv).
int AfxWinMain(int argc, char** argv);

// OLE for the calling thread (OleInitialize); undone when AfxWinMain ends.
BOOL AfxOleInit();
void AfxEnableControlContainer();

// A message box with the application's name as caption, owned by the main
// window; from any thread.
int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
