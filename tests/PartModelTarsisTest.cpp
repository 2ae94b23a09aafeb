// The part objects saved into the SQLite stand-in of Tarsis through its
// real servers: what the database holds afterwards.
#include "ServerModules.h"

#include "halcyra/HalcyraLib.h"

#include "com/Bstr.h"
#include "com/ComBstr.h"
#include "com/ComPtr.h"
#include "com/Runtime.h"
#include "tarsis/SqliteStore.h"
#include "testing/ScopedEnvironment.h"
#include "testing/TemporaryDatabase.h"
#include "testing/TemporaryRegistry.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace {

using namespace tarsis;

// The servers registered in a registry of the test's own, storing into a
// database of its own; afterwards no part object may be left alive.
class TarsisEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        ASSERT_EQ(m_servers.registerAll(), "");
    }
    void TearDown() override
    {
        CoFreeUnusedLibraries();
        EXPECT_EQ(m_servers.busyModules(), "") << "an object is still alive";
        CoUninitialize();
    }

    std::unique_ptr<TarsisStore> store() const
    {
        return openSqliteStore(m_database.path(), OpenMode::CreateIfMissing);
    }

    template <class I>
    CComPtr<I> newObject(REFCLSID clsid, const char16_t* mark, const char16_t* section,
                         const char16_t* description)
    {
        CComPtr<I> object;
        EXPECT_EQ(object.CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER), S_OK);
        if (!object)
            return object;
        CComBSTR job(u"J1"), group(u"G1"), m(mark), s(section), d(description);
        object->put_JobId(job);
        object->put_Group(group);
        object->put_Mark(m);
        object->put_Section(s);
        object->put_SectionDescription(d);
        return object;
    }

    const testsupport::TemporaryRegistry m_registry{"part-model-tarsis"};
    const testsupport::TemporaryDatabase m_database;
    const testsupport::ScopedEnvironment m_data{"XDG_DATA_HOME",
                                                (m_registry.folder() / "data").string()};
    ServerModules m_servers;
};

const RefPlane& planeAt(const PartRecord& part, std::size_t i)
{
    return std::get<RefPlane>(part.entries.at(i));
}
const Operation& operationAt(const PartRecord& part, std::size_t i)
{
    return std::get<Operation>(part.entries.at(i));
}

TEST_F(TarsisEndToEnd, PartIsStoredWithItsPlanesAndOperations)
{
    CComPtr<ICADPart> part = newObject<ICADPart>(CLSID_CADPart, u"M1", u"W", u"810");
    CComBSTR sl(u"SL"), text(u"M1-A");
    part->put_Quantity(3);
    part->put_Length(120.5);
    part->SetWebHole(10, 2, 0.81, 0.8125, sl, 90);
    part->SetTFNearMark(20, 1);
    part->SetWebStencil(30, 1.5, text);
    ASSERT_EQ(part->SaveToTarsis(), S_OK);

    const std::optional<PartRecord> stored = store()->findPart({"J1", "G1", "M1"});
    ASSERT_TRUE(stored);
    const PartHeader& header = stored->header;
    EXPECT_EQ(header.quantity, 3);
    EXPECT_EQ(header.length, 120.5);
    EXPECT_EQ(header.shape, (ShapeKey{"W", "810"}));
    EXPECT_EQ(header.measuringSystem, 0);
    EXPECT_EQ(header.partKind, 0);
    ASSERT_EQ(stored->entries.size(), 5u);
    EXPECT_EQ(planeAt(*stored, 0).pattern, "A");
    const Operation& hole = operationAt(*stored, 1);
    EXPECT_EQ(hole.kind, OperationKind::Hole);
    EXPECT_EQ(hole.face, Face::Web);
    EXPECT_EQ(hole.x, 10);
    EXPECT_EQ(hole.toolSize1, 0.8125);
    EXPECT_EQ(hole.toolSize2, 0);
    EXPECT_EQ(hole.toolShape, "RD");
    EXPECT_EQ(hole.orientation, 0);
    EXPECT_FALSE(hole.toolMeasuringSystem);
    // The top flange's near side: half the flange width of W8X10 (3.94).
    const RefPlane& flange = planeAt(*stored, 2);
    EXPECT_EQ(flange.startU, 3.94 / 2);
    EXPECT_EQ(flange.directionU, "-");
    EXPECT_EQ(flange.pattern, "A");
    EXPECT_EQ(operationAt(*stored, 3).face, Face::TFNear);
    EXPECT_EQ(operationAt(*stored, 3).kind, OperationKind::Mark);
    EXPECT_EQ(operationAt(*stored, 4).kind, OperationKind::Stencil);
    EXPECT_EQ(operationAt(*stored, 4).text, "M1-A");
}

