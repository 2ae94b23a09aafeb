// The records the Tarsis database keeps: shapes, machines, parts with their
// reference planes and operations in arrival order, and mults with their
// pieces. Plain values; strings are UTF-8, a null text arrives as "".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tarsis {

// Job, group and mark name one part or one mult.
struct PartKey {
    std::string job;
    std::string group;
    std::string mark;
    bool operator==(const PartKey&) const = default;
};

// Section and description name one shape, as the converters write them
// (W12X26 is section "W", description "1226").
struct ShapeKey {
    std::string section;
    std::string description;
    bool operator==(const ShapeKey&) const = default;
};

enum class Units { Inch, Metric };

// A shape's dimensions: inches and lb/ft, or millimetres and kg/m; the
// surface is the painted surface per unit length (ft²/ft or m²/m).
struct ShapeRecord {
    ShapeKey key;
    std::string name; // the formal name, e.g. "W12X26"
    Units units = Units::Inch;
    double depth = 0;
    double webThickness = 0;
    double flangeWidth = 0;
    double flangeThickness = 0;
    double surface = 0;
    double weight = 0;
};

struct MachineRecord {
    std::string name;
    std::string description;
};

struct PartHeader {
    PartKey key;
    int quantity = 0;
    double length = 0;
    ShapeKey shape;
    std::string grade;
    std::string text1;
    std::int32_t number = 0;
    std::string text2;
    std::string text3;
    int measuringSystem = 0; // 0 inch, 2 metric
    int partKind = 0;
};

// The reference plane that applies to the operations after it.
struct RefPlane {
    double startX = 0;
    double startU = 0;
    double rise = 0;
    double run = 0;
    std::string directionX;
    std::string directionU;
    std::string pattern;
    bool operator==(const RefPlane&) const = default;
};

enum class OperationKind { Hole, Mark, HiddenMark, Stencil };

// Web2 is the back of the web; TF and BF (no side) are the stencil faces.
enum class Face { Web, Web2, TFNear, TFFar, TFNearFar, BFNear, BFFar, BFNearFar, TF, BF };

struct Operation {
    OperationKind kind = OperationKind::Hole;
    Face face = Face::Web;
    double x = 0;
    double u = 0;
    // Holes and marks.
    double xInc = 0;
    double uInc = 0;
    int numX = 0;
    int numU = 0;
    // Holes.
    double toolSize1 = 0;
    double toolSize2 = 0;
    std::string toolShape;
    int orientation = 0;
    std::optional<int> toolMeasuringSystem; // set only when the caller sent one
    // Stencils.
    std::string text;
    bool operator==(const Operation&) const = default;
};

using PartEntry = std::variant<RefPlane, Operation>;

struct PartRecord {
    PartHeader header;
    std::vector<PartEntry> entries; // in arrival order
    std::string savedAt;            // UTC, ISO 8601; filled when read back
};

struct PartSummary {
    PartKey key;
    ShapeKey shape;
    int quantity = 0;
    double length = 0;
    int operationCount = 0;
    std::string savedAt;
};

struct MultHeader {
    PartKey key;
    int number = 0;
    int quantity = 0;
    double length = 0;
    double kerf = 0;
    ShapeKey shape;
    std::string grade;
    std::string machine;
    std::string text1;
    std::string text2;
    int measuringSystem = 0;
};

struct MultPiece {
    PartKey key;
    std::int32_t quantity = 0;
};

struct MultRecord {
    MultHeader header;
    std::vector<MultPiece> pieces; // in arrival order
    std::string savedAt;
};

struct MultSummary {
    PartKey key;
    ShapeKey shape;
    std::string machine;
    int quantity = 0;
    double length = 0;
    int pieceCount = 0;
    std::string savedAt;
};

// Names used in the database and by the tool ("hole", "tf_near", "inch").
std::string_view toText(OperationKind kind);
std::string_view toText(Face face);
std::string_view toText(Units units);
std::optional<OperationKind> operationKindFromText(std::string_view text);
std::optional<Face> faceFromText(std::string_view text);
std::optional<Units> unitsFromText(std::string_view text);

} // namespace tarsis
