// The grammar of tool block names and their size numbers.
#include "ToolName.h"

#include "DXFReadError.h"

#include <cmath>

namespace {

constexpr const char* kSizeError = "Could not extract Double from tool name";

[[noreturn]] void fail(const char* text)
{
    throw DXFReadError{E_CONVERT_READ, text};
}

int breakDivisor(CBreakString* text)
{
    int divisor = 0;
    text->BreakInteger(&divisor);
    if (divisor == 0)
        fail(kSizeError);
    return divisor;
}

} // namespace

int FoldOrientation(int degrees)
{
    degrees %= 360;
    if (degrees > 179)
        degrees -= 360;
    else if (degrees < -180)
        degrees += 360;
    return degrees;
}

int RotationDegrees(double rotation)
{
    if (!std::isfinite(rotation))
        return 0;
    return FoldOrientation(static_cast<int>(std::trunc(std::fmod(rotation, 360.0))));
}

double ToolSizeNumber(CBreakString text)
{
    int whole = 0;
    text.BreakInteger(&whole);
    const CString separator = text.Break(1);
    if (separator == "-") {
        if (text.GetLength() < 3)
            return whole;
        int numerator = 0;
        text.BreakInteger(&numerator);
        text.Break(1);
        return whole + static_cast<double>(numerator) / breakDivisor(&text);
    }
    if (separator == "_")
        return static_cast<double>(whole) / breakDivisor(&text);
    fail(kSizeError);
}

DXFTool ParseToolName(const CString& blockName, double insertRotation)
{
    DXFTool tool;
    if (blockName.Find('R') >= 0) {
        tool.shape = "RD";
        tool.size1 = ToolSizeNumber(blockName);
        return tool;
    }
    if (blockName.Find('S') < 0)
        fail("Unknown Tool Name");

    tool.shape = "SL";
    int cross = blockName.Find('X');
    if (cross < 0)
        cross = blockName.Find('x');
    if (cross < 0)
        fail("Unknown Slot Tool Name");
    const CString firstSize = blockName.Left(cross);
    CBreakString rest = blockName.Mid(cross + 1);
    int slot = rest.Find('S');
    if (slot < 0)
        slot = rest.Find('s');
    if (slot < 0)
        fail("Unknown Slot Tool Name");
    const CString secondSize = rest.Left(slot);
    rest = rest.Mid(slot + 2);
    if (!rest.IsEmpty()) {
        int orientation = 0;
        rest.BreakInteger(&orientation);
        tool.orientation = FoldOrientation(orientation);
    }
    try {
        tool.size1 = ToolSizeNumber(firstSize);
    } catch (const DXFReadError&) {
        fail("Unknown Slot Tool Name in get Diameter");
    }
    tool.size2 = ToolSizeNumber(secondSize);
    if (tool.orientation == 0)
        tool.orientation = RotationDegrees(insertRotation);
    return tool;
}
