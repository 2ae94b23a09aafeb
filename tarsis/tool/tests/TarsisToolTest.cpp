// The tarsis tool's commands against a temporary database.
#include "tarsis/TarsisTool.h"
#include "StoreTestSupport.h"
#include "tarsis/SqliteStore.h"
#include "testing/TemporaryDatabase.h"
#include "testing/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace tarsis {
namespace {

using testing::samplePart;
using testsupport::readFile;
using testsupport::TemporaryDatabase;

struct Result {
    int code;
    std::string out;
    std::string err;
};

class TarsisToolTest : public ::testing::Test {
protected:
    TemporaryDatabase m_temp;

    Result run(std::vector<std::string> args, bool withDatabase = true)
    {
        if (withDatabase)
            args.insert(args.begin(), {"--database", m_temp.path()});
        std::ostringstream out, err;
        int code = runTarsisTool(args, out, err);
        return {code, out.str(), err.str()};
    }

    void init() { ASSERT_EQ(run({"init"}).code, 0); }
};

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST_F(TarsisToolTest, InitCreatesTheDatabaseWithItsBuiltInCatalogAndReportsAnExistingOne)
{
    Result first = run({"init"});
    EXPECT_EQ(first.code, 0) << first.err;
    EXPECT_TRUE(contains(first.out, "Created database " + m_temp.path())) << first.out;
    EXPECT_TRUE(contains(first.out, "0 parts")) << first.out;
    Result again = run({"init"});
    EXPECT_EQ(again.code, 0);
    EXPECT_TRUE(contains(again.out, "Database " + m_temp.path() + ":")) << again.out;
}

TEST_F(TarsisToolTest, CommandsOtherThanInitNeedAnExistingDatabase)
{
    for (std::vector<std::string> args : {std::vector<std::string>{"shapes", "list"},
                                          {"machines", "add", "SAW9"},
                                          {"parts", "list"},
                                          {"mults", "show", "J", "G", "M"}}) {
        SCOPED_TRACE(args[0] + " " + args[1]);
        Result r = run(args);
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(
            contains(r.err, m_temp.path() + " does not exist; create it with 'tarsis init'"))
            << r.err;
        EXPECT_FALSE(std::filesystem::exists(m_temp.path()));
    }
}

TEST_F(TarsisToolTest, ADamagedDatabaseIsReportedAndLeftAlone)
{
    testsupport::writeFile(m_temp.path(), std::string(8192, 'z'));
    for (std::vector<std::string> args :
         {std::vector<std::string>{"init"}, {"parts", "list"}, {"check"}}) {
        SCOPED_TRACE(args[0]);
        Result r = run(args);
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(contains(r.err, m_temp.path() + ": the file is not a database")) << r.err;
    }
    EXPECT_EQ(readFile(m_temp.path()), std::string(8192, 'z'));
}

TEST_F(TarsisToolTest, BadCommandLinesSayWhatIsWrong)
{
    init();
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const std::vector<std::string> shapeAdd = {"shapes",
                                               "add",
                                               "W",
                                               "4431",
                                               "--name",
                                               "W44X31",
                                               "--web-thickness",
                                               "1",
                                               "--flange-width",
                                               "12",
                                               "--flange-thickness",
                                               "1"};
    auto with = [](std::vector<std::string> args, std::initializer_list<const char*> more) {
        args.insert(args.end(), more.begin(), more.end());
        return args;
    };
    const Case cases[] = {
        {{"frob"}, "The following argument was not expected: frob"},
        {{"shapes"}, "A subcommand is required"},
        {{"parts", "show", "J1", "G1"}, "MARK is required"},
        {{"parts", "list", "--job"}, "--job: 1 required TEXT missing"},
        {{"parts", "list", "--mark", "M"}, "The following arguments were not expected: M --mark"},
        {{"machines", "add", "A", "B", "C"}, "The following argument was not expected: C"},
        {{"shapes", "list", "W"}, "The following argument was not expected: W"},
        {{"shapes", "add", "W", "4431", "--depth", "44"}, "--name is required"},
        {{"shapes", "add", "W", "4431", "--name", "W44X31", "--depth", "44", "--web-thickness", "1",
          "--flange-width", "12"},
         "--flange-thickness is required"},
        {{"shapes", "add", "W", "4431", "--name", "W", "--units", "feet"},
         "--units: feet not in {inch,metric}"},
        {{"shapes", "remove", "W"}, "DESCRIPTION is required"},
        // Numbers are decimal, and zero or more.
        {with(shapeAdd, {"--depth", "4x4"}), "--depth: '4x4' is not a decimal number"},
        {with(shapeAdd, {"--depth", "0x10"}), "--depth: '0x10' is not a decimal number"},
        {with(shapeAdd, {"--depth", "1e3"}), "--depth: '1e3' is not a decimal number"},
        {with(shapeAdd, {"--depth", "-1"}), "--depth: '-1' is not a decimal number"},
        {with(shapeAdd, {"--depth", "inf"}), "--depth: 'inf' is not a decimal number"},
        // Names are not empty.
        {{"shapes", "add", "", "4431"}, "SECTION: must not be empty"},
        {{"machines", "add", ""}, "NAME: must not be empty"},
        {{"parts", "show", "J1", "", "M1"}, "GROUP: must not be empty"},
        {{"parts", "list", "--job", ""}, "--job: must not be empty"},
        {{"shapes", "add", "W", "4431", "--name", ""}, "--name: must not be empty"},
        // An option given twice is refused, not the last one taken.
        {with(shapeAdd, {"--depth", "1", "--depth", "2"}),
         "--depth: At Most 1 required but received 2"},
        {{"parts", "list", "--job", "J1", "--job", "J2"}, "--job: At Most 1"},
        {{"parts", "list", "--wide", "--wide"}, "--wide: At Most 1"},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const auto& a : c.args)
            line += a + " ";
        SCOPED_TRACE(line);
        Result r = run(c.args);
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(contains(r.err, std::string("tarsis: ") + c.message)) << r.err;
        EXPECT_TRUE(contains(r.err, "Run 'tarsis --help' for the commands.")) << r.err;
        EXPECT_EQ(r.out, "");
    }
    for (std::vector<std::string> args : {std::vector<std::string>{"--database"},
                                          {"--database", "", "init"},
                                          {"--database", "a.db", "--database", "b.db", "init"}}) {
        Result r = run(args, false);
        EXPECT_EQ(r.code, 2) << r.err;
        EXPECT_TRUE(contains(r.err, "tarsis: --database")) << r.err;
    }
    EXPECT_FALSE(contains(run({"shapes", "list"}).out, "W44X31"));
}

