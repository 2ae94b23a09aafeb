// CToolOperation: one hole (tool) of a plain part's list, as a converter
// handed it over, until the save normalises and sends it.
#pragma once

#include "com/Types.h"

class CToolOperation {
public:
    // The shape comes as narrow text in the ANSI code page (null: no text);
    // the record keeps its own wide copy. Orientation and measuring system
    // are kept in 16 bits. The six-argument form is an inch tool (0).
    CToolOperation(double dX, double dU, double dToolSize1, double dToolSize2,
                   const char* pszToolShape, INT nOrientation);
    CToolOperation(double dX, double dU, double dToolSize1, double dToolSize2,
                   const char* pszToolShape, INT nOrientation, INT nMeasuringSystem);
    CToolOperation(const CToolOperation&) = delete;
    CToolOperation& operator=(const CToolOperation&) = delete;
    virtual ~CToolOperation();

    // Right before the tool is sent: sizes to the nearest 1/16 unless the
    // part (not the tool) is metric (2); a slot shape ("ER", "CR", "HC",
    // "VC", "HE", "VE", "SL", exact case) with two equal sizes then becomes
    // a round hole "RD" with size 2 and orientation 0. Changes the record.
    void Normalise(LONG nPartMeasuringSystem);

    double X;
    double U;
    double ToolSize1;
    double ToolSize2;
    BSTR ToolShape; // owned
    SHORT Orientation;
    SHORT MeasuringSystem; // the tool's own: 0 inch, 2 metric
};
