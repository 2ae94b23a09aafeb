// CToolOperation: a hole of a plain part.
#include "halcyra/ToolOperation.h"

#include "RecordText.h"
#include "ToolNormalisation.h"

#include "com/Bstr.h"

CToolOperation::CToolOperation(double dX, double dU, double dToolSize1, double dToolSize2,
                               const char* pszToolShape, INT nOrientation)
    : CToolOperation(dX, dU, dToolSize1, dToolSize2, pszToolShape, nOrientation, 0)
{
}

CToolOperation::CToolOperation(double dX, double dU, double dToolSize1, double dToolSize2,
                               const char* pszToolShape, INT nOrientation, INT nMeasuringSystem)
    : X(dX), U(dU), ToolSize1(dToolSize1), ToolSize2(dToolSize2),
      ToolShape(bstrFromNarrow(pszToolShape)), Orientation(static_cast<SHORT>(nOrientation)),
      MeasuringSystem(static_cast<SHORT>(nMeasuringSystem))
{
}

CToolOperation::~CToolOperation()
{
    SysFreeString(ToolShape);
}

void CToolOperation::Normalise(LONG nPartMeasuringSystem)
{
    if (normaliseTool(nPartMeasuringSystem, ToolSize1, ToolSize2, ToolShape))
        Orientation = 0;
}
