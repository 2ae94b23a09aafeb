// BSTR layout and the two owners, CComBSTR and _bstr_t.
#include "com/Bstr.h"
#include "com/BstrT.h"
#include "com/ComBstr.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

namespace {

using namespace std::string_literals;

std::uint32_t prefixOf(BSTR s)
{
    std::uint32_t count;
    std::memcpy(&count, reinterpret_cast<const char*>(s) - 4, 4);
    return count;
}

std::u16string textOf(BSTR s)
{
    return std::u16string(s, SysStringLen(s));
}

TEST(Bstr, ByteCountBeforeTextAndNulAfter)
{
    const OLECHAR text[] = {u'a', 0, u'b'};
    BSTR s = SysAllocStringLen(text, 3);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(prefixOf(s), 6u);
    EXPECT_EQ(SysStringLen(s), 3u);
    EXPECT_EQ(SysStringByteLen(s), 6u);
    EXPECT_EQ(s[1], 0) << "embedded NUL kept";
    EXPECT_EQ(s[2], u'b');
    EXPECT_EQ(s[3], 0) << "NUL after the text";
    SysFreeString(s);

    s = SysAllocString(u"xyz");
    EXPECT_EQ(textOf(s), u"xyz");
    SysFreeString(s);

    s = SysAllocStringLen(nullptr, 2);
    EXPECT_EQ(SysStringLen(s), 2u);
    EXPECT_EQ(s[2], 0);
    SysFreeString(s);
}

TEST(Bstr, ByteLengthKeepsOddCounts)
{
    BSTR s = SysAllocStringByteLen("abc", 3);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SysStringByteLen(s), 3u);
    EXPECT_EQ(SysStringLen(s), 1u);
    const char* bytes = reinterpret_cast<const char*>(s);
    EXPECT_EQ(std::string(bytes, 3), "abc");
    EXPECT_EQ(bytes[3], 0);
    EXPECT_EQ(bytes[4], 0);
    SysFreeString(s);
}

TEST(Bstr, NullIsTheEmptyString)
{
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_EQ(SysStringByteLen(nullptr), 0u);
    SysFreeString(nullptr);
    BSTR empty = SysAllocString(u"");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(SysStringLen(empty), 0u);
    SysFreeString(empty);
}

TEST(Bstr, ReAllocFromItsOwnText)
{
    BSTR s = SysAllocString(u"abcdef");
    ASSERT_TRUE(SysReAllocStringLen(&s, s + 2, 3));
    EXPECT_EQ(textOf(s), u"cde");
    ASSERT_TRUE(SysReAllocString(&s, u"longer text"));
    EXPECT_EQ(textOf(s), u"longer text");
    SysFreeString(s);
}

TEST(Bstr, ToAndFromUtf8KeepsEveryCharacter)
{
    const std::string narrow = "Stra\xC3\x9F"
                               "e\0\xE2\x82\xAC"s;
    BSTR s = bstrFromNarrow(narrow);
    EXPECT_EQ(textOf(s), u"Stra\u00DFe\0\u20AC"s);
    EXPECT_EQ(narrowFromBstr(s), narrow);
    SysFreeString(s);
    EXPECT_EQ(narrowFromBstr(nullptr), "");
    BSTR empty = bstrFromNarrow("");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(SysStringLen(empty), 0u);
    SysFreeString(empty);
}

TEST(ComBstr, ConstructsFromEveryTextKind)
{
    EXPECT_EQ(textOf(CComBSTR(u"wide").m_str), u"wide");
    EXPECT_EQ(textOf(CComBSTR("caf\xC3\xA9 \x80").m_str), u"caf\u00e9 \u20ac")
        << "narrow text converted";
    EXPECT_EQ(textOf(CComBSTR(2, u"abc").m_str), u"ab");
    EXPECT_EQ(CComBSTR(static_cast<LPCOLESTR>(nullptr)).m_str, nullptr);
    EXPECT_EQ(CComBSTR(static_cast<const char*>(nullptr)).m_str, nullptr);

    const OLECHAR withNul[] = {u'x', 0, u'y'};
    CComBSTR original(3, withNul);
    CComBSTR copy(original);
    EXPECT_NE(copy.m_str, original.m_str);
    EXPECT_EQ(copy.Length(), 3u) << "a copy keeps embedded NULs";
    EXPECT_TRUE(copy == original);
}

