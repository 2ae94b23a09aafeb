// The application object: start-up, the help path and the sheet's run.
#include "wizard/QuillfenApp.h"

#include "wizard/CadConversionPropSheet.h"
#include "wizard/HelpViewer.h"
#include "wizard/Resource.h"

#include "com/server/Resources.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

BOOL CQuillfenApp::InitInstance()
{
    if (!AfxOleInit()) {
        char text[256];
        LoadString(nullptr, IDS_OLE_INIT_FAILED, text, sizeof text);
        AfxMessageBox(text, MB_OK);
        return FALSE;
    }
    AfxEnableControlContainer();

    // The framework's help path with the compiled help extension.
    std::string help = m_pszHelpFilePath ? m_pszHelpFilePath : "";
    if (const std::size_t dot = help.rfind('.'); dot != std::string::npos)
        help.replace(dot, std::string::npos, ".CHM");
    std::free(const_cast<char*>(m_pszHelpFilePath));
    m_pszHelpFilePath = strdup(help.c_str());

    SetRegistryKey("Velmora");

    auto sheet = std::make_unique<CCadConversionPropSheet>("Cad Conversion");
    m_pMainWnd = sheet.get();
    while (sheet->DoModal() == IDOK) {
    }
    m_pMainWnd = nullptr;
    return FALSE;
}

void CQuillfenApp::WinHelp(DWORD_PTR, UINT)
{
    ShowHelp();
}

void CQuillfenApp::ShowHelp()
{
    char program[MAX_PATH];
    char name[MAX_PATH];
    if (GetModuleFileName(nullptr, program, sizeof program) == 0 ||
        LoadString(nullptr, IDS_HELP_FILE_NAME, name, sizeof name) == 0)
        return;
    const std::filesystem::path help = std::filesystem::path(program).parent_path() / name;
    openHelpFile(m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr, help.string());
}
