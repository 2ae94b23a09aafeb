// DXFPlacement: the four reference points of a part drawing (top flange,
// bottom flange, web, second web) and the placement of each circle, point,
// text and block insert as a hole, mark or stencil on the part.
//
// Positions are the drawing's, unconverted: x is the entity's X less the
// face reference's X; u runs across the face from the reference (Y less the
// reference's Y on the flanges and the second web, the reference's Y less
// Y on the web). A flange's sign of u chooses its near or far side.
//
// Failures throw DXFReadError (E_CONVERT_READ with the text of the
// operation; E_CONVERT_BAD_CODE, without a text, for a circle on a layer
// that places none); a failing part call throws _com_error.
#pragma once

#include "DXFLayers.h"
#include "ToolName.h"

#include "halcyra/HalcyraLib.h"

#include "vlmrlib/CRealPoint.h"
#include "vlmrlib/CString.h"

class DXFPlacement {
public:
    enum Face { kTF = 0, kBF = 1, kWeb = 2, kWeb2 = 3 };

    // A new part: no reference is set and no section is known. The part
    // stays the caller's and must outlive the placements.
    void Begin(ICADPart* part);
    // The section from the part's data text ("W" lets points on BF_LAYOUT
    // place marks, "TS" refuses second-web marks).
    void SetSection(const CString& section) { m_section = section; }

    // Reference mode: a POINT or INSERT on TF_REF, BF_REF, WEBFRONT_REF or
    // WEBBACK_REF sets that face's reference unless it is set already;
    // other layers are ignored.
    void TakeReference(DXFLayerCode layer, double x, double y, double rotation);
    bool IsReferenceSet(Face face) const { return m_bRefSet[face]; }
    const CRealPoint& Reference(Face face) const { return m_refPoint[face]; }

    // Placement mode, by entity and layer.
    void PlaceCircle(DXFLayerCode layer, double x, double y, double radius);
    void PlacePoint(DXFLayerCode layer, double x, double y);
    void PlaceText(DXFLayerCode layer, double x, double y, const CString& text);
    void PlaceInsert(DXFLayerCode layer, double x, double y, const CString& blockName,
                     double rotation);

    // The operations, one per face and kind.
    void TFHole(double x, double y, const DXFTool& tool);
    void BFHole(double x, double y, const DXFTool& tool);
    void WebHole(double x, double y, const DXFTool& tool);
    void Web2Hole(double x, double y, const DXFTool& tool);
    void TFMark(double x, double y);
    void BFMark(double x, double y);
    void WebMark(double x, double y);
    void Web2Mark(double x, double y);
    void TFStencil(double x, double y, const CString& text);
    void BFStencil(double x, double y, const CString& text);
    void WebStencil(double x, double y, const CString& text);

private:
    // The face's reference, or DXFReadError with text when it is not set.
    const CRealPoint& reference(Face face, const char* text) const;
    void check(HRESULT hr) const;
    using HoleCall = HRESULT (ICADPart::*)(double, double, double, double, BSTR, INT);
    void hole(HoleCall call, double x, double u, const DXFTool& tool);

    ICADPart* m_pPart = nullptr;
    CString m_section;
    bool m_bRefSet[4] = {};
    CRealPoint m_refPoint[4];
    double m_refRotation[4] = {}; // kept with each reference, not used
};
