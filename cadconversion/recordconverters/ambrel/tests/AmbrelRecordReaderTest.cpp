// The Ambrel records: texts as read but for the group's "_", "FL" stored
// and described as a flat bar, tool shapes as read.
#include "AmbrelRecordReader.h"
#include "ReaderFixture.h"
#include "RecordTexts.h"

namespace {

using AmbrelTest = RecordReaderTest<AmbrelRecordReader>;

TEST_F(AmbrelTest, StoresTextsAsReadButTheGroupsUnderscore)
{
    ShapeSizeRecord record;
    record.job = "12_";
    record.group = "_";
    record.mark = "_7";
    const ReadResult result = convert(record.text());
    ASSERT_EQ(result.hr, S_OK) << result.text;
    EXPECT_EQ(std::vector<std::string>(result.part->calls.begin(), result.part->calls.begin() + 3),
              (std::vector<std::string>{"put_JobId(12_)", "put_Group(NONE)", "put_Mark(_7)"}));
}

TEST_F(AmbrelTest, StoresAnFLRecordAsAFlatBarWithItsThicknessFirst)
{
    ShapeSizeRecord record;
    record.section = "FL";
    record.d1 = "4";
    record.d2 = "0";
    record.d3 = "0.5";
    const ReadResult result = convert(record.text());
    ASSERT_EQ(result.hr, S_OK) << result.text;
    EXPECT_EQ(result.part->calls.at(5), "put_Section(FB)");
    EXPECT_EQ(result.part->calls.at(6), "put_SectionDescription(0124)");
}

TEST_F(AmbrelTest, PassesAToolShapeAsRead)
{
    ShapeSizeRecord record;
    record.tools = "0.8125 0 _ 0.8125 1.5 ER 0 0 _ 0 0 _ 0 0 _";
    record.holes = {"1 2 1", "3 4 2"};
    const ReadResult result = convert(record.text());
    ASSERT_EQ(result.hr, S_OK) << result.text;
    EXPECT_EQ(result.part->operations(),
              (std::vector<std::string>{"SetWebHole(1,2,0.8125,0,_,0)",
                                        "SetTFNearHole(3,2,0.8125,1.5,ER,0)"}));
}

} // namespace
