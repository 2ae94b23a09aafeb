// Inside the runtime: reading and writing HKEY_CLASSES_ROOT in the few
// shapes the runtime needs. Paths are below HKEY_CLASSES_ROOT.
#pragma once

#include "com/Types.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace classes {

// A REG_SZ value; nullopt when the key or the value is missing or not text.
// A null or empty name is the default value.
std::optional<std::string> readString(const std::string& path, const char* valueName);
bool hasValue(const std::string& path, const char* valueName);
bool hasKey(const std::string& path);
// The names of the subkeys, in the registry's order; empty when missing.
std::vector<std::string> subkeys(const std::string& path);
// The REG_SZ values as name and text, in the registry's order.
std::vector<std::pair<std::string, std::string>> stringValues(const std::string& path);

// These answer the registry's status code.
LONG createKey(const std::string& path);
LONG writeString(const std::string& path, const char* valueName, const std::string& text);
LONG deleteTree(const std::string& path);
// Deletes the key when it has neither subkeys nor values.
void deleteIfEmpty(const std::string& path);

HRESULT hresultOf(LONG status);

} // namespace classes
