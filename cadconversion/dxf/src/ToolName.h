// The tool that the name of an inserted block describes, for a hole drawn
// as a block insert:
//   round hole: a size number and an "R"            1_2R, 1-3/4R, 1-R
//   slot: size "X" size "S" [blank orientation]    13_16X1-1/2S 45, 1-X2-S
// A size number is an integer followed by "_" and a divisor (13_16 is
// 13/16), or by "-" and, when at least three characters follow, a fraction
// N/D (1-3/4 is 1.75; "1-" alone is 1). A slot without an orientation in
// its name takes the insert's rotation. Orientations are whole degrees in
// -180..179.
#pragma once

#include "vlmrlib/CBreakString.h"

struct DXFTool {
    CString shape; // "RD" or "SL"
    double size1 = 0;
    double size2 = 0; // 0 for a round hole
    int orientation = 0;
};

// Throws DXFReadError (E_CONVERT_READ) with "Unknown Tool Name", "Unknown
// Slot Tool Name", "Unknown Slot Tool Name in get Diameter" or "Could not
// extract Double from tool name"; a size or orientation that does not begin
// with a digit throws CNumericConversionException.
DXFTool ParseToolName(const CString& blockName, double insertRotation);

// The size number at the front of text; throws as ParseToolName does. A
// divisor of 0 is no size number.
double ToolSizeNumber(CBreakString text);

// Degrees folded into -180..179 (360 taken off or added).
int FoldOrientation(int degrees);
// A rotation truncated toward zero to whole degrees, folded.
int RotationDegrees(double rotation);
