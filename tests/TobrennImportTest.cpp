// The machine maker's example part files imported through the wizard with
// the real servers: the converter of each version chosen by its
// conversion name on the first page, job and group typed in (the files
// carry none), the version's three files (a beam, a channel and an angle)
// converted on the conversion page, and every hole and mark read back from
// the database with its face and side, position, tool sizes and shape.
#include "ServerModules.h"
#include "WizardFixture.h"
#include "WizardImport.h"

#include "tarsis/SqliteStore.h"
#include "testing/TemporaryDatabase.h"

#include <algorithm>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace {

using tarsis::Face;
using tarsis::OperationKind;

// Tool sizes as the save stores them for an inch part: to the nearest 1/16.
constexpr double k206 = 13 / 16.0; // 20.6 mm
constexpr double k175 = 11 / 16.0; // 17.5 mm
constexpr double k222 = 14 / 16.0; // 22.2 mm
constexpr double k238 = 15 / 16.0; // 23.8 mm

struct ExpectedOperation {
    OperationKind kind;
    Face face;
    double x, u;
    double toolSize1 = 0;
    double toolSize2 = 0;
    const char* toolShape = "";
};

ExpectedOperation hole(Face face, double x, double u, double size1, double size2 = 0)
{
    return {OperationKind::Hole, face, x, u, size1, size2, size2 == 0 ? "RD" : "SL"};
}

ExpectedOperation mark(Face face, double x, double u)
{
    return {OperationKind::Mark, face, x, u};
}

struct ExpectedPart {
    const char* file;
    const char* mark;
    tarsis::ShapeKey shape;
    int quantity;
    double length;
    std::vector<ExpectedOperation> operations; // in the order they are stored
};

class TobrennImportTest : public WizardTest {
protected:
    void SetUp() override
    {
        WizardTest::SetUp();
        ASSERT_EQ(m_servers.registerAll(), "");
    }

    void importVersion(const char* conversionName, const char* group,
                       const std::vector<ExpectedPart>& parts)
    {
        std::vector<std::string> files;
        std::vector<std::string> completed;
        for (const ExpectedPart& part : parts) {
            files.push_back(std::string(EXAMPLES_DIR) + "/" + part.file);
            completed.push_back(files.back() + "     Complete");
        }
        // As a user does, job EX3 and the group typed; the first page's
        // converters into m_offered.
        EXPECT_EQ(
            importThroughWizard(*this, {conversionName, files, m_log, "EX3", group}, &m_offered),
            completed)
            << readFile(m_log);

        const auto store =
            tarsis::openSqliteStore(m_database.path(), tarsis::OpenMode::ExistingOnly);
        for (const ExpectedPart& expected : parts) {
            SCOPED_TRACE(expected.file);
            const std::optional<tarsis::PartRecord> part =
                store->findPart({"EX3", group, expected.mark});
            ASSERT_TRUE(part);
            EXPECT_EQ(part->header.shape, expected.shape);
            EXPECT_EQ(part->header.quantity, expected.quantity);
            EXPECT_DOUBLE_EQ(part->header.length, expected.length);
            EXPECT_EQ(part->header.measuringSystem, 0);
            std::vector<tarsis::Operation> operations;
            for (const tarsis::PartEntry& entry : part->entries)
                if (const auto* operation = std::get_if<tarsis::Operation>(&entry))
                    operations.push_back(*operation);
            ASSERT_EQ(operations.size(), expected.operations.size());
            for (std::size_t i = 0; i < operations.size(); ++i) {
                SCOPED_TRACE(testing::Message() << "operation " << i);
                const tarsis::Operation& got = operations[i];
                const ExpectedOperation& want = expected.operations[i];
                EXPECT_EQ(got.kind, want.kind);
                EXPECT_EQ(got.face, want.face);
                EXPECT_DOUBLE_EQ(got.x, want.x);
                EXPECT_DOUBLE_EQ(got.u, want.u);
                EXPECT_DOUBLE_EQ(got.toolSize1, want.toolSize1);
                EXPECT_DOUBLE_EQ(got.toolSize2, want.toolSize2);
                EXPECT_EQ(got.toolShape, want.toolShape);
                EXPECT_EQ(got.orientation, 0);
                EXPECT_FALSE(got.toolMeasuringSystem) << "the tools go in inches";
            }
        }
    }

    const testsupport::TemporaryDatabase m_database;
    ServerModules m_servers;
    const std::string m_log = (m_dir / "import.log").string();
    std::vector<std::string> m_offered; // the first page's converters
};

