// Keys and values under HKEY_CLASSES_ROOT as a registration test reads
// them. Header-only: the test links the registry (`registry`).
#pragma once

#include "registry/Registry.h"

#include <cstring>
#include <optional>
#include <string>

namespace testsupport {

// The string value name of the key path (the default value for ""); none
// when the key or the value is missing.
inline std::optional<std::string> classesValue(const std::string& path, const char* name = "")
{
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    char buffer[2048] = {};
    DWORD size = sizeof buffer;
    DWORD type = 0;
    const LSTATUS status =
        RegQueryValueEx(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(buffer, strnlen(buffer, size));
}

inline bool classesHasKey(const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

} // namespace testsupport
