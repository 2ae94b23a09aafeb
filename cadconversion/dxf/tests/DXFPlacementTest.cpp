// Reference points, the placement operations with their u rule, side
// choice and failure texts, and the entity-by-layer table, against a
// recording part.
#include "DXFPlacement.h"
#include "DXFReadError.h"

#include "convertertest/RecordingPart.h"

#include "vlmrexcept/CvmException.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using convertertest::RecordingPart;

DXFTool roundTool()
{
    DXFTool tool;
    tool.shape = "RD";
    tool.size1 = 1;
    return tool;
}

class PlacementTest : public ::testing::Test {
protected:
    void SetUp() override { m_placement.Begin(&m_part); }

    // References: TF and BF at (1, 0), web and second web at (1, 10).
    void setReferences()
    {
        m_placement.TakeReference(kLayerTFRef, 1, 0, 0);
        m_placement.TakeReference(kLayerBFRef, 1, 0, 0);
        m_placement.TakeReference(kLayerWebFrontRef, 1, 10, 0);
        m_placement.TakeReference(kLayerWebBackRef, 1, 10, 0);
    }

    // The call an operation sent, or the text of its failure.
    std::string outcome(const std::function<void(DXFPlacement&)>& operation)
    {
        m_part.clear();
        try {
            operation(m_placement);
        } catch (const DXFReadError& error) {
            EXPECT_TRUE(m_part.log.empty()) << "nothing is sent before a failure";
            return std::string(error.hr == E_CONVERT_BAD_CODE ? "bad code " : "") +
                   static_cast<const char*>(error.text);
        }
        std::string calls;
        for (const std::string& call : m_part.texts())
            calls += (calls.empty() ? "" : "; ") + call;
        return calls;
    }

    RecordingPart m_part;
    DXFPlacement m_placement;
};

struct OperationCase {
    const char* what;
    std::function<void(DXFPlacement&)> operation;
    const char* withReference;
    const char* withoutReference;
};

const DXFTool kTool = roundTool();

const OperationCase kOperations[] = {
    {"TF hole above", [](DXFPlacement& p) { p.TFHole(10, 2, kTool); },
     "SetTFFarHole(9, 2, 1, 0, RD, 0)", "TF Ref Not Set"},
    {"TF hole below", [](DXFPlacement& p) { p.TFHole(10, -2, kTool); },
     "SetTFNearHole(9, 2, 1, 0, RD, 0)", "TF Ref Not Set"},
    {"TF hole on the centre", [](DXFPlacement& p) { p.TFHole(10, 0, kTool); },
     "Operation on flange center", "TF Ref Not Set"},
    {"BF hole above", [](DXFPlacement& p) { p.BFHole(10, 2, kTool); },
     "SetBFNearHole(9, 2, 1, 0, RD, 0)", "BF Ref not set"},
    {"BF hole below", [](DXFPlacement& p) { p.BFHole(10, -2, kTool); },
     "SetBFFarHole(9, 2, 1, 0, RD, 0)", "BF Ref not set"},
    {"BF hole on the centre", [](DXFPlacement& p) { p.BFHole(10, 0, kTool); }, "BF hole in center",
     "BF Ref not set"},
    {"web hole", [](DXFPlacement& p) { p.WebHole(5, 4, kTool); }, "SetWebHole(4, 6, 1, 0, RD, 0)",
     "Web Ref not set with web holes"},
    {"second-web hole", [](DXFPlacement& p) { p.Web2Hole(5, 4, kTool); },
     "SetWeb2Hole(4, -6, 1, 0, RD, 0)", "Web2 Ref not set with web holes"},
    {"TF mark above", [](DXFPlacement& p) { p.TFMark(10, 2); }, "SetTFFarMark(9, 2)",
     "TF Ref not set with marks"},
    {"TF mark on the centre", [](DXFPlacement& p) { p.TFMark(10, 0); }, "SetTFFarMark(9, 0)",
     "TF Ref not set with marks"},
    {"TF mark below", [](DXFPlacement& p) { p.TFMark(10, -2); }, "SetTFNearMark(9, 2)",
     "TF Ref not set with marks"},
    {"BF mark above", [](DXFPlacement& p) { p.BFMark(10, 2); }, "SetBFNearMark(9, 2)",
     "BF Ref not set"},
    {"BF mark on the centre", [](DXFPlacement& p) { p.BFMark(10, 0); }, "SetBFNearMark(9, 0)",
     "BF Ref not set"},
    {"BF mark below", [](DXFPlacement& p) { p.BFMark(10, -2); }, "SetBFFarMark(9, 2)",
     "BF Ref not set"},
    {"web mark", [](DXFPlacement& p) { p.WebMark(5, 4); }, "SetWebMark(4, 6)",
     "Web Ref not set with web marks"},
    {"second-web mark", [](DXFPlacement& p) { p.Web2Mark(5, 4); }, "SetWebHiddenMark(4, -6)",
     "Web Ref not set with web marks"},
    {"TF stencil", [](DXFPlacement& p) { p.TFStencil(5, -3, "A1"); }, "SetTFStencil(4, -3, A1)",
     "TF Ref Not Set"},
    {"BF stencil", [](DXFPlacement& p) { p.BFStencil(5, 3, "A1"); }, "SetBFStencil(4, 3, A1)",
     "BF Ref not set"},
    {"web stencil", [](DXFPlacement& p) { p.WebStencil(5, 4, "A1"); }, "SetWebStencil(4, 6, A1)",
     "Web Ref not set with Stencils"},
};

