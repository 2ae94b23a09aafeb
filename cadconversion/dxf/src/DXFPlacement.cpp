// DXFPlacement: reference points, the entity-by-layer table and the
// placement operations.
#include "DXFPlacement.h"

#include "BstrText.h"
#include "DXFReadError.h"

#include "com/ComError.h"

namespace {

[[noreturn]] void fail(const char* text)
{
    throw DXFReadError{E_CONVERT_READ, text};
}

DXFTool roundHole(double radius)
{
    DXFTool tool;
    tool.shape = "RD";
    tool.size1 = 2 * radius;
    return tool;
}

} // namespace

void DXFPlacement::Begin(ICADPart* part)
{
    m_pPart = part;
    m_section.Empty();
    for (int face = kTF; face <= kWeb2; ++face) {
        m_bRefSet[face] = false;
        m_refRotation[face] = 0;
    }
}

void DXFPlacement::TakeReference(DXFLayerCode layer, double x, double y, double rotation)
{
    Face face;
    switch (layer) {
    case kLayerTFRef:
        face = kTF;
        break;
    case kLayerBFRef:
        face = kBF;
        break;
    case kLayerWebFrontRef:
        face = kWeb;
        break;
    case kLayerWebBackRef:
        face = kWeb2;
        break;
    default:
        return;
    }
    if (m_bRefSet[face])
        return;
    m_bRefSet[face] = true;
    m_refPoint[face] = CRealPoint(x, y);
    m_refRotation[face] = rotation;
}

const CRealPoint& DXFPlacement::reference(Face face, const char* text) const
{
    if (!m_bRefSet[face])
        fail(text);
    return m_refPoint[face];
}

void DXFPlacement::check(HRESULT hr) const
{
    if (FAILED(hr))
        _com_issue_errorex(hr, m_pPart, IID_ICADPart);
}

void DXFPlacement::hole(HoleCall call, double x, double u, const DXFTool& tool)
{
    check((m_pPart->*call)(x, u, tool.size1, tool.size2, bstrOf(tool.shape), tool.orientation));
}

// ---- the entity-by-layer table --------------------------------------------------

void DXFPlacement::PlaceCircle(DXFLayerCode layer, double x, double y, double radius)
{
    switch (layer) {
    case kLayerNone:
        return;
    case kLayerTFOperation:
        return TFHole(x, y, roundHole(radius));
    case kLayerBFOperation:
        return BFHole(x, y, roundHole(radius));
    case kLayerWebOperation:
        return WebHole(x, y, roundHole(radius));
    case kLayerWebBackOperation:
        return Web2Hole(x, y, roundHole(radius));
    case kLayerWebFrontLayout:
        return WebMark(x, y);
    case kLayerWebBackLayout:
        return Web2Mark(x, y);
    default:
        throw DXFReadError{E_CONVERT_BAD_CODE, CString()};
    }
}

void DXFPlacement::PlacePoint(DXFLayerCode layer, double x, double y)
{
    switch (layer) {
    case kLayerWebFrontLayout:
        return WebMark(x, y);
    case kLayerWebBackLayout:
        return Web2Mark(x, y);
    case kLayerTFLayout:
        return TFMark(x, y);
    case kLayerBFLayout:
        if (m_section == "W" || m_section == "w")
            BFMark(x, y);
        return;
    default:
        return;
    }
}

void DXFPlacement::PlaceText(DXFLayerCode layer, double x, double y, const CString& text)
{
    switch (layer) {
    case kLayerTFStencil:
        return TFStencil(x, y, text);
    case kLayerBFStencil:
        return BFStencil(x, y, text);
    case kLayerWebFrontStencil:
    case kLayerWebBackStencil:
        return WebStencil(x, y, text);
    default:
        return;
    }
}

void DXFPlacement::PlaceInsert(DXFLayerCode layer, double x, double y, const CString& blockName,
                               double rotation)
{
    switch (layer) {
    case kLayerTFOperation: {
        DXFTool tool = ParseToolName(blockName, rotation);
        if (tool.orientation != 0)
            tool.orientation = 180 - tool.orientation;
        return TFHole(x, y, tool);
    }
    case kLayerBFOperation:
        return BFHole(x, y, ParseToolName(blockName, rotation));
    case kLayerWebOperation:
        return WebHole(x, y, ParseToolName(blockName, rotation));
    case kLayerWebBackOperation:
        return Web2Hole(x, y, ParseToolName(blockName, rotation));
    case kLayerWebFrontLayout:
        return WebMark(x, y);
    case kLayerWebBackLayout:
        return Web2Mark(x, y);
    case kLayerTFLayout:
        return TFMark(x, y);
    case kLayerBFLayout:
        return BFMark(x, y);
    default:
        return;
    }
}