TEST_F(TobrennImportTest, Version3ExamplesEndInTheDatabase)
{
    const double h = 1648 / 254.0 / 2; // half the beam's flange
    const double edge = 40000 / 25400.0, farEdge = 125000 / 25400.0;
    importVersion(
        "Tobrenn Ver : 3.0", "G3",
        {{"v3.0-beam.txt",
          "B31",
          {"W", "1226"},
          2,
          240,
          {hole(Face::Web, 4, 3, k222), hole(Face::Web, 4, 9, k222), hole(Face::Web, 236, 3, k222),
           mark(Face::Web, 2, 6), hole(Face::TFNear, 12, farEdge - h, k175),
           mark(Face::TFNear, 2, farEdge - h), hole(Face::TFFar, 12, h - edge, k222, 35 / 16.0),
           hole(Face::BFNear, 6, farEdge - h, k175), mark(Face::BFNear, 2, h - edge),
           hole(Face::BFFar, 6, h - edge, k175)}},
         {"v3.0-channel.txt",
          "C32",
          {"C", "1015.3"},
          4,
          120,
          {hole(Face::Web, 3, 2.5, k206), hole(Face::Web, 3, 7.5, k206),
           hole(Face::Web, 117, 2.5, k206), hole(Face::TFFar, 9, 0.75, k175),
           hole(Face::BFFar, 3, 0.75, k175)}},
         {"v3.0-angle.txt",
          "A33",
          {"L", "4314"},
          6,
          72,
          {hole(Face::Web, 2, 2, k206), hole(Face::Web, 5, 2, k206), mark(Face::Web, 3.5, 1),
           hole(Face::TFNear, 2, 1.5, k206)}}});
    // The wizard lists the three converters by their conversion names.
    for (const char* name : {"Tobrenn Ver : 3.0", "Tobrenn Ver : 2.0", "Tobrenn Ver : 1.0"})
        EXPECT_EQ(std::count(m_offered.begin(), m_offered.end(), name), 1) << name;
}

TEST_F(TobrennImportTest, Version2ExamplesEndInTheDatabase)
{
    const double h = 1405 / 254.0 / 2;
    importVersion("Tobrenn Ver : 2.0", "G2",
                  {{"v2.0-beam.txt",
                    "B21",
                    {"W", "157855315"},
                    1,
                    360,
                    {hole(Face::Web, 6, 3, k238), hole(Face::Web, 6, 13, k238),
                     hole(Face::Web, 354, 3, k238), mark(Face::Web, 4, 7),
                     hole(Face::TFNear, 12, 4 - h, k238, 2.5), mark(Face::TFFar, 4, h - 1.5),
                     hole(Face::BFFar, 12, h - 1.5, k206), mark(Face::BFFar, 4, 4 - h)}},
                   {"v2.0-channel.txt",
                    "C22",
                    {"C", "811.5"},
                    2,
                    240,
                    {hole(Face::Web, 4, 2, k206), hole(Face::Web, 4, 6, k206),
                     hole(Face::TFFar, 228, 0.75, k175), hole(Face::BFFar, 12, 0.75, k175)}},
                   {"v2.0-angle.txt",
                    "A23",
                    {"L", "64038"},
                    4,
                    96,
                    {hole(Face::Web, 3, 2.5, k238), hole(Face::Web, 93, 2.5, k238),
                     mark(Face::Web, 2, 4), hole(Face::TFNear, 6, 2, k238)}}});
}

TEST_F(TobrennImportTest, Version1ExamplesEndInTheDatabase)
{
    // Tenths of a millimetre, rounded to 1/16 inch; the beam's flange is 8
    // inches wide.
    importVersion(
        "Tobrenn Ver : 1.0", "G1",
        {{"v1.0-beam.txt",
          "B11",
          {"W", "831"},
          3,
          180,
          {hole(Face::Web, 3, 4, k206), hole(Face::Web, 6, 2, k206),
           hole(Face::Web, 3.9375, 2.5, k206), mark(Face::Web, 1, 5),
           hole(Face::TFNear, 12, 2, k206), mark(Face::TFNear, 1, 3), mark(Face::BFNear, 1, 2),
           hole(Face::BFFar, 12, 2.5, k175)}},
         {"v1.0-channel.txt",
          "C12",
          {"MC", "1231"},
          2,
          144,
          {hole(Face::Web, 3, 6, k206), hole(Face::Web, 3, 9, k206), mark(Face::Web, 1, 6),
           hole(Face::TFFar, 6, 1, k175), mark(Face::TFFar, 1, 1), hole(Face::BFFar, 6, 1, k175),
           mark(Face::BFFar, 1, 1)}},
         {"v1.0-angle.txt",
          "A13",
          {"L", "44014"},
          2,
          48,
          {hole(Face::Web, 2, 2.5, k206), hole(Face::Web, 4, 2.5, k206), mark(Face::Web, 3, 1),
           hole(Face::TFNear, 2, 2, k206), mark(Face::TFNear, 3, 1.5)}}});
}

} // namespace
