// The server's registration: the keys of its three classes, its type
// library and the converter category, registering twice and unregistering.
#include "HalcyraFixture.h"

#include "com/ComPtr.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Every key and value below path, one line each, sorted by name: the
// registry's own order follows the order of creation.
std::string dump(const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "";
    std::vector<std::string> values;
    for (DWORD i = 0;; ++i) {
        char name[256];
        BYTE data[1024];
        DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
        if (RegEnumValue(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS)
            break;
        values.push_back("  " + std::string(name) + " = " +
                         (type == REG_SZ ? std::string(reinterpret_cast<char*>(data)) : "?") +
                         "\n");
    }
    std::vector<std::string> subkeys;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameSize = sizeof name;
        if (RegEnumKeyEx(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        subkeys.push_back(name);
    }
    RegCloseKey(key);
    std::sort(values.begin(), values.end());
    std::sort(subkeys.begin(), subkeys.end());
    std::string text = path + "\n";
    for (const std::string& v : values)
        text += v;
    for (const std::string& subkey : subkeys)
        text += dump(path + "\\" + subkey);
    return text;
}

std::string value(const std::string& path, const char* name)
{
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "<no key>";
    char data[1024];
    DWORD size = sizeof data, type = 0;
    const LSTATUS status =
        RegQueryValueEx(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? std::string(data) : "<no value>";
}

bool exists(const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::string categoryDescription()
{
    CComPtr<ICatInformation> categories;
    EXPECT_EQ(
        categories.CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER),
        S_OK);
    LPWSTR text = nullptr;
    if (FAILED(categories->GetCategoryDesc(CATID_VelmoraCadConversion, 0x409, &text)))
        return "<none>";
    const std::string narrow(text, text + std::char_traits<char16_t>::length(text));
    CoTaskMemFree(text);
    return narrow;
}

struct ClassKeys {
    const char* name;
    CLSID clsid;
    const char* progId;
    const char* description;
    const char* threadingModel;
    bool programmable;
};

const ClassKeys kClasses[] = {
    {"CADPart", CLSID_CADPart, "Velmora.CADPart", "CADPart Class", "Apartment", true},
    {"CADPart2", CLSID_CADPart2, "Velmora.CADPart2", "CADPart2 Class", "Both", false},
    {"CADMult", CLSID_CADMult, "Halcyra.CADMult", "CADMult Class", "Apartment", true},
};

using Registration = HalcyraTest;

TEST_F(Registration, WritesTheKeysOfEveryClass)
{
    for (const ClassKeys& c : kClasses) {
        SCOPED_TRACE(c.name);
        const std::string clsid = "CLSID\\" + guidToString(c.clsid);
        const std::string progId = c.progId;
        EXPECT_EQ(value(progId + ".1", nullptr), c.description);
        EXPECT_EQ(value(progId + ".1\\CLSID", nullptr), guidToString(c.clsid));
        EXPECT_EQ(value(progId, nullptr), c.description);
        EXPECT_EQ(value(progId + "\\CLSID", nullptr), guidToString(c.clsid));
        EXPECT_EQ(value(progId + "\\CurVer", nullptr), progId + ".1");
        EXPECT_EQ(value(clsid, nullptr), c.description);
        EXPECT_EQ(value(clsid + "\\ProgID", nullptr), progId + ".1");
        EXPECT_EQ(value(clsid + "\\VersionIndependentProgID", nullptr), progId);
        EXPECT_EQ(value(clsid + "\\InprocServer32", nullptr), HALCYRA_PATH);
        EXPECT_EQ(value(clsid + "\\InprocServer32", "ThreadingModel"), c.threadingModel);
        EXPECT_EQ(value(clsid + "\\TypeLib", nullptr), "{BA2EF005-F351-11D2-A3F9-00A0249F4DED}");
        EXPECT_EQ(exists(clsid + "\\Programmable"), c.programmable);
    }
    EXPECT_TRUE(exists("TypeLib\\{BA2EF005-F351-11D2-A3F9-00A0249F4DED}"));
    EXPECT_EQ(categoryDescription(), "Velmora Cad Conversion");
}

TEST_F(Registration, RegisteringTwiceLeavesOneSetOfKeys)
{
    const std::string once = dump("CLSID") + dump("Velmora.CADPart") + dump("TypeLib");
    // A stale subkey under a class key goes with the rewrite.
    setString("CLSID\\" + guidToString(CLSID_CADPart) + "\\Stale", nullptr, "x");
    ASSERT_EQ(serverExport("DllRegisterServer")(), S_OK);
    EXPECT_EQ(dump("CLSID") + dump("Velmora.CADPart") + dump("TypeLib"), once);
}

TEST_F(Registration, UnregisteringLeavesTheCategory)
{
    ASSERT_EQ(serverExport("DllUnregisterServer")(), S_OK);
    for (const ClassKeys& c : kClasses) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(exists(c.progId));
        EXPECT_FALSE(exists(std::string(c.progId) + ".1"));
        EXPECT_FALSE(exists("CLSID\\" + guidToString(c.clsid)));
    }
    EXPECT_TRUE(exists("CLSID")); // never removed itself
    EXPECT_FALSE(exists("TypeLib\\{BA2EF005-F351-11D2-A3F9-00A0249F4DED}"));
    EXPECT_EQ(categoryDescription(), "Velmora Cad Conversion");

    CComPtr<IUnknown> part;
    EXPECT_EQ(part.CoCreateInstance(CLSID_CADPart, nullptr, CLSCTX_INPROC_SERVER),
              REGDB_E_CLASSNOTREG);
}

} // namespace
