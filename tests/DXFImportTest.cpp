// DXF drawings imported through the wizard's conversion run with the real
// servers: the DXF converter chosen by its conversion name on the first
// page, the example drawings converted, and every hole, slot, mark and
// stencil read back from the database with its face, side, position,
// sizes, shape and orientation.
#include "ServerModules.h"
#include "WizardFixture.h"
#include "WizardImport.h"

#include "tarsis/SqliteStore.h"
#include "testing/TemporaryDatabase.h"

#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace {

using namespace tarsis;

const std::string kExamples = DXF_EXAMPLES_DIR;
const std::string kFixtures = DXF_FIXTURES_DIR;

// One operation as it is stored; the tool is empty for marks and stencils.
struct Stored {
    OperationKind kind;
    Face face;
    double x, u;
    double toolSize1 = 0, toolSize2 = 0;
    const char* toolShape = "";
    int orientation = 0;
    const char* text = "";
};

std::vector<Operation> operationsOf(const PartRecord& part)
{
    std::vector<Operation> operations;
    for (const PartEntry& entry : part.entries)
        if (const Operation* operation = std::get_if<Operation>(&entry))
            operations.push_back(*operation);
    return operations;
}

void expectOperations(const PartRecord& part, const std::vector<Stored>& expected)
{
    const std::vector<Operation> stored = operationsOf(part);
    ASSERT_EQ(stored.size(), expected.size());
    for (std::size_t i = 0; i < stored.size(); ++i) {
        SCOPED_TRACE("operation " + std::to_string(i));
        const Operation& o = stored[i];
        const Stored& e = expected[i];
        EXPECT_EQ(o.kind, e.kind);
        EXPECT_EQ(o.face, e.face);
        EXPECT_NEAR(o.x, e.x, 1e-9);
        EXPECT_NEAR(o.u, e.u, 1e-9);
        EXPECT_EQ(o.toolSize1, e.toolSize1);
        EXPECT_EQ(o.toolSize2, e.toolSize2);
        EXPECT_EQ(o.toolShape, e.toolShape);
        EXPECT_EQ(o.orientation, e.orientation);
        EXPECT_EQ(o.text, e.text);
        if (o.kind != OperationKind::Stencil) {
            EXPECT_EQ(o.numX, 1);
            EXPECT_EQ(o.numU, 1);
        }
    }
}

class DXFImportTest : public WizardTest {
protected:
    void SetUp() override
    {
        WizardTest::SetUp();
        ASSERT_EQ(m_servers.registerAll(), "");
    }

    std::unique_ptr<TarsisStore> store() const
    {
        return openSqliteStore(m_database.path(), OpenMode::CreateIfMissing);
    }

    // Converts the files with the converter named "Ostrane Ver : 1.0" on
    // the first page, job and group from the drawings, a log; answers the
    // file list's entries and the log.
    std::vector<std::string> convert(const std::vector<std::string>& files, std::string* log)
    {
        const std::string logPath = (m_dir / "import.log").string();
        const std::vector<std::string> entries =
            importThroughWizard(*this, {"Ostrane Ver : 1.0", files, logPath});
        *log = readFile(logPath);
        return entries;
    }

    const testsupport::TemporaryDatabase m_database;
    ServerModules m_servers;
};

