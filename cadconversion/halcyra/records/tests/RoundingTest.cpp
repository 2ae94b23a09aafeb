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
        {-0.5, -0.5},                                      // a sixteenth stays one
        {-0.53125, -0.5},                                  // half goes up
        {-0.47, -0.5},     {1e12, 1e12},                   // beyond 32 bits: left alone
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

// A size already rounded must not move again: every save rounds it.
TEST(Rounding, RoundingARoundedValueChangesNothing)
{
    for (double value : {-0.5, -0.4375, -0.47, -0.03, -1.0, -3.96875, 0.81, 1.03125, 2.5, 0.0}) {
        SCOPED_TRACE(value);
        double once = value;
        RoundToFraction(16, once);
        double twice = once;
        RoundToFraction(16, twice);
        EXPECT_EQ(twice, once);
        EXPECT_EQ(once * 16, static_cast<double>(static_cast<int>(once * 16)));
    }
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
