// Tests of the rounding to 1/16 and 1/64 inch.
#include "halcyra/Rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct Case {
    double in;
    double out;
};

TEST(Rounding, RoundToFractionSixteenths)
{
    const Case cases[] = {
        {1.03125, 1.0625}, // half goes up
        {0.81, 0.8125},    {0.8125, 0.8125}, {1.0, 1.0},   {0.03, 0.0},
        {0.001, 0.0},      {0.0, 0.0},       {-0.01, 0.0}, // shifted to 0.34, cut to 0
        {-0.5, -0.4375},                                   // -7.5 is cut toward zero to -7
        {1e12, 1e12},                                      // beyond 32 bits: left alone
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        double value = c.in;
        EXPECT_EQ(RoundToFraction(16, value), 0);
        EXPECT_EQ(value, c.out);
    }
    double nan = std::numeric_limits<double>::quiet_NaN();
    RoundToFraction(16, nan);
    EXPECT_TRUE(std::isnan(nan));
}

TEST(Rounding, RoundToSixtyFourth)
{
    const Case cases[] = {
        {1.0078125, 1.015625}, {2.99, 2.984375},   {1.0, 1.0},   {0.0, 0.0},
        {-0.01, 0.0},          {-0.03, -0.015625}, {1e12, 1e12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        double value = c.in;
        RoundToSixtyFourth(value);
        EXPECT_EQ(value, c.out);
    }
}

} // namespace
