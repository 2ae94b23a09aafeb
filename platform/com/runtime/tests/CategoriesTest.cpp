// The built-in component categories manager against a temporary registry.
#include "RuntimeFixture.h"

#include "com/ComPtr.h"
#include "registry/Registry.h"

#include <cstring>
#include <vector>

namespace {

constexpr CATID kConverters = guidOf("06A6380A-F261-11D2-A3F7-00A0249F4DED");
constexpr CATID kOtherCategory = guidOf("0F0F0F0F-0000-4000-8000-0000000000C1");
constexpr CATID kNeedsHost = guidOf("0F0F0F0F-0000-4000-8000-0000000000C2");
constexpr CLSID kFirst = guidOf("FBAB4E40-6964-11D5-927B-006008A85237");
constexpr CLSID kSecond = guidOf("0B11D6AA-02CB-4FB1-BD39-31F55707979B");
constexpr CLSID kThird = guidOf("78152908-0214-45F8-8A18-E64ACA4EB8CF");
constexpr ULONG kAny = static_cast<ULONG>(-1);

CATEGORYINFO info(REFCATID catid, LCID lcid, const char16_t* text)
{
    CATEGORYINFO i{catid, lcid, {}};
    std::memcpy(i.szDescription, text,
                (std::char_traits<char16_t>::length(text) + 1) * sizeof(char16_t));
    return i;
}

std::vector<GUID> drain(IEnumGUID* e)
{
    std::vector<GUID> out;
    GUID batch[2];
    ULONG fetched = 0;
    while (e->Next(2, batch, &fetched), fetched > 0)
        out.insert(out.end(), batch, batch + fetched);
    return out;
}

class CategoriesTest : public RuntimeTest {
protected:
    void SetUp() override
    {
        RuntimeTest::SetUp();
        ASSERT_EQ(m_register.CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr,
                                              CLSCTX_INPROC_SERVER),
                  S_OK);
        ASSERT_EQ(m_register.QueryInterface(&m_information.p), S_OK);
    }
    void TearDown() override
    {
        m_information.Release();
        m_register.Release();
        RuntimeTest::TearDown();
    }
    // Three classes in this order; the first and third are converters, the
    // third also requires a host category.
    void registerClasses()
    {
        CATID converters[] = {kConverters};
        CATID other[] = {kOtherCategory};
        CATID host[] = {kNeedsHost};
        for (const CLSID& clsid : {kFirst, kSecond, kThird})
            setClassesValue("CLSID\\" + guidToString(clsid), "", "class");
        ASSERT_EQ(m_register->RegisterClassImplCategories(kFirst, 1, converters), S_OK);
        ASSERT_EQ(m_register->RegisterClassImplCategories(kSecond, 1, other), S_OK);
        ASSERT_EQ(m_register->RegisterClassImplCategories(kThird, 1, converters), S_OK);
        ASSERT_EQ(m_register->RegisterClassReqCategories(kThird, 1, host), S_OK);
    }
    std::vector<GUID> classesOf(ULONG cImpl, const CATID* impl, ULONG cReq, const CATID* req)
    {
        IEnumGUID* e = nullptr;
        EXPECT_EQ(m_information->EnumClassesOfCategories(cImpl, impl, cReq, req, &e), S_OK);
        if (!e)
            return {};
        std::vector<GUID> found = drain(e);
        EXPECT_EQ(e->Release(), 0u);
        return found;
    }

    CComPtr<ICatRegister> m_register;
    CComPtr<ICatInformation> m_information;
};