// ---- the operations ------------------------------------------------------------------

void DXFPlacement::TFHole(double x, double y, const DXFTool& tool)
{
    const CRealPoint& ref = reference(kTF, "TF Ref Not Set");
    const double u = y - ref.GetY();
    if (u > 0)
        hole(&ICADPart::SetTFFarHole, x - ref.GetX(), u, tool);
    else if (u < 0)
        hole(&ICADPart::SetTFNearHole, x - ref.GetX(), -u, tool);
    else
        fail("Operation on flange center");
}

void DXFPlacement::BFHole(double x, double y, const DXFTool& tool)
{
    const CRealPoint& ref = reference(kBF, "BF Ref not set");
    const double u = y - ref.GetY();
    if (u > 0)
        hole(&ICADPart::SetBFNearHole, x - ref.GetX(), u, tool);
    else if (u < 0)
        hole(&ICADPart::SetBFFarHole, x - ref.GetX(), -u, tool);
    else
        fail("BF hole in center");
}

void DXFPlacement::WebHole(double x, double y, const DXFTool& tool)
{
    const CRealPoint& ref = reference(kWeb, "Web Ref not set with web holes");
    hole(&ICADPart::SetWebHole, x - ref.GetX(), ref.GetY() - y, tool);
}

void DXFPlacement::Web2Hole(double x, double y, const DXFTool& tool)
{
    const CRealPoint& ref = reference(kWeb2, "Web2 Ref not set with web holes");
    hole(&ICADPart::SetWeb2Hole, x - ref.GetX(), y - ref.GetY(), tool);
}

void DXFPlacement::TFMark(double x, double y)
{
    const CRealPoint& ref = reference(kTF, "TF Ref not set with marks");
    const double u = y - ref.GetY();
    if (u >= 0)
        check(m_pPart->SetTFFarMark(x - ref.GetX(), u));
    else
        check(m_pPart->SetTFNearMark(x - ref.GetX(), -u));
}

void DXFPlacement::BFMark(double x, double y)
{
    const CRealPoint& ref = reference(kBF, "BF Ref not set");
    const double u = y - ref.GetY();
    if (u >= 0)
        check(m_pPart->SetBFNearMark(x - ref.GetX(), u));
    else
        check(m_pPart->SetBFFarMark(x - ref.GetX(), -u));
}

void DXFPlacement::WebMark(double x, double y)
{
    const CRealPoint& ref = reference(kWeb, "Web Ref not set with web marks");
    check(m_pPart->SetWebMark(x - ref.GetX(), ref.GetY() - y));
}

void DXFPlacement::Web2Mark(double x, double y)
{
    // The system's own text names the web reference here too: keep it so.
    const CRealPoint& ref = reference(kWeb2, "Web Ref not set with web marks");
    if (m_section == "TS" || m_section == "ts")
        fail("Cannot add marks on Tubing Web2");
    check(m_pPart->SetWebHiddenMark(x - ref.GetX(), y - ref.GetY()));
}

void DXFPlacement::TFStencil(double x, double y, const CString& text)
{
    const CRealPoint& ref = reference(kTF, "TF Ref Not Set");
    check(m_pPart->SetTFStencil(x - ref.GetX(), y - ref.GetY(), bstrOf(text)));
}

void DXFPlacement::BFStencil(double x, double y, const CString& text)
{
    const CRealPoint& ref = reference(kBF, "BF Ref not set");
    check(m_pPart->SetBFStencil(x - ref.GetX(), y - ref.GetY(), bstrOf(text)));
}

void DXFPlacement::WebStencil(double x, double y, const CString& text)
{
    const CRealPoint& ref = reference(kWeb, "Web Ref not set with Stencils");
    check(m_pPart->SetWebStencil(x - ref.GetX(), ref.GetY() - y, bstrOf(text)));
}
