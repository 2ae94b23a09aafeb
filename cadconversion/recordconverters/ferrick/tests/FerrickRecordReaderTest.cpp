// The Ferrick records: the text fix, "FL", the 8-character dimension field,
// the section descriptions and the tool shapes named from their sizes.
#include "FerrickRecordReader.h"
#include "ReaderFixture.h"
#include "RecordTexts.h"

#include <algorithm>
#include <functional>

namespace {

// A Ferrick record; field is the 8 characters behind the blank that ends the
// depth token.
struct FerrickRecord {
    std::string job = "J1";
    std::string group = "G1";
    std::string mark = "B1";
    std::string length = "240";
    std::string section = "W";
    std::string depth = "12";
    std::string field = "     26 ";
    std::string quantity = "2";
    std::string tools = kSlotTools;
    std::vector<std::string> holes;

    std::string text() const
    {
        return job + " " + group + " " + mark + " " + length + " " + section + " " + depth + " " +
               field + " " + quantity + "\n" + tools + "\n" + holeLinesText(holes);
    }
};

using FerrickTest = RecordReaderTest<FerrickRecordReader>;

TEST_F(FerrickTest, FillsThePartInItsOrderThenConvertsTheHoleLines)
{
    FerrickRecord record;
    record.holes = {"10 4 2", "48 1 20 A_1"};
    const ReadResult result = convert(record.text());
    ASSERT_EQ(result.hr, S_OK) << result.text;
    EXPECT_EQ(result.part->texts(),
              (std::vector<std::string>{
                  "put_JobId(J1)", "put_Group(G1)", "put_Mark(B1)", "put_Length(240)",
                  "put_Quantity(2)", "put_Section(W)", "put_SectionDescription(1226)",
                  "SetTFNearHole(10, 2, 0.2, 0, T2, 0)", "SetWebStencil(48, 1, A_1)"}));
}

TEST_F(FerrickTest, StoresTextsWithBlanksForUnderscoresAndNoTrailingBlanks)
{
    struct Case {
        const char* name;
        std::function<void(FerrickRecord&)> write;
        const char* put;
    };
    const Case cases[] = {
        {"group _", [](FerrickRecord& r) { r.group = "_"; }, "put_Group(NONE)"},
        {"group A_B", [](FerrickRecord& r) { r.group = "A_B"; }, "put_Group(A B)"},
        {"group __", [](FerrickRecord& r) { r.group = "__"; }, "put_Group()"},
        {"job 12_", [](FerrickRecord& r) { r.job = "12_"; }, "put_JobId(12)"},
        {"mark _7", [](FerrickRecord& r) { r.mark = "_7"; }, "put_Mark( 7)"},
        {"mark B_1_", [](FerrickRecord& r) { r.mark = "B_1_"; }, "put_Mark(B 1)"},
        {"section FL", [](FerrickRecord& r) { r.section = "FL"; }, "put_Section(FB)"},
        {"section fl", [](FerrickRecord& r) { r.section = "fl"; }, "put_Section(fl)"},
        {"section W_", [](FerrickRecord& r) { r.section = "W_"; }, "put_Section(W)"},
        {"section FL_", [](FerrickRecord& r) { r.section = "FL_"; }, "put_Section(FL)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FerrickRecord record;
        c.write(record);
        const ReadResult result = convert(record.text());
        ASSERT_EQ(result.hr, S_OK) << result.text;
        const auto& calls = result.part->texts();
        EXPECT_NE(std::find(calls.begin(), calls.end(), c.put), calls.end());
    }
}

TEST_F(FerrickTest, NamesAToolWithoutShapeFromItsSizes)
{
    struct Case {
        const char* tool;
        const char* hole;
    };
    const Case cases[] = {
        {"0.8125 0 _", "SetWebHole(1, 2, 0.8125, 0, RD, 0)"},
        {"0.8125 1.5 _", "SetWebHole(1, 2, 0.8125, 1.5, SL, 0)"},
        {"0 1.5 _", "SetWebHole(1, 2, 0, 1.5, , 0)"},
        {"0.8125 1.5 ER", "SetWebHole(1, 2, 0.8125, 1.5, ER, 0)"},
        {"0.8125 0 H_C", "SetWebHole(1, 2, 0.8125, 0, H C, 0)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tool);
        FerrickRecord record;
        record.tools = std::string(c.tool) + " 0 0 _ 0 0 _ 0 0 _ 0 0 _";
        record.holes = {"1 2 1"};
        const ReadResult result = convert(record.text());
        ASSERT_EQ(result.hr, S_OK) << result.text;
        EXPECT_EQ(result.part->operations(), std::vector<std::string>{c.hole});
    }
}

TEST_F(FerrickTest, TheDimensionFieldGivesItsNumbersByTheSection)
{
    struct Case {
        const char* field;
        int count;
        const char* section;
        double dim1, dim2;
    };
    const Case cases[] = {
        {"   3X.25", 8, "L", 3, 0.25}, {"4X3X.25 ", 8, "L", 3, 0.25},
        {" .5X8   ", 8, "PL", 0.5, 8}, {"  10X49 ", 8, "W", 49, 0},
        {"     26 ", 8, "W", 26, 0},   {"   .5   ", 8, "FB", 0.5, 0},
        {"   3x.25", 8, "L", 3, 0.25}, {"  abc   ", 8, "W", 0, 0},
        {"        ", 8, "L", 0, 0},    {" 1\n2X3  ", 8, "L", 1, 3},
        {"  1,5X2 ", 8, "L", 1, 2},    {" 4X", 3, "L", 4, 0},
        {"  4X3   ", 8, "l", 3, 0},    {"12345678", 8, "W", 12345678, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("'") + c.field + "' " + c.section);
        double dim1 = -1;
        double dim2 = -1;
        FerrickRecordReader::ParseDimensionField(c.field, c.count, c.section, &dim1, &dim2);
        EXPECT_DOUBLE_EQ(dim1, c.dim1);
        EXPECT_DOUBLE_EQ(dim2, c.dim2);
    }
}

TEST_F(FerrickTest, DescribesEachSectionKindByItsRow)
{
    struct Case {
        const char* section;
        double depth, dim1, dim2;
        const char* description;
    };
    const Case cases[] = {
        {"L", 4, 3, 0.25, "43014"},    {"L  ", 4, 3, 0.25, "43014"}, {"FB", 4, 0.5, 0, "0124"},
        {"FB", 3, 0.375, 0, "0383"},   {"PL", 12, 0.5, 8, "8X12"},   {"C", 10, 15.3, 0, "1015.3"},
        {"MC", 18, 42.7, 0, "1842.7"}, {"W", 10, 49, 0, "1049"},     {"W", 12, 26, 0, "1226"},
        {"fl", 4, 0.5, 0, "405"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("'") + c.section + "'");
        CString description;
        EXPECT_EQ(FerrickRecordReader::BuildSectionDescription(c.section, c.depth, c.dim1, c.dim2,
                                                               &description),
                  0);
        EXPECT_STREQ(description, c.description);
    }
}

// A flat bar's field holds its thickness: the description shows it first,
// as the other systems' flat bars do, and is found in the catalog.
TEST_F(FerrickTest, DescribesAFlatBarByTheFieldsNumberAndItsDepth)
{
    for (const char* section : {"FB", "FL"}) {
        SCOPED_TRACE(section);
        FerrickRecord record;
        record.section = section;
        record.depth = "4";
        record.field = "    .5  ";
        const ReadResult result = convert(record.text());
        ASSERT_EQ(result.hr, S_OK) << result.text;
        EXPECT_EQ(result.part->texts().at(5), "put_Section(FB)");
        EXPECT_EQ(result.part->texts().at(6), "put_SectionDescription(0124)");
    }
}

TEST_F(FerrickTest, AFileEndingInsideTheFieldFailsAtTheQuantity)
{
    const std::string path = writeFile("J1 G1 B1 240 W 12   2");
    ASSERT_EQ(setFile(path), S_OK);
    const ReadResult result = read();
    EXPECT_EQ(result.hr, E_CONVERT_UNEXPECTED_EOF);
    EXPECT_EQ(result.text, "Unexpected end of file. Unexpected EOF while reading part\r\n"
                           "File Name:" +
                               path + "\r\nLine:1");
    EXPECT_TRUE(result.part->log.empty());
}

} // namespace

// The field starts behind the one blank that ends the depth token, so a
// field may begin with its number and one that fills all eight characters
// leaves the quantity in place.
TEST_F(FerrickTest, TheFieldIsTheEightCharactersBehindTheDepthsBlank)
{
    struct Case {
        const char* section;
        const char* depth;
        const char* field;
        const char* description;
    };
    const Case cases[] = {
        {"PL", "12", ".5X8    ", "8X12"},
        {"L", "4", "   3X.25", "43014"},
        {"W", "10", "  10X49 ", "1049"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.section) + " '" + c.field + "'");
        FerrickRecord record;
        record.section = c.section;
        record.depth = c.depth;
        record.field = c.field;
        const ReadResult result = convert(record.text());
        ASSERT_EQ(result.hr, S_OK) << result.text;
        EXPECT_EQ(result.part->texts().at(4), "put_Quantity(2)");
        EXPECT_EQ(result.part->texts().at(6),
                  std::string("put_SectionDescription(") + c.description + ")");
    }
}
