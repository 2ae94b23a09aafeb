// The Tolvin records: texts as read but for the group's "_", "FL" kept and
// described by the general row, tool shapes as read.
#include "TolvinRecordReader.h"
#include "ReaderFixture.h"
#include "RecordTexts.h"

namespace {

using TolvinTest = RecordReaderTest<TolvinRecordReader>;

TEST_F(TolvinTest, StoresTextsAsReadButTheGroupsUnderscore)
{
    ShapeSizeRecord record;
    record.job = "12_";
    record.group = "_";
    const ReadResult result = convert(record.text());
    ASSERT_EQ(result.hr, S_OK) << result.text;
    EXPECT_EQ(result.part->calls.at(0), "put_JobId(12_)");
    EXPECT_EQ(result.part->calls.at(1), "put_Group(NONE)");
}

TEST_F(TolvinTest, KeepsAnFLRecordAndDescribesItByTheGeneralRow)
{
    ShapeSizeRecord record;
    record.section = "FL";
    record.d1 = "4";
    record.d2 = "0.5";
    record.d3 = "0.375";
    const ReadResult result = convert(record.text());
    ASSERT_EQ(result.hr, S_OK) << result.text;
    EXPECT_EQ(result.part->calls.at(5), "put_Section(FL)");
    EXPECT_EQ(result.part->calls.at(6), "put_SectionDescription(405)");
}

TEST_F(TolvinTest, PassesAToolShapeAsRead)
{
    ShapeSizeRecord record;
    record.tools = "0.8125 0 _ 0 0 _ 0 0 _ 0 0 _ 0 0 _";
    record.holes = {"1 2 1"};
    const ReadResult result = convert(record.text());
    ASSERT_EQ(result.hr, S_OK) << result.text;
    EXPECT_EQ(result.part->operations(), std::vector<std::string>{"SetWebHole(1,2,0.8125,0,_,0)"});
}

} // namespace
