// The small text rules of the machine part file: the tool token, the face
// and tool code in the decimals of a hole position, the leading number of a
// text and the rounding to a fraction of an inch.
#pragma once

#include "vlmrlib/CString.h"

#include <string_view>

// The leading decimal number of text ([+-] digits [. digits]); 0 when the
// text does not begin with one. A number too large for a double throws
// CNumericConversionException naming the text.
double LeadingNumber(std::string_view text);

// The integer a text begins with ([+-] digits), 0 when it begins with none.
// Meant for the one- and two-digit codes of a hole line.
int LeadingInteger(std::string_view text);

// Index of the first "X", else of the first "x", else -1.
int FindDimensionSeparator(const char* text);

// Tool token of the header, as its numbers stand in the file: "22" a round
// tool of size 22, "22X40" a slot of 22 by 40.
void ParseToolToken(const CString& token, double* dSize1, double* dSize2, CString* shape);

// Prints *dValue with "%20.5f": *dValue becomes the number before the
// point (sign kept, fraction dropped) and *code the first four of the five
// decimals: 50800.1011 gives 50800 and "1011", 50800.1 gives "1000".
void SplitCodedValue(double* dValue, CString* code);

// Face: the integer of the code's first two characters; tool: of its last
// two ("1011" gives 10 and 11).
void SplitFaceToolCode(const CString& code, int* nFace, int* nTool);

// x rounded to the nearest 1/n: int(n x + 0.5) / n, cut toward zero.
double RoundToFraction(double x, int n);
