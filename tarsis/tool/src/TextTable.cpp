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

namespace {

bool continuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xc0) == 0x80;
}

std::size_t characters(const std::string& text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return !continuationByte(c); }));
}

// The first width characters of text, the last of them an ellipsis when
// text is longer.
std::string cut(const std::string& text, std::size_t width)
{
    if (width == TextTable::kWhole || characters(text) <= width)
        return text;
    std::size_t kept = 0;
    std::size_t end = 0;
    while (end < text.size() && kept < width - 1) {
        ++end;
        while (end < text.size() && continuationByte(text[end]))
            ++end;
        ++kept;
    }
    return text.substr(0, end) + "\u2026";
}

} // namespace

void TextTable::print(std::ostream& out, const std::string& indent, std::size_t cellWidth) const
{
    std::vector<std::vector<std::string>> rows;
    std::vector<std::size_t> widths;
    for (const auto& row : m_rows) {
        std::vector<std::string>& cells = rows.emplace_back();
        if (widths.size() < row.size())
            widths.resize(row.size());
        for (std::size_t i = 0; i < row.size(); ++i) {
            cells.push_back(cut(row[i], cellWidth));
            widths[i] = std::max(widths[i], characters(cells.back()));
        }
    }
    for (const auto& row : rows) {
        std::string line = indent;
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size())
                line += std::string(widths[i] - characters(row[i]) + 2, ' ');
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
