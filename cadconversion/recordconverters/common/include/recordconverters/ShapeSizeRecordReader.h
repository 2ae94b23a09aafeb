// ShapeSizeRecordReader: the records of the Ambrel and Tolvin CAD systems.
// Three plain numbers d1, d2, d3 follow the section, and every text token
// is stored as read (no underscore rule but the group's "_").
#pragma once

#include "recordconverters/RecordReader.h"

class ShapeSizeRecordReader : public RecordReader {
public:
    ShapeSizeRecordReader(const Format& format, PartCreator createPart);

    // The description of a section of size d1, d2, d3 (the section text
    // compared exactly, case and trailing blanks included):
    //   "L"        d1, d2, d3 as fractions without delimiters
    //   "FB"       d3, then d1, as fractions without delimiters
    //   "PL"       d3 as a fraction, "X", d1 as a fraction
    //   "C", "MC"  d1 as a fraction without delimiters, d2 as a decimal
    //   any other  d1 as a fraction without delimiters, d2 as a decimal
    //              without delimiters
    // Answers 0.
    static int BuildShapeSize(const CString& section, double d1, double d2, double d3,
                              CString* description);

protected:
    CString ReadSectionDescription(const CString& section) override;
};
