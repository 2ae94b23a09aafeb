// CTool: one entry of a machine part's tool table: two sizes in inches and
// a shape ("RD" a round hole, "SL" a slot). The sizes and the shape are
// stored as given; the part object's save rounds them.
#pragma once

#include "vlmrlib/CString.h"

class CTool {
public:
    CTool() = default;
    CTool(const CTool&) = default;
    CTool& operator=(const CTool&) = default;
    virtual ~CTool() = default;

    void Set(double dSize1, double dSize2, const char* shape)
    {
        m_dSize1 = dSize1;
        m_dSize2 = dSize2;
        m_shape = shape;
    }
    double GetSize1() const { return m_dSize1; }
    double GetSize2() const { return m_dSize2; }
    const char* GetShape() const { return m_shape; }

private:
    double m_dSize1 = 0;
    double m_dSize2 = 0;
    CString m_shape;
};
