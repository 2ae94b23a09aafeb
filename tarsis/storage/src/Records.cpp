// Text names of the record enumerations, shared by the database and the tool.
#include "tarsis/Records.h"

#include <array>
#include <utility>

namespace tarsis {
namespace {

constexpr std::array<std::pair<OperationKind, std::string_view>, 4> kKinds{{
    {OperationKind::Hole, "hole"},
    {OperationKind::Mark, "mark"},
    {OperationKind::HiddenMark, "hidden_mark"},
    {OperationKind::Stencil, "stencil"},
}};

constexpr std::array<std::pair<Face, std::string_view>, 10> kFaces{{
    {Face::Web, "web"},
    {Face::Web2, "web2"},
    {Face::TFNear, "tf_near"},
    {Face::TFFar, "tf_far"},
    {Face::TFNearFar, "tf_near_far"},
    {Face::BFNear, "bf_near"},
    {Face::BFFar, "bf_far"},
    {Face::BFNearFar, "bf_near_far"},
    {Face::TF, "tf"},
    {Face::BF, "bf"},
}};

constexpr std::array<std::pair<Units, std::string_view>, 2> kUnits{{
    {Units::Inch, "inch"},
    {Units::Metric, "metric"},
}};

template <typename E, std::size_t N>
std::string_view nameOf(const std::array<std::pair<E, std::string_view>, N>& table, E value)
{
    for (const auto& [v, name] : table)
        if (v == value)
            return name;
    return {};
}

template <typename E, std::size_t N>
std::optional<E> valueOf(const std::array<std::pair<E, std::string_view>, N>& table,
                         std::string_view text)
{
    for (const auto& [v, name] : table)
        if (name == text)
            return v;
    return std::nullopt;
}

} // namespace

std::string_view toText(OperationKind kind)
{
    return nameOf(kKinds, kind);
}
std::string_view toText(Face face)
{
    return nameOf(kFaces, face);
}
std::string_view toText(Units units)
{
    return nameOf(kUnits, units);
}
std::optional<OperationKind> operationKindFromText(std::string_view text)
{
    return valueOf(kKinds, text);
}
std::optional<Face> faceFromText(std::string_view text)
{
    return valueOf(kFaces, text);
}
std::optional<Units> unitsFromText(std::string_view text)
{
    return valueOf(kUnits, text);
}

} // namespace tarsis
