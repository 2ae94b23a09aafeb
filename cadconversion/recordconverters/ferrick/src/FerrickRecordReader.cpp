// FerrickRecordReader: the text fix, the depth and dimension field, and the
// section description of the Ferrick records.
#include "FerrickRecordReader.h"

#include "recordconverters/InchText.h"

#include <cstdlib>
#include <locale.h>
#include <string>
#include <utility>

namespace {

constexpr RecordReader::Format kFerrickFormat{CTool::ShapeRule::FromSizes, true,
                                              ".\\FerrickConvert", 673};

// The longest number at the start of text after leading white space, 0.0
// when there is none; the point is a point whatever the process's locale.
double leadingNumber(const std::string& text)
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
    return strtod_l(text.c_str(), nullptr, c);
}

} // namespace

FerrickRecordReader::FerrickRecordReader(PartCreator createPart)
    : RecordReader(kFerrickFormat, std::move(createPart))
{
}

CString FerrickRecordReader::FixRecordText(const CString& token)
{
    std::string text(static_cast<const char*>(token));
    for (auto c = text.rbegin(); c != text.rend(); ++c)
        if (*c == '_')
            *c = ' ';
    CString fixed(text.c_str());
    fixed.TrimRight();
    return fixed;
}

void FerrickRecordReader::ParseDimensionField(const char* field, int count, const CString& section,
                                              double* dim1, double* dim2)
{
    *dim1 = 0.0;
    *dim2 = 0.0;
    std::string strData;
    for (int i = 0; i < count; ++i) {
        const char cReadData = field[i];
        if (cReadData == 'X' || cReadData == 'x') {
            *dim1 = leadingNumber(strData);
            strData.clear();
        } else {
            strData += cReadData;
        }
    }
    if (section == "L" || section == "PL")
        *dim2 = leadingNumber(strData);
    else
        *dim1 = leadingNumber(strData);
}

// The field is the 8 characters behind the one blank that ends the depth
// token (".5X8" can follow "12 " directly). A file that ends inside the
// field is not noticed here: the quantity read behind it finds the end.
CString FerrickRecordReader::ReadSectionDescription(const CString& section)
{
    const double depth = readDouble();
    char delimiter = 0;
    m_File.Read(&delimiter, 1);
    char field[8];
    int count = 0;
    for (int i = 0; i < 8; ++i) {
        char cReadData = 0;
        if (m_File.Read(&cReadData, 1) == 1)
            field[count++] = cReadData;
    }
    double dim1 = 0.0;
    double dim2 = 0.0;
    ParseDimensionField(field, count, section, &dim1, &dim2);
    CString description;
    BuildSectionDescription(section, depth, dim1, dim2, &description);
    return description;
}

int FerrickRecordReader::BuildSectionDescription(const CString& section, double a, double b,
                                                 double c, CString* description)
{
    using namespace inchtext;
    CString strDesctp = section;
    strDesctp.TrimRight();
    if (strDesctp == "L")
        *description = fractionNoDelimits(a) + fractionNoDelimits(b) + fractionNoDelimits(c);
    else if (strDesctp == "FB")
        *description = fractionNoDelimits(b) + fractionNoDelimits(a);
    else if (strDesctp == "PL")
        *description = fraction(c) + "X" + fraction(a);
    else if (strDesctp == "C" || strDesctp == "MC")
        *description = fractionNoDelimits(a) + decimal(b);
    else
        *description = fractionNoDelimits(a) + decimalNoDelimits(b);
    return 0;
}
