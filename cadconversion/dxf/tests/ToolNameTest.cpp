// The grammar of tool block names: the examples of the naming rule, each
// failure text, and the folding of orientations.
#include "ToolName.h"
#include "DXFReadError.h"

#include "vlmrexcept/CvmException.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

struct ToolCase {
    const char* name;
    double rotation;
    const char* shape;
    double size1;
    double size2;
    int orientation;
};

const ToolCase kTools[] = {
    {"1_2R", 0, "RD", 0.5, 0, 0},
    {"1-3/4R", 0, "RD", 1.75, 0, 0},
    {"1-R", 0, "RD", 1, 0, 0},
    {"13_16R", 45, "RD", 0.8125, 0, 0}, // a round hole keeps no rotation
    {"13_16X1-1/2S 45", 0, "SL", 0.8125, 1.5, 45},
    {"13_16X1-1/2S 45", 90, "SL", 0.8125, 1.5, 45}, // the name's orientation wins
    {"1-X2-S", 270, "SL", 1, 2, -90},
    {"1-X2-S", 30.9, "SL", 1, 2, 30},   // truncated toward zero
    {"1-X2-S", -30.9, "SL", 1, 2, -30}, // truncated toward zero
    {"1-X2-S", 180, "SL", 1, 2, -180},
    {"1-X2-S", -180, "SL", 1, 2, -180},
    {"1-X2-S", 3.6e11 + 90, "SL", 1, 2, 90}, // far outside an int, folded
    {"1-x2-S 200", 0, "SL", 1, 2, -160},     // a lower-case "x"
    {"1_2X1_2S", 0, "SL", 0.5, 0.5, 0},
    {"1-1/4X3-S -720", 45, "SL", 1.25, 3, 45}, // -720 folds to 0: the rotation counts
};

TEST(ToolName, BlockNamesGiveTheirTools)
{
    for (const ToolCase& c : kTools) {
        SCOPED_TRACE(std::string(c.name) + " rotation " + std::to_string(c.rotation));
        const DXFTool tool = ParseToolName(c.name, c.rotation);
        EXPECT_STREQ(tool.shape, c.shape);
        EXPECT_DOUBLE_EQ(tool.size1, c.size1);
        EXPECT_DOUBLE_EQ(tool.size2, c.size2);
        EXPECT_EQ(tool.orientation, c.orientation);
    }
}

struct FailureCase {
    const char* name;
    const char* text;
};

const FailureCase kFailures[] = {
    {"1X2S", "Unknown Slot Tool Name in get Diameter"}, // a size goes on with "-" or "_"
    {"HOLE", "Unknown Tool Name"},
    {"1X2", "Unknown Tool Name"},
    {"1Y2S", "Unknown Slot Tool Name"},
    {"1-X2", "Unknown Tool Name"},
    {"1-X2-Y", "Unknown Tool Name"},
    {"1-x2-s", "Unknown Tool Name"},                      // a slot needs an upper-case "S"
    {"1-X2S", "Could not extract Double from tool name"}, // the second size's own text
    {"1R", "Could not extract Double from tool name"},
    {"1_0R", "Could not extract Double from tool name"},   // no division by zero
    {"1-3/0R", "Could not extract Double from tool name"}, // no division by zero
    {"1_0X1-S", "Unknown Slot Tool Name in get Diameter"},
};

TEST(ToolName, NamesOutsideTheGrammarAreRefusedWithTheirText)
{
    for (const FailureCase& c : kFailures) {
        SCOPED_TRACE(c.name);
        try {
            ParseToolName(c.name, 0);
            ADD_FAILURE() << "no failure";
        } catch (const DXFReadError& error) {
            EXPECT_EQ(error.hr, E_CONVERT_READ);
            EXPECT_STREQ(error.text, c.text);
        }
    }
}

TEST(ToolName, ASizeThatDoesNotBeginWithADigitIsANumericConversionError)
{
    for (const char* name : {"AR", "-R", "_2R", "1-X2-S A", "1-AB/CR"}) {
        SCOPED_TRACE(name);
        EXPECT_THROW(ParseToolName(name, 0), CNumericConversionException);
    }
}

TEST(ToolName, OrientationsFoldIntoTheHalfOpenCircle)
{
    const int cases[][2] = {{0, 0},       {179, 179}, {180, -180},    {-180, -180},
                            {-181, 179},  {359, -1},  {360, 0},       {540, -180},
                            {-540, -180}, {721, 1},   {INT_MAX, 127}, {INT_MIN, -128}};
    for (const auto& c : cases)
        EXPECT_EQ(FoldOrientation(c[0]), c[1]) << c[0];
}

} // namespace
