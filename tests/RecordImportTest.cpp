// The record converters with the real servers through the wizard: the
// three converters listed by their conversion names, each system's example
// file converted into the SQLite stand-in and read back with every
// operation, a file of 2,000 records in one run, and a record that cannot
// be read: its file ends in "Error" with the file's name and line in the
// log, the parts before it stay stored, no part of it is stored, and the
// run goes on with the next file.
#include "ServerModules.h"
#include "WizardFixture.h"
#include "WizardImport.h"

#include "tarsis/SqliteStore.h"
#include "testing/ScopedEnvironment.h"
#include "testing/TemporaryDatabase.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

using namespace tarsis;

std::string examplePath(const char* name)
{
    return std::string(RECORD_EXAMPLES_DIR) + "/" + name;
}

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

const char* faceName(Face face)
{
    switch (face) {
    case Face::Web:
        return "Web";
    case Face::Web2:
        return "Web2";
    case Face::TFNear:
        return "TFNear";
    case Face::TFFar:
        return "TFFar";
    case Face::TFNearFar:
        return "TFNearFar";
    case Face::BFNear:
        return "BFNear";
    case Face::BFFar:
        return "BFFar";
    case Face::BFNearFar:
        return "BFNearFar";
    case Face::TF:
        return "TF";
    case Face::BF:
        return "BF";
    }
    return "?";
}

// "hole Web 3 3 0.8125x0 RD", "mark TFNearFar 120 3.25", "stencil TF 6 3 B1".
std::vector<std::string> operationsOf(const PartRecord& part)
{
    std::vector<std::string> operations;
    for (const PartEntry& entry : part.entries) {
        const Operation* operation = std::get_if<Operation>(&entry);
        if (!operation)
            continue;
        const std::string at = std::string(faceName(operation->face)) + " " + number(operation->x) +
                               " " + number(operation->u);
        switch (operation->kind) {
        case OperationKind::Hole:
            operations.push_back("hole " + at + " " + number(operation->toolSize1) + "x" +
                                 number(operation->toolSize2) + " " + operation->toolShape);
            break;
        case OperationKind::Mark:
            operations.push_back("mark " + at);
            break;
        case OperationKind::HiddenMark:
            operations.push_back("hidden mark " + at);
            break;
        case OperationKind::Stencil:
            operations.push_back("stencil " + at + " " + operation->text);
            break;
        }
    }
    return operations;
}

class RecordImportTest : public WizardTest {
protected:
    void SetUp() override
    {
        WizardTest::SetUp();
        openSqliteStore(m_database.path(), OpenMode::CreateIfMissing);
        ASSERT_EQ(m_servers.registerAll(), "");
    }
    void TearDown() override { WizardTest::TearDown(); }

    std::unique_ptr<TarsisStore> store() const
    {
        return openSqliteStore(m_database.path(), OpenMode::ExistingOnly);
    }

    // Runs the wizard with the converter listed as conversionName, job and
    // group from the files and a log file; answers the file list's entries
    // after the run.
    std::vector<std::string> convert(const std::string& conversionName,
                                     const std::vector<std::string>& files)
    {
        return importThroughWizard(*this, {conversionName, files, logPath()});
    }

    std::string logPath() const { return (m_dir / "import.log").string(); }
    // The log after its first line, which carries the time.
    std::string logText() const
    {
        const std::string text = readFile(logPath());
        return text.substr(text.find("\r\n") + 2);
    }

    std::vector<std::string> storedMarks(const std::string& job)
    {
        std::vector<std::string> marks;
        for (const PartSummary& part : store()->listParts(job))
            marks.push_back(part.key.group + " " + part.key.mark);
        std::sort(marks.begin(), marks.end());
        return marks;
    }

    const testsupport::TemporaryDatabase m_database;
    // The maker's error log, where a failing hole-line result goes.
    const testsupport::ScopedEnvironment m_dataHome{"XDG_DATA_HOME", (m_dir / "data").string()};
    ServerModules m_servers;
};