TEST(ComBstr, OwnershipMoves)
{
    CComBSTR a(u"one");
    BSTR raw = a.Detach();
    EXPECT_EQ(a.m_str, nullptr);
    EXPECT_TRUE(!a);
    a.Attach(raw);
    EXPECT_EQ(a.m_str, raw);

    BSTR out = nullptr;
    EXPECT_EQ(a.CopyTo(&out), S_OK);
    EXPECT_NE(out, raw);
    EXPECT_EQ(textOf(out), u"one");
    SysFreeString(out);
    EXPECT_EQ(a.CopyTo(nullptr), E_POINTER);

    BSTR copy = a.Copy();
    CComBSTR b;
    b.Attach(copy);
    a.Empty();
    EXPECT_EQ(a.m_str, nullptr);
    EXPECT_EQ(textOf(b), u"one");

    CComBSTR filled;
    EXPECT_EQ(SysReAllocString(&filled, u"out"), TRUE) << "operator& hands out the member";
    EXPECT_EQ(textOf(filled), u"out");
}

TEST(ComBstr, AppendsAndCompares)
{
    CComBSTR s(u"ab");
    EXPECT_EQ(s.Append(u"cd"), S_OK);
    EXPECT_EQ(s.Append(CComBSTR(u"ef")), S_OK);
    EXPECT_EQ(s.Append("\xC3\xA9"), S_OK);
    s += CComBSTR(u"g");
    s += u"h";
    EXPECT_EQ(textOf(s), u"abcdef\u00e9gh");
    EXPECT_EQ(s.Append(s), S_OK) << "appending itself";
    EXPECT_EQ(s.Length(), 18u);

    CComBSTR empty;
    EXPECT_TRUE(empty == CComBSTR(u"")) << "null equals empty";
    EXPECT_TRUE(empty == static_cast<LPCOLESTR>(nullptr));
    EXPECT_FALSE(CComBSTR(u"a") == CComBSTR(u"b"));
    EXPECT_TRUE(CComBSTR(u"a") == u"a");

    BSTR withNul = SysAllocStringLen(u"p\0q", 3);
    EXPECT_EQ(empty.AssignBSTR(withNul), S_OK);
    EXPECT_EQ(empty.Length(), 3u);
    SysFreeString(withNul);
}

TEST(BstrT, ConvertsBothWaysAndKeepsNarrowCopy)
{
    _bstr_t wide(u"caf\u00e9");
    EXPECT_STREQ(static_cast<const char*>(wide), "caf\xC3\xA9");
    _bstr_t narrow("\x80uro");
    EXPECT_EQ(std::u16string(static_cast<const OLECHAR*>(narrow)), u"\u20acuro");
    EXPECT_EQ(narrow.length(), 4u);

    const char* first = static_cast<const char*>(wide);
    EXPECT_EQ(static_cast<const char*>(wide), first) << "one narrow copy per string";

    _bstr_t none;
    EXPECT_EQ(static_cast<const char*>(none), nullptr);
    EXPECT_EQ(none.length(), 0u);
    EXPECT_TRUE(!none);
    EXPECT_TRUE(none == _bstr_t(""));
}

TEST(BstrT, CopiesShareUntilChanged)
{
    _bstr_t a(u"base");
    _bstr_t b = a;
    EXPECT_EQ(static_cast<const OLECHAR*>(a), static_cast<const OLECHAR*>(b)) << "shared";
    b += _bstr_t(u"+more");
    EXPECT_EQ(std::u16string(static_cast<const OLECHAR*>(a)), u"base");
    EXPECT_EQ(std::u16string(static_cast<const OLECHAR*>(b)), u"base+more");
    EXPECT_TRUE(a + u"+more" == b);
    EXPECT_TRUE("x" + a == _bstr_t("xbase"));

    BSTR detached = b.Detach();
    EXPECT_EQ(b.length(), 0u);
    EXPECT_EQ(textOf(detached), u"base+more");
    b.Attach(detached);
    EXPECT_EQ(b.length(), 9u);

    BSTR copy = a.copy();
    EXPECT_NE(copy, static_cast<const OLECHAR*>(a));
    SysFreeString(copy);

    _bstr_t c = a;
    BSTR fromShared = c.Detach();
    EXPECT_EQ(std::u16string(static_cast<const OLECHAR*>(a)), u"base")
        << "a shared string is copied out";
    SysFreeString(fromShared);
}

TEST(BstrT, TakesOrCopiesABstr)
{
    BSTR owned = SysAllocStringLen(u"a\0b", 3);
    _bstr_t copied(owned, true);
    _bstr_t taken(owned, false);
    EXPECT_EQ(copied.length(), 3u);
    EXPECT_EQ(static_cast<const OLECHAR*>(taken), owned);
    EXPECT_TRUE(copied == taken);

    _bstr_t held;
    SysReAllocString(&held.GetBSTR(), u"in/out");
    EXPECT_EQ(held.length(), 6u);
}

TEST(BstrT, SharedCopiesReleasedOnManyThreads)
{
    _bstr_t shared(u"shared text");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([shared] {
            for (int i = 0; i < 1000; ++i) {
                _bstr_t copy = shared;
                EXPECT_STREQ(static_cast<const char*>(copy), "shared text");
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(shared.length(), 11u);
}

} // namespace