// Usage and the version on stdout with exit code 0, for the tool and for
// each command.
TEST_F(TarsisToolTest, HelpAndVersionAnswerOnStandardOutput)
{
    struct Case {
        std::vector<std::string> args;
        const char* usage;
    };
    const Case cases[] = {
        {{}, "Usage: tarsis [OPTIONS] [SUBCOMMAND]"},
        {{"--help"}, "Usage: tarsis [OPTIONS] [SUBCOMMAND]"},
        {{"-h"}, "Usage: tarsis [OPTIONS] [SUBCOMMAND]"},
        {{"help"}, "Usage: tarsis [OPTIONS] [SUBCOMMAND]"},
        {{"parts", "--help"}, "Usage: tarsis parts [OPTIONS] SUBCOMMAND"},
        {{"parts", "list", "--help"}, "--wide"},
        {{"shapes", "add", "-h"}, "--flange-thickness NUMBER REQUIRED"},
        {{"--database", "x.db", "mults", "show", "--help"}, "JOB TEXT REQUIRED"},
        {{"--version"}, "tarsis, database schema version 2"},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const auto& a : c.args)
            line += a + " ";
        SCOPED_TRACE(line);
        Result r = run(c.args, false);
        EXPECT_EQ(r.code, 0);
        EXPECT_TRUE(contains(r.out, c.usage)) << r.out;
        EXPECT_EQ(r.err, "");
    }
    EXPECT_TRUE(contains(run({}, false).out, "check"));
    EXPECT_FALSE(std::filesystem::exists(m_temp.path())); // help opens no database
}

