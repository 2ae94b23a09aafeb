// Record texts for the readers' tests, written from the export grammar:
// job, group, mark, length, section, the dimension fields, quantity, five
// tool definitions (size 1, size 2, shape), the hole-line count and the
// hole lines (X, U, code and, for codes 20 to 22 and 30 to 34, one more
// token).
#pragma once

#include <string>
#include <vector>

// Five tools whose sizes tell the slot apart: slot n has size 1 = n / 10.
inline const std::string kSlotTools = "0.1 0 T1  0.2 0 T2  0.3 0 T3  0.4 0 T4  0.5 0 T5";

// count: the hole-line count as written, empty for the number of lines.
inline std::string holeLinesText(const std::vector<std::string>& holes,
                                 const std::string& count = "")
{
    std::string text = (count.empty() ? std::to_string(holes.size()) : count) + "\n";
    for (const std::string& hole : holes)
        text += "  " + hole + "\n";
    return text;
}

// A record of the Ambrel and Tolvin kind: three numbers behind the section.
struct ShapeSizeRecord {
    std::string job = "J1";
    std::string group = "G1";
    std::string mark = "B1";
    std::string length = "240";
    std::string section = "W";
    std::string d1 = "12";
    std::string d2 = "26";
    std::string d3 = "0";
    std::string quantity = "2";
    std::string tools = kSlotTools;
    std::vector<std::string> holes;
    std::string count; // empty: the number of hole lines

    std::string text() const
    {
        return job + " " + group + " " + mark + " " + length + " " + section + " " + d1 + " " + d2 +
               " " + d3 + " " + quantity + "\n" + tools + "\n" + holeLinesText(holes, count);
    }
};
