// The in-memory form of a hive: keys holding values and subkeys, each list
// kept in the order its entries were created (which is also the order of
// enumeration). Names compare with ASCII case folding only, so "Ä" and "ä"
// are different names; a name keeps the case it was created with.
#pragma once

#include "registry/Registry.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace registry {

bool namesEqual(std::string_view a, std::string_view b);

struct Value {
    std::string name; // "" is the key's default value
    DWORD type = REG_SZ;
    std::string text; // REG_SZ, without its terminating NUL
    DWORD number = 0; // REG_DWORD

    // The bytes a caller receives: the text with its NUL, or four bytes.
    std::string bytes() const;
};

struct Key {
    std::string name;
    std::vector<Value> values;
    std::vector<Key> subkeys;

    const Key* subkey(std::string_view name) const;
    Key* subkey(std::string_view name);
    const Value* value(std::string_view name) const;
    // Replaces the data of a value of that name (keeping the name's case) or
    // adds the value.
    void setValue(Value value);
    bool removeValue(std::string_view name);
    bool removeSubkey(std::string_view name);
};

// Key names from the root of a hive.
using KeyPath = std::vector<std::string>;

// Splits "A\B\C"; "" is the empty path. Null when a name is empty or holds a
// control character (key names are printable text without '\').
std::optional<KeyPath> splitKeyPath(std::string_view path);

const Key* findKey(const Key& from, const KeyPath& path);
Key* findKey(Key& from, const KeyPath& path);
// Finds or creates every level of path; created tells whether any was new.
Key& createKey(Key& from, const KeyPath& path, bool& created);

} // namespace registry
