// CBreakString: words, numbers, fixed breaks, delimiters and the path rule.
#include "vlmrlib/CBreakString.h"

#include "vlmrexcept/CvmException.h"

#include <gtest/gtest.h>

#include <string>

namespace {
std::string bytes(const CString& s)
{
    return std::string(s, static_cast<std::size_t>(s.GetLength()));
}
} // namespace

TEST(CBreakString, BreakDoubleTakesTheLongestNumberAndLeavesTheRest)
{
    struct Case {
        const char* text;
        double value;
        const char* rest;
    } cases[] = {
        {"100.5s 20.0g", 100.5, "s 20.0g"}, // a dimension reference right after the number
        {"6000,5990", 6000, ",5990"},
        {"  -3.25e2,x", -325, ",x"},
        {"+7", 7, ""},
        {".5", 0.5, ""},
        {"5.", 5, ""},
        {"1.5.3", 1.5, ".3"},
        {"2E-1u", 0.2, "u"},
        {"1e", 1, "e"}, // an exponent without digits is not taken
        {"1e+x", 1, "e+x"},
        {"0x10", 0, "x10"}, // no hexadecimal
        {"12 34", 12, " 34"},
        {"007", 7, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CBreakString s(c.text);
        double v = -1;
        s.BreakDouble(&v);
        EXPECT_DOUBLE_EQ(v, c.value);
        EXPECT_EQ(bytes(s), c.rest);
    }
}

TEST(CBreakString, BreakIntegerStopsAtThePoint)
{
    struct Case {
        const char* text;
        int value;
        const char* rest;
    } cases[] = {
        {"12.5", 12, ".5"},
        {"-7g", -7, "g"},
        {" +3;", 3, ";"},
        {"-2147483648", -2147483647 - 1, ""},
        {"2147483647x", 2147483647, "x"},
        {"4;b", 4, ";b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CBreakString s(c.text);
        int v = -1;
        s.BreakInteger(&v);
        EXPECT_EQ(v, c.value);
        EXPECT_EQ(bytes(s), c.rest);
    }
}

TEST(CBreakString, NoNumberAtTheFrontThrowsNamingTheWordAndKeepsTheText)
{
    struct Case {
        const char* text;
        bool integer;
        const char* message;
    } cases[] = {
        {"", false, "Not a number: \"\". "},
        {"   ", false, "Not a number: \"\". "},
        {"abc def", false, "Not a number: \"abc\". "},
        {"-", false, "Not a number: \"-\". "},
        {".e5", false, "Not a number: \".e5\". "},
        {"+.", false, "Not a number: \"+.\". "},
        {"1e999", false, "Not a number: \"1e999\". "}, // out of range
        {"x1", true, "Not an integer: \"x1\". "},
        {".5", true, "Not an integer: \".5\". "},
        {"2147483648", true, "Not an integer: \"2147483648\". "},
        {"\x01\x02 z", true, "Not an integer: \"??\". "},
        {"12345678901234567890123456789012345678901234567890", true,
         "Not an integer: \"1234567890123456789012345678901234567890...\". "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CBreakString s(c.text);
        try {
            if (c.integer) {
                int v = 0;
                s.BreakInteger(&v);
            } else {
                double v = 0;
                s.BreakDouble(&v);
            }
            ADD_FAILURE() << "no exception";
        } catch (const CNumericConversionException& e) {
            EXPECT_STREQ(e.GetMessage(), c.message);
        }
        EXPECT_EQ(bytes(s), c.text);
    }
}

TEST(CBreakString, BreakTextTakesOneWordAndTheWhiteSpaceAroundIt)
{
    struct Case {
        const char* text;
        const char* word;
        const char* rest;
        BOOL found;
    } cases[] = {
        {"ST  rest of line", "ST", "rest of line", TRUE},
        {" \tv;100;200;0 tail", "v;100;200;0", "tail", TRUE},
        {"word", "word", "", TRUE},
        {"", "", "", FALSE},
        {"  \t ", "", "", FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CBreakString s(c.text);
        CString word("old");
        EXPECT_EQ(s.BreakText(&word), c.found);
        EXPECT_EQ(bytes(word), c.word);
        EXPECT_EQ(bytes(s), c.rest);
    }
}

TEST(CBreakString, BreakAndFindDelimitStayInsideTheText)
{
    CBreakString s(",5990");
    EXPECT_EQ(s.FindDelimit(","), 0);
    EXPECT_EQ(s.FindDelimit("99"), 2);
    EXPECT_EQ(s.FindDelimit(";"), -1);
    EXPECT_EQ(s.FindDelimit(""), -1);
    EXPECT_EQ(s.FindDelimit(nullptr), -1);
    EXPECT_EQ(bytes(s.Break(1)), ",");
    EXPECT_EQ(bytes(s), "5990");
    EXPECT_EQ(bytes(s.Break(0)), "");
    EXPECT_EQ(bytes(s.Break(-2)), "");
    EXPECT_EQ(bytes(s.Break(99)), "5990");
    EXPECT_TRUE(s.IsEmpty());

    CBreakString line = CString("  PI  \r\n");
    EXPECT_EQ(bytes(line.TrimWhiteSpace()), "PI");
    line = "HEA200";
    EXPECT_EQ(line.GetAt(3), '2');
}

TEST(CBreakString, ConvertPathKeepsTheLastComponent)
{
    struct Case {
        const char* text;
        const char* result;
    } cases[] = {
        {"B12", "B12"},
        {"C:\\parts\\B12.nc", "B12.nc"},
        {"parts/sub/B12", "B12"},
        {"parts/B12/", "B12"},
        {"mixed\\dirs/B-7", "B-7"},
        {"\\\\", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CString piece(c.text);
        EXPECT_EQ(bytes(CBreakString::ConvertPath(&piece)), c.result);
        EXPECT_EQ(bytes(piece), c.result);
    }
    EXPECT_TRUE(CBreakString::ConvertPath(nullptr).IsEmpty());
}