TEST_F(RecordImportTest, TheWizardListsTheThreeConvertersByTheirConversionNames)
{
    CCadConversionPropSheet sheet("Cad Conversion");
    runSheet(sheet, [&](HWND h) {
        const std::vector<std::string> names =
            comboEntries(GetDlgItem(sheet.m_formatPage.m_hWnd, IDC_FORMAT));
        for (const char* name : {"Ferrick", "Ambrel (SDS)", "Tolvin"})
            EXPECT_EQ(std::count(names.begin(), names.end(), name), 1) << name;
        press(h, IDCANCEL);
    });
}

// The three examples describe the same five parts, each in its system's
// record form: every system's parts end in the database alike.
TEST_F(RecordImportTest, EachSystemsExampleIsStoredWithEveryOperation)
{
    struct Expected {
        const char* mark;
        int quantity;
        double length;
        ShapeKey shape;
        std::vector<std::string> operations;
    };
    const std::vector<std::string> beam = {
        "hole Web 3 3 0.8125x0 RD",
        "hole Web 3 9 0.8125x0 RD",
        "hole Web 237 3 0.8125x0 RD",
        "hole Web 237 9 0.8125x0 RD",
        "mark Web 120 6",
        "hidden mark Web 100 6",
        "hole TFNear 60 1.75 0.8125x1.5 SL",
        "hole TFNearFar 12 3.5 0.8125x0 RD",
        "mark TFNearFar 120 3.25",
        "hole BFNear 12 1.75 0.8125x0 RD",
        "stencil Web 6 6 EX2-B1",
        "stencil TF 6 3 B1",
    };
    const std::vector<std::string> channel = {
        "hole Web 4 2.5 0.6875x0 RD", "hole Web 4 7.5 0.6875x0 RD", "hole TFFar 90 1.3 0.6875x0 RD",
        "mark BFFar 176 1.3", "stencil Web 10 5 C1"};
    const std::vector<std::string> angle = {"hole Web 2 2 0.8125x0 RD", "hole Web 94 2 0.8125x0 RD",
                                            "hole TFNear 48 0.875 0.8125x0 RD",
                                            "stencil Web 10 2 A1"};
    const std::vector<std::string> plate = {"hole Web 3 3 0.9375x0 RD", "hole Web 3 9 0.9375x0 RD",
                                            "hole Web 21 3 0.9375x0 RD",
                                            "hole Web 21 9 0.9375x0 RD"};
    const std::vector<std::string> flatBar = {"hole Web 2 2 0.5625x0 RD",
                                              "hole Web 34 2 0.5625x0 RD", "mark Web 18 2"};
    struct System {
        const char* conversionName;
        const char* file;
        const char* group;
    };
    const System systems[] = {
        {"Ferrick", "ferrick.txt", "FER"},
        {"Ambrel (SDS)", "ambrel.txt", "AMB"},
        {"Tolvin", "tolvin.txt", "TOL"},
    };
    for (const System& system : systems) {
        SCOPED_TRACE(system.conversionName);
        const std::string file = examplePath(system.file);
        EXPECT_EQ(convert(system.conversionName, {file}),
                  std::vector<std::string>{file + "     Complete"});
        std::string converted;
        for (const char* mark : {"B1", "C1", "A1", "P1", "F1"})
            converted += std::string("Converted EX2  ") + system.group + "  " + mark + "\r\n";
        EXPECT_EQ(logText(), "Converting File " + file + "\r\n" + converted +
                                 "File Completed\r\nCAD Conversion Completed\r\n");
        std::remove(logPath().c_str());

        const Expected parts[] = {
            {"B1", 2, 240, {"W", "1226"}, beam},    {"C1", 1, 180, {"C", "1015.3"}, channel},
            {"A1", 4, 96, {"L", "43014"}, angle},   {"P1", 1, 24, {"PL", "1/2X12"}, plate},
            {"F1", 6, 36, {"FB", "0124"}, flatBar},
        };
        for (const Expected& expected : parts) {
            SCOPED_TRACE(expected.mark);
            const std::optional<PartRecord> part =
                store()->findPart({"EX2", system.group, expected.mark});
            ASSERT_TRUE(part);
            EXPECT_EQ(part->header.quantity, expected.quantity);
            EXPECT_EQ(part->header.length, expected.length);
            EXPECT_EQ(part->header.shape, expected.shape);
            EXPECT_EQ(part->header.measuringSystem, 0);
            EXPECT_EQ(operationsOf(*part), expected.operations);
        }
    }
    EXPECT_EQ(storedMarks("EX2").size(), 15u);
}

