// The application object: its names, help path and registry profile.
#include "testing/GuiTest.h"

#include "ui/Process.h"
#include "ui/WinApp.h"

#include "registry/Registry.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace {

class App : public CWinApp {};

TEST(WinApp, NamesComeFromTheProgramWhenNotGiven)
{
    App app;
    EXPECT_EQ(AfxGetApp(), &app);
    ASSERT_TRUE(AfxWinInit());
    EXPECT_STREQ(app.m_pszAppName, "ui_tests");
    EXPECT_STREQ(AfxGetAppName(), "ui_tests");
    char program[4096];
    GetModuleFileName(nullptr, program, sizeof program);
    EXPECT_EQ(std::string(app.m_pszHelpFilePath), std::string(program) + ".HLP");
    // The help path is the program's to replace.
    std::free(const_cast<char*>(app.m_pszHelpFilePath));
    app.m_pszHelpFilePath = strdup("/elsewhere/Quillfen.chm");
}

TEST(WinApp, ProfileLivesUnderTheRegistryKeyAndTheApplicationName)
{
    App app;
    AfxWinInit();
    EXPECT_EQ(app.GetProfileString("LogFile", "File", "ConvertLog.Log"), "ConvertLog.Log")
        << "no registry key yet";
    EXPECT_FALSE(app.WriteProfileInt("LogFile", "UseLogFile", 1));
    app.SetRegistryKey("Velmora");
    EXPECT_EQ(app.GetProfileString("JobIDGroup", "JObId", "Undefined"), "Undefined");
    EXPECT_EQ(app.GetProfileInt("LogFile", "UseLogFile", 1), 1u);

    ASSERT_TRUE(app.WriteProfileString("JobIDGroup", "JObId", "J-\xc3\xa4 7"));
    ASSERT_TRUE(app.WriteProfileInt("JobIDGroup", "UseJobId", 0));
    ASSERT_TRUE(app.WriteProfileInt("LogFile", "UseLogFile", -1));
    EXPECT_EQ(app.GetProfileString("JobIDGroup", "JObId", "Undefined"), "J-\xc3\xa4 7");
    EXPECT_EQ(app.GetProfileInt("JobIDGroup", "UseJobId", 5), 0u);
    EXPECT_EQ(app.GetProfileInt("LogFile", "UseLogFile", 1), 0xFFFFFFFFu);
    EXPECT_EQ(app.GetProfileInt("JobIDGroup", "JObId", 9), 9u) << "a string is no integer";

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Velmora\\ui_tests\\JobIDGroup", 0,
                           KEY_READ, &key),
              ERROR_SUCCESS);
    DWORD type = 0;
    DWORD value = 7;
    DWORD size = sizeof value;
    EXPECT_EQ(
        RegQueryValueEx(key, "UseJobId", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
        ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(RegQueryValueEx(key, "JObId", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    RegCloseKey(key);

    ASSERT_TRUE(app.WriteProfileString("JobIDGroup", "JObId", nullptr));
    EXPECT_EQ(app.GetProfileString("JobIDGroup", "JObId", "gone"), "gone");
    ASSERT_TRUE(app.WriteProfileString("JobIDGroup", nullptr, nullptr));
    EXPECT_EQ(app.GetProfileInt("JobIDGroup", "UseJobId", 3), 3u);
}

// Each registry write is a durable write of the hive: a profile value that
// is already held is not written again.
TEST(WinApp, AValueTheProfileHoldsIsNotWrittenAgain)
{
    App app;
    AfxWinInit();
    app.SetRegistryKey("Velmora");
    const char* folder = std::getenv("VLMR_REGISTRY");
    ASSERT_NE(folder, nullptr);
    auto hives = [folder] {
        std::map<std::string, std::string> files; // each write numbers its hive anew
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            std::ifstream in(entry.path(), std::ios::binary);
            files[entry.path().filename().string()].assign(std::istreambuf_iterator<char>(in),
                                                           std::istreambuf_iterator<char>());
        }
        return files;
    };
    ASSERT_TRUE(app.WriteProfileString("Conversion", "CLSID", "{A}"));
    ASSERT_TRUE(app.WriteProfileInt("LogFile", "UseLogFile", 1));
    const auto written = hives();
    EXPECT_TRUE(app.WriteProfileString("Conversion", "CLSID", "{A}"));
    EXPECT_TRUE(app.WriteProfileInt("LogFile", "UseLogFile", 1));
    EXPECT_EQ(hives(), written) << "the same values again";
    EXPECT_TRUE(app.WriteProfileString("Conversion", "CLSID", "{B}"));
    EXPECT_NE(hives(), written);
    EXPECT_EQ(app.GetProfileString("Conversion", "CLSID", ""), "{B}");
    EXPECT_TRUE(app.WriteProfileString("LogFile", "UseLogFile", "1"));
    EXPECT_EQ(app.GetProfileString("LogFile", "UseLogFile", ""), "1") << "another type is written";
    ASSERT_TRUE(app.WriteProfileString("Conversion", nullptr, nullptr));
    ASSERT_TRUE(app.WriteProfileString("LogFile", nullptr, nullptr));
}

} // namespace
