// The text rules of hole lines and tool tokens.
#include "HoleLineCodes.h"

#include "vlmrexcept/CvmException.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SplitCodedValue, TheFirstFourDecimalsAreTheCode)
{
    struct Case {
        double value;
        double whole;
        const char* code;
    };
    const Case cases[] = {
        {50800.1011, 50800, "1011"},
        {50800.1, 50800, "1000"},
        {12700.2010, 12700, "2010"},
        {-50800.3011, -50800, "3011"},
        {50800.101149, 50800, "1011"},
        {0.2, 0, "2000"},
        {-0.3, 0, "3000"},
        {1e300, 1e300, "0000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        double value = c.value;
        CString code;
        SplitCodedValue(&value, &code);
        EXPECT_EQ(value, c.whole);
        EXPECT_STREQ(code, c.code);
    }
}

TEST(SplitFaceToolCode, FirstTwoAndLastTwoCharacters)
{
    struct Case {
        const char* code;
        int face, tool;
    };
    const Case cases[] = {{"1011", 10, 11}, {"3000", 30, 0}, {"10", 10, 10},
                          {"1", 1, 1},      {"", 0, 0},      {"ab1x", 0, 1}};
    for (const Case& c : cases) {
        int face = -1;
        int tool = -1;
        SplitFaceToolCode(c.code, &face, &tool);
        EXPECT_EQ(face, c.face) << c.code;
        EXPECT_EQ(tool, c.tool) << c.code;
    }
}

TEST(ParseToolToken, RoundToolOrSlotFromLeadingNumbers)
{
    struct Case {
        const char* token;
        double size1, size2;
        const char* shape;
    };
    const Case cases[] = {{"22", 22, 0, "RD"},     {"22X40", 22, 40, "SL"},
                          {"22x40", 22, 40, "SL"}, {"22.5mm", 22.5, 0, "RD"},
                          {"abc", 0, 0, "RD"},     {"X40", 0, 40, "SL"},
                          {"-", 0, 0, "RD"},       {".5", 0.5, 0, "RD"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.token);
        double size1 = -1;
        double size2 = -1;
        CString shape;
        ParseToolToken(c.token, &size1, &size2, &shape);
        EXPECT_EQ(size1, c.size1);
        EXPECT_EQ(size2, c.size2);
        EXPECT_STREQ(shape, c.shape);
    }
}

TEST(LeadingNumber, ANumberTooLargeIsANumericError)
{
    EXPECT_EQ(LeadingNumber("1016000"), 1016000);
    EXPECT_EQ(LeadingNumber("-12.5x"), -12.5);
    EXPECT_EQ(LeadingNumber("+3"), 3);
    EXPECT_EQ(LeadingNumber(""), 0);
    EXPECT_THROW(LeadingNumber(std::string(400, '9')), CNumericConversionException);
}

TEST(RoundToFraction, NearestSixteenthCutTowardZero)
{
    EXPECT_EQ(RoundToFraction(1000 / 254.0, 16), 3.9375);
    EXPECT_EQ(RoundToFraction(0.5, 16), 0.5);
    EXPECT_EQ(RoundToFraction(100 / 254.0, 16), 0.375);
    EXPECT_EQ(RoundToFraction(1e300, 16), 1e300) << "no overflow far outside the int range";
}

} // namespace