TEST_F(CategoriesTest, CategoryDescriptionsByLocale)
{
    CATEGORYINFO infos[] = {info(kConverters, 0x409, u"Velmora Cad Conversion"),
                            info(kConverters, 0x407, u"Velmora CAD-Umwandlung")};
    ASSERT_EQ(m_register->RegisterCategories(2, infos), S_OK);

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT,
                           ("Component Categories\\" + guidToString(kConverters)).c_str(), 0,
                           KEY_READ, &key),
              ERROR_SUCCESS);
    char text[64];
    DWORD size = sizeof text;
    ASSERT_EQ(RegQueryValueEx(key, "409", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(text, "Velmora Cad Conversion");
    RegCloseKey(key);

    struct Case {
        LCID lcid;
        const char16_t* text;
    };
    for (const Case& c :
         {Case{0x409, u"Velmora Cad Conversion"}, Case{0x407, u"Velmora CAD-Umwandlung"},
          Case{0x40C, u"Velmora Cad Conversion"}}) {
        LPWSTR desc = nullptr;
        ASSERT_EQ(m_information->GetCategoryDesc(kConverters, c.lcid, &desc), S_OK);
        EXPECT_EQ(std::u16string(desc), c.text);
        CoTaskMemFree(desc);
    }

    LPWSTR desc = reinterpret_cast<LPWSTR>(1);
    EXPECT_EQ(m_information->GetCategoryDesc(kOtherCategory, 0x409, &desc), CAT_E_CATIDNOEXIST);
    EXPECT_EQ(desc, nullptr);

    IEnumCATEGORYINFO* e = nullptr;
    ASSERT_EQ(m_information->EnumCategories(0x409, &e), S_OK);
    CATEGORYINFO got[2];
    ULONG fetched = 0;
    EXPECT_EQ(e->Next(2, got, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 1u);
    EXPECT_EQ(got[0].catid, kConverters);
    EXPECT_EQ(std::u16string(got[0].szDescription), u"Velmora Cad Conversion");
    e->Release();

    CATID gone[] = {kConverters};
    ASSERT_EQ(m_register->UnRegisterCategories(1, gone), S_OK);
    EXPECT_EQ(m_information->GetCategoryDesc(kConverters, 0x409, &desc), CAT_E_CATIDNOEXIST);
}

TEST_F(CategoriesTest, ClassesOfCategoriesInRegistryOrder)
{
    registerClasses();
    const CATID converters[] = {kConverters};
    const CATID noRequirement[] = {GUID_NULL};
    const CATID host[] = {kNeedsHost};
    const CATID either[] = {kOtherCategory, kConverters};

    EXPECT_EQ(classesOf(1, converters, 1, noRequirement), (std::vector<GUID>{kFirst}))
        << "a class requiring a category is left out when the caller offers none";
    EXPECT_EQ(classesOf(1, converters, 1, host), (std::vector<GUID>{kFirst, kThird}));
    EXPECT_EQ(classesOf(1, converters, kAny, nullptr), (std::vector<GUID>{kFirst, kThird}));
    EXPECT_EQ(classesOf(2, either, kAny, nullptr), (std::vector<GUID>{kFirst, kSecond, kThird}));
    EXPECT_EQ(classesOf(kAny, nullptr, 0, nullptr), (std::vector<GUID>{kFirst, kSecond}));

    EXPECT_EQ(m_information->IsClassOfCategories(kFirst, 1, converters, 1, noRequirement), S_OK);
    EXPECT_EQ(m_information->IsClassOfCategories(kSecond, 1, converters, kAny, nullptr), S_FALSE);

    IEnumGUID* e = nullptr;
    EXPECT_EQ(m_information->EnumClassesOfCategories(1, nullptr, kAny, nullptr, &e), E_POINTER);
    EXPECT_EQ(e, nullptr);
}

TEST_F(CategoriesTest, EnumerationIsASnapshot)
{
    registerClasses();
    const CATID converters[] = {kConverters};
    IEnumGUID* e = nullptr;
    ASSERT_EQ(m_information->EnumClassesOfCategories(1, converters, kAny, nullptr, &e), S_OK);
    CATID list[] = {kConverters};
    ASSERT_EQ(m_register->UnRegisterClassImplCategories(kFirst, 1, list), S_OK);
    EXPECT_EQ(drain(e), (std::vector<GUID>{kFirst, kThird}))
        << "taken when the enumeration was made";
    e->Release();
    EXPECT_EQ(classesOf(1, converters, kAny, nullptr), (std::vector<GUID>{kThird}));
    EXPECT_FALSE(classesHasKey("CLSID\\" + guidToString(kFirst) + "\\Implemented Categories"))
        << "the emptied list key goes too";
}

TEST_F(CategoriesTest, EnumeratorNextSkipResetClone)
{
    registerClasses();
    IEnumGUID* e = nullptr;
    ASSERT_EQ(m_information->EnumClassesOfCategories(kAny, nullptr, kAny, nullptr, &e), S_OK);
    GUID one{};
    ULONG fetched = 9;
    EXPECT_EQ(e->Next(1, &one, nullptr), S_OK) << "one at a time needs no count";
    EXPECT_EQ(one, kFirst);
    EXPECT_EQ(e->Skip(1), S_OK);
    IEnumGUID* clone = nullptr;
    ASSERT_EQ(e->Clone(&clone), S_OK);
    GUID rest[3];
    EXPECT_EQ(e->Next(3, rest, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 1u);
    EXPECT_EQ(rest[0], kThird);
    EXPECT_EQ(e->Next(1, rest, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);
    EXPECT_EQ(e->Skip(1), S_FALSE);
    EXPECT_EQ(clone->Next(1, rest, &fetched), S_OK) << "the clone keeps its own place";
    EXPECT_EQ(rest[0], kThird);
    EXPECT_EQ(e->Reset(), S_OK);
    EXPECT_EQ(drain(e), (std::vector<GUID>{kFirst, kSecond, kThird}));
    EXPECT_EQ(e->Next(2, rest, nullptr), E_POINTER);
    EXPECT_EQ(clone->Release(), 0u);
    EXPECT_EQ(e->Release(), 0u);
}

TEST_F(CategoriesTest, CategoriesOfAClass)
{
    registerClasses();
    IEnumGUID* e = nullptr;
    ASSERT_EQ(m_information->EnumImplCategoriesOfClass(kThird, &e), S_OK);
    EXPECT_EQ(drain(e), (std::vector<GUID>{kConverters}));
    e->Release();
    ASSERT_EQ(m_information->EnumReqCategoriesOfClass(kThird, &e), S_OK);
    EXPECT_EQ(drain(e), (std::vector<GUID>{kNeedsHost}));
    e->Release();
    ASSERT_EQ(m_information->EnumReqCategoriesOfClass(kFirst, &e), S_OK);
    EXPECT_TRUE(drain(e).empty());
    e->Release();

    CATID host[] = {kNeedsHost};
    ASSERT_EQ(m_register->UnRegisterClassReqCategories(kThird, 1, host), S_OK);
    ASSERT_EQ(m_information->EnumReqCategoriesOfClass(kThird, &e), S_OK);
    EXPECT_TRUE(drain(e).empty());
    e->Release();
}

TEST_F(CategoriesTest, ManagerNeedsNoRegistration)
{
    IUnknown* outer = m_register;
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(
        CoCreateInstance(CLSID_StdComponentCategoriesMgr, outer, CLSCTX_ALL, IID_IUnknown, &out),
        CLASS_E_NOAGGREGATION);
    EXPECT_EQ(out, nullptr);
    EXPECT_FALSE(classesHasKey("CLSID\\" + guidToString(CLSID_StdComponentCategoriesMgr)));
}

} // namespace
