// The wizard's settings in the application's registry profile: sections
// "Conversion", "JobIDGroup", "LogFile" and "HelpFile", with the defaults
// a first start finds.
#pragma once

#include <string>

class CWinApp;

struct WizardSettings {
    std::string clsid; // braced class ID of the converter
    int useJobId = 0;  // 1: the job comes from the CAD file
    std::string jobId = "Undefined";
    int useGroup = 0; // 1: the group comes from the CAD file
    std::string group = "Undefined";
    int useLogFile = 1;
    std::string logFile = "ConvertLog.Log";
    std::string helpFile; // default: the application's help path

    static WizardSettings load(CWinApp& app);
    // Every value but the help file.
    void saveConversion(CWinApp& app) const;
    void save(CWinApp& app) const;
};
