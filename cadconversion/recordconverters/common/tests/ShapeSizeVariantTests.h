// The tests of a CAD system whose records carry three plain numbers behind
// the section (Ambrel, Tolvin), instantiated by each system's tests with
//   struct Variant {
//       using Reader = ...;
//       static constexpr const char* kFLSection;     // an "FL" record's section
//       static constexpr const char* kFLDescription; // its description for
//                                                    // d1 4, d2 0.5, d3 0.375
//   };
//   INSTANTIATE_TYPED_TEST_SUITE_P(Name, ShapeSizeVariantTest, Variant);
#pragma once

#include "ReaderFixture.h"
#include "RecordTexts.h"

template <class Variant>
class ShapeSizeVariantTest : public RecordReaderTest<typename Variant::Reader> {
};

TYPED_TEST_SUITE_P(ShapeSizeVariantTest);

TYPED_TEST_P(ShapeSizeVariantTest, StoresTextsAsReadButTheGroupsUnderscore)
{
    ShapeSizeRecord record;
    record.job = "12_";
    record.group = "_";
    record.mark = "_7";
    record.section = "W_";
    const ReadResult result = this->convert(record.text());
    ASSERT_EQ(result.hr, S_OK) << result.text;
    EXPECT_EQ(result.part->texts(),
              (std::vector<std::string>{"put_JobId(12_)", "put_Group(NONE)", "put_Mark(_7)",
                                        "put_Length(240)", "put_Quantity(2)", "put_Section(W_)",
                                        "put_SectionDescription(1226)"}));
}

TYPED_TEST_P(ShapeSizeVariantTest, DescribesAnFLRecordByItsSystemsRule)
{
    ShapeSizeRecord record;
    record.section = "FL";
    record.d1 = "4";
    record.d2 = "0.5";
    record.d3 = "0.375";
    const ReadResult result = this->convert(record.text());
    ASSERT_EQ(result.hr, S_OK) << result.text;
    EXPECT_EQ(result.part->texts().at(5),
              std::string("put_Section(") + TypeParam::kFLSection + ")");
    EXPECT_EQ(result.part->texts().at(6),
              std::string("put_SectionDescription(") + TypeParam::kFLDescription + ")");
}

TYPED_TEST_P(ShapeSizeVariantTest, PassesToolShapesAsRead)
{
    ShapeSizeRecord record;
    record.tools = "0.8125 0 _  0.8125 1.5 ER  0 0 _  0 0 _  0 0 _";
    record.holes = {"1 2 1", "3 4 2"};
    const ReadResult result = this->convert(record.text());
    ASSERT_EQ(result.hr, S_OK) << result.text;
    EXPECT_EQ(result.part->operations(),
              (std::vector<std::string>{"SetWebHole(1, 2, 0.8125, 0, _, 0)",
                                        "SetTFNearHole(3, 2, 0.8125, 1.5, ER, 0)"}));
}

REGISTER_TYPED_TEST_SUITE_P(ShapeSizeVariantTest, StoresTextsAsReadButTheGroupsUnderscore,
                            DescribesAnFLRecordByItsSystemsRule, PassesToolShapesAsRead);
