// DSTVPartReader: the section name and size text of a profile text
// ("HEB400" gives "HEB" and "400", "W12X26" gives "W" and "1226").
#include "DSTVPartReader.h"

#include "vlmrtsconvert/CConvert.h"

namespace {

bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The inch formatters write into a buffer of this size.
constexpr int kInchTextSize = 24;

CString inchFraction(double inches, int denominator)
{
    char buffer[kInchTextSize];
    CConvert::DoubleToInchFrac(inches, buffer, kInchTextSize, denominator);
    return CString(buffer);
}

CString inchFractionNoDelimits(double inches, int denominator)
{
    char buffer[kInchTextSize];
    CConvert::DoubleToInchFracNoDelimits(inches, buffer, kInchTextSize, denominator);
    return CString(buffer);
}

} // namespace

void DSTVPartReader::ParseProfileName(const CString& profile, CString* section,
                                      CString* description, LONG bIsMetric)
{
    section->Empty();
    description->Empty();
    const int length = profile.GetLength();
    int at = 0;
    while (at < length && isLetter(profile.GetAt(at)))
        *section += profile.GetAt(at++);
    if (at < length && profile.GetAt(at) == ' ')
        ++at;

    CString lower = *section;
    if (lower.MakeLower() == "flat")
        *section = "FB";

    if (*section == "HEA" || *section == "hea" || *section == "HE" || *section == "he") {
        *section = "W";
        *description = profile;
        return;
    }
    const char first = section->GetAt(0);
    if ((first == 'P' || first == 'p') && bIsMetric == 0) {
        *section = "PL";
        *description = inchFraction(m_dWebThickness, 32) + "X" + inchFraction(m_dProfileHeight, 32);
        return;
    }
    if (*section == "L" && bIsMetric != 1) {
        *description = inchFractionNoDelimits(m_dProfileHeight, 16) +
                       inchFractionNoDelimits(m_dFlangeWidth, 16) +
                       inchFractionNoDelimits(m_dWebThickness, 16);
        return;
    }
    for (; at < length; ++at) {
        const char c = profile.GetAt(at);
        if (isDigit(c) || c == '.')
            *description += c;
        else if (!isLetter(c) && c != '/')
            break;
    }
}
