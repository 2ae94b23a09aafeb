// The DXF reader against a recording part: SetFile, the header pass with
// $MEASUREMENT and the pre-scan, the entity readers and their endings,
// PART_INFO, every failure text with its file and line, the drawings as
// real writers produce them (the fixtures) and the real-world samples.
#include "DrawingText.h"
#include "ReaderFixture.h"

#include <algorithm>
#include <sstream>

namespace {

const std::string kFixtures = OSTRANE_FIXTURES_DIR;

// The 1-based number of the line that reads text (trimmed), its nth one.
int lineOf(const std::string& drawing, const std::string& text, int nth = 1)
{
    std::istringstream lines(drawing);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        line.erase(0, line.find_first_not_of(" \r"));
        line.erase(line.find_last_not_of(" \r") + 1);
        if (line == text && --nth == 0)
            return number;
    }
    ADD_FAILURE() << "no line " << text;
    return 0;
}

using testsupport::readFile;

// The references of the tests: TF and BF at (0, 0), web and second web at
// (0, 10).
DrawingText referenced()
{
    DrawingText drawing;
    drawing.point("TF_REF", 0, 0)
        .point("BF_REF", 0, 0)
        .point("WEBFRONT_REF", 0, 10)
        .point("WEBBACK_REF", 0, 10);
    return drawing;
}

using Calls = std::vector<std::string>;

// ---- SetFile, the part, the end of the file ---------------------------------------

TEST_F(ReaderTest, SetFileOnAMissingFileNamesTheFile)
{
    const std::string missing = (m_dir / "gone.dxf").string();
    std::string text;
    EXPECT_EQ(setFile(missing, &text), E_CONVERT_FILE_OPEN);
    EXPECT_EQ(text, "File open Failure " + missing);
    EXPECT_EQ(read().hr, S_FALSE) << "nothing is open";
}

TEST_F(ReaderTest, ADrawingGivesOnePartAndTheNextReadEndsTheFile)
{
    const ReadResult first = convert(referenced()
                                         .partInfo("J1,G1,M1,X,W_W12X26,240.5,3")
                                         .circle("WEB_OPERATION", 5, 4, 0.5)
                                         .str());
    EXPECT_EQ(first.hr, S_OK) << first.text;
    EXPECT_TRUE(first.part);
    EXPECT_EQ(m_part.operations(), Calls{"SetWebHole(5, 6, 1, 0, RD, 0)"});
    const ReadResult second = read();
    EXPECT_EQ(second.hr, S_FALSE);
    EXPECT_FALSE(second.part) << "the end of the file creates no part";
    EXPECT_EQ(read().hr, S_FALSE);
}

TEST_F(ReaderTest, AnEmptyFileHoldsNoPart)
{
    EXPECT_EQ(convert("").hr, S_FALSE);
    EXPECT_TRUE(m_part.log.empty());
}

TEST_F(ReaderTest, APartThatCannotBeCreatedIsReported)
{
    m_failCreation = true;
    const ReadResult result = convert(referenced().str());
    EXPECT_EQ(result.hr, E_CONVERT_READ);
    EXPECT_EQ(result.text, "Failed to create CLSID_CADPart2. It may not be registered");
}

// ---- header pass ---------------------------------------------------------------------

TEST_F(ReaderTest, MeasurementOtherThanZeroMakesThePartMetric)
{
    const struct {
        std::optional<int> measurement;
        bool metric;
    } cases[] = {{std::nullopt, false}, {0, false}, {1, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.measurement ? std::to_string(*c.measurement) : "none");
        m_part.clear();
        DrawingText drawing = referenced();
        if (c.measurement)
            drawing.measurement(*c.measurement);
        ASSERT_EQ(convert(drawing.str()).hr, S_OK);
        const Calls calls = m_part.texts();
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "SetMetric(1)"), c.metric ? 1 : 0);
    }
}

