// The application object, its registry profile and the Afx functions.
#include "ui/WinApp.h"

#include "ui/Process.h"

#include "com/Runtime.h"
#include "registry/Registry.h"

#include <QApplication>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>

namespace {

CWinApp*& theApp()
{
    static CWinApp* app = nullptr;
    return app;
}

bool& oleInitialized()
{
    static bool initialized = false;
    return initialized;
}

void replace(LPCSTR& member, const std::string& value)
{
    std::free(const_cast<char*>(member));
    member = strdup(value.c_str());
}

} // namespace

CWinApp::CWinApp(LPCSTR lpszAppName)
{
    if (lpszAppName)
        m_pszAppName = strdup(lpszAppName);
    theApp() = this;
}

CWinApp::~CWinApp()
{
    for (LPCSTR s :
         {m_pszAppName, m_pszExeName, m_pszHelpFilePath, m_pszRegistryKey, m_pszProfileName})
        std::free(const_cast<char*>(s));
    if (theApp() == this)
        theApp() = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::Run()
{
    if (qApp)
        QApplication::exec();
    return ExitInstance();
}

int CWinApp::ExitInstance()
{
    return 0;
}

void CWinApp::WinHelp(DWORD_PTR, UINT) {}

void CWinApp::SetRegistryKey(LPCSTR lpszRegistryKey)
{
    replace(m_pszRegistryKey, lpszRegistryKey ? lpszRegistryKey : "");
    replace(m_pszProfileName, m_pszAppName ? m_pszAppName : "");
}

std::string CWinApp::sectionKey(LPCSTR section) const
{
    return std::string("Software\\") + m_pszRegistryKey + "\\" + m_pszProfileName + "\\" + section;
}

void CWinApp::noteProfileFailure(LONG status, LPCSTR section)
{
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND)
        return;
    std::string why = registryLastError();
    if (why.empty())
        why = "registry error " + std::to_string(status);
    std::lock_guard lock(m_profileFailureLock);
    if (m_profileFailure.empty())
        m_profileFailure = "HKEY_CURRENT_USER\\" + sectionKey(section) + ": " + why;
}

std::string CWinApp::TakeProfileFailure()
{
    std::lock_guard lock(m_profileFailureLock);
    return std::exchange(m_profileFailure, std::string());
}

std::string CWinApp::GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR lpszDefault)
{
    const std::string fallback = lpszDefault ? lpszDefault : "";
    if (!m_pszRegistryKey || !section)
        return fallback;
    HKEY key = nullptr;
    if (const LSTATUS status =
            RegOpenKeyEx(HKEY_CURRENT_USER, sectionKey(section).c_str(), 0, KEY_READ, &key);
        status != ERROR_SUCCESS) {
        noteProfileFailure(status, section);
        return fallback;
    }
    std::string value = fallback;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueEx(key, entry, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        type == REG_SZ) {
        std::string data(size, '\0');
        if (RegQueryValueEx(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                            &size) == ERROR_SUCCESS)
            value.assign(data.c_str());
    }
    RegCloseKey(key);
    return value;
}

UINT CWinApp::GetProfileInt(LPCSTR section, LPCSTR entry, int nDefault)
{
    if (!m_pszRegistryKey || !section)
        return static_cast<UINT>(nDefault);
    HKEY key = nullptr;
    if (const LSTATUS status =
            RegOpenKeyEx(HKEY_CURRENT_USER, sectionKey(section).c_str(), 0, KEY_READ, &key);
        status != ERROR_SUCCESS) {
        noteProfileFailure(status, section);
        return static_cast<UINT>(nDefault);
    }
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    const bool found = RegQueryValueEx(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                                       &size) == ERROR_SUCCESS &&
                       type == REG_DWORD;
    RegCloseKey(key);
    return found ? value : static_cast<UINT>(nDefault);
}

// True when the entry holds exactly these bytes as a value of this type.
bool CWinApp::profileHolds(LPCSTR section, LPCSTR entry, DWORD type, const void* data,
                           DWORD size) const
{
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, sectionKey(section).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return false;
    std::string held(size, '\0');
    DWORD heldType = 0;
    DWORD heldSize = size;
    const bool same =
        RegQueryValueEx(key, entry, nullptr, &heldType, reinterpret_cast<BYTE*>(held.data()),
                        &heldSize) == ERROR_SUCCESS &&
        heldType == type && heldSize == size && std::memcmp(held.data(), data, size) == 0;
    RegCloseKey(key);
    return same;
}

