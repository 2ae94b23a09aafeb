// DSTVPartReader: the SI (marking) and BO (hole) blocks and the placement
// of stencils, holes, slots and marks on the part's faces.
//
// Surfaces: 'v' web front, 'h' web back, 'o' top flange, 'u' bottom
// flange. Positions across a face (U) are measured from the reference the
// line names ('o' top, 'u' bottom, 's' the middle); the part gets a
// reference plane start and direction plus the position from it.
#include "DSTVPartReader.h"

#include "com/ComBstr.h"
#include "vlmrexcept/CvmException.h"

#include <memory>

namespace {

bool isSurface(char c)
{
    return c == 'o' || c == 'v' || c == 'u' || c == 'h';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Where an operation stands across its face: the reference plane's start
// and direction, and the position measured from that start.
struct Across {
    double startU;
    char directionU;
    double u;
};

// The rows of the placement tables by code profile.
enum class AcrossRule {
    Angle,    // "L", web and flanges
    Standard, // web of "I", "U", "B", "M"; flanges of "I", "B", "M", "T"
    Tee,      // web of "T"
    Channel,  // flanges of "U"
};

Across placeAcross(AcrossRule rule, char reference, double extent, double u)
{
    const double half = extent / 2;
    switch (rule) {
    case AcrossRule::Angle:
        if (reference == 'o')
            return {extent, '-', extent - u};
        if (reference == 'u')
            return {0, '+', u};
        return {half, '-', extent - u - half};
    case AcrossRule::Standard:
        if (reference == 'o')
            return {0, '+', extent - u};
        if (reference == 'u')
            return {extent, '-', u};
        return {half, '-', u - half};
    case AcrossRule::Tee:
        if (reference == 'o')
            return {0, '+', u};
        if (reference == 'u')
            return {extent, '-', extent - u};
        return {half, '-', u - half};
    case AcrossRule::Channel:
        if (reference == 'o')
            return {extent, '-', extent - u};
        if (reference == 'u')
            return {0, '+', u};
        return {half, '+', u - half};
    }
    return {0, '+', u};
}

CComBSTR bstrOf(const CString& text)
{
    CComBSTR result;
    result.Attach(text.AllocSysString());
    return result;
}

} // namespace

BSTR DSTVPartReader::toolTypeText(const CString& toolType)
{
    // (CComBSTR's & gives its BSTR's address, hence std::addressof.)
    CComBSTR* text = std::addressof(m_otherToolType);
    if (toolType == "RD")
        text = std::addressof(m_roundToolType);
    else if (toolType == "SL")
        text = std::addressof(m_slotToolType);
    else if (toolType.IsEmpty())
        text = std::addressof(m_noToolType);
    if (!*text || text == std::addressof(m_otherToolType))
        *text = bstrOf(toolType);
    return *text;
}

int DSTVPartReader::FlipLProfileOrientation(char codeProfile, char surface, int* orientation)
{
    if (codeProfile == 'L' && surface == 'u')
        *orientation = 180 - *orientation;
    return 0;
}

// ---- SI ------------------------------------------------------------------------

CBreakString DSTVPartReader::readMarkingBlock()
{
    CBreakString line;
    nextBlockLine(&line);
    line.TrimLeft();
    while (isSurface(line.GetAt(0))) {
        const char surface = line.GetAt(0);
        line.Break(1);
        line.TrimLeft();
        double x = breakLength(&line);
        const char reference = line.GetAt(0);
        line.Break(1);
        line.TrimLeft();
        double u = breakLength(&line);
        line.TrimLeft();
        double angle = 0;
        line.BreakDouble(&angle);
        line.TrimLeft();
        int letterHeight = 0;
        line.BreakInteger(&letterHeight);
        line.Break(1);
        CString text;
        line.BreakText(&text);

        AddStencil(m_codeProfile, surface, reference, letterHeight / 25.4, angle, x, u, text);

        nextBlockLine(&line);
        line.TrimLeft();
    }
    return line;
}

int DSTVPartReader::AddStencil(char codeProfile, char surface, char dimensionReference,
                               double height, double angle, double x, double u, const CString& text)
{
    CComBSTR bstrText = bstrOf(text);
    switch (surface) {
    case 'v':
        if (codeProfile == 'L')
            x = m_dMirrorLength - x;
        checkPart(m_pCADPart->SetWebStencil(x, u, bstrText));
        break;
    case 'o':
        if (codeProfile == 'L')
            x = m_dMirrorLength - x;
        checkPart(m_pCADPart->SetTFStencil(x, u, bstrText));
        break;
    case 'u':
        checkPart(m_pCADPart->SetBFStencil(x, u, bstrText));
        break;
    default: // 'h': the back of the web takes no stencil
        break;
    }
    return 0;
}

// ---- BO ------------------------------------------------------------------------

CBreakString DSTVPartReader::readHoleBlock(Variant variant, LONG bIsToolMetric)
{
    CBreakString line;
    nextBlockLine(&line);
    line.TrimLeft();
    if (!isSurface(line.GetAt(0)))
        throw LineError{CString("Illegal Surface. ") + line};
    while (isSurface(line.GetAt(0))) {
        char surface = line.GetAt(0);
        double slotLength = 0, slotWidth = 0, slotAngle = 0;
        double toolSize1 = 0, toolSize2 = 0;
        CString toolType;
        int orientation = 0;

        line.Break(1);
        line.TrimLeft();
        double x = breakLength(&line);

        char reference = line.GetAt(0);
        if (reference != 'o' && reference != 's' && reference != 'u' && !isBlank(reference))
            throw LineError{CString("Illegal Dimension Reference.") + line};
        if (isBlank(reference))
            reference = 'o';
        if (m_section == "L")
            reference = 'u';
        line.Break(1);
        line.TrimLeft();
        double u = breakLength(&line);

        char operationType = line.GetAt(0);
        if (operationType != 'g' && operationType != 'm' && operationType != 's' &&
            !isBlank(operationType))
            throw LineError{CString("Illegal Operation Type.") + line};
        if (isBlank(operationType))
            operationType = ' ';
        line.Break(1);
        line.TrimLeft();
        double diameter = breakLength(&line);

        line.TrimLeft();
        if (!line.IsEmpty()) {
            breakLength(&line); // the depth, not used
            line.TrimLeft();
            if (!line.IsEmpty()) {
                if (line.GetAt(0) != 'l')
                    throw LineError{CString("Illegal Slotted Hole Type.") + line};
                line.Break(1);
                line.TrimLeft();
                slotLength = breakLength(&line);
                line.TrimLeft();
                slotWidth = breakLength(&line);
                line.TrimLeft();
                line.BreakDouble(&slotAngle);
                if (slotLength != 0 && slotWidth != 0)
                    throw LineError{CString("Length and Width on Slots not supported.") + line};
            }
        }

        switch (variant) {
        case Variant::Standard:
            ClassifyHoleTool(diameter, slotLength, slotWidth, slotAngle, &x, &u, &toolSize1,
                             &toolSize2, &toolType, &orientation);
            break;
        case Variant::SDS6_336:
            ClassifyHoleToolSDS6_336(diameter, slotLength, slotWidth, slotAngle, &x, &u, &toolSize1,
                                     &toolSize2, &toolType, &orientation);
            break;
        case Variant::SDSEarlyVersions:
            ClassifyHoleToolSDSEarlyVersions(diameter, slotLength, slotWidth, slotAngle, &x, &u,
                                             &toolSize1, &toolSize2, &toolType, &orientation);
            break;
        }
        if (toolSize1 >= 0.001 && toolSize2 >= 0.001)
            FlipLProfileOrientation(m_codeProfile, surface, &orientation);
        if (variant == Variant::SDS6_336) {
            if (orientation == 0)
                orientation = truncateAngle(slotAngle);
            x += slotLength / 2;
            u += slotLength / 2;
        } else if (variant == Variant::SDSEarlyVersions) {
            u += slotLength / 2;
        }

        if (m_codeProfile == 'T') // a tee stands on its web: faces turn
            surface = surface == 'v' || surface == 'h' ? 'o' : surface == 'o' ? 'v' : 'h';

        if (surface == 'v' || surface == 'h')
            AddWebOperation(m_codeProfile, surface, reference, operationType, x, u, toolSize1,
                            toolSize2, toolType, orientation, bIsToolMetric);
        else
            AddFlangeOperation(m_codeProfile, surface, reference, operationType, x, u, toolSize1,
                               toolSize2, toolType, orientation, bIsToolMetric);

        nextBlockLine(&line);
        line.TrimLeft();
    }
    return line;
}

int DSTVPartReader::AddWebOperation(char codeProfile, char surface, char dimensionReference,
                                    char operationType, double x, double u, double toolSize1,
                                    double toolSize2, const CString& toolType, int orientation,
                                    LONG bIsToolMetric)
{
    const char kind = operationType == ' ' ? 'H' : 'M';
    const char frontBack = surface == 'v' || (kind == 'H' && codeProfile != 'M') ? 'F' : 'B';
    AcrossRule rule = AcrossRule::Standard;
    if (codeProfile == 'L') {
        x = m_dMirrorLength - x;
        rule = AcrossRule::Angle;
    } else if (codeProfile == 'T') {
        rule = AcrossRule::Tee;
    }
    const Across across = placeAcross(rule, dimensionReference, m_dProfileHeight, u);
    const BSTR bstrToolType = toolTypeText(toolType);
    using C = unsigned char;
    if (bIsToolMetric)
        checkPart(m_pCADPart->SetWebOperationEx(0, across.startU, C('+'), C(across.directionU),
                                                C('A'), 0, 0, x, across.u, 1, 0, 1, 0, C(kind),
                                                C(frontBack), toolSize1, toolSize2, bstrToolType,
                                                orientation, kMeasuringSystemMetric));
    else
        checkPart(m_pCADPart->SetWebOperation(
            0, across.startU, C('+'), C(across.directionU), C('A'), 0, 0, x, across.u, 1, 0, 1, 0,
            C(kind), C(frontBack), toolSize1, toolSize2, bstrToolType, orientation));
    return 0;
}

int DSTVPartReader::AddFlangeOperation(char codeProfile, char surface, char dimensionReference,
                                       char operationType, double x, double u, double toolSize1,
                                       double toolSize2, const CString& toolType, int orientation,
                                       LONG bIsToolMetric)
{
    AcrossRule rule = AcrossRule::Standard;
    if (codeProfile == 'L') {
        x = m_dMirrorLength - x;
        surface = 'o'; // an angle has one flange
        rule = AcrossRule::Angle;
    } else if (codeProfile == 'U') {
        rule = AcrossRule::Channel;
    }
    const Across across = placeAcross(rule, dimensionReference, m_dFlangeWidth, u);
    const char kind = operationType == ' ' ? 'H' : 'M';
    const BSTR bstrToolType = toolTypeText(toolType);
    using C = signed char;
    const bool top = surface == 'o';
    HRESULT hr;
    if (bIsToolMetric)
        hr = top ? m_pCADPart->SetTopFlangeOperationEx(
                       0, across.startU, C('+'), C(across.directionU), 'A', 0, 0, x, across.u, 1, 0,
                       1, 0, C(kind), C('F'), toolSize1, toolSize2, bstrToolType, orientation,
                       kMeasuringSystemMetric)
                 : m_pCADPart->SetBottomFlangeOperationEx(
                       0, across.startU, C('+'), C(across.directionU), 'A', 0, 0, x, across.u, 1, 0,
                       1, 0, C(kind), C('F'), toolSize1, toolSize2, bstrToolType, orientation,
                       kMeasuringSystemMetric);
    else
        hr = top ? m_pCADPart->SetTopFlangeOperation(
                       0, across.startU, C('+'), C(across.directionU), 'A', 0, 0, x, across.u, 1, 0,
                       1, 0, C(kind), C('F'), toolSize1, toolSize2, bstrToolType, orientation)
                 : m_pCADPart->SetBottomFlangeOperation(
                       0, across.startU, C('+'), C(across.directionU), 'A', 0, 0, x, across.u, 1, 0,
                       1, 0, C(kind), C('F'), toolSize1, toolSize2, bstrToolType, orientation);
    checkPart(hr);
    return 0;
}
