// The fixture of the runtime's tests: a fresh registry directory per test
// (VLMR_REGISTRY), an initialised thread, and registry writes in the shape
// a server's registration leaves them.
#pragma once

#include "com/Bstr.h"
#include "com/CodePage.h"
#include "com/Runtime.h"
#include "registry/Registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

class RuntimeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "comrt-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        setenv("VLMR_REGISTRY", (m_dir / "registry").c_str(), 1);
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
    }
    void TearDown() override
    {
        SetErrorInfo(0, nullptr);
        CoUninitialize();
        CoFreeUnusedLibraries();
        std::filesystem::remove_all(m_dir);
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
    // The thread's error description, taken from it; "" when there is none.
    static std::string takeErrorDescription()
    {
        IErrorInfo* info = nullptr;
        if (GetErrorInfo(0, &info) != S_OK)
            return "";
        BSTR text = nullptr;
        info->GetDescription(&text);
        info->Release();
        const std::string narrow = narrowFromWide(std::u16string_view(text, SysStringLen(text)));
        SysFreeString(text);
        return narrow;
    }

    std::filesystem::path m_dir;
};