TEST_F(TarsisToolTest, ShapesAreListedAddedAndRemoved)
{
    init();
    Result add =
        run({"shapes", "add", "W", "4431", "--name", "W44X31", "--depth", "44.1", "--web-thickness",
             "0.5", "--flange-width", "12", "--flange-thickness", "1", "--weight", "31"});
    EXPECT_EQ(add.code, 0) << add.err;
    Result list = run({"shapes", "list"});
    EXPECT_EQ(list.code, 0);
    EXPECT_TRUE(contains(list.out, "SECTION")) << list.out;
    EXPECT_TRUE(contains(list.out, "W44X31")) << list.out;
    EXPECT_TRUE(contains(list.out, "44.1")) << list.out;
    EXPECT_TRUE(contains(list.out, "HEA200")) << list.out;
    EXPECT_LT(list.out.find("C   "), list.out.find("W   ")); // ordered by section

    Result twice = run({"shapes", "add", "w", "4431", "--name", "W44X31", "--depth", "1",
                        "--web-thickness", "1", "--flange-width", "1", "--flange-thickness", "1"});
    EXPECT_EQ(twice.code, 1);
    EXPECT_TRUE(contains(twice.err, "exists already")) << twice.err;
    EXPECT_EQ(run({"shapes", "remove", "W", "4431"}).code, 0);
    Result gone = run({"shapes", "remove", "W", "4431"});
    EXPECT_EQ(gone.code, 1);
    EXPECT_TRUE(contains(gone.err, "No shape W 4431")) << gone.err;
}

TEST_F(TarsisToolTest, MachinesAreListedAddedAndRemoved)
{
    init();
    EXPECT_EQ(run({"machines", "add", "PLASMA1", "Plasma table"}).code, 0);
    Result list = run({"machines", "list"});
    EXPECT_TRUE(contains(list.out, "PLASMA1  ")) << list.out;
    EXPECT_TRUE(contains(list.out, "Plasma table")) << list.out;
    EXPECT_TRUE(contains(list.out, "SAW1")) << list.out;
    EXPECT_EQ(run({"machines", "remove", "plasma1"}).code, 0);
    EXPECT_FALSE(contains(run({"machines", "list"}).out, "PLASMA1"));
    EXPECT_EQ(run({"machines", "remove", "PLASMA1"}).code, 1);
}

