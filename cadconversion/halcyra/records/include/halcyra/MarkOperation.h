// CMarkOperation: one mark of a plain part's list.
#pragma once

class CMarkOperation {
public:
    CMarkOperation(double dX, double dU) : X(dX), U(dU) {}
    virtual ~CMarkOperation() = default;

    double X;
    double U;
};
