// Column printing for the tarsis tool.
#include "TextTable.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace tarsis {

TextTable::TextTable(std::vector<std::string> header)
{
    m_rows.push_back(std::move(header));
}

void TextTable::addRow(std::vector<std::string> row)
{
    m_rows.push_back(std::move(row));
}

void TextTable::print(std::ostream& out, const std::string& indent) const
{
    std::vector<std::size_t> widths;
    for (const auto& row : m_rows) {
        if (widths.size() < row.size())
            widths.resize(row.size());
        for (std::size_t i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], row[i].size());
    }
    for (const auto& row : m_rows) {
        std::string line = indent;
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size())
                line += std::string(widths[i] - row[i].size() + 2, ' ');
        }
        out << line << '\n';
    }
}

std::string formatNumber(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.10g", value);
    return buffer;
}

} // namespace tarsis
