// The hive files: their text, damaged files, failed and interrupted writes,
// and several processes sharing a hive.
#include "RegistryFixture.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>

namespace {

using HiveStorage = RegistryFixture;

// Runs body in a child process; true when it returned true.
template <class Body>
pid_t forkChild(Body body)
{
    pid_t child = fork();
    if (child == 0)
        _exit(body() ? 0 : 1);
    return child;
}

bool succeeded(pid_t child)
{
    int status = 0;
    return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::set<std::string> valueNames(HKEY key)
{
    std::set<std::string> names;
    for (DWORD index = 0;; ++index) {
        char name[64];
        DWORD size = sizeof name;
        if (RegEnumValue(key, index, name, &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            return names;
        names.insert(name);
    }
}

TEST_F(HiveStorage, FileIsReadableTextWithEscapes)
{
    HKEY key = create(HKEY_CURRENT_USER, "Software\\Format");
    ASSERT_EQ(setString(key, nullptr, "default"), ERROR_SUCCESS);
    ASSERT_EQ(setString(key, "Quote \"q\"", "line1\nline2 \\ ü\x01"), ERROR_SUCCESS);
    ASSERT_EQ(setNumber(key, "Count", 31), ERROR_SUCCESS);
    RegCloseKey(create(key, "Sub ]Key"));
    RegCloseKey(key);
    EXPECT_EQ(readFile(hive("HKCU.reg")), R"(vlmr-registry version 1 generation 5
[Software]
[Software\Format]
@=s:"default"
"Quote \"q\""=s:"line1\nline2 \\ ü\x01"
"Count"=d:0x0000001f
[Software\Format\Sub ]Key]
)");
}

TEST_F(HiveStorage, HandWrittenFileIsRead)
{
    writeFile(hive("HKCU.reg"), "vlmr-registry version 1\r\n"
                                "\"Top\"=d:0x7\r\n"
                                "\n"
                                "[A\\B]\r\n"
                                "\"Text\"=s:\"tab\\there\"\n");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "a\\b", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(queryString(key, "Text"), "tab\there");
    RegCloseKey(key);
    DWORD number = 0;
    DWORD size = sizeof number;
    EXPECT_EQ(RegQueryValueEx(HKEY_CURRENT_USER, "Top", nullptr, nullptr,
                              reinterpret_cast<BYTE*>(&number), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(number, 7u);
}

TEST_F(HiveStorage, DamagedFileIsReportedAndNeverOverwritten)
{
    const std::string header = "vlmr-registry version 1\n";
    struct Case {
        std::string text;
        int line;
        const char* what;
    };
    const Case cases[] = {
        {"", 1, "expected the header"},
        {"vlmr-registry version 2\n[A]\n", 1, "expected the header"},
        {header + "[A\n", 2, "expected [key path]"},
        {header + "[A\\\\B]\n", 2, "expected [key path]"},
        {header + "[A]\n\"x\"=s:\"open\n\"y\"=s:\"\"\n", 3, "unterminated string"},
        {header + "[A]\n\"x\"=s:\"\\q\"\n", 3, "unknown escape \\q"},
        {header + "[A]\n\"x\"=s:\"\\x4\"\n", 3, "\\x needs two hex digits"},
        {header + "[A]\n\"x\"=s:\"a\" more\n", 3, "unexpected text after the value"},
        {header + "[A]\n\"x\"=q:1\n", 3, "expected s:"},
        {header + "[A]\n\"x\"=d:0x1g\n", 3, "hex digits"},
        {header + "[A]\n\"x\"=d:0x123456789\n", 3, "hex digits"},
        {header + "[A]\n\"x\" = s:\"a\"\n", 3, "expected '='"},
        {header + "[A]\n@=s:\"a\"\n\"\"=s:\"b\"\n", 4, "appears twice"},
        {header + "[A]\n\nstray\n", 4, "expected a [key] line"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        writeFile(hive("HKCU.reg"), c.text);
        std::string expected =
            "registry file " + hive("HKCU.reg") + ", line " + std::to_string(c.line) + ": ";
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "A", 0, KEY_READ, &key), ERROR_BADDB);
        EXPECT_EQ(registryLastError().substr(0, expected.size()), expected);
        EXPECT_NE(registryLastError().find(c.what), std::string::npos) << registryLastError();
        EXPECT_EQ(setString(HKEY_CURRENT_USER, "v", "x"), ERROR_BADDB);
        EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "B", 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                                 nullptr),
                  ERROR_BADDB);
        EXPECT_EQ(RegDeleteTree(HKEY_CURRENT_USER, nullptr), ERROR_BADDB);
        EXPECT_EQ(readFile(hive("HKCU.reg")), c.text);
        EXPECT_FALSE(std::filesystem::exists(hive("HKCU.reg.tmp")));
    }
    // Mended, the hive is used again.
    writeFile(hive("HKCU.reg"), header + "[A]\n");
    EXPECT_EQ(setString(HKEY_CURRENT_USER, "v", "x"), ERROR_SUCCESS);
}

TEST_F(HiveStorage, FailedWriteLeavesTheOldFile)
{
    HKEY key = create(HKEY_CURRENT_USER, "Software\\Kept");
    ASSERT_EQ(setString(key, "v", "old"), ERROR_SUCCESS);
    const std::string before = readFile(hive("HKCU.reg"));
    std::filesystem::create_directory(hive("HKCU.reg.tmp")); // the temporary file cannot be made
    EXPECT_EQ(setString(key, "v", "new"), ERROR_CANTWRITE);
    EXPECT_NE(registryLastError().find("registry file " + hive("HKCU.reg")), std::string::npos);
    EXPECT_EQ(readFile(hive("HKCU.reg")), before);
    EXPECT_EQ(queryString(key, "v"), "old");
    std::filesystem::remove(hive("HKCU.reg.tmp"));
    EXPECT_EQ(setString(key, "v", "new"), ERROR_SUCCESS);
    EXPECT_EQ(queryString(key, "v"), "new");
    RegCloseKey(key);

    // A directory that cannot be made, since a file stands in its way.
    writeFile((m_top / "plain-file").string(), "");
    useDirectory(m_top / "plain-file" / "registry");
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key), ERROR_CANTREAD);
    EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software", 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                             nullptr),
              ERROR_CANTWRITE);
}

