// CQuillfenApp: the import wizard's application object. It starts OLE,
// points the help path at the compiled help file, names the registry key
// of the settings and runs the wizard sheet.
#pragma once

#include "ui/Afx.h"

class CQuillfenApp : public CWinApp {
public:
    CQuillfenApp() = default;

    // Runs the sheet; FALSE always, so that the program ends after it.
    BOOL InitInstance() override;
    // The help file beside the program.
    void ShowHelp();
    void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT) override;
};