TEST_F(DXFImportTest, ExampleDrawingsEndInTheDatabaseWithEveryOperation)
{
    const std::string beam = kExamples + "/B201.dxf";
    const std::string plate = kExamples + "/P202.dxf";
    std::string log;
    EXPECT_EQ(convert({beam, plate}, &log),
              (std::vector<std::string>{beam + "     Complete", plate + "     Complete"}))
        << log;

    const std::optional<PartRecord> b201 = store()->findPart({"EX2", "G1", "B201"});
    ASSERT_TRUE(b201);
    EXPECT_EQ(b201->header.quantity, 2);
    EXPECT_EQ(b201->header.length, 240);
    EXPECT_EQ(b201->header.shape, (ShapeKey{"W", "1226"}));
    EXPECT_EQ(b201->header.measuringSystem, 0);
    using K = OperationKind;
    using F = Face;
    const double hole = 13.0 / 16;
    expectOperations(*b201, {
                                // The web, from its reference at the top edge: holes (circles,
                                // a round block and a slot block turned by the insert), marks
                                // (a point and a block), and the mark on the web's back.
                                {K::Hole, F::Web, 3, 3, hole, 0, "RD"},
                                {K::Hole, F::Web, 3, 9.2, hole, 0, "RD"},
                                {K::Hole, F::Web, 237, 3, hole, 0, "RD"},
                                {K::Hole, F::Web, 237, 9.2, hole, 0, "RD"},
                                {K::Hole, F::Web, 120, 6.1, 15.0 / 16, 0, "RD"},
                                {K::Hole, F::Web, 150, 6.1, hole, 1.5, "SL", 90},
                                {K::Mark, F::Web, 60, 6.1},
                                {K::Mark, F::Web, 180, 6.1},
                                {K::HiddenMark, F::Web, 90, 6.1},
                                // Top flange: below the centre line near, above far; the slot's
                                // orientation in its block name (30) turned to 150.
                                {K::Hole, F::TFNear, 3, 1.75, hole, 0, "RD"},
                                {K::Hole, F::TFNear, 120, 1.75, hole, 1.5, "SL", 150},
                                {K::Hole, F::TFFar, 3, 1.75, hole, 0, "RD"},
                                {K::Hole, F::TFFar, 237, 1.75, hole, 0, "RD"},
                                {K::Mark, F::TFFar, 60, 2},
                                // Bottom flange: above the centre line near, below far.
                                {K::Hole, F::BFNear, 3, 1.75, hole, 0, "RD"},
                                {K::Mark, F::BFNear, 60, 2},
                                {K::Hole, F::BFFar, 3, 1.75, hole, 0, "RD"},
                                {K::Hole, F::BFFar, 237, 1.75, 1, 0, "RD"},
                                {K::Mark, F::BFFar, 180, 2},
                                // Stencils.
                                {K::Stencil, F::Web, 100, 2.2, 0, 0, "", 0, "B201"},
                                {K::Stencil, F::TF, 200, 0.5, 0, 0, "", 0, "TOP"},
                                {K::Stencil, F::BF, 200, -0.5, 0, 0, "", 0, "BTM"},
                            });

    const std::optional<PartRecord> p202 = store()->findPart({"EX2", "G1", "P202"});
    ASSERT_TRUE(p202);
    EXPECT_EQ(p202->header.quantity, 4);
    EXPECT_EQ(p202->header.length, 24);
    EXPECT_EQ(p202->header.shape, (ShapeKey{"PL", "1/2X10"}));
    const double plateHole = 15.0 / 16;
    expectOperations(*p202, {
                                {K::Hole, F::Web, 2, 2, plateHole, 0, "RD"},
                                {K::Hole, F::Web, 2, 8, plateHole, 0, "RD"},
                                {K::Hole, F::Web, 22, 2, plateHole, 0, "RD"},
                                {K::Hole, F::Web, 22, 8, plateHole, 0, "RD"},
                                {K::Hole, F::Web, 12, 5, hole, 2, "SL", 90},
                                {K::Mark, F::Web, 12, 1},
                                {K::Stencil, F::Web, 8, 7, 0, 0, "", 0, "P202"},
                            });
}

TEST_F(DXFImportTest, RefusedDrawingsAreLoggedWithFileAndLineAndStoreNothing)
{
    const std::string binary = kFixtures + "/binary.dxf";
    const std::string cut = kFixtures + "/cut-inside-a-circle.dxf";
    const std::string beam = kExamples + "/B201.dxf";
    std::string log;
    EXPECT_EQ(convert({binary, cut, beam}, &log),
              (std::vector<std::string>{binary + "     Error", cut + "     Error",
                                        beam + "     Complete"}));
    EXPECT_NE(log.find("The drawing is binary DXF; only ASCII DXF drawings can be converted\r\n"
                       "File Name:" +
                       binary + "\r\nLine:1"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Unexpected EOF while reading part\r\nFile Name:" + cut + "\r\nLine:20"),
              std::string::npos)
        << log;
    const std::vector<PartSummary> parts = store()->listParts(std::nullopt);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(parts[0].key, (PartKey{"EX2", "G1", "B201"}));
}

} // namespace
