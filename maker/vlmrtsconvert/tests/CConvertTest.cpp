// The inch formatters: fractions and decimals, rounding at the halves,
// signs, and cut buffers.
#include "vlmrtsconvert/CConvert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

using Formatter = void (*)(double, char*, int);

std::string format(Formatter f, double value)
{
    char buffer[24];
    std::memset(buffer, '#', sizeof buffer);
    f(value, buffer, sizeof buffer);
    return buffer;
}

std::string frac(double value, int denominator, bool delimits)
{
    char buffer[24];
    Formatter plain = delimits ? Formatter(CConvert::DoubleToInchFrac)
                               : Formatter(CConvert::DoubleToInchFracNoDelimits);
    if (denominator == 0)
        plain(value, buffer, 24);
    else if (delimits)
        CConvert::DoubleToInchFrac(value, buffer, 24, denominator);
    else
        CConvert::DoubleToInchFracNoDelimits(value, buffer, 24, denominator);
    return buffer;
}

const double notANumber = std::numeric_limits<double>::quiet_NaN();
const double inf = std::numeric_limits<double>::infinity();

} // namespace

TEST(CConvert, FractionsRoundToTheNearestPartAndReduce)
{
    struct Case {
        double value;
        int denominator; // 0: the form without a denominator (16)
        const char* withDelimits;
        const char* withoutDelimits;
    } cases[] = {
        {6, 0, "6", "6"},
        {0.5, 0, "1/2", "012"},
        {3.5, 0, "3-1/2", "312"},
        {0.25, 0, "1/4", "014"},
        {0, 0, "0", "0"},
        {0.99, 0, "1", "1"},
        {0.03125, 0, "1/16", "0116"},        // 1/32: a half rounds up
        {0.0312, 0, "0", "0"},               // just below the half
        {0.09375, 0, "1/8", "018"},          // 3/32 -> 2/16 -> 1/8
        {3.175 / 25.4, 0, "1/8", "018"},     // 3.175 mm
        {0.79375 / 25.4, 0, "1/16", "0116"}, // 1/32 inch from mm, a hair below the half
        {-0.5, 0, "-1/2", "-012"},
        {-3.5, 0, "-3-1/2", "-312"},
        {-0.03125, 0, "-1/16", "-0116"}, // halves go away from zero
        {-0.01, 0, "0", "0"},            // rounds to zero: no sign
        {10 / 25.4, 32, "13/32", "01332"},
        {0.015625, 32, "1/32", "0132"},
        {12.5, 32, "12-1/2", "1212"},
        {0.75, 4, "3/4", "034"},
        {0.5, 0 - 1, "1/2", "012"}, // a denominator below 1 counts as 16
        {0.03125, -1, "1/16", "0116"},
        {1e20, 0, "100000000000000000000", "100000000000000000000"},
        {notANumber, 0, "", ""},
        {inf, 16, "", ""},
        {-inf, 0, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " /" << c.denominator);
        EXPECT_EQ(frac(c.value, c.denominator, true), c.withDelimits);
        EXPECT_EQ(frac(c.value, c.denominator, false), c.withoutDelimits);
    }
}

TEST(CConvert, AngleDescriptionIsTheThreeFractionsRunTogether)
{
    std::string description = format(CConvert::DoubleToInchFracNoDelimits, 4) +
                              format(CConvert::DoubleToInchFracNoDelimits, 3) +
                              format(CConvert::DoubleToInchFracNoDelimits, 0.25);
    EXPECT_EQ(description, "43014");
}

TEST(CConvert, DecimalsAreShortestWithAtMostFourPlaces)
{
    struct Case {
        double value;
        const char* withPoint;
        const char* withoutPoint;
    } cases[] = {
        {26, "26", "26"},
        {15.3, "15.3", "153"},
        {0.5, "0.5", "05"},
        {1.10, "1.1", "11"},
        {2.0001, "2.0001", "20001"},
        {0.00005, "0.0001", "00001"}, // a half rounds up
        {0.00004999, "0", "0"},
        {12.34565, "12.3457", "123457"},
        {-2.5, "-2.5", "-25"},
        {-0.00001, "0", "0"},
        {0, "0", "0"},
        {1e20, "100000000000000000000", "100000000000000000000"},
        {notANumber, "", ""},
        {inf, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(format(CConvert::DoubleToInchDecimal, c.value), c.withPoint);
        EXPECT_EQ(format(CConvert::DoubleToInchDecimalNoDelimits, c.value), c.withoutPoint);
    }
}

TEST(CConvert, EveryFormatterCutsItsTextToTheBufferAndWritesNoFurther)
{
    struct Case {
        const char* name;
        Formatter f;
        double value;
        const char* full;
    } cases[] = {
        {"Frac", CConvert::DoubleToInchFrac, -3.5, "-3-1/2"},
        {"FracNoDelimits", CConvert::DoubleToInchFracNoDelimits, -3.5, "-312"},
        {"Decimal", CConvert::DoubleToInchDecimal, -15.3125, "-15.3125"},
        {"DecimalNoDelimits", CConvert::DoubleToInchDecimalNoDelimits, -15.3125, "-153125"},
        {"Frac huge", CConvert::DoubleToInchFrac, 1e30, "1000000000000000019884624838656"},
    };
    for (const Case& c : cases) {
        const std::string full = c.full;
        for (int size = 1; size <= 24; ++size) {
            SCOPED_TRACE(testing::Message() << c.name << " size " << size);
            char buffer[32];
            std::memset(buffer, '#', sizeof buffer);
            c.f(c.value, buffer, size);
            EXPECT_EQ(std::string(buffer), full.substr(0, static_cast<std::size_t>(size - 1)));
            for (std::size_t i = static_cast<std::size_t>(size); i < sizeof buffer; ++i)
                ASSERT_EQ(buffer[i], '#') << "written past the buffer at " << i;
        }
        char untouched = '#';
        c.f(c.value, &untouched, 0);
        EXPECT_EQ(untouched, '#');
        c.f(c.value, nullptr, 24);
    }
}
