// Failures of the database, each reported with its path and in the words a
// user acts on: full, busy, read-only, damaged, cannot be created. A failed
// save leaves the database as it was, with every earlier part whole.
#include "StoreTestSupport.h"
#include "tarsis/SqliteStore.h"
#include "tarsis/StoreError.h"
#include "testing/TemporaryDatabase.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

namespace tarsis {
namespace {

namespace fs = std::filesystem;
using Kind = StoreError::Kind;
using testing::querySql;
using testing::samplePart;
using testsupport::readFile;
using testsupport::TemporaryDatabase;
using testsupport::writeFile;

// Runs body and expects a StoreError of the kind whose text starts with the
// database's path and says what.
void expectFailure(const std::function<void()>& body, Kind kind, const std::string& text)
{
    try {
        body();
        ADD_FAILURE() << "no failure";
    } catch (const StoreError& e) {
        EXPECT_EQ(e.kind(), kind) << e.what();
        EXPECT_EQ(std::string(e.what()).rfind(text, 0), 0u) << e.what();
    }
}

// Parts of many operations, saved until the database is full.
void fillUp(TarsisStore& store, int* saved)
{
    for (*saved = 0; *saved < 10000; ++*saved)
        store.savePart(samplePart({"J1", "G1", "M" + std::to_string(*saved)}, 200));
}

TEST(StoreFailure, AFullDatabaseSaysSoAndKeepsEveryPartWhole)
{
    TemporaryDatabase temp;
    openSqliteStore(temp.path(), OpenMode::CreateIfMissing)
        ->savePart(samplePart({"J0", "G1", "M0"}, 20));
    int saved = 0;
    {
        const testing::DatabaseSizeLimit limit(testing::pageCount(temp.path()) + 40);
        auto store = openSqliteStore(temp.path(), OpenMode::CreateIfMissing);
        expectFailure([&] { fillUp(*store, &saved); }, Kind::Full,
                      "Tarsis database " + temp.path() + " is full: ");
        EXPECT_GT(saved, 0);
        EXPECT_LT(saved, 10000);
    }
    auto store = openSqliteStore(temp.path(), OpenMode::ExistingOnly);
    EXPECT_EQ(store->listParts(std::nullopt).size(), static_cast<std::size_t>(saved) + 1);
    EXPECT_FALSE(store->findPart({"J1", "G1", "M" + std::to_string(saved)}));
    EXPECT_EQ(store->findPart({"J1", "G1", "M0"})->entries,
              samplePart({"J1", "G1", "M0"}, 200).entries);
    EXPECT_NO_THROW(store->checkIntegrity());
}

// The disk itself full: a small file system of its own in a child process
// (a mount namespace, with a user namespace where the test is not root).
TEST(StoreFailure, AFullDiskSaysSoAndKeepsEveryPartWhole)
{
    TemporaryDatabase temp;
    const fs::path disk = temp.folder() / "disk";
    fs::create_directory(disk);
    const std::string path = (disk / "tarsis.db").string();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const uid_t uid = geteuid();
        const gid_t gid = getegid();
        int flags = CLONE_NEWNS | (uid == 0 ? 0 : CLONE_NEWUSER);
        if (unshare(flags) != 0)
            _exit(77);
        if (uid != 0) {
            writeFile("/proc/self/setgroups", "deny");
            writeFile("/proc/self/uid_map", std::to_string(uid) + " " + std::to_string(uid) + " 1");
            writeFile("/proc/self/gid_map", std::to_string(gid) + " " + std::to_string(gid) + " 1");
        }
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=512k") != 0)
            _exit(77);
        int saved = 0;
        try {
            auto store = openSqliteStore(path, OpenMode::CreateIfMissing);
            fillUp(*store, &saved);
            _exit(2);
        } catch (const StoreError& e) {
            if (e.kind() != Kind::Full ||
                std::string(e.what()).rfind("Tarsis database " + path + " is full: ", 0) != 0) {
                std::fprintf(stderr, "%s\n", e.what());
                _exit(3);
            }
        }
        try {
            auto store = openSqliteStore(path, OpenMode::ExistingOnly);
            if (store->listParts(std::nullopt).size() != static_cast<std::size_t>(saved) ||
                store->findPart({"J1", "G1", "M" + std::to_string(saved)}))
                _exit(4);
            for (int i = 0; i < saved; ++i)
                if (store->findPart({"J1", "G1", "M" + std::to_string(i)})->entries.size() != 241)
                    _exit(5);
            store->checkIntegrity();
        } catch (const StoreError& e) {
            std::fprintf(stderr, "%s\n", e.what());
            _exit(6);
        }
        _exit(saved > 0 ? 0 : 7);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no small file system can be mounted here";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(StoreFailure, ABusyDatabaseSaysSoAfterTheWait)
{
    TemporaryDatabase temp;
    auto store = openSqliteStore(temp.path(), OpenMode::CreateIfMissing);
    testing::WriteLock lock(temp.path());
    const auto start = std::chrono::steady_clock::now();
    expectFailure(
        [&] {
            store->savePart(samplePart({"J1", "G1", "M1"}));
        },
        Kind::Busy, "Tarsis database " + temp.path() + " is busy: ");
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(9));
    lock.release();
    EXPECT_FALSE(store->findPart({"J1", "G1", "M1"}));
}

// A file that may not be written is read (shapes are looked up) and is
// never changed; a save says read-only.
TEST(StoreFailure, AReadOnlyDatabaseAnswersLookupsAndRefusesSaves)
{
    TemporaryDatabase temp;
    openSqliteStore(temp.path(), OpenMode::CreateIfMissing);
    const std::string before = readFile(temp.path());
    const testing::ReadOnlyFile readOnly(temp.path());
    if (!readOnly.works())
        GTEST_SKIP() << "this process may write a read-only file";
    auto store = openSqliteStore(temp.path(), OpenMode::CreateIfMissing);
    EXPECT_TRUE(store->findShape({"W", "1226"}));
    expectFailure(
        [&] {
            store->savePart(samplePart({"J1", "G1", "M1"}));
        },
        Kind::ReadOnly, "Tarsis database " + temp.path() + " is read-only: ");
    EXPECT_EQ(readFile(temp.path()), before);
}

TEST(StoreFailure, ADatabaseWhoseFolderCannotBeMadeCannotBeCreated)
{
    TemporaryDatabase temp;
    writeFile((temp.folder() / "file").string(), "not a folder");
    const std::string path = (temp.folder() / "file" / "tarsis" / "tarsis.db").string();
    expectFailure([&] { openSqliteStore(path, OpenMode::CreateIfMissing); }, Kind::CannotCreate,
                  "Tarsis database " + path + " cannot be created: ");
}

// Opening reads the header and the schema only; damage elsewhere is found
// by the save that meets it (and reported as damage, never written over),
// and by the check on request.
TEST(StoreFailure, DamageMetBySavingIsReportedAsDamage)
{
    TemporaryDatabase temp;
    {
        auto store = openSqliteStore(temp.path(), OpenMode::CreateIfMissing);
        for (int i = 0; i < 3; ++i)
            store->savePart(samplePart({"J1", "G1", "M" + std::to_string(i)}, 6));
        EXPECT_NO_THROW(store->checkIntegrity());
    }
    const long long page = std::stoll(querySql(
        temp.path(), "SELECT rootpage FROM sqlite_schema WHERE name = 'sqlite_autoindex_parts_1'"));
    const long long pageSize = std::stoll(querySql(temp.path(), "PRAGMA page_size"));
    std::string bytes = readFile(temp.path());
    for (long long i = (page - 1) * pageSize + 8; i < page * pageSize; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>(i * 7);
    writeFile(temp.path(), bytes);

    auto store = openSqliteStore(temp.path(), OpenMode::CreateIfMissing);
    expectFailure(
        [&] {
            store->savePart(samplePart({"J1", "G1", "M9"}));
        },
        Kind::Damaged, "Tarsis database " + temp.path() + " is damaged: ");
    expectFailure([&] { store->checkIntegrity(); }, Kind::Damaged,
                  "Tarsis database " + temp.path() + " is damaged: ");
    store.reset();
    EXPECT_EQ(readFile(temp.path()), bytes);
}

// Foreign keys are not enforced on every row: the check finds a row whose
// part is missing.
TEST(StoreFailure, TheCheckFindsRowsWhosePartIsMissing)
{
    TemporaryDatabase temp;
    auto store = openSqliteStore(temp.path(), OpenMode::CreateIfMissing);
    store->savePart(samplePart({"J1", "G1", "M1"}, 4));
    store->savePart(samplePart({"J1", "G1", "M1"}, 2)); // replaced: the old rows go
    EXPECT_NO_THROW(store->checkIntegrity());
    testing::execSql(temp.path(), "INSERT INTO operations (part_id, seq, kind, face, x, u)"
                                  " VALUES (99, 1, 0, 0, 1, 1)");
    expectFailure([&] { store->checkIntegrity(); }, Kind::Damaged,
                  "Tarsis database " + temp.path() + " is damaged: 1 entries refer to a part");
}

} // namespace
} // namespace tarsis
