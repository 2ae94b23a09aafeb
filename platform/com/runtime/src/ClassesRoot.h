// Inside the runtime: reading and writing HKEY_CLASSES_ROOT in the few
// shapes the runtime needs. Paths are below HKEY_CLASSES_ROOT.
//
// A key or value that is missing reads as missing; a registry that cannot
// be read (a damaged or unreadable hive) throws ReadFailure, so that it is
// never taken for "nothing registered".
#pragma once

#include "com/Types.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace classes {

// The registry could not be read: its status and the registry's text
// (which names the hive file, and the line for a damaged one).
class ReadFailure : public std::runtime_error {
public:
    ReadFailure(LONG status, const std::string& text) : std::runtime_error(text), m_status(status)
    {
    }
    LONG status() const { return m_status; }

private:
    LONG m_status;
};

// The failure as an HRESULT, with its text in the thread's error info
// ("The registry is damaged: registry file ..., line ...: ...").
HRESULT reportReadFailure(const ReadFailure& failure, const char16_t* source);

// Throws ReadFailure unless HKEY_CLASSES_ROOT's hive can be read; answers
// its version (registryHiveVersion).
std::uint64_t hiveVersion();

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
