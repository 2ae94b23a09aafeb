// Groups of changes (written once, whole, while other writers wait) and the
// hive's version (what a caller that keeps what it has read checks).
#include "RegistryFixture.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using ChangeGroups = RegistryFixture;
using HiveVersion = RegistryFixture;

// A one-way signal between two processes: a pipe made before the fork.
class Signal {
public:
    Signal()
    {
        if (pipe(m_fds) != 0)
            ADD_FAILURE() << "no pipe";
    }
    ~Signal()
    {
        close(m_fds[0]);
        close(m_fds[1]);
    }
    void raise() const { EXPECT_EQ(::write(m_fds[1], "x", 1), 1); }
    bool await() const
    {
        char c = 0;
        return ::read(m_fds[0], &c, 1) == 1;
    }

private:
    int m_fds[2] = {-1, -1};
};

std::string generationLine(const std::string& hiveText)
{
    return hiveText.substr(0, hiveText.find('\n'));
}

TEST_F(ChangeGroups, WrittenOnceAtTheEndAndSeenWholeByOtherProcesses)
{
    HKEY key = create(HKEY_CURRENT_USER, "Software\\Group");
    ASSERT_EQ(setNumber(key, "before", 1), ERROR_SUCCESS);
    const std::string before = readFile(hive("HKCU.reg"));
    ASSERT_EQ(generationLine(before), "vlmr-registry version 2 generation 2");
    Signal groupOpen;
    pid_t reader = forkChild([&] {
        // Forked before the group, so that it shares none of its memory.
        HKEY sub = nullptr;
        return groupOpen.await() && queryNumber(key, "before") == 1 &&
               RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Group\\Sub", 0, KEY_READ, &sub) ==
                   ERROR_FILE_NOT_FOUND;
    });
    {
        RegistryChanges changes;
        ASSERT_EQ(changes.status(), ERROR_SUCCESS);
        ASSERT_EQ(setNumber(key, "a", 1), ERROR_SUCCESS);
        RegCloseKey(create(key, "Sub"));
        ASSERT_EQ(setNumber(key, "b", 2), ERROR_SUCCESS);
        EXPECT_EQ(queryNumber(key, "b"), 2u) << "the group's thread reads its own changes";
        EXPECT_EQ(readFile(hive("HKCU.reg")), before) << "nothing written before the end";
        groupOpen.raise();
        EXPECT_TRUE(succeeded(reader)) << "another process reads the hive from before the group";
        EXPECT_EQ(changes.commit(), ERROR_SUCCESS);
    }
    EXPECT_EQ(generationLine(readFile(hive("HKCU.reg"))), "vlmr-registry version 2 generation 3")
        << "one write for the whole group";
    EXPECT_TRUE(succeeded(forkChild([&] {
        HKEY sub = nullptr;
        return queryNumber(key, "a") == 1 && queryNumber(key, "b") == 2 &&
               RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Group\\Sub", 0, KEY_READ, &sub) ==
                   ERROR_SUCCESS;
    })));
    RegCloseKey(key);
}

TEST_F(ChangeGroups, DroppedUnlessCommittedAndNestedGroupsJoinTheOutermost)
{
    HKEY key = create(HKEY_CURRENT_USER, "Software\\Group");
    const std::string before = readFile(hive("HKCU.reg"));
    {
        RegistryChanges changes;
        ASSERT_EQ(setNumber(key, "dropped", 1), ERROR_SUCCESS);
        ASSERT_EQ(RegDeleteTree(HKEY_CURRENT_USER, "Software"), ERROR_SUCCESS);
    }
    EXPECT_EQ(readFile(hive("HKCU.reg")), before);
    EXPECT_EQ(queryNumber(key, "dropped"), ~DWORD{0}) << "the key is back, without the value";

    {
        RegistryChanges outer;
        {
            RegistryChanges inner;
            ASSERT_EQ(setNumber(key, "kept", 1), ERROR_SUCCESS);
            EXPECT_EQ(inner.commit(), ERROR_SUCCESS);
        }
        EXPECT_EQ(readFile(hive("HKCU.reg")), before) << "only the outermost group writes";
        {
            RegistryChanges inner; // ended without a commit: the outermost still decides
            ASSERT_EQ(setNumber(key, "also", 2), ERROR_SUCCESS);
        }
        EXPECT_EQ(outer.commit(), ERROR_SUCCESS);
        EXPECT_EQ(outer.commit(), ERROR_INVALID_HANDLE) << "ended once";
    }
    EXPECT_EQ(queryNumber(key, "kept"), 1u);
    EXPECT_EQ(queryNumber(key, "also"), 2u);
    EXPECT_EQ(registryEndChanges(true), ERROR_INVALID_HANDLE) << "no group is open";
    RegCloseKey(key);
}

