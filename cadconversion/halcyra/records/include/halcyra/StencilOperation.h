// CStencilOperation: one stencil, a text to be stamped at a position.
#pragma once

#include "com/Types.h"

class CStencilOperation {
public:
    // The text comes as narrow text in the ANSI code page (null: no text);
    // the record keeps its own wide copy.
    CStencilOperation(double dX, double dU, const char* pszText);
    CStencilOperation(const CStencilOperation&) = delete;
    CStencilOperation& operator=(const CStencilOperation&) = delete;
    virtual ~CStencilOperation();

    double X;
    double U;
    BSTR Text; // owned
};
