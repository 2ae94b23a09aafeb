// CToolOperationWithRefPlane: a pattern operation of a part with operations.
#include "halcyra/ToolOperationWithRefPlane.h"

#include "RecordText.h"
#include "ToolNormalisation.h"

#include "com/Bstr.h"

CToolOperationWithRefPlane::CToolOperationWithRefPlane(
    double dStartX, double dStartU, char cDirectionX, char cDirectionU, char cPatternType,
    double dRise, double dRun, double dX, double dU, LONG nNumX, double dXInc, LONG nNumU,
    double dUInc, char cOperationType, char cFrontBack, double dToolSize1, double dToolSize2,
    BSTR bstrToolType, LONG nToolOrientation)
    : CToolOperationWithRefPlane(dStartX, dStartU, cDirectionX, cDirectionU, cPatternType, dRise,
                                 dRun, dX, dU, nNumX, dXInc, nNumU, dUInc, cOperationType,
                                 cFrontBack, dToolSize1, dToolSize2, bstrToolType, nToolOrientation,
                                 0)
{
}

CToolOperationWithRefPlane::CToolOperationWithRefPlane(
    double dStartX, double dStartU, char cDirectionX, char cDirectionU, char cPatternType,
    double dRise, double dRun, double dX, double dU, LONG nNumX, double dXInc, LONG nNumU,
    double dUInc, char cOperationType, char cFrontBack, double dToolSize1, double dToolSize2,
    BSTR bstrToolType, LONG nToolOrientation, LONG nToolMeasuringSystem)
    : m_dStartX(dStartX), m_dStartU(dStartU), m_cDirectionX(cDirectionX),
      m_cDirectionU(cDirectionU), m_cPatternType(cPatternType), m_dRise(dRise), m_dRun(dRun),
      m_dX(dX), m_dU(dU), m_nNumX(nNumX), m_dXInc(dXInc), m_nNumU(nNumU), m_dUInc(dUInc),
      m_cOperationType(cOperationType), m_cFrontBack(cFrontBack), m_dToolSize1(dToolSize1),
      m_dToolSize2(dToolSize2), m_bstrToolType(bstrCopy(bstrToolType)),
      m_nToolOrientation(nToolOrientation), ToolMeasuringSystem(nToolMeasuringSystem)
{
}

CToolOperationWithRefPlane::~CToolOperationWithRefPlane()
{
    SysFreeString(m_bstrToolType);
}

void CToolOperationWithRefPlane::NormaliseToolSizes(LONG nPartMeasuringSystem)
{
    if (m_dToolSize1 < 0.001 && m_dToolSize2 < 0.001)
        return;
    if (normaliseTool(nPartMeasuringSystem, m_dToolSize1, m_dToolSize2, m_bstrToolType))
        m_nToolOrientation = 0;
}
