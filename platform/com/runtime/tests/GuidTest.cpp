// GUID text forms, ProgIDs as class strings, task memory.
#include "RuntimeFixture.h"

#include "com/CodePage.h"
#include "com/Guid.h"

#include <cstring>

namespace {

constexpr GUID kGuid = guidOf("39e39a27-0b5d-11d2-aa01-008029e54ffb");
constexpr char16_t kBraced[] = u"{39E39A27-0B5D-11D2-AA01-008029E54FFB}";

TEST(GuidText, WrittenBracedInUpperCase)
{
    EXPECT_EQ(guidToString(kGuid), "{39E39A27-0B5D-11D2-AA01-008029E54FFB}");

    LPOLESTR text = nullptr;
    ASSERT_EQ(StringFromCLSID(kGuid, &text), S_OK);
    EXPECT_EQ(std::u16string(text), kBraced);
    CoTaskMemFree(text);
    ASSERT_EQ(StringFromIID(kGuid, &text), S_OK);
    EXPECT_EQ(std::u16string(text), kBraced);
    CoTaskMemFree(text);

    OLECHAR buffer[39];
    EXPECT_EQ(StringFromGUID2(kGuid, buffer, 39), 39);
    EXPECT_EQ(std::u16string(buffer), kBraced);
    EXPECT_EQ(StringFromGUID2(kGuid, buffer, 38), 0) << "no room for the NUL";
}

TEST(GuidText, ReadInEitherCase)
{
    for (const char16_t* text :
         {u"{39E39A27-0B5D-11D2-AA01-008029E54FFB}", u"{39e39a27-0b5d-11d2-aa01-008029e54ffb}"}) {
        GUID clsid{}, iid{};
        EXPECT_EQ(CLSIDFromString(text, &clsid), S_OK);
        EXPECT_EQ(IIDFromString(text, &iid), S_OK);
        EXPECT_EQ(clsid, kGuid);
        EXPECT_EQ(iid, kGuid);
    }
    GUID g{};
    EXPECT_TRUE(guidFromString("{39e39a27-0B5D-11D2-AA01-008029E54FFB}", &g));
    EXPECT_EQ(g, kGuid);
}

TEST(GuidText, MalformedIsClassStringError)
{
    const char16_t* cases[] = {
        u"{39E39A27-0B5D-11D2-AA01-008029E54FF}",   // short
        u"{39E39A27-0B5D-11D2-AA01-008029E54FFBB}", // long
        u"39E39A27-0B5D-11D2-AA01-008029E54FFB",    // no braces
        u"{39E39A27-0B5D-11D2-AA01-008029E54FFB",   // no closing brace
        u"{39E39A27+0B5D-11D2-AA01-008029E54FFB}",  // wrong separator
        u"{39E39A2G-0B5D-11D2-AA01-008029E54FFB}",  // not hex
        u"{ 9E39A27-0B5D-11D2-AA01-008029E54FFB}",  // blank
        u"",
    };
    for (const char16_t* text : cases) {
        SCOPED_TRACE(narrowFromWide(text));
        GUID clsid = kGuid, iid = kGuid;
        EXPECT_EQ(IIDFromString(text, &iid), CO_E_CLASSSTRING);
        EXPECT_EQ(iid, GUID_NULL);
        if (text[0] == u'{') {
            EXPECT_EQ(CLSIDFromString(text, &clsid), CO_E_CLASSSTRING);
            EXPECT_EQ(clsid, GUID_NULL);
        }
        GUID g{};
        EXPECT_FALSE(guidFromString(narrowFromWide(text), &g));
    }
}

class ProgIdTest : public RuntimeTest {};

TEST_F(ProgIdTest, ClassStringMayBeARegisteredProgId)
{
    setClassesValue("Velmora.CADPart.1\\CLSID", "", guidToString(kGuid));
    setClassesValue("CLSID\\" + guidToString(kGuid) + "\\ProgID", "", "Velmora.CADPart.1");

    GUID clsid{};
    EXPECT_EQ(CLSIDFromString(u"Velmora.CADPart.1", &clsid), S_OK);
    EXPECT_EQ(clsid, kGuid);
    EXPECT_EQ(CLSIDFromString(u"velmora.cadpart.1", &clsid), S_OK) << "registry names ignore case";
    EXPECT_EQ(CLSIDFromProgID(u"Velmora.CADPart.1", &clsid), S_OK);
    EXPECT_EQ(clsid, kGuid);

    LPOLESTR progId = nullptr;
    ASSERT_EQ(ProgIDFromCLSID(kGuid, &progId), S_OK);
    EXPECT_EQ(std::u16string(progId), u"Velmora.CADPart.1");
    CoTaskMemFree(progId);
}

TEST_F(ProgIdTest, UnknownProgIdIsClassStringError)
{
    setClassesValue("Broken.1\\CLSID", "", "not a guid");
    for (const char16_t* name : {u"Nobody.Here.1", u"Broken.1", u"CLSID\\x"}) {
        SCOPED_TRACE(narrowFromWide(name));
        GUID clsid = kGuid;
        EXPECT_EQ(CLSIDFromString(name, &clsid), CO_E_CLASSSTRING);
        EXPECT_EQ(clsid, GUID_NULL);
        clsid = kGuid;
        EXPECT_EQ(CLSIDFromProgID(name, &clsid), CO_E_CLASSSTRING);
        EXPECT_EQ(clsid, GUID_NULL);
    }
    LPOLESTR progId = reinterpret_cast<LPOLESTR>(1);
    EXPECT_EQ(ProgIDFromCLSID(kGuid, &progId), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(progId, nullptr);
}

TEST(TaskMemory, AllocReallocFreeKeepContents)
{
    auto* p = static_cast<char*>(CoTaskMemAlloc(4));
    ASSERT_NE(p, nullptr);
    std::memcpy(p, "abc", 4);
    p = static_cast<char*>(CoTaskMemRealloc(p, 4096));
    ASSERT_NE(p, nullptr);
    EXPECT_STREQ(p, "abc");
    CoTaskMemFree(p);
    CoTaskMemFree(nullptr);
}

} // namespace
