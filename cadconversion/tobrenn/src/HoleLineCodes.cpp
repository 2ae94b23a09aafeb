// The machine part file's text rules for tool tokens and hole codes.
#include "HoleLineCodes.h"

#include "vlmrexcept/CvmException.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::size_t digitsFrom(std::string_view text, std::size_t at)
{
    while (at < text.size() && isDigit(text[at]))
        ++at;
    return at;
}

[[noreturn]] void throwOutOfRange(std::string_view text)
{
    CNumericConversionException error;
    error.SetMessage(
        ("Number out of range: \"" + std::string(text.substr(0, 40)) + "\". ").c_str());
    throw error;
}

} // namespace

double LeadingNumber(std::string_view text)
{
    std::size_t start = 0;
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        start = 1;
    }
    std::size_t end = digitsFrom(text, start);
    bool digits = end > start;
    if (end < text.size() && text[end] == '.') {
        const std::size_t fraction = digitsFrom(text, end + 1);
        if (fraction > end + 1 || digits) {
            digits = digits || fraction > end + 1;
            end = fraction;
        }
    }
    if (!digits)
        return 0;
    double value = 0;
    const auto [stop, error] =
        std::from_chars(text.data() + start, text.data() + end, value, std::chars_format::fixed);
    if (error == std::errc::result_out_of_range || !std::isfinite(value))
        throwOutOfRange(text);
    if (error != std::errc() || stop != text.data() + end)
        return 0;
    return negative ? -value : value;
}

int LeadingInteger(std::string_view text)
{
    std::size_t start = 0;
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        start = 1;
    }
    const std::size_t end = digitsFrom(text, start);
    int value = 0;
    if (std::from_chars(text.data() + start, text.data() + end, value).ec != std::errc())
        return 0;
    return negative ? -value : value;
}

int FindDimensionSeparator(const char* text)
{
    const char* x = std::strchr(text, 'X');
    if (!x)
        x = std::strchr(text, 'x');
    return x ? static_cast<int>(x - text) : -1;
}

void ParseToolToken(const CString& token, double* dSize1, double* dSize2, CString* shape)
{
    const std::string_view text(token, static_cast<std::size_t>(token.GetLength()));
    const int x = FindDimensionSeparator(token);
    if (x < 0) {
        *dSize1 = LeadingNumber(text);
        *dSize2 = 0;
        *shape = "RD";
        return;
    }
    *dSize1 = LeadingNumber(text.substr(0, static_cast<std::size_t>(x)));
    *dSize2 = LeadingNumber(text.substr(static_cast<std::size_t>(x) + 1));
    *shape = "SL";
}

void SplitCodedValue(double* dValue, CString* code)
{
    // A double prints with at most 309 digits before the point.
    char printed[400];
    std::snprintf(printed, sizeof printed, "%20.5f", *dValue);
    const char* point = std::strchr(printed, '.');
    if (!point) {
        code->Empty();
        return;
    }
    *code = CString(point + 1, 4);
    const std::string whole(printed, static_cast<std::size_t>(point - printed));
    *dValue = std::strtod(whole.c_str(), nullptr);
    if (*dValue == 0)
        *dValue = 0; // "-0" counts as 0
}

void SplitFaceToolCode(const CString& code, int* nFace, int* nTool)
{
    const CString face = code.Left(2);
    const CString tool = code.Right(2);
    *nFace = LeadingInteger(std::string_view(face, static_cast<std::size_t>(face.GetLength())));
    *nTool = LeadingInteger(std::string_view(tool, static_cast<std::size_t>(tool.GetLength())));
}

double RoundToFraction(double x, int n)
{
    // std::trunc in place of the conversion to int: the same value, and no
    // overflow for a value outside the int range.
    return std::trunc(n * x + 0.5) / n;
}
