// regsvr as a program: its exit codes, messages and what it registers.
#include "RegistryFixture.h"

#include <sys/wait.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

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
    // Starts regsvr with the arguments; finish() waits for it.
    static FILE* start(const std::string& arguments)
    {
        std::string command = std::string(REGSVR_PATH) + " " + arguments + " 2>&1";
        return popen(command.c_str(), "r");
    }
    static Outcome finish(FILE* pipe)
    {
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
    static Outcome regsvr(const std::string& arguments) { return finish(start(arguments)); }
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

// Registering from several processes at once: each registration waits for
// the others and is seen whole, never "registry error 1018" because another
// process took away a key it was writing.
TEST_F(RegsvrTest, SeveralProcessesRegisterAtOnce)
{
    const std::string server = absolute(TEST_SERVER_PATH);
    const std::string widget = "CLSID\\{5C3A9E11-41B2-4C7E-9A11-2F0D6B8E7A01}";
    constexpr int kProcesses = 6;
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        // The last round mixes unregistrations in: whatever comes last, the
        // widget is registered whole or not at all.
        const bool mixed = round == 2;
        std::vector<FILE*> runs;
        for (int i = 0; i < kProcesses; ++i)
            runs.push_back(start((mixed && i % 2 ? "-u '" : "'") + server + "'"));
        for (int i = 0; i < kProcesses; ++i) {
            Outcome run = finish(runs[i]);
            EXPECT_EQ(run.exitCode, 0) << run.output;
            EXPECT_EQ(run.output, std::string("regsvr: ") +
                                      (mixed && i % 2 ? "unregistered " : "registered ") + server +
                                      "\n");
        }
        const bool registered = keyExists(HKEY_CLASSES_ROOT, widget);
        EXPECT_TRUE(registered || mixed);
        EXPECT_EQ(stringValue(HKEY_CLASSES_ROOT, widget + "\\InprocServer32"),
                  registered ? server : "<missing>");
        EXPECT_EQ(keyExists(HKEY_CLASSES_ROOT, "ComServerTest.TestWidget.1"), registered);
        EXPECT_EQ(keyExists(HKEY_CLASSES_ROOT, "TypeLib\\{5C3A9E10-41B2-4C7E-9A11-2F0D6B8E7A01}"),
                  registered);
    }
}

TEST_F(RegsvrTest, ADamagedRegistryIsReportedWithFileAndLineAndKept)
{
    const std::string server = absolute(TEST_SERVER_PATH);
    ASSERT_EQ(regsvr("'" + server + "'").exitCode, 0);
    const std::string hive = (m_registry.directory() / "HKLM.reg").string();
    std::string text = testsupport::readFile(hive);
    const std::size_t lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    text.erase(text.rfind("vlmr-registry end\n")); // cut before the end line
    testsupport::writeFile(hive, text);
    const std::string where = "registry file " + hive + ", line " + std::to_string(lines) +
                              ": the end line \"vlmr-registry end\" is missing";

    Outcome run = regsvr("--list");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "regsvr: cannot read HKEY_CLASSES_ROOT\\CLSID: " + where +
                              ": the file is cut short\n");
    run = regsvr("'" + server + "'");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find(where), std::string::npos) << run.output;
    EXPECT_EQ(testsupport::readFile(hive), text);
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
