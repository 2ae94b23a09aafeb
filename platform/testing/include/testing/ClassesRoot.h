// What a server's registration left under HKEY_CLASSES_ROOT, as its tests
// read it back (ProgIDs, CLSID keys, type libraries). Header-only: the test
// links the registry (`registry`).
//
//   EXPECT_EQ(testsupport::classesValue("CLSID\\" + clsid + "\\ProgID"), "My.Class.1");
//   EXPECT_FALSE(testsupport::classesHasKey("My.Class"));
#pragma once

#include "registry/Registry.h"

#include <cstring>
#include <optional>
#include <string>

namespace testsupport {

// A text value of a key under HKEY_CLASSES_ROOT (the default value when
// name is empty); nullopt when the key or the value is missing.
inline std::optional<std::string> classesValue(const std::string& path, const char* name = "")
{
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    char buffer[2048] = {};
    DWORD size = sizeof buffer;
    const LSTATUS status =
        RegQueryValueEx(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
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
