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
    for (std::vector<std::string> args : {std::vector<std::string>{"init"}, {"parts", "list"}}) {
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
    const Case cases[] = {
        {{}, "no command"},
        {{"frob"}, "unknown command 'frob'"},
        {{"shapes"}, "'shapes' needs a subcommand"},
        {{"parts", "delete"}, "unknown subcommand 'parts delete'"},
        {{"parts", "show", "J1", "G1"}, "missing MARK"},
        {{"parts", "list", "--job"}, "--job needs a value"},
        {{"parts", "list", "--mark", "M"}, "unexpected '--mark'"},
        {{"machines", "add", "A", "B", "C"}, "unexpected 'C'"},
        {{"shapes", "list", "W"}, "unexpected 'W'"},
        {{"shapes", "add", "W", "4431", "--depth", "44"}, "missing --name"},
        {{"shapes", "add", "W", "4431", "--name", "W44X31", "--depth", "44", "--web-thickness", "1",
          "--flange-width", "12"},
         "missing --flange-thickness"},
        {{"shapes", "add", "W", "4431", "--name", "W44X31", "--depth", "4x4", "--web-thickness",
          "1", "--flange-width", "12", "--flange-thickness", "1"},
         "--depth '4x4' is not a number"},
        {{"shapes", "add", "W", "4431", "--name", "W", "--units", "feet"},
         "--units must be inch or metric"},
        {{"shapes", "remove", "W"}, "missing DESCRIPTION"},
        {{"--database"}, "--database needs a file"},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const auto& a : c.args)
            line += a + " ";
        SCOPED_TRACE(line);
        Result r = run(c.args, !c.args.empty() && c.args[0] != "--database");
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(contains(r.err, std::string("tarsis: ") + c.message)) << r.err;
    }
    EXPECT_TRUE(contains(run({"help"}, false).out, "parts show JOB GROUP MARK"));
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
