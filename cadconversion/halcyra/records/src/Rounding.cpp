// Rounding to fractions of an inch.
#include "halcyra/Rounding.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {
// Cuts toward zero through a 32-bit integer; false when the value does not
// fit (NaN included), where the conversion would be undefined.
bool truncateTo32(double value, double& truncated)
{
    constexpr double lowest = static_cast<double>(std::numeric_limits<std::int32_t>::min());
    constexpr double highest = static_cast<double>(std::numeric_limits<std::int32_t>::max());
    if (!(value > lowest - 1.0 && value < highest + 1.0))
        return false;
    truncated = static_cast<double>(static_cast<std::int32_t>(value));
    return true;
}
} // namespace

// Rounded down, not cut toward zero: cutting would move a negative size
// that is already a multiple of 1/n by another 1/n on every call.
int RoundToFraction(int n, double& value)
{
    double scaled = n * value;
    scaled = scaled + 0.5;
    double truncated = 0;
    if (truncateTo32(std::floor(scaled), truncated))
        value = truncated / n;
    return 0;
}

void RoundToSixtyFourth(double& value)
{
    const double shifted = (value + 1.0 / 128.0) * 64.0;
    double truncated = 0;
    if (truncateTo32(shifted, truncated))
        value = truncated / 64.0;
}
