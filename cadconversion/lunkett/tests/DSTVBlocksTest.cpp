// The SI and BO blocks: stencils, holes, slots and marks with their faces
// and reference planes, the three reading variants and the line errors.
#include "ReaderFixture.h"

namespace {

constexpr double H = 310 * kMm; // profile height of the fixture header
constexpr double W = 165 * kMm; // flange width

std::string partWith(const std::string& blocks, const char* code = "I",
                     const char* profile = "W12X26")
{
    StHeader st;
    st.code = code;
    st.profile = profile;
    return st.text() + blocks + "EN\n";
}

TEST_F(ReaderTest, StencilsGoToTheirFaces)
{
    const std::string si = "SI\n  v 100.00o 50.00 0.00 10r1001\n  o 200.00s 20.00 0.00 012 TOP\n"
                           "  u 300.00u 30.00 90.00 5 BOT\n  h 400.00o 40.00 0.00 10rBACK\n";
    ReadResult result = convert(partWith(si));
    ASSERT_EQ(result.hr, S_OK) << result.text;
    ASSERT_EQ(m_part.stencils.size(), 3u) << "the back of the web takes no stencil";
    struct Expected {
        char face;
        double x, u;
        const char* text;
    } expected[] = {{'W', 100, 50, "1001"}, {'T', 200, 20, "TOP"}, {'B', 300, 30, "BOT"}};
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(m_part.stencils[i].face, expected[i].face);
        EXPECT_DOUBLE_EQ(m_part.stencils[i].x, expected[i].x * kMm);
        EXPECT_DOUBLE_EQ(m_part.stencils[i].u, expected[i].u * kMm);
        EXPECT_EQ(m_part.stencils[i].text, expected[i].text);
    }
}

TEST_F(ReaderTest, AngleStencilsMirrorXOnWebAndTopFlangeOnly)
{
    const std::string si =
        "SI\n  v 100.00o 5.00 0.00 10rA\n  o 100.00o 5.00 0.00 10rB\n  u 100.00o 5.00 0.00 10rC\n";
    ASSERT_EQ(convert(partWith(si, "L", "L100X100X10"), ReadVariant::Standard, 1).hr, S_OK);
    ASSERT_EQ(m_part.stencils.size(), 3u);
    EXPECT_DOUBLE_EQ(m_part.stencils[0].x, 6000 * kMm - 100 * kMm);
    EXPECT_DOUBLE_EQ(m_part.stencils[1].x, 6000 * kMm - 100 * kMm);
    EXPECT_DOUBLE_EQ(m_part.stencils[2].x, 100 * kMm);
}

TEST_F(ReaderTest, EmptyBlocksOfMarkingAreAccepted)
{
    ReadResult result = convert(partWith("SI\nSI\n\nBO\n  v 10.00o 10.00 10.00\n"));
    ASSERT_EQ(result.hr, S_OK) << result.text;
    EXPECT_TRUE(m_part.stencils.empty());
    EXPECT_EQ(m_part.operations.size(), 1u);
}

TEST_F(ReaderTest, RoundHoleLineGivesOneWebOperation)
{
    ASSERT_EQ(convert(partWith("BO\n  v 100.00o 50.00 22.00\n")).hr, S_OK);
    ASSERT_EQ(m_part.operations.size(), 1u);
    const RecordedOperation& op = m_part.operations[0];
    EXPECT_EQ(op.face, 'W');
    EXPECT_FALSE(op.ex);
    EXPECT_EQ(op.startX, 0);
    EXPECT_EQ(op.startU, 0);
    EXPECT_EQ(op.directionX, '+');
    EXPECT_EQ(op.directionU, '+');
    EXPECT_EQ(op.patternType, 'A');
    EXPECT_EQ(op.rise, 0);
    EXPECT_EQ(op.run, 0);
    EXPECT_DOUBLE_EQ(op.x, 100 * kMm);
    EXPECT_DOUBLE_EQ(op.u, H - 50 * kMm);
    EXPECT_EQ(op.numX, 1);
    EXPECT_EQ(op.xInc, 0);
    EXPECT_EQ(op.numU, 1);
    EXPECT_EQ(op.uInc, 0);
    EXPECT_EQ(op.operationType, 'H');
    EXPECT_EQ(op.frontBack, 'F');
    EXPECT_DOUBLE_EQ(op.toolSize1, 22 * kMm);
    EXPECT_EQ(op.toolSize2, 0);
    EXPECT_EQ(op.toolType, "RD");
    EXPECT_EQ(op.orientation, 0);
}

// One hole at x 100, u 50 from the named reference.
struct PlacementCase {
    const char* code;
    char surface; // as written in the file
    char reference;
    char face; // where it lands
    double startU;
    char directionU;
    double u;
    bool mirrored;
};

