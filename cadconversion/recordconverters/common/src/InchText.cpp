// The inch texts of section descriptions.
#include "recordconverters/InchText.h"

#include "vlmrtsconvert/CConvert.h"

namespace inchtext {
namespace {

constexpr int kInchTextSize = 24;

CString format(void (*formatter)(double, char*, int), double inches)
{
    char buffer[kInchTextSize];
    formatter(inches, buffer, kInchTextSize);
    return CString(buffer);
}

} // namespace

CString fraction(double inches)
{
    return format(&CConvert::DoubleToInchFrac, inches);
}

CString fractionNoDelimits(double inches)
{
    return format(&CConvert::DoubleToInchFracNoDelimits, inches);
}

CString decimal(double inches)
{
    return format(&CConvert::DoubleToInchDecimal, inches);
}

CString decimalNoDelimits(double inches)
{
    return format(&CConvert::DoubleToInchDecimalNoDelimits, inches);
}

} // namespace inchtext