TEST_F(PlacementTest, EveryOperationPlacesAgainstItsFaceReference)
{
    for (const OperationCase& c : kOperations)
        EXPECT_EQ(outcome(c.operation), c.withoutReference) << c.what << " without a reference";
    setReferences();
    for (const OperationCase& c : kOperations)
        EXPECT_EQ(outcome(c.operation), c.withReference) << c.what;
}

TEST_F(PlacementTest, TheFirstReferenceOfAFaceCounts)
{
    m_placement.TakeReference(kLayerTFRef, 3, 4, 0);
    m_placement.TakeReference(kLayerTFRef, 30, 40, 90);
    m_placement.TakeReference(kLayerPartInfo, 7, 7, 0); // no reference layer
    EXPECT_TRUE(m_placement.IsReferenceSet(DXFPlacement::kTF));
    EXPECT_EQ(m_placement.Reference(DXFPlacement::kTF).GetX(), 3);
    EXPECT_EQ(m_placement.Reference(DXFPlacement::kTF).GetY(), 4);
    for (auto face : {DXFPlacement::kBF, DXFPlacement::kWeb, DXFPlacement::kWeb2})
        EXPECT_FALSE(m_placement.IsReferenceSet(face)) << face;

    m_placement.Begin(&m_part);
    EXPECT_FALSE(m_placement.IsReferenceSet(DXFPlacement::kTF)) << "a new part has none";
}

TEST_F(PlacementTest, SecondWebMarksAreRefusedOnTubes)
{
    m_placement.SetSection("TS");
    EXPECT_EQ(outcome([](DXFPlacement& p) { p.Web2Mark(5, 4); }), "Web Ref not set with web marks");
    setReferences();
    for (const char* tube : {"TS", "ts"}) {
        m_placement.SetSection(tube);
        const std::string refused = "Cannot add marks on Tubing Web2";
        EXPECT_EQ(outcome([](DXFPlacement& p) { p.PlacePoint(kLayerWebBackLayout, 5, 4); }),
                  refused);
        EXPECT_EQ(outcome([](DXFPlacement& p) { p.PlaceCircle(kLayerWebBackLayout, 5, 4, 1); }),
                  refused);
        EXPECT_EQ(
            outcome([](DXFPlacement& p) { p.PlaceInsert(kLayerWebBackLayout, 5, 4, "MK", 0); }),
            refused)
            << "inserts on the layer are marks like points";
    }
    m_placement.SetSection("Ts");
    EXPECT_EQ(outcome([](DXFPlacement& p) { p.PlacePoint(kLayerWebBackLayout, 5, 4); }),
              "SetWebHiddenMark(4, -6)");
}

// What each entity does on each layer code (references set, section W):
// the method it calls, nothing (""), or "bad code" without a text.
struct LayerRow {
    DXFLayerCode layer;
    const char* circle;
    const char* point;
    const char* text;
    const char* insert;
};

const LayerRow kLayerTable[] = {
    {kLayerNone, "", "", "", ""},
    {kLayerTFOperation, "SetTFFarHole", "", "", "SetTFFarHole"},
    {kLayerTFStencil, "bad code ", "", "SetTFStencil", ""},
    {kLayerTFLayout, "bad code ", "SetTFFarMark", "", "SetTFFarMark"},
    {kLayerTFRef, "bad code ", "", "", ""},
    {kLayerBFOperation, "SetBFNearHole", "", "", "SetBFNearHole"},
    {kLayerBFStencil, "bad code ", "", "SetBFStencil", ""},
    {kLayerBFLayout, "bad code ", "SetBFNearMark", "", "SetBFNearMark"},
    {kLayerBFRef, "bad code ", "", "", ""},
    {kLayerWebOperation, "SetWebHole", "", "", "SetWebHole"},
    {kLayerWebBackOperation, "SetWeb2Hole", "", "", "SetWeb2Hole"},
    {kLayerWebFrontStencil, "bad code ", "", "SetWebStencil", ""},
    {kLayerWebFrontLayout, "SetWebMark", "SetWebMark", "", "SetWebMark"},
    {kLayerWebFrontRef, "bad code ", "", "", ""},
    {kLayerWebBackStencil, "bad code ", "", "SetWebStencil", ""},
    {kLayerWebBackLayout, "SetWebHiddenMark", "SetWebHiddenMark", "", "SetWebHiddenMark"},
    {kLayerWebBackRef, "bad code ", "", "", ""},
    {kLayerPartInfo, "bad code ", "", "", ""},
};