TEST_F(ReaderTest, HolesArePlacedAcrossTheFaceByCodeProfileAndReference)
{
    const double u = 50 * kMm;
    const PlacementCase cases[] = {
        // web of I, U, B, M
        {"I", 'v', 'o', 'W', 0, '+', H - u, false},
        {"U", 'v', 'u', 'W', H, '-', u, false},
        {"B", 'v', 's', 'W', H / 2, '-', u - H / 2, false},
        {"M", 'h', 'o', 'W', 0, '+', H - u, false},
        // web of L (mirrored along X)
        {"L", 'v', 'o', 'W', H, '-', H - u, true},
        {"L", 'v', 'u', 'W', 0, '+', u, true},
        {"L", 'h', 's', 'W', H / 2, '-', H - u - H / 2, true},
        // web of T: its top flange surface
        {"T", 'o', 'o', 'W', 0, '+', u, false},
        {"T", 'o', 'u', 'W', H, '-', H - u, false},
        {"T", 'u', 's', 'W', H / 2, '-', u - H / 2, false},
        // flanges of I, B, M, T
        {"I", 'o', 'o', 'T', 0, '+', W - u, false},
        {"B", 'u', 'u', 'B', W, '-', u, false},
        {"M", 'o', 's', 'T', W / 2, '-', u - W / 2, false},
        {"T", 'v', 'o', 'T', 0, '+', W - u, false},
        {"T", 'h', 'u', 'T', W, '-', u, false},
        // flanges of U
        {"U", 'o', 'o', 'T', W, '-', W - u, false},
        {"U", 'u', 'u', 'B', 0, '+', u, false},
        {"U", 'o', 's', 'T', W / 2, '+', u - W / 2, false},
        // the one flange of L, always the top one, mirrored
        {"L", 'u', 'o', 'T', W, '-', W - u, true},
        {"L", 'o', 'u', 'T', 0, '+', u, true},
        {"L", 'u', 's', 'T', W / 2, '-', W - u - W / 2, true},
    };
    for (const PlacementCase& c : cases) {
        SCOPED_TRACE(std::string(c.code) + " " + c.surface + " " + c.reference);
        m_part.operations.clear();
        // "RSA" is an angle whose section is not "L", so its references count.
        const std::string line =
            std::string("BO\n  ") + c.surface + " 100.00" + c.reference + " 50.00 22.00\n";
        ASSERT_EQ(convert(partWith(line, c.code, "RSA100X100X10"), ReadVariant::Standard, 1).hr,
                  S_OK);
        ASSERT_EQ(m_part.operations.size(), 1u);
        const RecordedOperation& op = m_part.operations[0];
        EXPECT_EQ(op.face, c.face);
        EXPECT_DOUBLE_EQ(op.startU, c.startU);
        EXPECT_EQ(op.directionU, c.directionU);
        EXPECT_NEAR(op.u, c.u, 1e-12);
        EXPECT_DOUBLE_EQ(op.x, c.mirrored ? 6000 * kMm - 100 * kMm : 100 * kMm);
    }
}

TEST_F(ReaderTest, BlankReferenceCountsAsTopAndSectionLCountsEveryHoleFromBelow)
{
    ASSERT_EQ(convert(partWith("BO\n  v 100.00 50.00 22.00\n")).hr, S_OK);
    ASSERT_EQ(m_part.operations.size(), 1u);
    EXPECT_DOUBLE_EQ(m_part.operations[0].u, H - 50 * kMm);

    m_part.operations.clear();
    ASSERT_EQ(convert(partWith("BO\n  v 100.00o 50.00 22.00\n  v 200.00s 60.00 22.00\n", "L",
                               "L100X100X10"),
                      ReadVariant::Standard, 1)
                  .hr,
              S_OK);
    ASSERT_EQ(m_part.operations.size(), 2u);
    for (const RecordedOperation& op : m_part.operations) {
        EXPECT_EQ(op.startU, 0);
        EXPECT_EQ(op.directionU, '+');
    }
    EXPECT_DOUBLE_EQ(m_part.operations[1].u, 60 * kMm);
}

TEST_F(ReaderTest, OperationKindAndWebSide)
{
    struct Case {
        const char* code;
        char surface;
        const char* type; // after u
        char operationType;
        char frontBack;
    } cases[] = {
        {"I", 'v', " ", 'H', 'F'}, {"I", 'v', "g", 'M', 'F'}, {"I", 'v', "m", 'M', 'F'},
        {"I", 'v', "s", 'M', 'F'}, {"I", 'h', " ", 'H', 'F'}, {"I", 'h', "g", 'M', 'B'},
        {"M", 'h', " ", 'H', 'B'}, {"M", 'v', "m", 'M', 'F'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.code) + " " + c.surface + " '" + c.type + "'");
        m_part.operations.clear();
        const std::string line =
            std::string("BO\n  ") + c.surface + " 100.00o 50.00" + c.type + " 22.00\n";
        ASSERT_EQ(convert(partWith(line, c.code)).hr, S_OK);
        ASSERT_EQ(m_part.operations.size(), 1u);
        EXPECT_EQ(m_part.operations[0].operationType, c.operationType);
        EXPECT_EQ(m_part.operations[0].frontBack, c.frontBack);
    }
}

