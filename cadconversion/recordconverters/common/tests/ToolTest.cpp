// CTool: a new slot, and the two rules for a shape text that is empty.
#include "recordconverters/Tool.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Tool, StartsWithNoSizesAndTheDefaultShape)
{
    for (CTool::ShapeRule rule : {CTool::ShapeRule::AsGiven, CTool::ShapeRule::FromSizes}) {
        const CTool tool(rule);
        EXPECT_EQ(tool.GetSize1(), 0.0);
        EXPECT_EQ(tool.GetSize2(), 0.0);
        EXPECT_STREQ(tool.GetShape(), "M");
    }
}

TEST(Tool, NamesAnEmptyShapeFromTheSizesOnlyUnderThatRule)
{
    struct Case {
        double size1, size2;
        const char* shape;
        const char* fromSizes;
        const char* asGiven;
    };
    const Case cases[] = {
        {0.75, 0, "", "RD", ""},  {0.75, 1.5, "", "SL", ""},  {0, 1.5, "", "", ""},
        {0, 0, "", "", ""},       {0.75, 0.75, "", "SL", ""}, {0.75, 1.5, "ER", "ER", "ER"},
        {0, 0, "RD", "RD", "RD"}, {-0.5, 0, "", "RD", ""},    {1e-300, 0, "", "RD", ""},
        {0.75, 0, "_", "_", "_"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.size1) + " " + std::to_string(c.size2) + " '" + c.shape +
                     "'");
        CTool fromSizes(CTool::ShapeRule::FromSizes);
        fromSizes.Set(c.size1, c.size2, c.shape);
        EXPECT_STREQ(fromSizes.GetShape(), c.fromSizes);
        EXPECT_EQ(fromSizes.GetSize1(), c.size1);
        EXPECT_EQ(fromSizes.GetSize2(), c.size2);
        CTool asGiven(CTool::ShapeRule::AsGiven);
        asGiven.Set(c.size1, c.size2, c.shape);
        EXPECT_STREQ(asGiven.GetShape(), c.asGiven);
    }
}

} // namespace
