// The fixture of the registry's tests: a temporary registry of its own,
// and small helpers that write and read keys and hive files.
#pragma once

#include "registry/Registry.h"
#include "testing/TemporaryFolder.h"
#include "testing/TemporaryRegistry.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

using testsupport::readFile;
using testsupport::writeFile;

// Runs body in a child process; true when it returned true.
template <class Body>
pid_t forkChild(Body body)
{
    pid_t child = fork();
    if (child == 0)
        _exit(body() ? 0 : 1);
    return child;
}

inline bool succeeded(pid_t child)
{
    int status = 0;
    return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

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
    // The REG_DWORD value, or ~0 when it cannot be read.
    static DWORD queryNumber(HKEY key, const char* name)
    {
        DWORD number = 0;
        DWORD size = sizeof number;
        if (RegQueryValueEx(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&number), &size) !=
            ERROR_SUCCESS)
            return ~DWORD{0};
        return number;
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
