// The ANSI code page: UTF-8, with Windows-1252 for bytes outside UTF-8.
#include "com/CodePage.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

TEST(CodePage, ValidUtf8RoundTrips)
{
    const std::u16string wide = u"Steel \u00e9\u20ac \U0001F600 end"s + u'\0' + u"after";
    const std::string narrow = narrowFromWide(wide);
    EXPECT_EQ(narrow, "Steel \xC3\xA9\xE2\x82\xAC \xF0\x9F\x98\x80 end"s + '\0' + "after");
    EXPECT_EQ(wideFromNarrow(narrow), wide) << "embedded NULs are kept";
}

TEST(CodePage, InvalidBytesAreReadAsWindows1252)
{
    struct Case {
        std::string narrow;
        std::u16string wide;
    };
    const Case cases[] = {
        {"\x80", u"\u20ac"},
        {"\x9F", u"\u0178"},
        {"\x81\x8D\x8F\x90\x9D",
         u"\u0081\u008d\u008f\u0090\u009d"},               // undefined in 1252: themselves
        {"caf\xE9", u"caf\u00e9"},                         // lone Latin-1 byte
        {"\xC3(", u"\u00c3("},                             // lead byte without continuation
        {"\xC0\xAF", u"\u00c0\u00af"},                     // overlong
        {"\xED\xA0\x80", u"\u00ed\u00a0\u20ac"},           // encoded surrogate
        {"\xE2\x82", u"\u00e2\u201a"},                     // cut short
        {"\xF4\x90\x80\x80", u"\u00f4\u0090\u20ac\u20ac"}, // above U+10FFFF
        {"ok \xC3\xA9 \x96 ok", u"ok \u00e9 \u2013 ok"},   // valid and invalid mixed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.narrow);
        EXPECT_EQ(wideFromNarrow(c.narrow), c.wide);
    }
}

TEST(CodePage, UnpairedSurrogateBecomesQuestionMark)
{
    EXPECT_EQ(narrowFromWide(u"a\xD800"
                             "b"),
              "a?b");
    EXPECT_EQ(narrowFromWide(u"a\xDC00"), "a?");
    EXPECT_EQ(narrowFromWide(u"\xDC00\xD800"), "??") << "reversed pair";
}

TEST(CodePage, Win32ShapesAnswerSizesAndCopy)
{
    const char16_t wide[] = u"\u00e9t\u00e9";
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr), 6)
        << "with the NUL";
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, wide, 3, nullptr, 0, nullptr, nullptr), 5);
    char narrow[8] = {};
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, sizeof narrow, nullptr, nullptr), 6);
    EXPECT_STREQ(narrow, "\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, 5, nullptr, nullptr), 0)
        << "too small";

    BOOL usedDefault = FALSE;
    EXPECT_EQ(
        WideCharToMultiByte(CP_ACP, 0, u"x\xD800", 2, narrow, sizeof narrow, nullptr, &usedDefault),
        2);
    EXPECT_EQ(std::string(narrow, 2), "x?");
    EXPECT_TRUE(usedDefault);

    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "\x80x", -1, nullptr, 0), 3);
    char16_t back[4] = {};
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\x80x", -1, back, 4), 3);
    EXPECT_EQ(std::u16string(back), u"\u20acx");
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "a\0b", 3, back, 4), 3)
        << "an explicit length keeps NULs";
    EXPECT_EQ(back[2], u'b');
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 3, back, 2), 0) << "too small";
}

} // namespace
