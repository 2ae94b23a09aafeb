// The text form of a hive file. An example:
//
//   vlmr-registry version 2 generation 12
//   "RootValue"=d:0x00000001
//   [Software]
//   [Software\Classes]
//   @=s:"the default value"
//   "Note"=s:"two\nlines with \"quotes\" and a \\ and \x01"
//   "Count"=d:0x0000001f
//   vlmr-registry end
//
// Line 1 holds the format tag, the format version and a generation counter
// that every write increases. The last line that is not blank is the end
// line: a version 2 hive without it was cut short (a copy or a disk that
// stopped at a line end) and is damaged, as is text after it. Version 1
// hives, written before the end line existed, are read without one (and
// with one); every hive is written as version 2. Each key has a line `[path]`, its
// full path from the hive root with '\' between the names; a key's line comes
// before its subkeys' lines, keys in their creation order. Key names hold no
// control characters and no '\', so they need no escapes. The value lines
// under a key line belong to that key (those before the first key line to the
// hive root): a quoted name, or @ for the default value, then '=' and s:"text"
// (REG_SZ) or d:0x<hex> (REG_DWORD). Quoted text is UTF-8 with the escapes
// \\ \" \n \r \t and \xHH; every other byte stands for itself. Blank lines are
// ignored; a '\r' ending a line is ignored.
#pragma once

#include "KeyTree.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace registry {

struct HiveText {
    Key root;
    std::uint64_t generation = 0;
};

// A file that is not in the format: where and what.
class HiveSyntaxError : public std::runtime_error {
public:
    HiveSyntaxError(std::size_t line, const std::string& what)
        : std::runtime_error(what), m_line(line)
    {
    }
    std::size_t line() const { return m_line; }

private:
    std::size_t m_line;
};

HiveText parseHive(std::string_view text); // throws HiveSyntaxError
std::string writeHive(const Key& root, std::uint64_t generation);

} // namespace registry