TEST_F(TarsisEndToEnd, SavingAgainReplacesThePart)
{
    CComPtr<ICADPart> part = newObject<ICADPart>(CLSID_CADPart, u"M1", u"PL", u"1/2X6");
    part->SetWebMark(1, 1);
    ASSERT_EQ(part->SaveToTarsis(), S_OK);
    ASSERT_EQ(part->SaveToTarsis(), S_OK);
    const std::optional<PartRecord> stored = store()->findPart({"J1", "G1", "M1"});
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->entries.size(), 2u);
    EXPECT_EQ(store()->listParts(std::nullopt).size(), 1u);
}

TEST_F(TarsisEndToEnd, FailedSavesLeaveNoPart)
{
    CComPtr<ICADPart> unknown = newObject<ICADPart>(CLSID_CADPart, u"M1", u"W", u"999");
    EXPECT_EQ(unknown->SaveToTarsis(), E_CONVERT_UNDEFINED_SHAPE);
    CComPtr<ICADPart> refused = newObject<ICADPart>(CLSID_CADPart, u"M2", u"PL", u"1/2X6");
    refused->SetWebMark(1, 1);
    refused->SetBFNearMark(1, 1);
    EXPECT_EQ(refused->SaveToTarsis(), E_CONVERT_BAD_CODE);
    EXPECT_TRUE(store()->listParts(std::nullopt).empty());
}

// The shape lookup answers in inches whatever the catalog row's unit; the
// flange plane is stored in the part's own measuring system.
TEST_F(TarsisEndToEnd, FlangePlanesAreInThePartsMeasuringSystem)
{
    struct Case {
        const char16_t* description;
        bool metricPart;
        double halfFlange;
    };
    const Case cases[] = {
        {u"810", false, 3.94 / 2},          // inch row, inch part
        {u"810", true, 3.94 * 25.4 / 2},    // inch row, metric part
        {u"HEA200", false, 200 / 25.4 / 2}, // metric row, inch part
        {u"HEA200", true, 200.0 / 2},       // metric row, metric part
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(narrowFromBstr(CComBSTR(c.description)) + (c.metricPart ? " metric" : ""));
        CComPtr<ICADPart> part = newObject<ICADPart>(CLSID_CADPart, u"M1", u"W", c.description);
        part->SetMetric(c.metricPart ? 1 : 0);
        part->SetBFNearMark(20, 1);
        ASSERT_EQ(part->SaveToTarsis(), S_OK);
        const std::optional<PartRecord> stored = store()->findPart({"J1", "G1", "M1"});
        ASSERT_TRUE(stored);
        ASSERT_EQ(stored->entries.size(), 2u);
        EXPECT_NEAR(planeAt(*stored, 0).startU, c.halfFlange, 1e-9);
    }
}

// "l" is found as the catalog's "L" and gets the sides of an angle.
TEST_F(TarsisEndToEnd, LowerCaseSectionGetsTheSidesOfItsShape)
{
    CComPtr<ICADPart> far = newObject<ICADPart>(CLSID_CADPart, u"M1", u"l", u"43014");
    far->SetTFFarMark(20, 1);
    EXPECT_EQ(far->SaveToTarsis(), E_CONVERT_BAD_CODE);
    EXPECT_TRUE(store()->listParts(std::nullopt).empty());

    CComPtr<ICADPart> near = newObject<ICADPart>(CLSID_CADPart, u"M2", u"l", u"43014");
    near->SetTFNearMark(20, 1);
    ASSERT_EQ(near->SaveToTarsis(), S_OK);
    const std::optional<PartRecord> stored = store()->findPart({"J1", "G1", "M2"});
    ASSERT_TRUE(stored);
    EXPECT_EQ(planeAt(*stored, 0).startU, 0);
    EXPECT_EQ(planeAt(*stored, 0).directionU, "+");
    EXPECT_EQ(operationAt(*stored, 1).face, Face::TFNear);
}

