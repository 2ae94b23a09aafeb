// A test fixture with a registry of its own and the calling thread
// initialised for COM, plus helpers that read the registry back.
#pragma once

#include "com/Runtime.h"
#include "registry/Registry.h"
#include "testing/ErrorInfo.h"
#include "testing/TemporaryRegistry.h"

#include <gtest/gtest.h>

#include <string>

using testsupport::takeErrorDescription;

class RegistryFixture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override
    {
        SetErrorInfo(0, nullptr);
        CoUninitialize();
    }

    static bool keyExists(HKEY root, const std::string& path)
    {
        HKEY key = nullptr;
        if (RegOpenKeyEx(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    // A REG_SZ value's text ("" names the default value), "<missing>" when
    // the key or value is absent.
    static std::string stringValue(HKEY root, const std::string& path, const char* name = "")
    {
        HKEY key = nullptr;
        if (RegOpenKeyEx(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return "<missing>";
        char buffer[4096];
        DWORD size = sizeof buffer;
        DWORD type = REG_NONE;
        LSTATUS status =
            RegQueryValueEx(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
        RegCloseKey(key);
        if (status != ERROR_SUCCESS || type != REG_SZ || size == 0)
            return "<missing>";
        return std::string(buffer, size - 1);
    }

    // Every key and value under path, one per line, in registry order.
    static std::string dump(HKEY root, const std::string& path)
    {
        HKEY key = nullptr;
        if (RegOpenKeyEx(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return {};
        std::string text = path + "\n";
        for (DWORD i = 0;; ++i) {
            char name[512];
            DWORD nameSize = sizeof name;
            BYTE data[4096];
            DWORD dataSize = sizeof data;
            DWORD type = REG_NONE;
            if (RegEnumValue(key, i, name, &nameSize, nullptr, &type, data, &dataSize) !=
                ERROR_SUCCESS)
                break;
            text += path + " [" + name + "] = ";
            if (type == REG_SZ && dataSize > 0)
                text += std::string(reinterpret_cast<char*>(data), dataSize - 1);
            else if (type == REG_DWORD)
                text += "dword " + std::to_string(*reinterpret_cast<DWORD*>(data));
            text += "\n";
        }
        for (DWORD i = 0;; ++i) {
            char name[512];
            DWORD nameSize = sizeof name;
            if (RegEnumKeyEx(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                break;
            text += dump(root, path.empty() ? name : path + "\\" + name);
        }
        RegCloseKey(key);
        return text;
    }

    testsupport::TemporaryRegistry m_registry{"comserver-test"};
};
