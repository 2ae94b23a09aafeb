// CToolOperationWithRefPlane: one pattern operation of a part with
// operations: a reference plane on the face, a grid of positions, the kind
// of operation, the web side and the tool, stored as the setter got them.
#pragma once

#include "com/Types.h"

class CToolOperationWithRefPlane {
public:
    // The plain form is an inch tool (ToolMeasuringSystem 0). The tool type
    // is copied up to its first NUL (null: no text).
    CToolOperationWithRefPlane(double dStartX, double dStartU, char cDirectionX, char cDirectionU,
                               char cPatternType, double dRise, double dRun, double dX, double dU,
                               LONG nNumX, double dXInc, LONG nNumU, double dUInc,
                               char cOperationType, char cFrontBack, double dToolSize1,
                               double dToolSize2, BSTR bstrToolType, LONG nToolOrientation);
    CToolOperationWithRefPlane(double dStartX, double dStartU, char cDirectionX, char cDirectionU,
                               char cPatternType, double dRise, double dRun, double dX, double dU,
                               LONG nNumX, double dXInc, LONG nNumU, double dUInc,
                               char cOperationType, char cFrontBack, double dToolSize1,
                               double dToolSize2, BSTR bstrToolType, LONG nToolOrientation,
                               LONG nToolMeasuringSystem);
    CToolOperationWithRefPlane(const CToolOperationWithRefPlane&) = delete;
    CToolOperationWithRefPlane& operator=(const CToolOperationWithRefPlane&) = delete;
    ~CToolOperationWithRefPlane();

    // As CToolOperation::Normalise, except that a tool whose two sizes are
    // both below 0.001 is left alone.
    void NormaliseToolSizes(LONG nPartMeasuringSystem);

    double GetStartX() const { return m_dStartX; }
    double GetStartU() const { return m_dStartU; }
    char GetDirectionX() const { return m_cDirectionX; }
    char GetDirectionU() const { return m_cDirectionU; }
    char GetPatternType() const { return m_cPatternType; }
    double GetRise() const { return m_dRise; }
    double GetRun() const { return m_dRun; }
    double GetX() const { return m_dX; }
    double GetU() const { return m_dU; }
    LONG GetNumX() const { return m_nNumX; }
    double GetXInc() const { return m_dXInc; }
    LONG GetNumU() const { return m_nNumU; }
    double GetUInc() const { return m_dUInc; }
    char GetOperationType() const { return m_cOperationType; } // 'H' hole, else a mark
    char GetFrontBack() const { return m_cFrontBack; }         // web side, 'F' or 'B'
    double GetToolSize1() const { return m_dToolSize1; }
    double GetToolSize2() const { return m_dToolSize2; }
    BSTR GetToolType() const { return m_bstrToolType; } // the record's own string
    LONG GetToolOrientation() const { return m_nToolOrientation; }

private:
    double m_dStartX;
    double m_dStartU;
    char m_cDirectionX;
    char m_cDirectionU;
    char m_cPatternType;
    double m_dRise;
    double m_dRun;
    double m_dX;
    double m_dU;
    LONG m_nNumX;
    double m_dXInc;
    LONG m_nNumU;
    double m_dUInc;
    char m_cOperationType;
    char m_cFrontBack;
    double m_dToolSize1;
    double m_dToolSize2;
    BSTR m_bstrToolType; // owned
    LONG m_nToolOrientation;

public:
    LONG ToolMeasuringSystem; // 0 inch, 2 metric; read directly by the save
};
