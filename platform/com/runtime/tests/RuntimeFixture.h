// The fixture of the runtime's tests: a temporary registry per test, an
// initialised thread, and registry writes in the shape
// a server's registration leaves them.
#pragma once

#include "com/Runtime.h"
#include "registry/Registry.h"
#include "testing/ErrorInfo.h"
#include "testing/TemporaryRegistry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using testsupport::takeErrorDescription;

class RuntimeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(CoInitialize(nullptr), S_OK); }
    void TearDown() override
    {
        SetErrorInfo(0, nullptr);
        CoUninitialize();
        CoFreeUnusedLibraries();
    }

    // Writes HKCR\path's value (the default for an empty name).
    static void setClassesValue(const std::string& path, const char* name, const std::string& text)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyEx(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                 nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueEx(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                static_cast<DWORD>(text.size() + 1)),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    static void registerInproc(REFCLSID clsid, const std::string& modulePath)
    {
        setClassesValue("CLSID\\" + guidToString(clsid) + "\\InprocServer32", "", modulePath);
    }
    static bool classesHasKey(const std::string& path)
    {
        HKEY key = nullptr;
        if (RegOpenKeyEx(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }
    testsupport::TemporaryRegistry m_registry{"comrt-test"};
    const std::filesystem::path m_dir = m_registry.folder();
};
