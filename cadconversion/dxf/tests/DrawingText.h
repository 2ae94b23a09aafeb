// DrawingText: small DXF drawings for the tests, written as DXF writers
// write them: group codes right-aligned in three columns, LF line ends,
// handles, subclass markers and the Z coordinate among the pairs the
// reader needs, and the sections HEADER (with $MEASUREMENT when asked),
// TABLES and ENTITIES.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <utility>

class DrawingText {
public:
    DrawingText& measurement(int value)
    {
        m_measurement = value;
        return *this;
    }
    DrawingText& point(const std::string& layer, double x, double y)
    {
        entity("POINT", layer, "AcDbPoint");
        coordinates(x, y);
        return *this;
    }
    DrawingText& circle(const std::string& layer, double x, double y, double radius)
    {
        entity("CIRCLE", layer, "AcDbCircle");
        coordinates(x, y);
        pair(40, number(radius));
        return *this;
    }
    // TEXT without a rotation pair when rotation is absent, as writers do.
    DrawingText& text(const std::string& layer, double x, double y, const std::string& value,
                      std::optional<double> rotation = std::nullopt)
    {
        entity("TEXT", layer, "AcDbText");
        coordinates(x, y);
        pair(40, "0.25");
        pair(1, value);
        if (rotation)
            pair(50, number(*rotation));
        pair(100, "AcDbText");
        return *this;
    }
    DrawingText& mtext(const std::string& layer, double x, double y, const std::string& value)
    {
        entity("MTEXT", layer, "AcDbMText");
        coordinates(x, y);
        pair(40, "0.25");
        pair(71, "1");
        pair(1, value);
        pair(73, "1");
        return *this;
    }
    DrawingText& insert(const std::string& layer, double x, double y, const std::string& block,
                        std::optional<double> rotation = std::nullopt)
    {
        entity("INSERT", layer, "AcDbBlockReference");
        pair(2, block);
        coordinates(x, y);
        if (rotation)
            pair(50, number(*rotation));
        return *this;
    }
    DrawingText& partInfo(const std::string& value) { return text("PART_INFO", 0, -5, value); }
    DrawingText& line(const std::string& layer, double x1, double y1, double x2, double y2)
    {
        entity("LINE", layer, "AcDbLine");
        coordinates(x1, y1);
        pair(11, number(x2));
        pair(21, number(y2));
        pair(31, "0.0");
        return *this;
    }
    // Lines as they stand, inside the ENTITIES section.
    DrawingText& raw(const std::string& lines)
    {
        m_entities += lines;
        return *this;
    }

    std::string str() const { return head() + m_entities + tail(); }

    // The drawing in three pieces, for one written piece by piece: the
    // sections up to the entities, the entities so far (taken out), and
    // what ends the drawing.
    std::string head() const
    {
        std::string text = "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n";
        if (m_measurement)
            text += "  9\n$MEASUREMENT\n 70\n     " + std::to_string(*m_measurement) + "\n";
        text += "  0\nENDSEC\n  0\nSECTION\n  2\nTABLES\n  0\nENDSEC\n";
        return text + "  0\nSECTION\n  2\nENTITIES\n";
    }
    std::string takeEntities() { return std::exchange(m_entities, std::string()); }
    static std::string tail() { return "  0\nENDSEC\n  0\nEOF\n"; }

    static std::string number(double value)
    {
        char text[40];
        std::snprintf(text, sizeof text, "%.6g", value);
        return text;
    }

private:
    void pair(int code, const std::string& value)
    {
        char text[8];
        std::snprintf(text, sizeof text, "%3d\n", code);
        m_entities += text + value + "\n";
    }
    void entity(const char* type, const std::string& layer, const char* subclass)
    {
        pair(0, type);
        pair(5, std::to_string(++m_handle + 0x100));
        pair(100, "AcDbEntity");
        pair(8, layer);
        pair(100, subclass);
    }
    void coordinates(double x, double y)
    {
        pair(10, number(x));
        pair(20, number(y));
        pair(30, "0.0");
    }

    std::optional<int> m_measurement;
    std::string m_entities;
    int m_handle = 0;
};
