// Reading and writing the wizard's profile values.
#include "wizard/WizardSettings.h"

#include "ui/WinApp.h"

WizardSettings WizardSettings::load(CWinApp& app)
{
    WizardSettings s;
    s.clsid = app.GetProfileString("Conversion", "CLSID", "");
    s.useJobId = static_cast<int>(app.GetProfileInt("JobIDGroup", "UseJobId", s.useJobId));
    s.jobId = app.GetProfileString("JobIDGroup", "JObId", s.jobId.c_str());
    s.useGroup = static_cast<int>(app.GetProfileInt("JobIDGroup", "UseGroup", s.useGroup));
    s.group = app.GetProfileString("JobIDGroup", "Group", s.group.c_str());
    s.useLogFile = static_cast<int>(app.GetProfileInt("LogFile", "UseLogFile", s.useLogFile));
    s.logFile = app.GetProfileString("LogFile", "File", s.logFile.c_str());
    s.helpFile = app.GetProfileString("HelpFile", "File", app.m_pszHelpFilePath);
    return s;
}

void WizardSettings::saveConversion(CWinApp& app) const
{
    app.WriteProfileString("Conversion", "CLSID", clsid.c_str());
    app.WriteProfileInt("JobIDGroup", "UseJobId", useJobId);
    app.WriteProfileString("JobIDGroup", "JObId", jobId.c_str());
    app.WriteProfileInt("JobIDGroup", "UseGroup", useGroup);
    app.WriteProfileString("JobIDGroup", "Group", group.c_str());
    app.WriteProfileInt("LogFile", "UseLogFile", useLogFile);
    app.WriteProfileString("LogFile", "File", logFile.c_str());
}

void WizardSettings::save(CWinApp& app) const
{
    saveConversion(app);
    app.WriteProfileString("HelpFile", "File", helpFile.c_str());
}
