// Reads the built-in catalog: comma-separated "shape" and "machine" lines.
#include "tarsis/Catalog.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <set>
#include <utility>

namespace tarsis {

// Defined by the source generated from catalog.csv.
std::string_view builtInCatalogText();

namespace {

std::string_view trim(std::string_view s)
{
    const char* blanks = " \t\r";
    auto first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    auto last = s.find_last_not_of(blanks);
    return s.substr(first, last - first + 1);
}

std::vector<std::string_view> splitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (;;) {
        auto comma = line.find(',');
        fields.push_back(trim(line.substr(0, comma)));
        if (comma == std::string_view::npos)
            break;
        line.remove_prefix(comma + 1);
    }
    return fields;
}

class LineReader {
public:
    LineReader(const std::string& source, int line) : m_source(source), m_line(line) {}

    [[noreturn]] void fail(const std::string& what) const
    {
        throw CatalogError(m_source + ":" + std::to_string(m_line) + ": " + what);
    }

    std::string nonEmpty(std::string_view field, const char* name) const
    {
        if (field.empty())
            fail(std::string("empty ") + name);
        return std::string(field);
    }

    double dimension(std::string_view field, const char* name) const
    {
        std::string text(field);
        char* end = nullptr;
        errno = 0;
        double value = std::strtod(text.c_str(), &end);
        if (text.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(value) || value < 0)
            fail(std::string(name) + " '" + text + "' is not a number of zero or more");
        return value;
    }

private:
    const std::string& m_source;
    int m_line;
};

} // namespace

Catalog parseCatalog(std::string_view text, const std::string& sourceName)
{
    Catalog catalog;
    std::set<std::pair<std::string, std::string>> shapeKeys;
    std::set<std::string> machineNames;
    auto upper = [](std::string s) {
        for (char& c : s)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        return s;
    };
    int lineNumber = 0;
    while (!text.empty()) {
        auto newline = text.find('\n');
        std::string_view line = trim(text.substr(0, newline));
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        ++lineNumber;
        if (line.empty() || line.front() == '#')
            continue;

        LineReader reader(sourceName, lineNumber);
        auto fields = splitFields(line);
        if (fields[0] == "shape") {
            if (fields.size() != 11)
                reader.fail("a shape line has 11 fields");
            ShapeRecord shape;
            shape.key.section = reader.nonEmpty(fields[1], "section");
            shape.key.description = reader.nonEmpty(fields[2], "description");
            shape.name = reader.nonEmpty(fields[3], "name");
            auto units = unitsFromText(fields[4]);
            if (!units)
                reader.fail("units must be inch or metric");
            shape.units = *units;
            shape.depth = reader.dimension(fields[5], "depth");
            shape.webThickness = reader.dimension(fields[6], "web thickness");
            shape.flangeWidth = reader.dimension(fields[7], "flange width");
            shape.flangeThickness = reader.dimension(fields[8], "flange thickness");
            shape.surface = reader.dimension(fields[9], "surface");
            shape.weight = reader.dimension(fields[10], "weight");
            if (!shapeKeys.emplace(upper(shape.key.section), upper(shape.key.description)).second)
                reader.fail("shape " + shape.key.section + " " + shape.key.description +
                            " is listed twice");
            catalog.shapes.push_back(std::move(shape));
        } else if (fields[0] == "machine") {
            if (fields.size() != 3)
                reader.fail("a machine line has 3 fields");
            MachineRecord machine{reader.nonEmpty(fields[1], "machine name"),
                                  std::string(fields[2])};
            if (!machineNames.insert(upper(machine.name)).second)
                reader.fail("machine " + machine.name + " is listed twice");
            catalog.machines.push_back(std::move(machine));
        } else {
            reader.fail("unknown record '" + std::string(fields[0]) + "' (shape or machine)");
        }
    }
    return catalog;
}

const Catalog& builtInCatalog()
{
    static const Catalog catalog = parseCatalog(builtInCatalogText(), "catalog.csv");
    return catalog;
}

} // namespace tarsis