TEST_F(TarsisEndToEnd, QuantityTheDatabaseCannotHoldIsRefusedNotWrapped)
{
    CComPtr<ICADPart> part = newObject<ICADPart>(CLSID_CADPart, u"M1", u"PL", u"1/2X6");
    part->put_Quantity(40000);
    EXPECT_EQ(part->SaveToTarsis(), DISP_E_OVERFLOW);
    EXPECT_TRUE(store()->listParts(std::nullopt).empty());
    part->put_Quantity(32767);
    ASSERT_EQ(part->SaveToTarsis(), S_OK);
    EXPECT_EQ(store()->findPart({"J1", "G1", "M1"})->header.quantity, 32767);
}

TEST_F(TarsisEndToEnd, PartWithOperationsIsStoredAsPatterns)
{
    CComPtr<ICADPart2> part = newObject<ICADPart2>(CLSID_CADPart2, u"M3", u"TS", u"2214");
    CComBSTR rd(u"RD"), grade(u"A500");
    part->put_Grade(grade);
    part->SetMetric(1);
    part->SetWebOperationEx(0, 0, '+', '+', 'A', 0, 0, 5, 1, 3, 2.5, 1, 0, 'H', 'B', 20, 20, rd, 0,
                            2);
    ASSERT_EQ(part->SaveToTarsis(), S_OK);

    const std::optional<PartRecord> stored = store()->findPart({"J1", "G1", "M3"});
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->header.grade, "A500");
    EXPECT_EQ(stored->header.measuringSystem, 2);
    EXPECT_EQ(stored->header.partKind, 1);
    ASSERT_EQ(stored->entries.size(), 3u); // default plane, the record's plane, the hole
    const Operation& hole = operationAt(*stored, 2);
    EXPECT_EQ(hole.face, Face::Web2);
    EXPECT_EQ(hole.numX, 3);
    EXPECT_EQ(hole.xInc, 2.5);
    EXPECT_EQ(hole.toolSize2, 20); // a round hole is no slot: both sizes kept
    EXPECT_EQ(hole.toolMeasuringSystem, std::optional<int>(2));
}

TEST_F(TarsisEndToEnd, MultIsStoredAndAnswersItsQueries)
{
    CComPtr<ICADPart> piece = newObject<ICADPart>(CLSID_CADPart, u"P1", u"W", u"810");
    ASSERT_EQ(piece->SaveToTarsis(), S_OK);

    CComPtr<ICADMult> mult = newObject<ICADMult>(CLSID_CADMult, u"BAR-000001", u"W", u"810");
    CComBSTR machine(u"SAW1"), job(u"J1"), group(u"G1"), p1(u"P1"), p2(u"P2"), name;
    mult->put_Machine(machine);
    mult->put_Quantity(2);
    mult->put_Length(480);
    mult->put_Kerf(0.125);
    EXPECT_EQ(mult->CheckMachine(&name), S_OK);
    EXPECT_EQ(mult->CheckPart(job, group, p1), S_OK);
    EXPECT_EQ(mult->CheckPart(job, group, p2), S_FALSE);
    CComBSTR section, description;
    EXPECT_EQ(mult->GetMultSectionAndDescription(job, group, p1, &section, &description), S_OK);
    EXPECT_EQ(narrowFromBstr(section) + "/" + narrowFromBstr(description), "W/810");
    mult->AddPart(job, group, p1, 1);
    mult->AddPart(job, group, p2, 70000);
    ASSERT_EQ(mult->SaveToTarsis(), S_OK);

    const std::optional<MultRecord> stored = store()->findMult({"J1", "G1", "BAR-00000"});
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->header.machine, "SAW1");
    EXPECT_EQ(stored->header.quantity, 2);
    EXPECT_EQ(stored->header.kerf, 0.125);
    EXPECT_EQ(stored->header.grade, "");
    ASSERT_EQ(stored->pieces.size(), 2u);
    EXPECT_EQ(stored->pieces[0].key, (PartKey{"J1", "G1", "P1"}));
    EXPECT_EQ(stored->pieces[1].quantity, 70000);
}

} // namespace
