// CTool: the tool slot and the two rules for an empty shape text.
#include "recordconverters/Tool.h"

CTool::CTool(ShapeRule rule) : m_bstrtShape("M"), m_rule(rule) {}

CTool::~CTool() = default;

void CTool::Set(double dSize1, double dSize2, const char* shape)
{
    m_dSize1 = dSize1;
    m_dSize2 = dSize2;
    m_bstrtShape = shape;
    if (m_rule != ShapeRule::FromSizes || !m_bstrtShape.IsEmpty())
        return;
    // Exact comparisons: a size of 0.0 means "none".
    if (dSize1 != 0.0 && dSize2 != 0.0)
        m_bstrtShape = "SL";
    else if (dSize1 != 0.0)
        m_bstrtShape = "RD";
}