TEST_F(ReaderTest, ADrawingWithoutEntitiesFailsAtTheEndOfTheFile)
{
    const std::string noMarkers = "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n"
                                  "  0\nENDSEC\n  0\nEOF\n";
    const std::string measurementOnly = readFile(kFixtures + "/measurement-without-entities.dxf");
    const struct {
        const char* what;
        std::string drawing;
        int line;
    } cases[] = {
        {"neither $MEASUREMENT nor ENTITIES", noMarkers, 12},
        {"$MEASUREMENT without ENTITIES", measurementOnly, 16},
        {"no EOF line either", "  0\nSECTION\n  2\nHEADER\n  0\nENDSEC", 6},
        {"$MEASUREMENT at the very end", "  9\n$MEASUREMENT", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ReadResult result = convert(c.drawing);
        EXPECT_EQ(result.hr, E_CONVERT_READ);
        EXPECT_EQ(result.text, "EOF Found while looking for Measurment\r\n" + fileAndLine(c.line));
        EXPECT_TRUE(result.part);
        EXPECT_EQ(read().hr, S_FALSE) << "the failure closed the file";
    }
}

TEST_F(ReaderTest, ReferencesAndPartInfoAreTakenBeforeAnythingIsPlaced)
{
    DrawingText drawing;
    drawing.circle("TF_OPERATION", 10, 2, 0.5)
        .text("WEBFRONT_STENCIL", 5, 4, "B12")
        .point("TF_REF", 0, 0)
        .point("TF_REF", 100, 100) // the first one counts
        .insert("WEBFRONT_REF", 0, 10, "REF", 90)
        .partInfo("J1,G1,M1,X,W_W12X26,240.5,3")
        .point("BF_LAYOUT", 7, -1) // a mark on a W section, placed after PART_INFO was read
        .point("BF_REF", 0, 0);
    ASSERT_EQ(convert(drawing.str()).hr, S_OK);
    EXPECT_EQ(m_part.operations(), (Calls{"SetTFFarHole(10, 2, 1, 0, RD, 0)",
                                          "SetWebStencil(5, 6, B12)", "SetBFFarMark(7, 1)"}));
}

TEST_F(ReaderTest, TheScanForMarkersStopsAtTheFirstEntitiesSection)
{
    // A second "ENTITIES" further on is an entity's value, never a section.
    const std::string drawing = referenced()
                                    .text("WEBFRONT_STENCIL", 5, 4, "ENTITIES")
                                    .circle("WEB_OPERATION", 5, 4, 1)
                                    .str();
    ASSERT_EQ(convert(drawing).hr, S_OK);
    EXPECT_EQ(m_part.operations(),
              (Calls{"SetWebStencil(5, 6, ENTITIES)", "SetWebHole(5, 6, 2, 0, RD, 0)"}));
}

TEST_F(ReaderTest, LayersNamedLikeEntitiesOrMarkersAreNoEntities)
{
    // Only the value of a "0" code names an entity or ends the section.
    for (const char* layer : {"TEXT", "MTEXT", "POINT", "INSERT", "CIRCLE", "ENDSEC", "EOF"}) {
        SCOPED_TRACE(layer);
        m_part.clear();
        const std::string drawing = referenced()
                                        .line(layer, 0, 0, 5, 5)
                                        .circle("WEB_OPERATION", 5, 4, 0.5)
                                        .point("TF_LAYOUT", 3, 1)
                                        .str();
        const ReadResult result = convert(drawing);
        ASSERT_EQ(result.hr, S_OK) << result.text;
        EXPECT_EQ(m_part.operations(),
                  (Calls{"SetWebHole(5, 6, 1, 0, RD, 0)", "SetTFFarMark(3, 1)"}));
    }
}

// ---- PART_INFO --------------------------------------------------------------------

TEST_F(ReaderTest, PartInfoFillsThePartHeaderOnce)
{
    const std::string drawing = referenced()
                                    .partInfo("J1,G1,M1,X,W12X26_W12X26,240.5,3")
                                    .partInfo("J2,G2,M2,X,C_C8X11.5,1,1")
                                    .str();
    ASSERT_EQ(convert(drawing).hr, S_OK);
    EXPECT_EQ(m_part.texts(),
              (Calls{"put_JobId(J1)", "put_Group(G1)", "put_Mark(M1)", "put_Length(240.5)",
                     "put_Quantity(3)", "put_Section(W12X26)", "put_SectionDescription(W12X26)"}));
}

TEST_F(ReaderTest, PartInfoOfEveryForm)
{
    const std::string kForm = "PART_INFO text is not "
                              "job,group,mark,-,section_description,length,quantity";
    const std::string kUnexpected = "Unexpected Error"; // a quantity that is no number
    const struct {
        const char* text;
        Calls calls;
        const std::string* refusal = nullptr; // the text of a refused one
    } cases[] = {
        {"J1,G1,M1,X,W_W8X10,96,2",
         {"put_JobId(J1)", "put_Group(G1)", "put_Mark(M1)", "put_Length(96)", "put_Quantity(2)",
          "put_Section(W)", "put_SectionDescription(W8X10)"}},
        {",,M1,,PL_1/2X10,abc,2 pieces",
         {"put_JobId()", "put_Group()", "put_Mark(M1)", "put_Length(0)", "put_Quantity(2)",
          "put_Section(PL)", "put_SectionDescription(1/2X10)"}},
        {"J1,G1,M1,X,W_W8_X10,12.5mm,4",
         {"put_JobId(J1)", "put_Group(G1)", "put_Mark(M1)", "put_Length(12.5)", "put_Quantity(4)",
          "put_Section(W)", "put_SectionDescription(W8_X10)"}},
        {"J1,G1,M1", {}, &kForm},
        {"J1,G1,M1,X,W12X26,240,3", {}, &kForm},        // no "_" between section and description
        {"J1,G1,M1,X,W_W12X26,240", {}, &kForm},        // no "," before the quantity
        {"J1,G1,M1,X,W_W12X26,240,", {}, &kUnexpected}, // nothing after it
        {"J1,G1,M1,X,W_W12X26,240,three", {}, &kUnexpected},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        m_part.clear();
        const std::string drawing = DrawingText().partInfo(c.text).str();
        const ReadResult result = convert(drawing);
        if (c.refusal) {
            EXPECT_EQ(result.hr, c.refusal == &kForm ? E_CONVERT_READ : E_UNEXPECTED);
            EXPECT_EQ(result.text, *c.refusal + "\r\n" + fileAndLine(lineOf(drawing, "TEXT")));
            EXPECT_TRUE(m_part.log.empty());
        } else {
            EXPECT_EQ(result.hr, S_OK) << result.text;
            EXPECT_EQ(m_part.texts(), c.calls);
        }
    }
}

TEST_F(ReaderTest, PartInfoMayBeAnMText)
{
    ASSERT_EQ(convert(DrawingText().mtext("part_info", 0, 0, "J1,G1,M1,X,W_W8X10,96,2").str()).hr,
              S_OK);
    EXPECT_EQ(m_part.texts().at(2), "put_Mark(M1)");
}

// ---- entity readers ---------------------------------------------------------------------

TEST_F(ReaderTest, TextWithoutRotationEndsAtTheNextEntityWhichIsRead)
{
    // Writers leave out code 50 for unrotated text: "1" then "0".
    const std::string drawing =
        referenced()
            .raw("  0\nTEXT\n  8\nWEBFRONT_STENCIL\n 10\n5\n 20\n4\n 40\n0.2\n"
                 "  1\nB12\n  0\nCIRCLE\n  8\nWEB_OPERATION\n 10\n5\n"
                 " 20\n4\n 40\n0.5\n")
            .text("TF_STENCIL", 1, 1, "R", 90.0)
            .point("TF_LAYOUT", 3, 1)
            .str();
    const ReadResult result = convert(drawing);
    ASSERT_EQ(result.hr, S_OK) << result.text;
    EXPECT_EQ(m_part.operations(),
              (Calls{"SetWebStencil(5, 6, B12)", "SetWebHole(5, 6, 1, 0, RD, 0)",
                     "SetTFStencil(1, 1, R)", "SetTFFarMark(3, 1)"}));
}

TEST_F(ReaderTest, InsertWithoutRotationEndsAtTheNextEntityWhichIsRead)
{
    const std::string drawing = referenced()
                                    .insert("WEB_OPERATION", 5, 4, "1-X2-S")
                                    .point("WEBFRONT_LAYOUT", 6, 5)
                                    .insert("WEB_OPERATION", 7, 4, "1-X2-S", 270)
                                    .insert("WEBFRONT_LAYOUT", 8, 4, "MARK")
                                    .str();
    ASSERT_EQ(convert(drawing).hr, S_OK);
    EXPECT_EQ(m_part.operations(), (Calls{"SetWebHole(5, 6, 1, 2, SL, 0)", "SetWebMark(6, 5)",
                                          "SetWebHole(7, 6, 1, 2, SL, -90)", "SetWebMark(8, 6)"}));
}

TEST_F(ReaderTest, TextWhoseTextComesFirstKeepsItsPairsInStep)
{
    const std::string drawing =
        referenced()
            .raw("  0\nTEXT\n  8\nWEBFRONT_STENCIL\n  1\nB12\n  7\nSTANDARD\n 10\n5\n 20\n4\n"
                 " 40\n0.2\n  0\nPOINT\n  8\nWEBFRONT_LAYOUT\n 10\n2\n 20\n3\n")
            .str();
    ASSERT_EQ(convert(drawing).hr, S_OK);
    EXPECT_EQ(m_part.operations(), (Calls{"SetWebStencil(5, 6, B12)", "SetWebMark(2, 7)"}));
}

TEST_F(ReaderTest, AZeroCodeBeforeARequiredCodeIsRefused)
{
    const struct {
        const char* entity;
        const char* text;
    } cases[] = {
        {"  0\nCIRCLE\n  8\nWEB_OPERATION\n 10\n5\n 20\n4\n", "Unexpected 0 code in getcircledata"},
        {"  0\nPOINT\n  8\nWEBFRONT_LAYOUT\n 10\n5\n", "Unexpected 0 code in getpointdata"},
        {"  0\nTEXT\n  8\nWEBFRONT_STENCIL\n 10\n5\n 20\n4\n  1\nB12\n",
         "Unexpected 0 code in getTextdata"}, // no height: the "0" after the text refuses it
        {"  0\nMTEXT\n  8\nWEBFRONT_STENCIL\n 10\n5\n 20\n4\n 40\n1\n",
         "Unexpected 0 code in getTextdata"},
        {"  0\nINSERT\n  8\nWEB_OPERATION\n 10\n5\n 20\n4\n 50\n90\n",
         "Unexpected zero code in get block data"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        // The "0" that comes too early begins the point after the entity.
        const std::string drawing = referenced().raw(c.entity).point("TF_LAYOUT", 1, 1).str();
        const ReadResult result = convert(drawing);
        EXPECT_EQ(result.hr, E_CONVERT_READ);
        EXPECT_EQ(result.text,
                  std::string(c.text) + "\r\n" + fileAndLine(lineOf(drawing, "TF_LAYOUT") - 7));
    }
}

TEST_F(ReaderTest, AnEntityCutShortByTheEndOfTheFileIsReportedNotLost)
{
    // Cut inside a circle (read in the placement loop) and inside a point
    // (read in the pre-scan).
    const std::string circle = readFile(kFixtures + "/cut-inside-a-circle.dxf");
    const std::string whole = referenced().raw("  0\nPOINT\n  8\nTF_LAYOUT\n 10\n1.5\n").str();
    const std::string point = whole.substr(0, whole.find("1.5\n") + 4);
    for (const std::string& drawing : {circle, point}) {
        const ReadResult result = convert(drawing);
        EXPECT_EQ(result.hr, E_CONVERT_UNEXPECTED_EOF);
        EXPECT_EQ(result.text, "Unexpected EOF while reading part\r\n" +
                                   fileAndLine(static_cast<int>(
                                       std::count(drawing.begin(), drawing.end(), '\n'))));
        EXPECT_TRUE(m_part.operations().empty());
    }
}

// ---- failures with the entity's line -------------------------------------------------------

TEST_F(ReaderTest, PlacementFailuresNameTheEntitysFirstLine)
{
    const struct {
        DrawingText drawing;
        HRESULT hr;
        const char* text; // before the file and line
        const char* entity;
        int nth; // the entity's type line, its nth one
    } cases[] = {
        {DrawingText().circle("TF_OPERATION", 10, 2, 0.5), E_CONVERT_READ, "TF Ref Not Set\r\n",
         "CIRCLE", 1},
        {referenced().circle("TF_OPERATION", 10, 0, 0.5), E_CONVERT_READ,
         "Operation on flange center\r\n", "CIRCLE", 1},
        {referenced().circle("TF_STENCIL", 10, 2, 0.5), E_CONVERT_BAD_CODE, "", "CIRCLE", 1},
        {referenced().insert("WEB_OPERATION", 1, 1, "HOLE"), E_CONVERT_READ,
         "Unknown Tool Name\r\n", "INSERT", 1},
        {referenced().partInfo("J,G,M,X,TS_TS4X4X1_4,1,1").point("WEBBACK_LAYOUT", 1, 1),
         E_CONVERT_READ, "Cannot add marks on Tubing Web2\r\n", "POINT", 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string drawing = c.drawing.str();
        const ReadResult result = convert(drawing);
        EXPECT_EQ(result.hr, c.hr);
        EXPECT_EQ(result.text, c.text + fileAndLine(lineOf(drawing, c.entity, c.nth)));
    }
}

TEST_F(ReaderTest, TheOperationsBeforeAFailureStayOnThePart)
{
    const std::string drawing =
        referenced().circle("WEB_OPERATION", 5, 4, 0.5).circle("BF_OPERATION", 3, 0, 0.5).str();
    EXPECT_EQ(convert(drawing).hr, E_CONVERT_READ);
    EXPECT_EQ(m_part.operations(), Calls{"SetWebHole(5, 6, 1, 0, RD, 0)"});
}

TEST_F(ReaderTest, AFailingPartCallAndANumericBlockNameAreUnexpectedErrors)
{
    std::string drawing = referenced().circle("WEB_OPERATION", 5, 4, 0.5).str();
    m_part.failures["SetWebHole"] = E_OUTOFMEMORY;
    ReadResult result = convert(drawing);
    EXPECT_EQ(result.hr, E_UNEXPECTED);
    EXPECT_EQ(result.text, "Unexpected Error\r\n" + fileAndLine(lineOf(drawing, "CIRCLE")));

    m_part.failures.clear();
    drawing = referenced().insert("WEB_OPERATION", 5, 4, "ABCR").str();
    result = convert(drawing);
    EXPECT_EQ(result.hr, E_UNEXPECTED);
    EXPECT_EQ(result.text, "Unexpected Error\r\n" + fileAndLine(lineOf(drawing, "INSERT")));
}

// ---- drawings as writers produce them ---------------------------------------------------

TEST_F(ReaderTest, R12WithBlocksBeforeTheEntities)
{
    // The block definition's circle, point and PART_INFO text are no part
    // of the drawing's entities.
    m_path = kFixtures + "/r12-blocks-before-entities.dxf";
    ASSERT_EQ(setFile(m_path), S_OK);
    const ReadResult result = read();
    ASSERT_EQ(result.hr, S_OK) << result.text;
    EXPECT_EQ(m_part.texts(),
              (Calls{"put_JobId(J12)", "put_Group(G1)", "put_Mark(B12)", "put_Length(120)",
                     "put_Quantity(1)", "put_Section(W)", "put_SectionDescription(W12X26)",
                     "SetTFFarHole(24, 2.5, 0.8125, 0, RD, 0)",
                     "SetTFNearHole(36, 2.5, 0.8125, 0, RD, 0)"}));
}

TEST_F(ReaderTest, AC1032WithCrLfUtf8AndNoLastLineEnd)
{
    ASSERT_EQ(setFile(kFixtures + "/ac1032-crlf-utf8.dxf"), S_OK);
    const ReadResult result = read();
    ASSERT_EQ(result.hr, S_OK) << result.text;
    EXPECT_EQ(m_part.texts(), (Calls{"SetMetric(1)", "SetWebStencil(100, 50, Träger Ø22)",
                                     "SetWebStencil(200, 50, B12 WEB BACK)",
                                     "SetWebHole(500, 150, 22, 0, RD, 0)"}));
}

TEST_F(ReaderTest, EightBitTextKeepsItsCharacters)
{
    ASSERT_EQ(setFile(kFixtures + "/cp1252-stencil.dxf"), S_OK);
    ASSERT_EQ(read().hr, S_OK);
    EXPECT_EQ(m_part.operations(), Calls{"SetTFStencil(10, 1.5, Träger 3°)"});
}

TEST_F(ReaderTest, ByteOrderMarkLeftAlignedCodesAndNoEndMarkers)
{
    ASSERT_EQ(setFile(kFixtures + "/bom-no-endsec-no-eof.dxf"), S_OK);
    const ReadResult result = read();
    ASSERT_EQ(result.hr, S_OK) << result.text;
    EXPECT_EQ(m_part.operations(),
              (Calls{"SetBFFarMark(12, 1.5)", "SetBFNearHole(6, 1.5, 1, 0, RD, 0)"}));
    EXPECT_EQ(m_part.texts().at(2), "put_Mark(P7)");
    EXPECT_EQ(read().hr, S_FALSE);
}

TEST_F(ReaderTest, BinaryDxfIsRefusedUnread)
{
    m_path = kFixtures + "/binary.dxf";
    ASSERT_EQ(setFile(m_path), S_OK);
    const ReadResult result = read();
    EXPECT_EQ(result.hr, E_CONVERT_READ);
    EXPECT_EQ(result.text,
              "The drawing is binary DXF; only ASCII DXF drawings can be converted\r\n" +
                  fileAndLine(1));
    EXPECT_TRUE(m_part.log.empty());
    EXPECT_EQ(read().hr, S_FALSE);
}

TEST_F(ReaderTest, CommentLinesAreSkipped)
{
    const std::string drawing =
        referenced()
            .raw("** a comment\n  0\nPOINT\n  8\n** another\nWEBFRONT_LAYOUT\n 10\n2\n 20\n3\n")
            .str();
    ASSERT_EQ(convert(drawing).hr, S_OK);
    EXPECT_EQ(m_part.operations(), Calls{"SetWebMark(2, 7)"});
}

// ---- the real-world samples -----------------------------------------------------------

TEST_F(ReaderTest, RealWorldDrawingsOffTheConventionGiveEmptyPartsOrClearRefusals)
{
    const std::filesystem::path samples = OSTRANE_SAMPLES_DIR;
    if (!std::filesystem::exists(samples))
        GTEST_SKIP() << "no samples at " << samples;
    const struct {
        const char* file;
        HRESULT hr;
        bool metric;
    } cases[] = {
        {"colors.dxf", S_OK, false},
        {"text_alignments.dxf", S_OK, true},
        {"R12_with_trash_beyond_EOF.dxf", S_OK, false},
        {"Leica_Disto_S910.dxf", S_OK, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        m_part.clear();
        ASSERT_EQ(setFile((samples / c.file).string()), S_OK);
        const ReadResult result = read();
        EXPECT_EQ(result.hr, c.hr) << result.text;
        EXPECT_EQ(m_part.texts(), c.metric ? Calls{"SetMetric(1)"} : Calls{})
            << "a part without operations";
        EXPECT_EQ(read().hr, S_FALSE);
    }
}

} // namespace
