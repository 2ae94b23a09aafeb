// CConvert: inch values as the texts of shape descriptions.
//
// Fractions: the value is rounded to the nearest 1/d (d = 16 when no
// denominator is passed; a denominator below 1 counts as 16), halves away
// from zero, and the fraction is reduced.
//   DoubleToInchFrac:            6 -> "6", 0.5 -> "1/2", 3.5 -> "3-1/2"
//   DoubleToInchFracNoDelimits:  6 -> "6", 0.5 -> "012", 3.5 -> "312",
//                                0.25 -> "014" (the whole always, then
//                                numerator and denominator)
// Decimals: rounded to four decimals, halves away from zero, written
// without exponent and without trailing zeros.
//   DoubleToInchDecimal:           26 -> "26", 15.3 -> "15.3"
//   DoubleToInchDecimalNoDelimits: 26 -> "26", 15.3 -> "153"
// A negative value starts with '-' unless it rounds to 0; a value that is
// not finite gives the empty text.
//
// Every formatter writes at most size - 1 characters and a NUL into
// buffer; a longer text is cut. Nothing is written when buffer is null or
// size is below 1.
#pragma once

class CConvert {
public:
    static void DoubleToInchFrac(double value, char* buffer, int size);
    static void DoubleToInchFrac(double value, char* buffer, int size, int denominator);
    static void DoubleToInchFracNoDelimits(double value, char* buffer, int size);
    static void DoubleToInchFracNoDelimits(double value, char* buffer, int size, int denominator);
    static void DoubleToInchDecimal(double value, char* buffer, int size);
    static void DoubleToInchDecimalNoDelimits(double value, char* buffer, int size);
};
