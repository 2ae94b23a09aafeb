// CString: clamped parts, search, comparison, trimming, bytes kept as they
// are, and the wide conversions.
#include "vlmrlib/CString.h"

#include "com/Bstr.h"

#include <gtest/gtest.h>

#include <string>

namespace {
std::string bytes(const CString& s)
{
    return std::string(s, static_cast<std::size_t>(s.GetLength()));
}
} // namespace

TEST(CString, PartsClampIndexesAndCountsToTheText)
{
    const CString s("abcdef");
    struct Case {
        CString got;
        const char* expected;
    } cases[] = {
        {s.Left(2), "ab"},      {s.Left(0), ""},    {s.Left(-1), ""},
        {s.Left(99), "abcdef"}, {s.Right(2), "ef"}, {s.Right(99), "abcdef"},
        {s.Right(-3), ""},      {s.Mid(2), "cdef"}, {s.Mid(-4), "abcdef"},
        {s.Mid(6), ""},         {s.Mid(99), ""},    {s.Mid(1, 3), "bcd"},
        {s.Mid(4, 99), "ef"},   {s.Mid(2, -1), ""}, {s.Mid(-2, 3), "abc"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(bytes(cases[i].got), cases[i].expected);
    }
    EXPECT_EQ(s.GetAt(0), 'a');
    EXPECT_EQ(s.GetAt(5), 'f');
    EXPECT_EQ(s.GetAt(6), '\0');
    EXPECT_EQ(s.GetAt(-1), '\0');
}

TEST(CString, FindAnswersThePositionOrMinusOne)
{
    const CString s("W12X26X");
    EXPECT_EQ(s.Find('X'), 3);
    EXPECT_EQ(s.Find('X', 4), 6);
    EXPECT_EQ(s.Find('X', 7), -1);
    EXPECT_EQ(s.Find('x'), -1);
    EXPECT_EQ(s.Find("26"), 4);
    EXPECT_EQ(s.Find("27"), -1);
    EXPECT_EQ(s.Find("X", -5), 3);
    EXPECT_EQ(s.Find(static_cast<const char*>(nullptr)), 0);
}

TEST(CString, CompareIsBytewiseAndCaseFoldingIsAsciiOnly)
{
    struct Case {
        const char* a;
        const char* b;
        int compare;       // sign
        int compareNoCase; // sign
    } cases[] = {
        {"HSS", "HSS", 0, 0},  {"hss", "HSS", 1, 0},
        {"RCT", "rct", -1, 0}, {"ab", "abc", -1, -1},
        {"abc", "ab", 1, 1},   {"", "", 0, 0},
        {"a", nullptr, 1, 1},  {"\xc3\x89", "\xc3\xa9", -1, -1}, // É and é (UTF-8) stay different
        {"\xe9", "a", 1, 1},                                     // 8-bit bytes sort above ASCII
    };
    auto sign = [](int v) { return (v > 0) - (v < 0); };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " vs " + (c.b ? c.b : "null"));
        EXPECT_EQ(sign(CString(c.a).Compare(c.b)), c.compare);
        EXPECT_EQ(sign(CString(c.a).CompareNoCase(c.b)), c.compareNoCase);
    }
    CString mixed("HeA200 \xc3\x89");
    EXPECT_EQ(bytes(mixed.MakeLower()), "hea200 \xc3\x89");
}

TEST(CString, TrimRemovesTheWhiteSpaceSetOnly)
{
    CString s(" \t\r\n\f 12_ \v\f\r\n");
    s.TrimRight();
    EXPECT_EQ(bytes(s), " \t\r\n\f 12_ \v"); // vertical tab is not white space
    s.TrimLeft();
    EXPECT_EQ(bytes(s), "12_ \v");
    CString blank("   ");
    EXPECT_TRUE(blank.TrimLeft().IsEmpty());
}

TEST(CString, BuildingAndComparingKeepsNulAnd8BitBytes)
{
    CString s("a\0b", 3);
    s += '\0';
    s += CString("\xff");
    s += "c";
    EXPECT_EQ(s.GetLength(), 6);
    EXPECT_EQ(bytes(s), std::string("a\0b\0\xff"
                                    "c",
                                    6));
    EXPECT_FALSE(s == "a"); // the whole text counts, not the C string
    EXPECT_TRUE(CString("a\0b", 3) == CString("a\0b", 3));
    EXPECT_FALSE(CString("a\0b", 3) == CString("a\0c", 3));

    CString t = 'J' + CString("ob ") + "12" + '_' + CString("x");
    EXPECT_TRUE(t == "Job 12_x");
    EXPECT_TRUE(t != "Job");
    EXPECT_TRUE("Job 12_x" == t);
    t = static_cast<const char*>(nullptr);
    EXPECT_TRUE(t == "");
    EXPECT_TRUE(t == nullptr);
    t = 'Z';
    EXPECT_TRUE(t == "Z");
    t = static_cast<const char*>(t); // self-assignment through the C string
    EXPECT_TRUE(t == "Z");
    t.Empty();
    EXPECT_TRUE(t.IsEmpty());

    t.SetString("ab\0cd", 5);
    t.Append("\0e", 2);
    EXPECT_EQ(bytes(t), std::string("ab\0cd\0e", 7));
    t.Append(nullptr, 3);
    t.Append("x", -1);
    EXPECT_EQ(t.GetLength(), 7);
    t.SetString(nullptr, 4);
    EXPECT_TRUE(t.IsEmpty());
}

TEST(CString, FormatUsesPrintfSyntax)
{
    CString s;
    s.Format("Line:%d %s %.3f", 27, "x", 0.125);
    EXPECT_TRUE(s == "Line:27 x 0.125");
    s.Format("%s", "");
    EXPECT_TRUE(s.IsEmpty());
    s.Format("%s", std::string(1000, 'y').c_str());
    EXPECT_EQ(s.GetLength(), 1000);
}

TEST(CString, WideTextConvertsThroughTheCodePage)
{
    CString s(u"Gr\u00f6\u00dfe");
    EXPECT_EQ(bytes(s), "Gr\xc3\xb6\xc3\x9f"
                        "e");
    s = u"W12X26";
    EXPECT_TRUE(s == "W12X26");
    s = static_cast<const OLECHAR*>(nullptr);
    EXPECT_TRUE(s.IsEmpty());

    BSTR b = CString("Gr\xc3\xb6\xc3\x9f"
                     "e")
                 .AllocSysString();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(std::u16string(b, SysStringLen(b)), u"Gr\u00f6\u00dfe");
    SysFreeString(b);

    BSTR withNul = CString("a\0b", 3).AllocSysString();
    EXPECT_EQ(std::u16string(withNul, SysStringLen(withNul)), std::u16string(u"a\0b", 3));
    SysFreeString(withNul);
    BSTR eightBit = CString("caf\xe9").AllocSysString(); // not UTF-8: Windows-1252
    EXPECT_EQ(std::u16string(eightBit, SysStringLen(eightBit)), u"caf\u00e9");
    SysFreeString(eightBit);
}
