// The normalisation that every tool goes through right before it is sent.
#pragma once

#include "com/Types.h"

// Sizes to the nearest 1/16 unless the part is metric (2); then a slot
// shape with two equal sizes becomes "RD" with size 2 zero. Answers true in
// that case, so that the caller clears its orientation.
bool normaliseTool(LONG nPartMeasuringSystem, double& dToolSize1, double& dToolSize2,
                   BSTR& bstrToolShape);