// A value that the profile already holds is not written again: every
// registry write is a durable write of the hive.
BOOL CWinApp::WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value)
{
    if (!m_pszRegistryKey || !section)
        return FALSE;
    if (entry && value &&
        profileHolds(section, entry, REG_SZ, value, static_cast<DWORD>(std::strlen(value) + 1)))
        return TRUE;
    if (!entry) {
        const LSTATUS status = RegDeleteTree(HKEY_CURRENT_USER, sectionKey(section).c_str());
        noteProfileFailure(status, section);
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
    }
    HKEY key = nullptr;
    if (const LSTATUS status =
            RegCreateKeyEx(HKEY_CURRENT_USER, sectionKey(section).c_str(), 0, nullptr,
                           REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key, nullptr);
        status != ERROR_SUCCESS) {
        noteProfileFailure(status, section);
        return FALSE;
    }
    LSTATUS status;
    if (value)
        status = RegSetValueEx(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                               static_cast<DWORD>(std::strlen(value) + 1));
    else if ((status = RegDeleteValue(key, entry)) == ERROR_FILE_NOT_FOUND)
        status = ERROR_SUCCESS;
    RegCloseKey(key);
    noteProfileFailure(status, section);
    return status == ERROR_SUCCESS;
}

BOOL CWinApp::WriteProfileInt(LPCSTR section, LPCSTR entry, int nValue)
{
    if (!m_pszRegistryKey || !section || !entry)
        return FALSE;
    const DWORD value = static_cast<DWORD>(nValue);
    if (profileHolds(section, entry, REG_DWORD, &value, sizeof value))
        return TRUE;
    HKEY key = nullptr;
    if (const LSTATUS status =
            RegCreateKeyEx(HKEY_CURRENT_USER, sectionKey(section).c_str(), 0, nullptr,
                           REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key, nullptr);
        status != ERROR_SUCCESS) {
        noteProfileFailure(status, section);
        return FALSE;
    }
    const LSTATUS status = RegSetValueEx(key, entry, 0, REG_DWORD,
                                         reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
    noteProfileFailure(status, section);
    return status == ERROR_SUCCESS;
}

CWinApp* AfxGetApp()
{
    return theApp();
}

CWnd* AfxGetMainWnd()
{
    return theApp() ? theApp()->m_pMainWnd : nullptr;
}

LPCSTR AfxGetAppName()
{
    return theApp() && theApp()->m_pszAppName ? theApp()->m_pszAppName : "";
}

BOOL AfxWinInit()
{
    CWinApp* app = theApp();
    char path[4096];
    if (!app || GetModuleFileName(nullptr, path, sizeof path) == 0)
        return FALSE;
    const std::filesystem::path program = path;
    const std::string base = program.stem().string();
    if (!app->m_pszAppName)
        replace(app->m_pszAppName, base);
    replace(app->m_pszExeName, base);
    replace(app->m_pszHelpFilePath,
            std::filesystem::path(program).replace_extension(".HLP").string());
    return TRUE;
}

int AfxWinMain(int argc, char** argv)
{
    CWinApp* app = theApp();
    if (!app)
        return -1;
    std::unique_ptr<QApplication> qt;
    if (!qApp)
        qt = std::make_unique<QApplication>(argc, argv);
    AfxWinInit();
    const int code = app->InitInstance() ? app->Run() : app->ExitInstance();
    if (oleInitialized()) {
        OleUninitialize();
        oleInitialized() = false;
    }
    return code;
}

BOOL AfxOleInit()
{
    if (FAILED(OleInitialize(nullptr)))
        return FALSE;
    oleInitialized() = true;
    return TRUE;
}

void AfxEnableControlContainer() {}

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT)
{
    CWnd* main = AfxGetMainWnd();
    return ::MessageBox(main ? main->m_hWnd : nullptr, lpszText, AfxGetAppName(), nType);
}
