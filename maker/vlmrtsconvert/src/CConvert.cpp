// The inch formatters: rounding to a fraction or to four decimals, and the
// cut copy into the caller's buffer.
#include "vlmrtsconvert/CConvert.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <string>

namespace {

constexpr int defaultDenominator = 16;
// Values a hair below a half (from a conversion such as mm / 25.4) still
// round away from zero.
constexpr double halfTolerance = 1e-9;
// 2^53: above it a double holds whole numbers only.
constexpr double exactLimit = 9007199254740992.0;

// |value| in whole units of 1/denominator, and the text of its sign.
struct Rounded {
    bool valid;
    std::string sign;
    double whole;   // whole inches
    long long part; // units of 1/denominator below the whole
};

Rounded roundTo(double value, int denominator)
{
    if (!std::isfinite(value))
        return {false, "", 0, 0};
    double units = std::floor(std::fabs(value) * denominator + 0.5 + halfTolerance);
    if (!std::isfinite(units))
        return {false, "", 0, 0};
    if (units >= exactLimit) { // no parts below the whole are representable any more
        double whole = std::floor(std::fabs(value) + 0.5);
        return {true, value < 0 ? "-" : "", whole, 0};
    }
    double part = std::fmod(units, denominator);
    return {true, (value < 0 && units > 0) ? "-" : "", (units - part) / denominator,
            static_cast<long long>(part)};
}

std::string wholeText(double whole)
{
    char text[400];
    std::snprintf(text, sizeof text, "%.0f", whole);
    return text;
}

void put(const std::string& text, char* buffer, int size)
{
    if (!buffer || size < 1)
        return;
    std::size_t n = std::min(text.size(), static_cast<std::size_t>(size) - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

std::string fraction(double value, int denominator, bool delimits)
{
    if (denominator < 1)
        denominator = defaultDenominator;
    Rounded r = roundTo(value, denominator);
    if (!r.valid)
        return "";
    long long numerator = r.part;
    long long divisor =
        numerator == 0 ? 1 : std::gcd(numerator, static_cast<long long>(denominator));
    numerator /= divisor;
    std::string reduced =
        std::to_string(numerator) + (delimits ? "/" : "") + std::to_string(denominator / divisor);
    if (!delimits)
        return r.sign + wholeText(r.whole) + (numerator ? reduced : "");
    if (numerator == 0)
        return r.sign + wholeText(r.whole);
    if (r.whole == 0)
        return r.sign + reduced;
    return r.sign + wholeText(r.whole) + "-" + reduced;
}

std::string decimal(double value, bool delimits)
{
    Rounded r = roundTo(value, 10000);
    if (!r.valid)
        return "";
    std::string text = r.sign + wholeText(r.whole);
    if (r.part == 0)
        return text;
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04lld", r.part);
    std::string decimals(digits);
    decimals.erase(decimals.find_last_not_of('0') + 1);
    return text + (delimits ? "." : "") + decimals;
}

} // namespace

void CConvert::DoubleToInchFrac(double value, char* buffer, int size)
{
    put(fraction(value, defaultDenominator, true), buffer, size);
}

void CConvert::DoubleToInchFrac(double value, char* buffer, int size, int denominator)
{
    put(fraction(value, denominator, true), buffer, size);
}

void CConvert::DoubleToInchFracNoDelimits(double value, char* buffer, int size)
{
    put(fraction(value, defaultDenominator, false), buffer, size);
}

void CConvert::DoubleToInchFracNoDelimits(double value, char* buffer, int size, int denominator)
{
    put(fraction(value, denominator, false), buffer, size);
}

void CConvert::DoubleToInchDecimal(double value, char* buffer, int size)
{
    put(decimal(value, true), buffer, size);
}

void CConvert::DoubleToInchDecimalNoDelimits(double value, char* buffer, int size)
{
    put(decimal(value, false), buffer, size);
}
