// DSTV part files imported into the SQLite stand-in of Tarsis through the
// real servers: the converters found through the category, each file read
// through IVLMRConvert and saved as the wizard does, and the stored rows.
#include "ImportFixture.h"

namespace {

using namespace tarsis;

const char* const kStandard = "DSTV For Tolvin Ver : 1.0";

std::string fixture(const char* name)
{
    return std::string(DSTV_FIXTURES_DIR) + "/" + name;
}

void expectPlane(const RefPlane& plane, double startU, const char* directionU)
{
    EXPECT_EQ(plane.startX, 0);
    EXPECT_DOUBLE_EQ(plane.startU, startU);
    EXPECT_EQ(plane.rise, 0);
    EXPECT_EQ(plane.run, 0);
    EXPECT_EQ(plane.directionX, "+");
    EXPECT_EQ(plane.directionU, directionU);
    EXPECT_EQ(plane.pattern, "A");
}

TEST_F(ImportTest, TheFourConvertersAreFoundByName)
{
    for (const char* name : {"DSTV For Tolvin Ver : 1.0", "DSTV For SDS v6.336",
                             "DSTV For SDS Early Versions", "DSTV Version 7"})
        EXPECT_EQ(m_converters.count(name), 1u) << name;
}

TEST_F(ImportTest, BeamIsStoredWithEveryHoleSlotMarkAndStencil)
{
    const ImportOutcome outcome = import(kStandard, fixture("beam.nc1"));
    ASSERT_EQ(outcome.reads, (std::vector<HRESULT>{S_OK, S_FALSE}));
    ASSERT_EQ(outcome.saves, (std::vector<HRESULT>{S_OK})) << outcome.errors.front();

    const std::optional<PartRecord> part = store()->findPart({"J100", "G2", "B12"});
    ASSERT_TRUE(part);
    EXPECT_EQ(part->header.quantity, 3);
    EXPECT_DOUBLE_EQ(part->header.length, 6000 * kMm);
    EXPECT_EQ(part->header.shape, (ShapeKey{"W", "1226"}));
    EXPECT_EQ(part->header.grade, "A992");
    EXPECT_EQ(part->header.measuringSystem, 0);
    EXPECT_EQ(part->header.partKind, 1);

    const double H = 310 * kMm, W = 165 * kMm;
    ASSERT_EQ(part->entries.size(), 14u);
    // Web: the face's plane, then a plane and an operation per record.
    expectPlane(planeAt(*part, 0), 0, "+");
    expectPlane(planeAt(*part, 1), 0, "+");
    const Operation& hole = operationAt(*part, 2);
    EXPECT_EQ(hole.kind, OperationKind::Hole);
    EXPECT_EQ(hole.face, Face::Web);
    EXPECT_DOUBLE_EQ(hole.x, 252.0 / 64); // 100 mm, to the nearest 1/64
    EXPECT_DOUBLE_EQ(hole.u, H - 60 * kMm);
    EXPECT_EQ(hole.numX, 1);
    EXPECT_EQ(hole.numU, 1);
    EXPECT_EQ(hole.toolSize1, 14.0 / 16); // 22 mm, to the nearest 1/16
    EXPECT_EQ(hole.toolSize2, 0);
    EXPECT_EQ(hole.toolShape, "RD");
    EXPECT_FALSE(hole.toolMeasuringSystem);
    const Operation& slot = operationAt(*part, 4);
    EXPECT_EQ(slot.kind, OperationKind::Hole);
    EXPECT_DOUBLE_EQ(slot.x, 819.0 / 64); // the slot's centre, 325 mm
    EXPECT_DOUBLE_EQ(slot.u, H - 80 * kMm);
    EXPECT_EQ(slot.toolShape, "SL");
    EXPECT_EQ(slot.toolSize1, 14.0 / 16);
    EXPECT_EQ(slot.toolSize2, 45.0 / 16); // 72 mm
    EXPECT_EQ(slot.orientation, 0);
    const Operation& mark = operationAt(*part, 6);
    EXPECT_EQ(mark.kind, OperationKind::Mark);
    EXPECT_EQ(mark.face, Face::Web);
    EXPECT_DOUBLE_EQ(mark.u, H - 100 * kMm);
    // Top flange, from its top edge.
    expectPlane(planeAt(*part, 7), 0, "+");
    expectPlane(planeAt(*part, 8), 0, "+");
    EXPECT_EQ(operationAt(*part, 9).face, Face::TFNear);
    EXPECT_DOUBLE_EQ(operationAt(*part, 9).u, W - 40 * kMm);
    EXPECT_EQ(operationAt(*part, 9).toolSize1, 11.0 / 16);
    // Bottom flange, from its bottom edge.
    expectPlane(planeAt(*part, 10), 0, "+");
    expectPlane(planeAt(*part, 11), W, "-");
    EXPECT_EQ(operationAt(*part, 12).face, Face::BFNear);
    EXPECT_DOUBLE_EQ(operationAt(*part, 12).x, 630.0 / 64);
    EXPECT_DOUBLE_EQ(operationAt(*part, 12).u, 45 * kMm);
    const Operation& stencil = operationAt(*part, 13);
    EXPECT_EQ(stencil.kind, OperationKind::Stencil);
    EXPECT_EQ(stencil.face, Face::Web);
    EXPECT_DOUBLE_EQ(stencil.x, 50 * kMm);
    EXPECT_DOUBLE_EQ(stencil.u, 20 * kMm);
    EXPECT_EQ(stencil.text, "B12");
}

TEST_F(ImportTest, MetricToolsAreStoredWithTheirMeasuringSystem)
{
    const ImportOutcome outcome = import(kStandard, fixture("beam.nc1"), 1, 1);
    ASSERT_EQ(outcome.saves, (std::vector<HRESULT>{S_OK}));
    const std::optional<PartRecord> part = store()->findPart({"J100", "G2", "B12"});
    ASSERT_TRUE(part);
    EXPECT_EQ(part->header.measuringSystem, 2);
    const Operation& hole = operationAt(*part, 2);
    EXPECT_EQ(hole.toolMeasuringSystem, 2);
    EXPECT_DOUBLE_EQ(hole.toolSize1, 22 * kMm) << "a metric part keeps its tool sizes";
    EXPECT_EQ(operationAt(*part, 9).toolMeasuringSystem, 2);
}

TEST_F(ImportTest, SDS6_336SlotsStandAcross)
{
    ASSERT_EQ(import("DSTV For SDS v6.336", fixture("beam.nc1")).saves,
              (std::vector<HRESULT>{S_OK}));
    const std::optional<PartRecord> part = store()->findPart({"J100", "G2", "B12"});
    ASSERT_TRUE(part);
    const Operation& slot = operationAt(*part, 4);
    EXPECT_EQ(slot.toolShape, "SL");
    EXPECT_EQ(slot.orientation, 90);
    EXPECT_DOUBLE_EQ(slot.x, 882.0 / 64); // 350 mm
    EXPECT_DOUBLE_EQ(slot.u, 205 * kMm);
}

TEST_F(ImportTest, AngleIsMirroredAndItsFlangeIsTheTopOne)
{
    const ImportOutcome outcome = import(kStandard, fixture("angle.nc1"));
    ASSERT_EQ(outcome.saves, (std::vector<HRESULT>{S_OK})) << outcome.errors.front();
    const std::optional<PartRecord> part = store()->findPart({"J100", "G2", "A7"});
    ASSERT_TRUE(part);
    EXPECT_EQ(part->header.shape, (ShapeKey{"L", "43014"}));
    ASSERT_EQ(part->entries.size(), 6u);
    expectPlane(planeAt(*part, 1), 0, "+"); // every angle hole counts from below
    EXPECT_EQ(operationAt(*part, 2).face, Face::Web);
    EXPECT_DOUBLE_EQ(operationAt(*part, 2).x, 3528.0 / 64); // 1500 - 100 mm
    EXPECT_DOUBLE_EQ(operationAt(*part, 2).u, 30 * kMm);
    EXPECT_EQ(operationAt(*part, 5).face, Face::TFNear);
    EXPECT_DOUBLE_EQ(operationAt(*part, 5).x, 3276.0 / 64); // 1500 - 200 mm
    EXPECT_DOUBLE_EQ(operationAt(*part, 5).u, 25 * kMm);
}

TEST_F(ImportTest, PartWithoutJobAndGroupTakesTheTypedOnes)
{
    const ImportOutcome outcome = import(kStandard, fixture("nojob.nc1"));
    ASSERT_EQ(outcome.saves, (std::vector<HRESULT>{S_OK})) << outcome.errors.front();
    const std::optional<PartRecord> part = store()->findPart({kTypedJob, kTypedGroup, "P1"});
    ASSERT_TRUE(part);
    EXPECT_EQ(part->header.shape, (ShapeKey{"PL", "13/32X7-7/8"}));
    EXPECT_EQ(part->header.quantity, 2);
    ASSERT_EQ(part->entries.size(), 1u);
    EXPECT_EQ(operationAt(*part, 0).kind, OperationKind::Stencil);
    EXPECT_EQ(operationAt(*part, 0).text, "P1");
}

TEST_F(ImportTest, ImportingAgainReplacesThePart)
{
    ASSERT_EQ(import(kStandard, fixture("beam.nc1")).saves, (std::vector<HRESULT>{S_OK}));
    ASSERT_EQ(import(kStandard, fixture("beam.nc1")).saves, (std::vector<HRESULT>{S_OK}));
    const std::vector<PartSummary> parts = store()->listParts(std::nullopt);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(parts[0].operationCount, 6);
}

TEST_F(ImportTest, FailuresStoreNothingAndLoseNothing)
{
    ASSERT_EQ(import(kStandard, fixture("beam.nc1")).saves, (std::vector<HRESULT>{S_OK}));

    const ImportOutcome unknownShape = import(kStandard, fixture("unknownshape.nc1"));
    EXPECT_EQ(unknownShape.saves, (std::vector<HRESULT>{E_CONVERT_UNDEFINED_SHAPE}));
    ASSERT_EQ(unknownShape.errors.size(), 1u);
    EXPECT_NE(unknownShape.errors[0].find("XYZ:100"), std::string::npos) << unknownShape.errors[0];

    const ImportOutcome badHole = import(kStandard, fixture("badhole.nc1"));
    EXPECT_EQ(badHole.reads, (std::vector<HRESULT>{E_CONVERT_READ}));
    EXPECT_TRUE(badHole.saves.empty());
    EXPECT_EQ(badHole.errors,
              (std::vector<std::string>{"Illegal Surface. q 100.00o 60.00 22.00\r\nFile Name:" +
                                        fixture("badhole.nc1") + "\r\nLine:28"}));

    const std::string missing = fixture("missing.nc1");
    const ImportOutcome notThere = import(kStandard, missing);
    EXPECT_EQ(notThere.setFile, E_CONVERT_FILE_OPEN);
    EXPECT_EQ(notThere.errors, (std::vector<std::string>{"File open Failure " + missing}));

    const std::vector<PartSummary> parts = store()->listParts(std::nullopt);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(parts[0].key, (PartKey{"J100", "G2", "B12"}));
}

} // namespace
