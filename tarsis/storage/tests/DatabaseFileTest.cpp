// Opening the database file: creation with folder, schema and write-ahead
// log; a missing, foreign or damaged file is reported with its path and left
// exactly as it was.
#include "StoreTestSupport.h"
#include "tarsis/Catalog.h"
#include "tarsis/DatabasePath.h"
#include "tarsis/SqliteStore.h"
#include "tarsis/StoreError.h"
#include "testing/TemporaryDatabase.h"
#include "testing/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace tarsis {
namespace {

namespace fs = std::filesystem;
using testing::querySql;
using testsupport::readFile;
using testsupport::TemporaryDatabase;
using testsupport::writeFile;
using Kind = StoreError::Kind;

// Opens and expects a StoreError of the given kind that names the file.
void expectRefused(const std::string& path, OpenMode mode, Kind kind, const std::string& text)
{
    try {
        openSqliteStore(path, mode);
        ADD_FAILURE() << "opened " << path;
    } catch (const StoreError& e) {
        EXPECT_EQ(e.kind(), kind) << e.what();
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find(text), std::string::npos) << e.what();
    }
}

TEST(DatabaseFile, IsCreatedWithItsFolderInWriteAheadLogMode)
{
    TemporaryDatabase temp;
    std::string path = (temp.folder() / "a/b/tarsis.db").string();
    openSqliteStore(path, OpenMode::CreateIfMissing);
    EXPECT_TRUE(fs::exists(path));
    EXPECT_EQ(querySql(path, "PRAGMA journal_mode"), "wal");
    EXPECT_EQ(querySql(path, "SELECT count(*) FROM machines"),
              std::to_string(builtInCatalog().machines.size()));
    // Reopening an existing database keeps its contents.
    openSqliteStore(path, OpenMode::CreateIfMissing)->addMachine({"M", ""});
    EXPECT_TRUE(openSqliteStore(path, OpenMode::ExistingOnly)->machineExists("M"));
}

TEST(DatabaseFile, MissingOrEmptyIsRefusedWhenOneMustExist)
{
    TemporaryDatabase temp;
    expectRefused(temp.path(), OpenMode::ExistingOnly, Kind::Missing, "does not exist");
    EXPECT_FALSE(fs::exists(temp.path()));
    writeFile(temp.path(), "");
    expectRefused(temp.path(), OpenMode::ExistingOnly, Kind::Missing, "is empty");
    // An empty file is a new database to a writer.
    openSqliteStore(temp.path(), OpenMode::CreateIfMissing);
    EXPECT_EQ(querySql(temp.path(), "SELECT version FROM schema_info"),
              std::to_string(kSchemaVersion));
}

TEST(DatabaseFile, DamagedOrForeignFilesAreReportedAndNeverWritten)
{
    TemporaryDatabase good;
    openSqliteStore(good.path(), OpenMode::CreateIfMissing);
    std::string database = readFile(good.path());
    ASSERT_GT(database.size(), 4 * 4096u);

    std::string brokenPage = database;
    for (std::size_t i = 4096 + 8; i < 2 * 4096; ++i)
        brokenPage[i] = static_cast<char>(i * 7);
    std::string cutShort = database.substr(0, database.size() / 2);

    struct Case {
        const char* name;
        std::string bytes; // empty: made with SQL below
        Kind kind;
        const char* text;
    };
    const Case cases[] = {
        {"text file", std::string(5000, 'x'), Kind::Damaged, "not a database"},
        {"broken page", brokenPage, Kind::Damaged, "damaged"},
        {"cut short", cutShort, Kind::Damaged, "is damaged"},
        {"foreign database", "", Kind::Incompatible, "not a Tarsis database"},
        {"newer schema", "", Kind::Incompatible, "schema version 3"},
    };
    for (const Case& c : cases) {
        for (OpenMode mode : {OpenMode::CreateIfMissing, OpenMode::ExistingOnly}) {
            SCOPED_TRACE(c.name);
            TemporaryDatabase temp;
            if (c.bytes.empty()) {
                writeFile(temp.path(), "");
                if (c.kind == Kind::Incompatible &&
                    std::string(c.text).find("version") != std::string::npos) {
                    writeFile(temp.path(), database);
                    testing::execSql(temp.path(), "UPDATE schema_info SET version = 3");
                } else {
                    testing::execSql(temp.path(), "CREATE TABLE other (x INTEGER)");
                }
            } else {
                writeFile(temp.path(), c.bytes);
            }
            std::string before = readFile(temp.path());
            expectRefused(temp.path(), mode, c.kind, c.text);
            EXPECT_EQ(readFile(temp.path()), before);
            EXPECT_FALSE(fs::exists(temp.path() + "-wal"));
        }
    }
}

TEST(DatabaseFile, TwoWritersCreatingItAtOnceLoadTheBuiltInCatalogOnce)
{
    TemporaryDatabase temp;
    std::vector<std::thread> threads;
    std::atomic<int> failures{0};
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([&] {
            try {
                openSqliteStore(temp.path(), OpenMode::CreateIfMissing);
            } catch (const StoreError&) {
                ++failures;
            }
        });
    }
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(querySql(temp.path(), "SELECT count(*) FROM shapes"),
              std::to_string(builtInCatalog().shapes.size()));
    EXPECT_EQ(querySql(temp.path(), "SELECT count(*) FROM schema_info"), "1");
}

TEST(DatabasePath, ComesFromTheEnvironment)
{
    struct Saved {
        const char* name;
        std::optional<std::string> value;
    };
    std::vector<Saved> saved;
    for (const char* name : {"TARSIS_DATABASE", "XDG_DATA_HOME", "HOME"}) {
        const char* v = std::getenv(name);
        saved.push_back({name, v ? std::optional<std::string>(v) : std::nullopt});
    }
    setenv("HOME", "/home/u", 1);
    setenv("TARSIS_DATABASE", "/tmp/x.db", 1);
    EXPECT_EQ(defaultDatabasePath(), "/tmp/x.db");
    setenv("TARSIS_DATABASE", "", 1);
    setenv("XDG_DATA_HOME", "/data", 1);
    EXPECT_EQ(defaultDatabasePath(), "/data/tarsis/tarsis.db");
    setenv("XDG_DATA_HOME", "relative", 1);
    EXPECT_EQ(defaultDatabasePath(), "/home/u/.local/share/tarsis/tarsis.db");
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(defaultDatabasePath(), "/home/u/.local/share/tarsis/tarsis.db");
    for (const Saved& s : saved) {
        if (s.value)
            setenv(s.name, s.value->c_str(), 1);
        else
            unsetenv(s.name);
    }
}

} // namespace
} // namespace tarsis
