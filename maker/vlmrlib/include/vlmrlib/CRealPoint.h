// CRealPoint: a point of two doubles.
#pragma once

class CRealPoint {
public:
    CRealPoint() = default;
    CRealPoint(double x, double y) : m_x(x), m_y(y) {}

    double GetX() const { return m_x; }
    double GetY() const { return m_y; }
    void SetX(double x) { m_x = x; }
    void SetY(double y) { m_y = y; }

private:
    double m_x = 0.0;
    double m_y = 0.0;
};