TEST_F(ChangeGroups, OtherWritersWaitAndLoseNothing)
{
    HKEY key = create(HKEY_CURRENT_USER, "Software\\Group");
    Signal groupOpen;
    pid_t child = forkChild([&] {
        // Waits for the parent's group, then writes: the write waits for the
        // group's end and keeps what the group wrote.
        return groupOpen.await() && setNumber(key, "child", 7) == ERROR_SUCCESS;
    });
    std::atomic<bool> threadDone{false};
    std::thread other;
    {
        RegistryChanges changes;
        ASSERT_EQ(changes.status(), ERROR_SUCCESS);
        ASSERT_EQ(setNumber(key, "group", 1), ERROR_SUCCESS);
        groupOpen.raise();
        other = std::thread([&] {
            setNumber(key, "thread", 3);
            threadDone = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_FALSE(threadDone) << "another thread waits for the group's end";
        EXPECT_EQ(waitpid(child, nullptr, WNOHANG), 0) << "another process's writer waits";
        ASSERT_EQ(setNumber(key, "group2", 2), ERROR_SUCCESS);
        EXPECT_EQ(changes.commit(), ERROR_SUCCESS);
    }
    other.join();
    EXPECT_TRUE(succeeded(child));
    for (const char* name : {"group", "group2", "thread", "child"}) {
        SCOPED_TRACE(name);
        EXPECT_NE(queryNumber(key, name), ~DWORD{0});
    }
    RegCloseKey(key);
}

TEST_F(ChangeGroups, WriterGivesUpWithBusyAfterTheBusyWait)
{
    HKEY key = create(HKEY_CURRENT_USER, "Software\\Group");
    Signal groupOpen;
    Signal release;
    pid_t child = forkChild([&] {
        RegistryChanges changes;
        groupOpen.raise();
        return changes.status() == ERROR_SUCCESS && release.await() &&
               changes.commit() == ERROR_SUCCESS;
    });
    ASSERT_TRUE(groupOpen.await());
    EXPECT_EQ(setNumber(key, "late", 1), ERROR_BUSY);
    EXPECT_EQ(registryLastError(), "registry file " + hive("HKCU.reg") +
                                       ": busy: another process has kept it locked for 10 s");
    release.raise();
    EXPECT_TRUE(succeeded(child));
    EXPECT_EQ(setNumber(key, "late", 1), ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(ChangeGroups, DamagedHiveFailsTheGroupAndStaysAsItWas)
{
    const std::string damaged = "vlmr-registry version 2\n[A]\n";
    writeFile(hive("HKCU.reg"), damaged);
    {
        RegistryChanges changes;
        ASSERT_EQ(changes.status(), ERROR_SUCCESS) << "the group only locks";
        EXPECT_EQ(setNumber(HKEY_CURRENT_USER, "v", 1), ERROR_BADDB);
        EXPECT_EQ(changes.commit(), ERROR_SUCCESS);
    }
    EXPECT_EQ(readFile(hive("HKCU.reg")), damaged);
}

TEST_F(HiveVersion, ChangesExactlyWhenTheHiveChanges)
{
    auto version = [](HKEY key) {
        std::uint64_t v = 0;
        EXPECT_EQ(registryHiveVersion(key, &v), ERROR_SUCCESS) << registryLastError();
        return v;
    };
    EXPECT_EQ(registryHiveVersion(HKEY_CURRENT_USER, nullptr), ERROR_INVALID_PARAMETER);
    const std::uint64_t none = version(HKEY_CURRENT_USER);
    EXPECT_EQ(version(HKEY_CURRENT_USER), none) << "no hive file yet, still none";

    HKEY key = create(HKEY_CURRENT_USER, "Software\\Versions");
    const std::uint64_t written = version(HKEY_CURRENT_USER);
    EXPECT_NE(written, none);
    EXPECT_EQ(queryNumber(key, "missing"), ~DWORD{0});
    EXPECT_EQ(version(HKEY_CURRENT_USER), written) << "reads change nothing";
    EXPECT_NE(version(HKEY_CLASSES_ROOT), written) << "another hive";
    EXPECT_EQ(version(HKEY_CLASSES_ROOT), version(HKEY_LOCAL_MACHINE));

    ASSERT_TRUE(succeeded(forkChild([&] { return setNumber(key, "other", 1) == ERROR_SUCCESS; })));
    const std::uint64_t byOther = version(HKEY_CURRENT_USER);
    EXPECT_NE(byOther, written) << "another process's write is seen";
    EXPECT_EQ(queryNumber(key, "other"), 1u);

    std::filesystem::remove(hive("HKCU.reg"));
    EXPECT_NE(version(HKEY_CURRENT_USER), byOther) << "the hive file removed";
    RegCloseKey(key);

    testsupport::TemporaryRegistry elsewhere("registry-elsewhere");
    EXPECT_NE(version(HKEY_CURRENT_USER), byOther) << "another registry directory";
}

} // namespace
