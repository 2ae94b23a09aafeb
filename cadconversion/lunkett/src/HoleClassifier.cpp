// DSTVPartReader: tool sizes, tool type and orientation of a hole line,
// in the standard form and the two forms of the SDS versions.
#include "DSTVPartReader.h"

#include "vlmrexcept/CvmException.h"

#include <climits>
#include <cmath>
#include <cstdint>

namespace {

// The constant the orientation has always been turned into radians with.
constexpr double kPi = 3.141592654;

enum class SlotAngleRule {
    Folded, // into -180 up to (not including) 180
    SDS,    // an angle of exactly 0, 180 or -180 as read gives 90, exactly 90
            // gives 0; any other keeps its truncated value
};

int folded(int orientation)
{
    std::int64_t turned = (static_cast<std::int64_t>(orientation) + 180) % 360;
    if (turned < 0)
        turned += 360;
    return static_cast<int>(turned - 180);
}

// The rule looks at the angle as read, so that 0.5, 90.5 or 180.5 keep
// their truncated value (0, 90, 180) and are not turned.
int sdsOrientation(double angle, int truncated)
{
    if (angle == 0 || angle == 180 || angle == -180)
        return 90;
    if (angle == 90)
        return 0;
    return truncated;
}

void moveAlong(int orientation, double distance, double* x, double* u)
{
    const double t = orientation * kPi / 180;
    *x += std::cos(t) * distance;
    *u += std::sin(t) * distance;
}

} // namespace

int DSTVPartReader::truncateAngle(double degrees)
{
    if (!(degrees > static_cast<double>(INT_MIN) - 1 &&
          degrees < static_cast<double>(INT_MAX) + 1)) {
        CNumericConversionException error;
        CString message;
        message.Format("Slot angle out of range: %g. ", degrees);
        error.SetMessage(message);
        throw error;
    }
    return static_cast<int>(degrees);
}

namespace {

// d diameter, l slot length, w slot width (inches), a slot angle (degrees).
// widthSlots: a slot given by its width alone is a slot (else no tool).
int classify(double d, double l, double w, double a, double* x, double* u, double* toolSize1,
             double* toolSize2, CString* toolType, int* orientation, bool widthSlots,
             SlotAngleRule lengthSlotRule, int (*truncate)(double))
{
    *orientation = 0;
    if (d != 0 && w == 0 && l == 0) {
        *toolSize1 = d;
        *toolSize2 = 0;
        *toolType = "RD";
    } else if (d != 0 && l != 0) {
        *toolSize1 = d;
        *toolSize2 = d + l;
        *toolType = "SL";
        *orientation = truncate(a);
        moveAlong(*orientation, l / 2, x, u);
        *orientation = lengthSlotRule == SlotAngleRule::Folded ? folded(*orientation)
                                                               : sdsOrientation(a, *orientation);
    } else if (d == 0 || w == 0 || !widthSlots) {
        *toolSize1 = 0;
        *toolSize2 = 0;
        toolType->Empty();
    } else {
        *toolSize1 = d;
        *toolSize2 = d + w;
        *toolType = "SL";
        *orientation = truncate(a + 90);
        moveAlong(*orientation, w / 2, x, u);
        *orientation = folded(*orientation);
    }
    return 0;
}

} // namespace

int DSTVPartReader::ClassifyHoleTool(double d, double l, double w, double a, double* x, double* u,
                                     double* toolSize1, double* toolSize2, CString* toolType,
                                     int* orientation)
{
    return classify(d, l, w, a, x, u, toolSize1, toolSize2, toolType, orientation, true,
                    SlotAngleRule::Folded, &truncateAngle);
}

int DSTVPartReader::ClassifyHoleToolSDS6_336(double d, double l, double w, double a, double* x,
                                             double* u, double* toolSize1, double* toolSize2,
                                             CString* toolType, int* orientation)
{
    return classify(d, l, w, a, x, u, toolSize1, toolSize2, toolType, orientation, true,
                    SlotAngleRule::SDS, &truncateAngle);
}

int DSTVPartReader::ClassifyHoleToolSDSEarlyVersions(double d, double l, double w, double a,
                                                     double* x, double* u, double* toolSize1,
                                                     double* toolSize2, CString* toolType,
                                                     int* orientation)
{
    return classify(d, l, w, a, x, u, toolSize1, toolSize2, toolType, orientation, false,
                    SlotAngleRule::SDS, &truncateAngle);
}