TEST_F(HiveStorage, KilledWriterLeavesTheOldOrTheNewHive)
{
    // What a writer killed before its rename leaves behind is ignored and replaced.
    writeFile(hive("HKCU.reg.tmp"), "vlmr-registry version 1\n[Half");
    HKEY key = create(HKEY_CURRENT_USER, "Software\\Steps");
    ASSERT_EQ(setNumber(key, "v0", 0), ERROR_SUCCESS);

    // Kill a writer at whatever step it is in: the hive holds a whole run of its writes.
    pid_t child = forkChild([&] {
        for (DWORD i = 1;; ++i)
            if (setNumber(key, ("v" + std::to_string(i)).c_str(), i) != ERROR_SUCCESS)
                return false;
    });
    while (std::filesystem::file_size(hive("HKCU.reg")) < 2000 &&
           waitpid(child, nullptr, WNOHANG) == 0)
        usleep(1000);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);

    std::set<std::string> names = valueNames(key);
    ASSERT_GE(names.size(), 2u);
    for (DWORD i = 0; i < names.size(); ++i) {
        std::string name = "v" + std::to_string(i);
        DWORD number = 0;
        DWORD size = sizeof number;
        ASSERT_EQ(RegQueryValueEx(key, name.c_str(), nullptr, nullptr,
                                  reinterpret_cast<BYTE*>(&number), &size),
                  ERROR_SUCCESS)
            << name;
        EXPECT_EQ(number, i);
    }
    EXPECT_EQ(setNumber(key, "after", 1), ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(HiveStorage, TwoProcessesWritingLoseNothing)
{
    HKEY key = create(HKEY_CURRENT_USER, "Software\\Shared");
    constexpr int count = 200;
    auto writer = [&](const std::string& prefix) {
        return forkChild([&] {
            for (DWORD i = 0; i < count; ++i)
                if (setNumber(key, (prefix + std::to_string(i)).c_str(), i) != ERROR_SUCCESS)
                    return false;
            return true;
        });
    };
    pid_t first = writer("a");
    pid_t second = writer("b");
    EXPECT_TRUE(succeeded(first));
    EXPECT_TRUE(succeeded(second));
    std::set<std::string> names = valueNames(key);
    EXPECT_EQ(names.size(), 2u * count);
    EXPECT_TRUE(names.count("a0") && names.count("a199") && names.count("b0") &&
                names.count("b199"));
    RegCloseKey(key);
}

TEST_F(HiveStorage, ReadersWhileAnotherProcessWritesSeeWholeHives)
{
    // Readers take no lock; what they open is always a whole hive, so every
    // read answers, and the values written so far are a run from v0.
    HKEY key = create(HKEY_CURRENT_USER, "Software\\Growing");
    ASSERT_EQ(setNumber(key, "v0", 0), ERROR_SUCCESS);
    constexpr DWORD count = 150;
    pid_t child = forkChild([&] {
        for (DWORD i = 1; i < count; ++i)
            if (setNumber(key, ("v" + std::to_string(i)).c_str(), i) != ERROR_SUCCESS)
                return false;
        return true;
    });
    std::size_t seen = 0;
    int status = 0;
    for (bool ended = false; !ended;) {
        ended = waitpid(child, &status, WNOHANG) == child; // then one read more
        std::set<std::string> names = valueNames(key);
        ASSERT_GE(names.size(), seen);
        seen = names.size();
        for (DWORD i = 0; i < seen; ++i)
            ASSERT_TRUE(names.count("v" + std::to_string(i))) << "v" << i << " of " << seen;
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(seen, count);
    RegCloseKey(key);
}

TEST_F(HiveStorage, KeyDeletedByAnotherProcessIsSeen)
{
    HKEY key = create(HKEY_CURRENT_USER, "Software\\Elsewhere");
    ASSERT_EQ(setString(key, "v", "x"), ERROR_SUCCESS);
    EXPECT_TRUE(succeeded(
        forkChild([] { return RegDeleteTree(HKEY_CURRENT_USER, "Software") == ERROR_SUCCESS; })));
    EXPECT_EQ(queryString(key, "v"), "<error 1018>");
    RegCloseKey(key);
}

} // namespace