TEST_F(RecordImportTest, AFileOfTwoThousandRecordsIsStoredInOneRunEachPartOnce)
{
    std::string text;
    char record[160];
    for (int i = 1; i <= 2000; ++i) {
        std::snprintf(
            record, sizeof record,
            "BIG G%d M%04d %d L 4 3 0.25 1\n0.8125 0 RD 0.8125 0 RD 0 0 RD 0 0 RD 0 0 RD\n"
            "2\n  2 2 1\n  %d 0.875 2\n",
            i % 4, i, 24 + i % 100, 10 + i % 10);
        text += record;
    }
    const std::string file = writeFile("big.txt", text);
    EXPECT_EQ(convert("Tolvin", {file}), std::vector<std::string>{file + "     Complete"});

    const std::vector<std::string> marks = storedMarks("BIG");
    ASSERT_EQ(marks.size(), 2000u);
    EXPECT_EQ(std::adjacent_find(marks.begin(), marks.end()), marks.end());
    const std::optional<PartRecord> last = store()->findPart({"BIG", "G0", "M2000"});
    ASSERT_TRUE(last);
    EXPECT_EQ(last->header.length, 24);
    EXPECT_EQ(operationsOf(*last), (std::vector<std::string>{"hole Web 2 2 0.8125x0 RD",
                                                             "hole TFNear 10 0.4375 0.8125x0 RD"}));
    const std::string log = logText();
    std::size_t converted = 0;
    for (std::size_t at = log.find("Converted "); at != std::string::npos;
         at = log.find("Converted ", at + 1))
        ++converted;
    EXPECT_EQ(converted, 2000u);
}

// A record with an unknown hole-line code in the middle of a file, and a
// file that ends inside a record: the records before stay stored, the
// failing record's part (handed out with its values and the holes before
// the bad line) is not stored, nor anything behind it; the example after
// them is converted.
TEST_F(RecordImportTest, ARecordThatCannotBeReadEndsItsFileWithItsLineAndTheRunGoesOn)
{
    const std::string tools = "0.8125 0 _ 0.8125 0 _ 0 0 _ 0 0 _ 0 0 _\n";
    const std::string badCode = writeFile(
        "bad-code.txt", "EX9 G1 M1 120 W 12      26 1\n" + tools + "1\n  3 3 1\n" +
                            "EX9 G1 M2 120 W 12      26 1\n" + tools + "2\n  3 3 1\n  4 4 13\n" +
                            "EX9 G1 M3 120 W 12      26 1\n" + tools + "0\n");
    const std::string cut =
        writeFile("cut.txt", "EX9 G2 M1 120 W 12      26 1\n" + tools + "0\nEX9 G2 M2 120 W 12");
    const std::string example = examplePath("ferrick.txt");
    EXPECT_EQ(convert("Ferrick", {badCode, cut, example}),
              (std::vector<std::string>{badCode + "     Error", cut + "     Error",
                                        example + "     Complete"}));

    EXPECT_EQ(storedMarks("EX9"), (std::vector<std::string>{"G1 M1", "G2 M1"}));
    EXPECT_EQ(storedMarks("").size(), 0u) << "no empty part was stored";
    EXPECT_EQ(storedMarks("EX2").size(), 5u);

    const std::string log = logText();
    const std::string badCodeLog = "Converting File " + badCode +
                                   "\r\nConverted EX9  G1  M1\r\n"
                                   "Unexpected ERROR while reading part\r\nFile Name:" +
                                   badCode + "\r\nLine:9\r\n\tConversion On File Aborted\r\n\r\n";
    const std::string cutLog = "Converting File " + cut +
                               "\r\nConverted EX9  G2  M1\r\n"
                               "Unexpected end of file. Unexpected EOF while reading part\r\n"
                               "File Name:" +
                               cut + "\r\nLine:4\r\n\tConversion On File Aborted\r\n\r\n";
    EXPECT_EQ(log.substr(0, badCodeLog.size() + cutLog.size()), badCodeLog + cutLog);
}

} // namespace
