// Keys and values of a hive in memory.
#include "KeyTree.h"

#include <algorithm>
#include <cstring>

namespace registry {

namespace {

char foldCase(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

template <class Entries>
auto findNamed(Entries& entries, std::string_view name)
{
    return std::find_if(entries.begin(), entries.end(),
                        [&](const auto& entry) { return namesEqual(entry.name, name); });
}

} // namespace

bool namesEqual(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return foldCase(x) == foldCase(y); });
}

std::string Value::bytes() const
{
    if (type == REG_DWORD) {
        std::string out(sizeof number, '\0');
        std::memcpy(out.data(), &number, sizeof number);
        return out;
    }
    return text + '\0';
}

const Key* Key::subkey(std::string_view name) const
{
    auto it = findNamed(subkeys, name);
    return it == subkeys.end() ? nullptr : &*it;
}

Key* Key::subkey(std::string_view name)
{
    return const_cast<Key*>(static_cast<const Key*>(this)->subkey(name));
}

const Value* Key::value(std::string_view name) const
{
    auto it = findNamed(values, name);
    return it == values.end() ? nullptr : &*it;
}

void Key::setValue(Value value)
{
    auto it = findNamed(values, value.name);
    if (it == values.end()) {
        values.push_back(std::move(value));
        return;
    }
    value.name = std::move(it->name);
    *it = std::move(value);
}

bool Key::removeValue(std::string_view name)
{
    auto it = findNamed(values, name);
    if (it == values.end())
        return false;
    values.erase(it);
    return true;
}

bool Key::removeSubkey(std::string_view name)
{
    auto it = findNamed(subkeys, name);
    if (it == subkeys.end())
        return false;
    subkeys.erase(it);
    return true;
}

std::optional<KeyPath> splitKeyPath(std::string_view path)
{
    KeyPath names;
    if (path.empty())
        return names;
    for (;;) {
        std::size_t end = path.find('\\');
        std::string_view name = path.substr(0, end);
        bool control = std::any_of(name.begin(), name.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
        });
        if (name.empty() || control)
            return std::nullopt;
        names.emplace_back(name);
        if (end == std::string_view::npos)
            return names;
        path.remove_prefix(end + 1);
    }
}

const Key* findKey(const Key& from, const KeyPath& path)
{
    const Key* key = &from;
    for (const std::string& name : path) {
        key = key->subkey(name);
        if (!key)
            return nullptr;
    }
    return key;
}

Key* findKey(Key& from, const KeyPath& path)
{
    return const_cast<Key*>(findKey(static_cast<const Key&>(from), path));
}

Key& createKey(Key& from, const KeyPath& path, bool& created)
{
    Key* key = &from;
    for (const std::string& name : path) {
        Key* next = key->subkey(name);
        if (!next) {
            key->subkeys.push_back(Key{name, {}, {}});
            next = &key->subkeys.back();
            created = true;
        }
        key = next;
    }
    return *key;
}

} // namespace registry
