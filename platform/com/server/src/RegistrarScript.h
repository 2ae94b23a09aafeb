// The parsed form of a registrar script (grammar in com/server/Registrar.h).
#pragma once

#include "com/server/Registrar.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace comserver {

enum class KeyFlag { None, NoRemove, ForceRemove, Delete };

struct ScriptValue {
    std::string name; // empty: the key's default value
    DWORD type;       // REG_SZ or REG_DWORD
    std::string text; // REG_SZ
    DWORD number = 0; // REG_DWORD
    int line = 0;
};

struct ScriptKey {
    std::string name;
    KeyFlag flag = KeyFlag::None;
    bool hasDefault = false;
    ScriptValue defaultValue;
    std::vector<ScriptValue> values;
    std::vector<ScriptKey> subkeys;
    int line = 0;
};

struct ScriptRoot {
    HKEY key;
    std::string name; // as written, for messages
    std::vector<ScriptKey> subkeys;
};

// A malformed script: the line and what is wrong there.
class ScriptError : public std::runtime_error {
public:
    ScriptError(int line, const std::string& what) : std::runtime_error(what), m_line(line) {}
    int line() const { return m_line; }

private:
    int m_line;
};

// Parses the whole script; throws ScriptError.
std::vector<ScriptRoot> parseRegistrarScript(std::string_view script,
                                             const Replacements& replacements);

} // namespace comserver
