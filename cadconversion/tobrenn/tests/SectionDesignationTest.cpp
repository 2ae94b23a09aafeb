// The designation rules: when a designation is whole, and the section and
// description texts (the shape's key) from a designation or from the
// header dimensions.
#include "SectionDesignation.h"

#include <gtest/gtest.h>

namespace {

TEST(IsDesignationComplete, NeedsTextAfterEachSeparatorAndTwoForAnAngle)
{
    struct Case {
        const char* text;
        bool complete;
    };
    const Case cases[] = {{"W12X26", true},   {"W12", false},     {"W12X", false},
                          {"w12x26", true},   {"C10X15.3", true}, {"W12*26", true},
                          {"W12*5X", true},   {"W12X*", true},    {"L4X3X1/2", true},
                          {"L4X3", false},    {"L4X3X", false},   {"l4x3x.5", true},
                          {"L4*3*1/2", true}, {"L4X3*1/2", true}, {"", false},
                          {"X", false},       {"PL12X6", true},   {"HSS6X4X1/4", true}};
    for (const Case& c : cases)
        EXPECT_EQ(IsDesignationComplete(c.text), c.complete) << c.text;
}

TEST(ParseSectionDesignation, FamiliesGiveSectionAndDescription)
{
    struct Case {
        const char* designation;
        int result;
        const char* section;
        const char* description;
    };
    const Case cases[] = {
        {"W12X26", 0, "W", "1226"},
        {"w12x26", 0, "w", "1226"},
        {"C10X15.3", 0, "C", "1015.3"},
        {"MC12X31", 0, "MC", "1231"},
        {"mc6x12", 0, "MC", "612"},
        {"L4X3X0.5", 0, "L", "43012"},
        {"L4X3X1/2", 0, "L", "4312"},
        {"L3-1/2X3-1/2X1/4", 0, "L", "3-123-1214"},
        {"L3.5X3.5X0.25", 0, "L", "312312014"},
        {"l6x4x3/8", 0, "l", "6438"},
        {"L6X6X1.0", 0, "L", "661"},
        {"PL12X6", 0, "PL", "6X12"},
        {"PL12X6X0.5", 0, "PL", "6X0.5X12"},
        {"p1/2x6", 0, "PL", "6X1/2"},
        // Without a separator the text after the letters is the description,
        // an angle keeps its letter.
        {"W12", 0, "W", "12"},
        {"MC12", 0, "MC", "12"},
        {"L4", 0, "L", "L4"},
        {"HSS6X4X1/4", 1, "before", "before"},
        {"", 1, "before", "before"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.designation);
        CString section = "before";
        CString description = "before";
        EXPECT_EQ(ParseSectionDesignation(c.designation, &section, &description), c.result);
        EXPECT_STREQ(section, c.section);
        EXPECT_STREQ(description, c.description);
    }
}

TEST(DecimalToFractionText, WholeThenReducedNumeratorAndDenominator)
{
    struct Case {
        const char* piece;
        const char* text;
    };
    const Case cases[] = {{"3.5", "312"},
                          {"0.25", "014"},
                          {"0.375", "038"},
                          {"4.0625", "4116"},
                          {"3.0", "3"},
                          {"3.", "3"},
                          {"0.05", "0120"},
                          {".5", "12"},
                          {"1.1234567890123456789", "161728394506172839500000000000000000"}};
    for (const Case& c : cases)
        EXPECT_STREQ(DecimalToFractionText(c.piece), c.text) << c.piece;
    EXPECT_STREQ(SlashFractionText("1/2"), "12");
    EXPECT_STREQ(SlashFractionText("3-1/2"), "3-12");
}

TEST(BuildSectionSizeText, ProfileCodeChoosesSectionAndSizeText)
{
    struct Case {
        const char* code;
        double depth, width, thickness; // inches
        const char* section;
        const char* description;
    };
    const Case cases[] = {
        {"L", 4, 3, 0.25, "L", "43014"},
        {"FB", 2, 0, 0.25, "FB", "0142"},
        {"PL", 6, 0, 0.5, "PL", "1/2X6"},
        {"P", 6, 0, 0.5, "PL", "1/2X6"},
        {"HSS", 6, 4, 0.25, "W", "64"},
        {"W", 3104 / 254.0, 1648 / 254.0, 58 / 254.0, "W", "121464882"},
        {"l", 4, 3, 0.25, "W", "43"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        CString section;
        CString description;
        EXPECT_EQ(
            BuildSectionSizeText(c.code, c.depth, c.width, c.thickness, &description, &section), 0);
        EXPECT_STREQ(section, c.section);
        EXPECT_STREQ(description, c.description);
    }
}

} // namespace
