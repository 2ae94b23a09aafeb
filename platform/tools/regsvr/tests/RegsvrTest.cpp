// regsvr as a program: its exit codes, messages and what it registers.
#include "RegistryFixture.h"

#include <sys/wait.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

struct Outcome {
    int exitCode;
    std::string output; // stdout and stderr
};

std::string absolute(const char* path)
{
    char resolved[PATH_MAX];
    return realpath(path, resolved) ? resolved : path;
}

class RegsvrTest : public RegistryFixture {
protected:
    static Outcome regsvr(const std::string& arguments)
    {
        std::string command = std::string(REGSVR_PATH) + " " + arguments + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        Outcome run{-1, {}};
        if (pipe == nullptr)
            return run;
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
            run.output += buffer;
        int status = pclose(pipe);
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return run;
    }
};

TEST_F(RegsvrTest, RegistersListsAndUnregistersAModule)
{
    const std::string server = absolute(TEST_SERVER_PATH);
    Outcome run = regsvr("'" + server + "'");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, "regsvr: registered " + server + "\n");
    EXPECT_EQ(stringValue(HKEY_CLASSES_ROOT,
                          "CLSID\\{5C3A9E11-41B2-4C7E-9A11-2F0D6B8E7A01}\\InprocServer32"),
              server);

    run = regsvr("--list");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.output.find("{5C3A9E11-41B2-4C7E-9A11-2F0D6B8E7A01}\tComServerTest.TestWidget."
                              "1\tTestWidget Class\t" +
                              server + "\n"),
              std::string::npos)
        << run.output;

    run = regsvr("-u '" + server + "'");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, "regsvr: unregistered " + server + "\n");
    EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, "CLSID\\{5C3A9E11-41B2-4C7E-9A11-2F0D6B8E7A01}"));
    EXPECT_EQ(regsvr("--list").output, "");
}

TEST_F(RegsvrTest, FilesThatAreNoModulesAreReportedWithTheLoadersText)
{
    const std::string text = (m_registry.folder() / "notes.txt").string();
    std::ofstream(text) << "not a module\n";
    Outcome run = regsvr(text);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output.rfind("regsvr: cannot load " + text + ": " + text + ": ", 0), 0u)
        << run.output;

    const std::string missing = (m_registry.folder() / "missing.so").string();
    run = regsvr(missing);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "regsvr: cannot load " + missing + ": No such file or directory\n");
}

TEST_F(RegsvrTest, AModuleWithoutTheExportIsReported)
{
    const std::string module = absolute(NOEXPORT_MODULE_PATH);
    Outcome run = regsvr(module);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "regsvr: " + module + " has no DllRegisterServer export\n");
    run = regsvr("-u " + module);
    EXPECT_EQ(run.output, "regsvr: " + module + " has no DllUnregisterServer export\n");
}

TEST_F(RegsvrTest, AFailingRegistrationIsReportedWithItsResultAndErrorInfo)
{
    const std::string module = absolute(FAILING_MODULE_PATH);
    Outcome run = regsvr(module);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output,
              "regsvr: DllRegisterServer of " + module + " failed: 0x80020009 " +
                  hresultMessage(DISP_E_EXCEPTION) +
                  "\nregsvr: registrar script 101, line 5: expected a quoted text after s, found "
                  "\"{7A0C1E40-5B3D-4F6A-8C21-9D0E1F2A3B01}\"\n");
    EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, "RegsvrTest.Failing.1"));
}

TEST_F(RegsvrTest, WrongArgumentsShowTheUsage)
{
    for (const char* arguments : {"", "-u", "-x module", "--list extra"}) {
        SCOPED_TRACE(arguments);
        Outcome run = regsvr(arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.output, "usage: regsvr MODULE | regsvr -u MODULE | regsvr --list\n");
    }
}

} // namespace
