// FerrickRecordReader: the records of the Ferrick CAD system's export file.
// The section is followed by its depth and an 8-character dimension field
// (the 8 characters right behind the depth token, the blank that ends it
// included): numbers separated by "X", such as "   3X.25" for an angle
// 3 x 1/4 or " .5X8   " for a plate. Texts write a blank as "_": the job,
// group, mark, section and tool shapes get their underscores back as
// blanks and lose trailing blanks. A tool with an empty shape is named
// from its sizes ("RD" or "SL").
#pragma once

#include "recordconverters/RecordReader.h"

class FerrickRecordReader : public RecordReader {
public:
    explicit FerrickRecordReader(PartCreator createPart = createRegisteredPart);

    // Every "_" becomes a blank, then trailing white space goes; leading
    // blanks stay ("12_" -> "12", "_7" -> " 7").
    static CString FixRecordText(const CString& token);

    // The values of a dimension field of count characters: each "X" (or
    // "x") moves the number before it into *dim1; the number behind the
    // last one goes into *dim2 for "L" and "PL", else into *dim1. A
    // missing number counts as 0.0; both start at 0.0.
    static void ParseDimensionField(const char* field, int count, const CString& section,
                                    double* dim1, double* dim2);

    // The description of a section of depth a with the field's values b
    // (dim1) and c (dim2); the section's trailing blanks are ignored:
    //   "L"        a, b, c as fractions without delimiters
    //   "FB"       b (the bar's thickness), then a, as fractions without
    //              delimiters
    //   "PL"       c as a fraction, "X", a as a fraction
    //   "C", "MC"  a as a fraction without delimiters, b as a decimal
    //   any other  a as a fraction without delimiters, b as a decimal
    //              without delimiters
    // Answers 0.
    static int BuildSectionDescription(const CString& section, double a, double b, double c,
                                       CString* description);

protected:
    CString ReadSectionDescription(const CString& section) override;
    CString FixText(const CString& token) const override { return FixRecordText(token); }
};
