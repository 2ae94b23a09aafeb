// The number syntax of the number reads and the token quoting of their
// messages. Parsing is locale-independent (std::from_chars).
#include "TextRules.h"

#include <charconv>

namespace vlmr_detail {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::size_t skipDigits(std::string_view text, std::size_t i)
{
    while (i < text.size() && isDigit(text[i]))
        ++i;
    return i;
}

std::string_view withoutPlus(std::string_view number)
{
    if (!number.empty() && number.front() == '+')
        number.remove_prefix(1);
    return number;
}

} // namespace

std::size_t scanDouble(std::string_view text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t wholeEnd = skipDigits(text, i);
    std::size_t digits = wholeEnd - i;
    i = wholeEnd;
    if (i < text.size() && text[i] == '.') {
        std::size_t fractionEnd = skipDigits(text, i + 1);
        digits += fractionEnd - (i + 1);
        if (digits > 0)
            i = fractionEnd;
    }
    if (digits == 0)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t k = i + 1;
        if (k < text.size() && (text[k] == '+' || text[k] == '-'))
            ++k;
        std::size_t exponentEnd = skipDigits(text, k);
        if (exponentEnd > k)
            i = exponentEnd;
    }
    return i;
}

std::size_t scanInteger(std::string_view text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t end = skipDigits(text, i);
    return end > i ? end : 0;
}

bool parseDouble(std::string_view number, double* value)
{
    number = withoutPlus(number);
    double v = 0;
    auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), v);
    if (ec != std::errc{} || ptr != number.data() + number.size())
        return false;
    *value = v;
    return true;
}

bool parseInteger(std::string_view number, int* value)
{
    number = withoutPlus(number);
    int v = 0;
    auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), v);
    if (ec != std::errc{} || ptr != number.data() + number.size())
        return false;
    *value = v;
    return true;
}

std::string quotedWord(std::string_view text)
{
    constexpr std::size_t limit = 40;
    std::size_t start = 0;
    while (start < text.size() && isWhiteSpace(text[start]))
        ++start;
    std::size_t end = start;
    while (end < text.size() && !isWhiteSpace(text[end]))
        ++end;
    std::string quoted = "\"";
    for (std::size_t i = start; i < end && i - start < limit; ++i)
        quoted += static_cast<unsigned char>(text[i]) < 0x20 ? '?' : text[i];
    if (end - start > limit)
        quoted += "...";
    return quoted + "\"";
}

} // namespace vlmr_detail
