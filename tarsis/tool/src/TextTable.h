// Prints rows of text in columns padded to their widest cell; widths count
// characters (UTF-8 code points).
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

namespace tarsis {

class TextTable {
public:
    explicit TextTable(std::vector<std::string> header);
    void addRow(std::vector<std::string> row);
    static constexpr std::size_t kWhole = 0;

    // A cell longer than cellWidth characters is cut to that width, its
    // last character an ellipsis; kWhole prints every cell whole.
    void print(std::ostream& out, const std::string& indent = "",
               std::size_t cellWidth = kWhole) const;

private:
    std::vector<std::vector<std::string>> m_rows;
};

// A number as short as it reads back exactly for the values we store.
std::string formatNumber(double value);

} // namespace tarsis
