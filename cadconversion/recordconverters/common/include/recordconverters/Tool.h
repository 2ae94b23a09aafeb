// CTool: the size and shape of one tool slot of a record converter. A
// record sets all five slots of its converter, and hole lines with the
// codes 30 to 34 overwrite one; every hole takes its sizes and shape from
// the slot of its face and side.
#pragma once

#include "vlmrlib/CString.h"

class CTool {
public:
    // What Set does with an empty shape text.
    enum class ShapeRule {
        // Kept empty (Ambrel and Tolvin).
        AsGiven,
        // Named from the sizes: "SL" when both are not 0.0, "RD" when only
        // size 1 is not 0.0, else left empty (Ferrick).
        FromSizes,
    };

    // Sizes 0.0 and 0.0, shape "M".
    explicit CTool(ShapeRule rule = ShapeRule::AsGiven);
    virtual ~CTool();

    void Set(double dSize1, double dSize2, const char* shape);

    double GetSize1() const { return m_dSize1; }
    double GetSize2() const { return m_dSize2; }
    const char* GetShape() const { return m_bstrtShape; }

private:
    double m_dSize1 = 0.0;
    double m_dSize2 = 0.0;
    CString m_bstrtShape;
    ShapeRule m_rule;
};
