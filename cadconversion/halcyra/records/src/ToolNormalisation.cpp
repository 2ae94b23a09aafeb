// The normalisation of a tool before it is sent.
#include "ToolNormalisation.h"

#include "halcyra/HalcyraLib.h"
#include "halcyra/Rounding.h"

#include "com/Bstr.h"

#include <new>
#include <string_view>

namespace {
bool isSlotShape(BSTR bstrShape)
{
    static constexpr std::u16string_view kSlotShapes[] = {u"ER", u"CR", u"HC", u"VC",
                                                          u"HE", u"VE", u"SL"};
    const std::u16string_view shape(bstrShape ? bstrShape : u"", SysStringLen(bstrShape));
    for (std::u16string_view slot : kSlotShapes)
        if (shape == slot)
            return true;
    return false;
}
} // namespace

bool normaliseTool(LONG nPartMeasuringSystem, double& dToolSize1, double& dToolSize2,
                   BSTR& bstrToolShape)
{
    if (nPartMeasuringSystem != kMeasuringSystemMetric) {
        RoundToFraction(16, dToolSize1);
        RoundToFraction(16, dToolSize2);
    }
    if (dToolSize2 != dToolSize1 || !isSlotShape(bstrToolShape))
        return false;
    if (!SysReAllocString(&bstrToolShape, u"RD"))
        throw std::bad_alloc();
    dToolSize2 = 0;
    return true;
}
