// ShapeSizeRecordReader: the three dimension numbers and the shape size
// text of the Ambrel and Tolvin records.
#include "recordconverters/ShapeSizeRecordReader.h"

#include "recordconverters/InchText.h"

#include <utility>

ShapeSizeRecordReader::ShapeSizeRecordReader(const Format& format, PartCreator createPart)
    : RecordReader(format, std::move(createPart))
{
}

CString ShapeSizeRecordReader::ReadSectionDescription(const CString& section)
{
    const double d1 = readDouble();
    const double d2 = readDouble();
    const double d3 = readDouble();
    CString description;
    BuildShapeSize(section, d1, d2, d3, &description);
    return description;
}

int ShapeSizeRecordReader::BuildShapeSize(const CString& section, double d1, double d2, double d3,
                                          CString* description)
{
    using namespace inchtext;
    if (section == "L")
        *description = fractionNoDelimits(d1) + fractionNoDelimits(d2) + fractionNoDelimits(d3);
    else if (section == "FB")
        *description = fractionNoDelimits(d3) + fractionNoDelimits(d1);
    else if (section == "PL")
        *description = fraction(d3) + "X" + fraction(d1);
    else if (section == "C" || section == "MC")
        *description = fractionNoDelimits(d1) + decimal(d2);
    else
        *description = fractionNoDelimits(d1) + decimalNoDelimits(d2);
    return 0;
}
