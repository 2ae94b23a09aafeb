// Prints rows of text in columns padded to their widest cell.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tarsis {

class TextTable {
public:
    explicit TextTable(std::vector<std::string> header);
    void addRow(std::vector<std::string> row);
    void print(std::ostream& out, const std::string& indent = "") const;

private:
    std::vector<std::vector<std::string>> m_rows;
};

// A number as short as it reads back exactly for the values we store.
std::string formatNumber(double value);

} // namespace tarsis
