// The section and its size text (the key the part's shape is looked up
// by) from a machine part's designation or from its header dimensions.
#pragma once

#include "vlmrlib/CString.h"

// Whether a designation read from the file is whole: it has a dimension
// separator ("X" or "x", else "*") with text after it; an angle ("L" or
// "l") needs two, each followed by text. W12X26 and L4X3X1/2 are whole,
// W12 and L4X3 are not.
bool IsDesignationComplete(const char* text);

// Section and description from the designation of a part whose profile
// code is "B", "C" or "MC". Answers 0 when the designation is of the W, C,
// MC, L or plate family, else 1 and leaves both unchanged:
//   W12X26 -> W / 1226, C10X15.3 -> C / 1015.3, MC12X31 -> MC / 1231,
//   L4X3X1/2 -> L / 4312, L4X3X0.5 -> L / 43012, PL12X6 -> PL / 6X12.
int ParseSectionDesignation(const CString& designation, CString* section, CString* description);

// Section and description from the profile code and the header dimensions
// (inches) of any other part:
//   "L"          L  / depth, width, thickness as fractions without delimits
//   "FB"         FB / thickness, depth as fractions without delimits
//   "PL" or "P"  PL / thickness "X" depth as fractions (1/2X6)
//   any other    W  / depth as a fraction without delimits, width as a
//                     decimal without delimits (W, HSS)
// Answers 0.
int BuildSectionSizeText(const CString& code, double dDepth, double dWidth, double dThickness,
                         CString* description, CString* section);

// An angle leg written with a decimal point, as fraction digits: the whole
// part, then numerator and denominator of the reduced decimals (3.5 gives
// 312, 0.25 gives 014). A piece whose decimals are all zero, or missing,
// is its whole part alone (3.0 gives 3).
CString DecimalToFractionText(const CString& piece);

// An angle leg written with a slash, without it (1/2 gives 12, 3-1/2
// gives 3-12).
CString SlashFractionText(const CString& piece);

// Removes the letters at the front of text (PL12 gives 12).
void StripLeadingLetters(CString* text);
