// Section and description texts of the machine part file's designations
// and header dimensions.
#include "SectionDesignation.h"

#include "HoleLineCodes.h"

#include "vlmrtsconvert/CConvert.h"

#include <cstdint>
#include <numeric>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t npos = std::string_view::npos;

bool isAngleLetter(char c)
{
    return c == 'L' || c == 'l';
}

bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The dimension separators of one text, found front to back: each search
// starts where the last one left off, so walking a long text is linear.
class SeparatorWalk {
public:
    explicit SeparatorWalk(std::string_view text) : m_text(text), m_lastUpper(text.rfind('X')) {}

    // The first "X" at or after from, else the first "x" there; npos when
    // neither is left.
    std::size_t next(std::size_t from) const
    {
        if (m_lastUpper != npos && m_lastUpper >= from)
            return m_text.find('X', from);
        return m_text.find('x', from);
    }

private:
    std::string_view m_text;
    std::size_t m_lastUpper;
};

std::string_view viewOf(const CString& text)
{
    return {text, static_cast<std::size_t>(text.GetLength())};
}

CString textOf(std::string_view view)
{
    return CString(view.data(), static_cast<int>(view.size()));
}

// The characters from first up to the separator at x (exclusive), then
// those after it; without a separator all from first on.
CString withoutSeparator(std::string_view text, std::size_t first, std::size_t x)
{
    if (x == npos)
        return textOf(text.substr(std::min(first, text.size())));
    const std::size_t end = std::max(first, x);
    return textOf(text.substr(first, end - first)) + textOf(text.substr(x + 1));
}

CString legText(std::string_view piece)
{
    const CString text = textOf(piece);
    if (piece.find('.') != npos)
        return DecimalToFractionText(text);
    if (piece.find('/') != npos)
        return SlashFractionText(text);
    return text;
}

CString inchText(void (*format)(double, char*, int), double value)
{
    char buffer[24];
    format(value, buffer, sizeof buffer);
    return CString(buffer);
}

} // namespace

bool IsDesignationComplete(const char* text)
{
    const std::string_view whole(text);
    const SeparatorWalk separators(whole);
    std::size_t from = 0; // the part of the text still looked at
    for (;;) {
        const bool angle = from < whole.size() && isAngleLetter(whole[from]);
        const std::size_t x = separators.next(from);
        if (x != npos) {
            if (x + 1 < whole.size()) {
                if (!angle)
                    return true;
                from = x + 1; // an angle's next dimension must be whole too
                continue;
            }
            if (angle)
                return false;
            // A separator at the very end: a "*" may still separate.
        }
        const std::size_t star = whole.find('*', from);
        if (star == npos || star + 1 >= whole.size())
            return false;
        if (!angle)
            return true;
        from = star + 1;
    }
}

int ParseSectionDesignation(const CString& designation, CString* section, CString* description)
{
    const std::string_view text = viewOf(designation);
    const SeparatorWalk separators(text);
    const char first = designation.GetAt(0);

    if (first == 'W' || first == 'w' || first == 'C' || first == 'c') {
        *description = withoutSeparator(text, 1, separators.next(0));
        *section = designation.Left(1);
        return 0;
    }
    if (text.substr(0, 2) == "MC" || text.substr(0, 2) == "mc") {
        *description = withoutSeparator(text, 2, separators.next(0));
        *section = "MC";
        return 0;
    }
    if (isAngleLetter(first)) {
        std::size_t x = separators.next(0);
        CString legs;
        if (x == npos) {
            legs = legText(text);
        } else {
            legs = legText(text.substr(1, x - 1));
            for (std::size_t from = x + 1;; from = x + 1) {
                x = separators.next(from);
                legs += legText(text.substr(from, x == npos ? npos : x - from));
                if (x == npos)
                    break;
            }
        }
        *description = legs;
        *section = designation.Left(1);
        return 0;
    }
    if (first == 'P' || first == 'p') {
        CString rest = designation;
        CString collected;
        for (int x = FindDimensionSeparator(rest); x >= 0; x = FindDimensionSeparator(rest)) {
            collected += rest.Mid(x + 1);
            collected += "X";
            rest = rest.Left(x);
        }
        StripLeadingLetters(&rest);
        *section = "PL";
        *description = collected + rest;
        return 0;
    }
    return 1;
}

int BuildSectionSizeText(const CString& code, double dDepth, double dWidth, double dThickness,
                         CString* description, CString* section)
{
    void (*const fraction)(double, char*, int) = &CConvert::DoubleToInchFracNoDelimits;
    if (code == "L") {
        *description += inchText(fraction, dDepth) + inchText(fraction, dWidth) +
                        inchText(fraction, dThickness);
        *section = "L";
    } else if (code == "FB") {
        *description += inchText(fraction, dThickness) + inchText(fraction, dDepth);
        *section = "FB";
    } else if (code == "PL" || code == "P") {
        void (*const withDelimits)(double, char*, int) = &CConvert::DoubleToInchFrac;
        *description += inchText(withDelimits, dThickness) + "X" + inchText(withDelimits, dDepth);
        *section = "PL";
    } else {
        *description +=
            inchText(fraction, dDepth) + inchText(&CConvert::DoubleToInchDecimalNoDelimits, dWidth);
        *section = "W";
    }
    return 0;
}

CString DecimalToFractionText(const CString& piece)
{
    const int point = piece.Find('.');
    if (point < 0)
        return piece;
    const CString whole = piece.Left(point);
    const std::string_view after = viewOf(piece).substr(static_cast<std::size_t>(point) + 1);
    std::size_t count = 0;
    while (count < after.size() && after[count] >= '0' && after[count] <= '9')
        ++count;
    // Digits beyond the eighteenth are below any measure and would not fit.
    count = std::min<std::size_t>(count, 18);
    std::int64_t numerator = 0;
    std::int64_t denominator = 1;
    for (std::size_t i = 0; i < count; ++i) {
        numerator = numerator * 10 + (after[i] - '0');
        denominator *= 10;
    }
    if (numerator == 0)
        return whole;
    const std::int64_t divisor = std::gcd(numerator, denominator);
    CString text;
    text.Format("%lld%lld", static_cast<long long>(numerator / divisor),
                static_cast<long long>(denominator / divisor));
    return whole + text;
}

CString SlashFractionText(const CString& piece)
{
    const int slash = piece.Find('/');
    if (slash < 0)
        return piece;
    return piece.Left(slash) + piece.Mid(slash + 1);
}

void StripLeadingLetters(CString* text)
{
    int letters = 0;
    while (letters < text->GetLength() && isLetter(text->GetAt(letters)))
        ++letters;
    *text = text->Mid(letters);
}
