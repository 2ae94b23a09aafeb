// A fixture pointing VLMR_REGISTRY at a fresh directory of its own, and small
// helpers for the tests of the registry.
#pragma once

#include "registry/Registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

class TemporaryRegistry : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "registry-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_top = pattern;
        useDirectory(m_top / "registry");
    }
    void TearDown() override { std::filesystem::remove_all(m_top); }

    void useDirectory(const std::filesystem::path& dir)
    {
        m_dir = dir;
        setenv("VLMR_REGISTRY", dir.c_str(), 1);
    }
    std::string hive(const char* name) const { return (m_dir / name).string(); }

    static std::string readFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static void writeFile(const std::string& path, const std::string& text)
    {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

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

    std::filesystem::path m_top;
    std::filesystem::path m_dir;
};