// The method name of an outcome ("SetWebMark(4, 6)" gives "SetWebMark").
std::string method(const std::string& outcome)
{
    return outcome.substr(0, outcome.find('('));
}

TEST_F(PlacementTest, EachEntityPlacesWhatItsLayerSays)
{
    setReferences();
    m_placement.SetSection("W");
    for (const LayerRow& row : kLayerTable) {
        SCOPED_TRACE("layer code " + std::to_string(row.layer));
        const DXFLayerCode layer = row.layer;
        EXPECT_EQ(method(outcome([&](DXFPlacement& p) { p.PlaceCircle(layer, 5, 2, 0.5); })),
                  row.circle);
        EXPECT_EQ(method(outcome([&](DXFPlacement& p) { p.PlacePoint(layer, 5, 2); })), row.point);
        EXPECT_EQ(method(outcome([&](DXFPlacement& p) { p.PlaceText(layer, 5, 2, "T"); })),
                  row.text);
        EXPECT_EQ(method(outcome([&](DXFPlacement& p) { p.PlaceInsert(layer, 5, 2, "1_2R", 0); })),
                  row.insert);
    }
}

TEST_F(PlacementTest, CircleHolesAreRoundWithTheDiameterAsSize)
{
    m_placement.TakeReference(kLayerTFRef, 0, 0, 0);
    EXPECT_EQ(outcome([](DXFPlacement& p) { p.PlaceCircle(kLayerTFOperation, 10, 2, 0.5); }),
              "SetTFFarHole(10, 2, 1, 0, RD, 0)");
    EXPECT_EQ(outcome([](DXFPlacement& p) { p.PlaceCircle(kLayerTFOperation, 10, -2, 0.5); }),
              "SetTFNearHole(10, 2, 1, 0, RD, 0)");
}

TEST_F(PlacementTest, PointsOnBottomFlangeLayoutMarkOnlyOnWSections)
{
    setReferences();
    for (const char* section : {"W", "w", "W12X26", "C", ""}) {
        m_placement.SetSection(section);
        const bool marks = std::string(section) == "W" || std::string(section) == "w";
        EXPECT_EQ(outcome([](DXFPlacement& p) { p.PlacePoint(kLayerBFLayout, 5, -2); }),
                  marks ? "SetBFFarMark(4, 2)" : "")
            << section;
        EXPECT_EQ(outcome([](DXFPlacement& p) { p.PlaceInsert(kLayerBFLayout, 5, -2, "M", 0); }),
                  "SetBFFarMark(4, 2)")
            << "an insert marks on any section: " << section;
    }
}

TEST_F(PlacementTest, InsertsCarryTheirBlockTool)
{
    setReferences();
    const struct {
        DXFLayerCode layer;
        const char* block;
        double rotation;
        const char* call;
    } cases[] = {
        {kLayerTFOperation, "1_2X1-S 30", 0, "SetTFFarHole(4, 2, 0.5, 1, SL, 150)"},
        {kLayerTFOperation, "1_2X1-S", 0, "SetTFFarHole(4, 2, 0.5, 1, SL, 0)"},
        {kLayerTFOperation, "1_2X1-S", -30, "SetTFFarHole(4, 2, 0.5, 1, SL, 210)"},
        {kLayerBFOperation, "1_2X1-S 30", 0, "SetBFNearHole(4, 2, 0.5, 1, SL, 30)"},
        {kLayerWebOperation, "1_2X1-S", 90, "SetWebHole(4, 8, 0.5, 1, SL, 90)"},
        {kLayerWebBackOperation, "13_16R", 90, "SetWeb2Hole(4, -8, 0.8125, 0, RD, 0)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(
            outcome([&](DXFPlacement& p) { p.PlaceInsert(c.layer, 5, 2, c.block, c.rotation); }),
            c.call)
            << c.block;
    EXPECT_EQ(outcome([](DXFPlacement& p) { p.PlaceInsert(kLayerWebOperation, 5, 2, "1X2S", 0); }),
              "Unknown Slot Tool Name in get Diameter");
    EXPECT_THROW(m_placement.PlaceInsert(kLayerWebOperation, 5, 2, "XR", 0),
                 CNumericConversionException);
}

TEST(DXFLayers, NamesCompareWithoutCase)
{
    EXPECT_EQ(LayerCode("TF_OPERATION"), kLayerTFOperation);
    EXPECT_EQ(LayerCode("webback_ref"), kLayerWebBackRef);
    EXPECT_EQ(LayerCode("Part_Info"), kLayerPartInfo);
    EXPECT_EQ(LayerCode("TF_OPERATIONS"), kLayerNone);
    EXPECT_EQ(LayerCode("0"), kLayerNone);
    EXPECT_EQ(LayerCode(""), kLayerNone);
}

} // namespace