TEST_F(ReaderTest, ToolMetricUsesTheExFormsWithMetricTools)
{
    const std::string bo =
        "BO\n  v 100.00o 50.00 22.00\n  o 100.00o 50.00 22.00\n  u 100.00o 50.00 22.00\n";
    ASSERT_EQ(convert(partWith(bo), ReadVariant::Standard, 0, 1).hr, S_OK);
    const std::vector<std::string> expected{"SetWebOperationEx", "SetTopFlangeOperationEx",
                                            "SetBottomFlangeOperationEx"};
    const std::vector<std::string> calls = m_part.names();
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 3), expected);
    for (const RecordedOperation& op : m_part.operations) {
        EXPECT_TRUE(op.ex);
        EXPECT_EQ(op.toolMeasuringSystem, 2);
        EXPECT_DOUBLE_EQ(op.toolSize1, 22 * kMm) << "tool sizes stay in inches";
    }
}

TEST_F(ReaderTest, HoleLineErrorsQuoteTheLineAndNameTheFileAndLine)
{
    // The header takes lines 1 to 25 and "BO" line 26.
    struct Case {
        const char* lines;
        const char* text;
        int line;
    } cases[] = {
        {"EN\n", "Illegal Surface. EN", 27},
        {"  x 100.00o 50.00 22.00\n", "Illegal Surface. x 100.00o 50.00 22.00", 27},
        {"  v 100.00x 50.00 22.00\n", "Illegal Dimension Reference.x 50.00 22.00", 27},
        {"  v 100.00o 50.00q 22.00\n", "Illegal Operation Type.q 22.00", 27},
        {"  v 100.00o 50.00 22.00 0.00 k 50.00 0.00 0.00\n",
         "Illegal Slotted Hole Type.k 50.00 0.00 0.00", 27},
        {"  v 100.00o 50.00 22.00 0.00 l 50.00 10.00 0.00 x\n",
         "Length and Width on Slots not supported. x", 27},
        {"  v 10.00o 5.00 22.00\n  v 100.00o 50.00 22.00 0.00 l50.00 10.00 0.00\n",
         "Length and Width on Slots not supported.", 28},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        ReadResult result = convert(partWith(std::string("BO\n") + c.lines));
        EXPECT_EQ(result.hr, E_CONVERT_READ);
        EXPECT_EQ(result.text, c.text + where(c.line));
    }
}

TEST_F(ReaderTest, SlotsInTheThreeVariants)
{
    const std::string bo = "BO\n  v 100.00o 50.00 22.00 0.00 l 50.00 0.00 0.00\n";
    struct Case {
        ReadVariant variant;
        int orientation;
        double x, u; // millimetres, in the file's terms
    } cases[] = {
        {ReadVariant::Standard, 0, 125, 50},
        {ReadVariant::SDS6_336, 90, 150, 75},
        {ReadVariant::SDSEarlyVersions, 90, 125, 75},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.variant));
        m_part.operations.clear();
        ASSERT_EQ(convert(partWith(bo), c.variant).hr, S_OK);
        ASSERT_EQ(m_part.operations.size(), 1u);
        const RecordedOperation& op = m_part.operations[0];
        EXPECT_EQ(op.toolType, "SL");
        EXPECT_DOUBLE_EQ(op.toolSize1, 22 * kMm);
        EXPECT_DOUBLE_EQ(op.toolSize2, 22 * kMm + 50 * kMm);
        EXPECT_EQ(op.orientation, c.orientation);
        EXPECT_NEAR(op.x, c.x * kMm, 1e-12);
        EXPECT_NEAR(op.u, H - c.u * kMm, 1e-12);
    }
}

TEST_F(ReaderTest, RoundHolesAreTheSameInEveryVariant)
{
    for (ReadVariant variant :
         {ReadVariant::Standard, ReadVariant::SDS6_336, ReadVariant::SDSEarlyVersions}) {
        SCOPED_TRACE(static_cast<int>(variant));
        m_part.operations.clear();
        ASSERT_EQ(convert(partWith("BO\n  v 100.00o 50.00 22.00 12.00\n"), variant).hr, S_OK);
        ASSERT_EQ(m_part.operations.size(), 1u);
        EXPECT_EQ(m_part.operations[0].toolType, "RD");
        EXPECT_EQ(m_part.operations[0].toolSize2, 0);
        EXPECT_EQ(m_part.operations[0].orientation, 0);
        EXPECT_DOUBLE_EQ(m_part.operations[0].x, 100 * kMm);
    }
}

TEST_F(ReaderTest, AngleBottomFlangeSlotsAreTurnedButRoundHolesNever)
{
    const std::string bo =
        "BO\n  u 100.00o 50.00 22.00 0.00 l 50.00 0.00 30.00\n  u 300.00o 50.00 22.00\n"
        "  o 500.00o 50.00 22.00 0.00 l 50.00 0.00 30.00\n";
    ASSERT_EQ(convert(partWith(bo, "L", "RSA100X100X10"), ReadVariant::Standard, 1).hr, S_OK);
    ASSERT_EQ(m_part.operations.size(), 3u);
    EXPECT_EQ(m_part.operations[0].orientation, 150);
    EXPECT_EQ(m_part.operations[1].orientation, 0);
    EXPECT_EQ(m_part.operations[2].orientation, 30);
}

} // namespace