TEST_F(TarsisToolTest, PartsAreListedAndShownWithEveryEntryInOrder)
{
    init();
    EXPECT_EQ(run({"parts", "list"}).out, "No parts.\n");
    {
        auto store = openSqliteStore(m_temp.path(), OpenMode::ExistingOnly);
        store->savePart(samplePart({"J1", "G1", "M1"}, 4));
        store->savePart(samplePart({"J2", "G1", "A7"}, 2));
    }
    Result list = run({"parts", "list"});
    EXPECT_EQ(list.code, 0);
    EXPECT_LT(list.out.find("J1"), list.out.find("J2"));
    Result j2 = run({"parts", "list", "--job", "J2"});
    EXPECT_FALSE(contains(j2.out, "M1")) << j2.out;
    EXPECT_TRUE(contains(j2.out, "A7")) << j2.out;

    Result show = run({"parts", "show", "J1", "G1", "M1"});
    EXPECT_EQ(show.code, 0) << show.err;
    const char* lines[] = {
        "Part J1 / G1 / M1",
        "  quantity          3",
        "  section           W 1226",
        "  number            70000",
        "  measuring system  0 (inch)",
        "Entries, in arrival order: 5",
        "   1  plane        start 0, 3.245  rise 0  run 0  direction '+' '-'  pattern 'A'",
        "   2  hole         web  x 10  u 1.5  inc 0, 0  count 1, 1  tool 0.8125, 0 'RD'  "
        "orientation 0\n",
        "   3  mark         tf_near  x 11  u 1.75  inc 2, 0.5  count 2, 3\n",
        "   4  hidden_mark  web  x 12  u 2  inc 0, 0  count 1, 1\n",
        "   5  stencil      tf  x 13  u 2.25  text \"S3\"\n",
    };
    std::size_t at = 0;
    for (const char* line : lines) {
        SCOPED_TRACE(line);
        std::size_t found = show.out.find(line, at);
        ASSERT_NE(found, std::string::npos) << show.out;
        at = found;
    }
    Result missing = run({"parts", "show", "J1", "G1", "M2"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(contains(missing.err, "No part J1 / G1 / M2 in " + m_temp.path())) << missing.err;
}

TEST_F(TarsisToolTest, MultsAreListedAndShownWithTheirPieces)
{
    init();
    EXPECT_EQ(run({"mults", "list"}).out, "No mults.\n");
    {
        MultRecord mult;
        mult.header = {
            {"J1", "G1", "BAR1"}, 1, 4, 480, 0.125, {"L", "43014"}, "", "SAW1", "", "", 0};
        mult.pieces = {{{"J1", "G1", "P2"}, 5}, {{"J1", "G1", "P1"}, 2}};
        openSqliteStore(m_temp.path(), OpenMode::ExistingOnly)->saveMult(mult);
    }
    Result list = run({"mults", "list"});
    EXPECT_TRUE(contains(list.out, "BAR1")) << list.out;
    EXPECT_TRUE(contains(list.out, "SAW1")) << list.out;
    Result show = run({"mults", "show", "J1", "G1", "BAR1"});
    EXPECT_EQ(show.code, 0) << show.err;
    EXPECT_TRUE(contains(show.out, "  kerf              0.125\n")) << show.out;
    EXPECT_TRUE(contains(show.out, "Pieces, in arrival order: 2")) << show.out;
    EXPECT_LT(show.out.find("P2"), show.out.find("P1"));
    EXPECT_EQ(run({"mults", "show", "J1", "G1", "BAR2"}).code, 1);
}

// Look-ups never write, so a database the user may only read can be looked
// at; a change is refused as read-only and leaves the file as it was.
TEST_F(TarsisToolTest, AReadOnlyDatabaseCanBeLookedAt)
{
    init();
    openSqliteStore(m_temp.path(), OpenMode::ExistingOnly)
        ->savePart(samplePart({"J1", "G1", "M1"}, 4));
    const std::string before = readFile(m_temp.path());
    testing::ReadOnlyFile readOnly(m_temp.path());
    if (!readOnly.works())
        GTEST_SKIP() << "this process may write a read-only file";
    for (std::vector<std::string> args : {std::vector<std::string>{"parts", "list"},
                                          {"parts", "show", "J1", "G1", "M1"},
                                          {"shapes", "list"},
                                          {"machines", "list"},
                                          {"mults", "list"},
                                          {"check"}}) {
        SCOPED_TRACE(args[0]);
        Result r = run(args);
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.err, "");
    }
    EXPECT_TRUE(contains(run({"parts", "list"}).out, "M1"));
    Result add = run({"machines", "add", "SAW9"});
    EXPECT_EQ(add.code, 1);
    EXPECT_TRUE(contains(add.err, "Tarsis database " + m_temp.path() + " is read-only")) << add.err;
    EXPECT_EQ(readFile(m_temp.path()), before);
}

// One long cell does not widen its column beyond a readable width: it is
// cut with an ellipsis, unless --wide asks for every cell whole.
TEST_F(TarsisToolTest, LongCellsAreCutUnlessWide)
{
    init();
    const std::string longJob = "JOB-2024-0412-NORTH-WAREHOUSE-EXTENSION";
    std::string accented = "G"; // 26 characters of two bytes but the first
    for (int i = 0; i < 25; ++i)
        accented += "\xc3\xa9";
    {
        auto store = openSqliteStore(m_temp.path(), OpenMode::ExistingOnly);
        store->savePart(samplePart({longJob, "G1", "M1"}, 2));
        store->savePart(samplePart({"J2", accented, "M2"}, 2));
    }
    Result list = run({"parts", "list"});
    EXPECT_EQ(list.code, 0) << list.err;
    EXPECT_FALSE(contains(list.out, longJob)) << list.out;
    // 23 characters and the ellipsis; a cut never splits a character.
    EXPECT_TRUE(contains(list.out, longJob.substr(0, 23) + "\u2026  G1")) << list.out;
    EXPECT_TRUE(contains(list.out, accented.substr(0, 1 + 22 * 2) + "\u2026  M2")) << list.out;
    // The other rows line up with the cut cells: "J2" padded to 24 columns.
    EXPECT_TRUE(contains(list.out, "\nJ2" + std::string(24, ' ') + "G")) << list.out;

    Result wide = run({"parts", "list", "--wide"});
    EXPECT_EQ(wide.code, 0) << wide.err;
    EXPECT_TRUE(contains(wide.out, longJob + "  G1")) << wide.out;
    EXPECT_TRUE(contains(wide.out, accented + "  M2")) << wide.out;
    EXPECT_TRUE(contains(wide.out, "\nJ2" + std::string(longJob.size() - 2 + 2, ' ') + "G"))
        << wide.out;
}

TEST_F(TarsisToolTest, TheDatabaseOptionOverridesTheEnvironment)
{
    const TemporaryDatabase other; // TARSIS_DATABASE names it while it lives
    EXPECT_EQ(run({"init"}, false).code, 0);
    EXPECT_TRUE(std::filesystem::exists(other.path()));
    EXPECT_FALSE(std::filesystem::exists(m_temp.path()));
    EXPECT_EQ(run({"init"}).code, 0);
    EXPECT_TRUE(std::filesystem::exists(m_temp.path()));
}

} // namespace
} // namespace tarsis
