// CreateComponentCategory against the runtime's categories manager in a
// registry of the test's own.
#include "vlmrtsconvert/ComponentCategory.h"

#include "com/Guid.h"
#include "com/Interfaces.h"
#include "com/Runtime.h"
#include "testing/TemporaryRegistry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

namespace {

constexpr CATID converterCategory = guidOf("06A6380A-F261-11D2-A3F7-00A0249F4DED");

class ComponentCategoryTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(CoInitialize(nullptr), S_OK); }
    void TearDown() override { CoUninitialize(); }

    // The category's description as the categories manager reports it.
    static std::u16string description(REFCATID catid, HRESULT* result = nullptr)
    {
        ICatInformation* information = nullptr;
        EXPECT_EQ(CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_ICatInformation, reinterpret_cast<void**>(&information)),
                  S_OK);
        if (!information)
            return u"<none>";
        LPWSTR text = nullptr;
        HRESULT hr = information->GetCategoryDesc(catid, 0x409, &text);
        if (result)
            *result = hr;
        std::u16string copy = text ? std::u16string(text) : u"";
        CoTaskMemFree(text);
        information->Release();
        return copy;
    }

    testsupport::TemporaryRegistry m_registry{"vlmrcat"};
};

} // namespace

TEST_F(ComponentCategoryTest, CreatesTheCategoryOnceAndLeavesAnExistingOneAlone)
{
    HRESULT hr = S_OK;
    description(converterCategory, &hr);
    EXPECT_EQ(hr, CAT_E_CATIDNOEXIST);

    EXPECT_EQ(CreateComponentCategory(converterCategory, "Velmora Cad Conversion"), S_OK);
    EXPECT_EQ(description(converterCategory), u"Velmora Cad Conversion");

    EXPECT_EQ(CreateComponentCategory(converterCategory, "Another text"), S_OK);
    EXPECT_EQ(description(converterCategory), u"Velmora Cad Conversion");
}

TEST_F(ComponentCategoryTest, DescriptionIsConvertedAndCutToTheCategoryLimit)
{
    constexpr CATID other = guidOf("11111111-2222-3333-4444-555555555555");
    EXPECT_EQ(CreateComponentCategory(other, ("Gr\xc3\xb6\xc3\x9f"
                                              "e " +
                                              std::string(200, 'x'))
                                                 .c_str()),
              S_OK);
    std::u16string stored = description(other);
    EXPECT_EQ(stored.size(), 127u);
    EXPECT_EQ(stored.substr(0, 6), u"Gr\u00f6\u00dfe ");

    constexpr CATID unnamed = guidOf("11111111-2222-3333-4444-666666666666");
    EXPECT_EQ(CreateComponentCategory(unnamed, nullptr), S_OK);
    EXPECT_EQ(description(unnamed), u"");
}

TEST_F(ComponentCategoryTest, AThreadWithoutComGetsTheRuntimesAnswer)
{
    HRESULT hr = S_OK;
    std::thread([&] {
        hr = CreateComponentCategory(converterCategory, "Velmora Cad Conversion");
    }).join();
    EXPECT_EQ(hr, CO_E_NOTINITIALIZED);
}
