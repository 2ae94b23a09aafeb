// LoadString on the string table of this program's own resource table.
#include "com/server/Resources.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

BEGIN_STRING_TABLE(TestStrings)
    STRING_ENTRY(1, "Halcyra")
    STRING_ENTRY(2, "Gr\xC3\xBC\xC3\x9F"
                    "e") // "Grüße": two 2-byte characters
    STRING_ENTRY(3, "a\xF0\x9F\x94\xA9"
                    "b") // a character outside the BMP
    STRING_ENTRY(4, "")
END_STRING_TABLE()

namespace {

struct NarrowCase {
    UINT id;
    int bufferMax;
    int expected;
    const char* text;
};

TEST(LoadStringTest, CopiesAtMostBufferMaxMinusOneCharactersAndANul)
{
    const NarrowCase cases[] = {
        {1, 254, 7, "Halcyra"},  {1, 8, 7, "Halcyra"}, {1, 7, 6, "Halcyr"},
        {1, 2, 1, "H"},          {1, 1, 0, ""},        {2, 6, 4, "Gr\xC3\xBC"},
        {2, 5, 4, "Gr\xC3\xBC"}, {2, 4, 2, "Gr"}, // never half a character
        {4, 10, 0, ""},          {99, 10, 0, ""}, // absent
    };
    for (const NarrowCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.id) + " into " + std::to_string(c.bufferMax));
        char buffer[300];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(LoadString(nullptr, c.id, buffer, c.bufferMax), c.expected);
        EXPECT_STREQ(buffer, c.text);
    }
}

TEST(LoadStringTest, ZeroSizedOrNullBuffersAreLeftAlone)
{
    char buffer[4] = {'x', 'x', 'x', 0};
    EXPECT_EQ(LoadString(nullptr, 1, buffer, 0), 0);
    EXPECT_STREQ(buffer, "xxx");
    EXPECT_EQ(LoadString(nullptr, 1, static_cast<char*>(nullptr), 10), 0);
}

TEST(LoadStringTest, WideCopiesNeverSplitASurrogatePair)
{
    OLECHAR buffer[16];
    EXPECT_EQ(LoadString(comserver::moduleInstance(), 3, buffer, 16), 4);
    EXPECT_EQ(std::u16string(buffer), u"a\U0001F529b");
    EXPECT_EQ(LoadString(comserver::moduleInstance(), 3, buffer, 3), 1);
    EXPECT_EQ(std::u16string(buffer), u"a");
    EXPECT_EQ(LoadStringW(nullptr, 2, buffer, 4), 3);
    EXPECT_EQ(std::u16string(buffer), u"Gr\u00FC");
    EXPECT_EQ(LoadStringW(nullptr, 42, buffer, 16), 0);
    EXPECT_EQ(buffer[0], u'\0');
}

} // namespace
