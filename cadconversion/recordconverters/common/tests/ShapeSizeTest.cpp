// BuildShapeSize: the section description of the three-number records.
#include "recordconverters/ShapeSizeRecordReader.h"

#include <gtest/gtest.h>

namespace {

TEST(BuildShapeSize, DescribesEachSectionKindByItsRow)
{
    struct Case {
        const char* section;
        double d1, d2, d3;
        const char* description;
    };
    const Case cases[] = {
        {"L", 4, 3, 0.25, "43014"},    {"L", 3.5, 3.5, 0.375, "312312038"},
        {"FB", 4, 0, 0.5, "0124"},     {"FB", 6, 99, 0.375, "0386"},
        {"PL", 12, 0, 0.5, "1/2X12"},  {"PL", 8.5, 0, 1.25, "1-1/4X8-1/2"},
        {"C", 10, 15.3, 0, "1015.3"},  {"MC", 12, 35, 0, "1235"},
        {"W", 12, 26, 0, "1226"},      {"WT", 6, 15.5, 0, "6155"},
        {"W", 12.25, 26, 0, "121426"}, {"l", 4, 3, 0.25, "43"}, // not an angle: case counts
        {"L ", 4, 3, 0.25, "43"},                               // nor with a blank behind it
        {"FL", 4, 0.5, 0.375, "405"},                           // no flat bar row of its own
        {"", 4, 3, 0.25, "43"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("'") + c.section + "'");
        CString description = "old";
        EXPECT_EQ(ShapeSizeRecordReader::BuildShapeSize(c.section, c.d1, c.d2, c.d3, &description),
                  0);
        EXPECT_STREQ(description, c.description);
    }
}

} // namespace
