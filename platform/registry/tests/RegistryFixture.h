// The fixture of the registry's tests: a temporary registry of its own,
// and small helpers that write and read keys and hive files.
#pragma once

#include "registry/Registry.h"
#include "testing/TemporaryFolder.h"
#include "testing/TemporaryRegistry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

using testsupport::readFile;
using testsupport::writeFile;

class RegistryFixture : public ::testing::Test {
protected:
    // Points VLMR_REGISTRY at dir for the rest of the test (the temporary
    // registry puts the variable back).
    void useDirectory(const std::filesystem::path& dir)
    {
        m_dir = dir;
        setenv("VLMR_REGISTRY", dir.c_str(), 1);
    }
    std::string hive(const char* name) const { return (m_dir / name).string(); }

    static HKEY create(HKEY parent, const char* path)
    {
        HKEY key = nullptr;
        EXPECT_EQ(
            RegCreateKeyEx(parent, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS)
            << path;
        return key;
    }
    static LSTATUS setString(HKEY key, const char* name, const std::string& text)
    {
        return RegSetValueEx(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>(text.size() + 1));
    }
    static LSTATUS setNumber(HKEY key, const char* name, DWORD number)
    {
        return RegSetValueEx(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                             sizeof number);
    }
    // The REG_SZ value's text, or "<error N>".
    static std::string queryString(HKEY key, const char* name)
    {
        char buffer[4096];
        DWORD size = sizeof buffer;
        DWORD type = REG_NONE;
        LSTATUS status =
            RegQueryValueEx(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
        if (status != ERROR_SUCCESS)
            return "<error " + std::to_string(status) + ">";
        EXPECT_EQ(type, REG_SZ);
        EXPECT_EQ(buffer[size - 1], '\0');
        return std::string(buffer, size - 1);
    }

    testsupport::TemporaryRegistry m_registry;
    const std::filesystem::path m_top = m_registry.folder();
    std::filesystem::path m_dir = m_registry.directory();
};
