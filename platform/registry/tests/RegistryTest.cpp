// The registry API's behaviour: keys, values, enumeration, deletion, handles.
#include "RegistryFixture.h"

#include "testing/ScopedEnvironment.h"

#include <cstring>
#include <vector>

namespace {

using Registry = RegistryFixture;

std::vector<std::string> subkeyNames(HKEY key)
{
    std::vector<std::string> names;
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD size = sizeof name;
        LSTATUS status = RegEnumKeyEx(key, index, name, &size, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS)
            return names;
        EXPECT_EQ(status, ERROR_SUCCESS);
        EXPECT_EQ(size, std::strlen(name));
        names.emplace_back(name);
    }
}

LSTATUS openKey(HKEY parent, const char* path, HKEY* key)
{
    return RegOpenKeyEx(parent, path, 0, KEY_READ, key);
}

TEST_F(Registry, CreateMakesEveryLevelAndTellsWhetherItWasNew)
{
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Maker\\App", 0, nullptr, 0, KEY_WRITE,
                             nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    RegCloseKey(key);
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Maker", 0, nullptr, 0, KEY_WRITE,
                             nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    EXPECT_EQ(subkeyNames(key), std::vector<std::string>{"App"});
    RegCloseKey(key);

    key = reinterpret_cast<HKEY>(1);
    EXPECT_EQ(openKey(HKEY_CURRENT_USER, "Software\\Maker\\Other", &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    for (const char* bad : {"\\Software", "Software\\\\Maker", "Soft\nware"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, bad, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                                 nullptr),
                  ERROR_INVALID_PARAMETER);
    }
}

TEST_F(Registry, ValuesRoundTrip)
{
    struct Case {
        const char* name;
        DWORD type;
        std::string data; // as handed to RegSetValueEx
        std::string read; // as RegQueryValueEx answers
    };
    auto withNul = [](std::string text) { return text + '\0'; };
    const std::string awkward = "Größe ✓\n\"x\"\\\t\x01\x7f\r";
    DWORD number = 0xdeadbeef;
    std::string dword(reinterpret_cast<const char*>(&number), sizeof number);
    const Case cases[] = {
        {"Text", REG_SZ, withNul("plain"), withNul("plain")},
        {"Empty", REG_SZ, withNul(""), withNul("")},
        {"NoData", REG_SZ, "", withNul("")},
        {"Unterminated", REG_SZ, "abc", withNul("abc")},
        {"Utf8 Größe ✓", REG_SZ, withNul(awkward), withNul(awkward)},
        {"Number", REG_DWORD, dword, dword},
        {"", REG_SZ, withNul("default"), withNul("default")},
    };
    HKEY key = create(HKEY_CURRENT_USER, "Software\\RoundTrip");
    for (const Case& c : cases)
        ASSERT_EQ(RegSetValueEx(key, c.name, 0, c.type,
                                reinterpret_cast<const BYTE*>(c.data.data()),
                                static_cast<DWORD>(c.data.size())),
                  ERROR_SUCCESS)
            << c.name;
    RegCloseKey(key);

    // Once from the cache, once from a copy of the file read afresh.
    for (bool fromFile : {false, true}) {
        SCOPED_TRACE(fromFile ? "from the file" : "from the cache");
        if (fromFile) {
            std::filesystem::copy(m_dir, m_top / "copy");
            useDirectory(m_top / "copy");
        }
        ASSERT_EQ(openKey(HKEY_CURRENT_USER, "Software\\RoundTrip", &key), ERROR_SUCCESS);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            DWORD type = REG_NONE;
            DWORD size = 0;
            ASSERT_EQ(RegQueryValueEx(key, c.name, nullptr, &type, nullptr, &size), ERROR_SUCCESS);
            EXPECT_EQ(type, c.type);
            EXPECT_EQ(size, c.read.size());
            std::string data(size, '?');
            ASSERT_EQ(RegQueryValueEx(key, c.name, nullptr, nullptr,
                                      reinterpret_cast<BYTE*>(data.data()), &size),
                      ERROR_SUCCESS);
            EXPECT_EQ(data, c.read);
        }
        RegCloseKey(key);
    }
}

TEST_F(Registry, QueryAnswersSizesAndShortBuffers)
{
    HKEY key = create(HKEY_CURRENT_USER, "Software\\Sizes");
    ASSERT_EQ(setString(key, "Name", "twelve chars"), ERROR_SUCCESS);
    char buffer[8];
    DWORD size = sizeof buffer;
    DWORD type = REG_NONE;
    EXPECT_EQ(RegQueryValueEx(key, "Name", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 13u);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(RegQueryValueEx(key, "Missing", nullptr, nullptr, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(
        RegQueryValueEx(key, "Name", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), nullptr),
        ERROR_INVALID_PARAMETER);
    // The default value: a null name and "" are the same.
    ASSERT_EQ(setString(key, nullptr, "default"), ERROR_SUCCESS);
    EXPECT_EQ(queryString(key, ""), "default");
    DWORD two[2] = {1, 2};
    EXPECT_EQ(
        RegSetValueEx(key, "Wide", 0, REG_DWORD, reinterpret_cast<const BYTE*>(two), sizeof two),
        ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueEx(key, "Binary", 0, 3, reinterpret_cast<const BYTE*>(two), sizeof two),
              ERROR_INVALID_PARAMETER);
    RegCloseKey(key);
}

TEST_F(Registry, NamesCompareWithoutCaseAndKeepTheirCase)
{
    HKEY key = create(HKEY_CURRENT_USER, "Software\\MixedCase");
    ASSERT_EQ(setString(key, "ValueName", "one"), ERROR_SUCCESS);
    ASSERT_EQ(setString(key, "VALUENAME", "two"), ERROR_SUCCESS);
    RegCloseKey(key);

    ASSERT_EQ(openKey(HKEY_CURRENT_USER, "SOFTWARE\\mixedcase", &key), ERROR_SUCCESS);
    EXPECT_EQ(queryString(key, "valuename"), "two");
    char name[32];
    DWORD size = sizeof name;
    ASSERT_EQ(RegEnumValue(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_STREQ(name, "ValueName");
    EXPECT_EQ(RegEnumValue(key, 1, name, &size, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    RegCloseKey(key);

    key = create(HKEY_CURRENT_USER, "software");
    EXPECT_EQ(subkeyNames(HKEY_CURRENT_USER), std::vector<std::string>{"Software"});
    EXPECT_EQ(subkeyNames(key), std::vector<std::string>{"MixedCase"});
    RegCloseKey(key);
}

TEST_F(Registry, ClassesRootIsMachineSoftwareClasses)
{
    HKEY classes = HKEY_CLASSES_ROOT;
    EXPECT_TRUE(subkeyNames(classes).empty());
    HKEY key = create(HKEY_CLASSES_ROOT, "CLSID\\{1}");
    ASSERT_EQ(setString(key, nullptr, "via classes root"), ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_EQ(openKey(HKEY_LOCAL_MACHINE, "software\\classes\\clsid\\{1}", &key), ERROR_SUCCESS);
    EXPECT_EQ(queryString(key, nullptr), "via classes root");
    RegCloseKey(key);

    key = create(HKEY_LOCAL_MACHINE, "Software\\Classes\\Prog.Id");
    RegCloseKey(key);
    EXPECT_EQ(subkeyNames(HKEY_CLASSES_ROOT), (std::vector<std::string>{"CLSID", "Prog.Id"}));
    EXPECT_EQ(openKey(HKEY_CURRENT_USER, "Software\\Classes\\Prog.Id", &key), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(std::filesystem::exists(hive("HKLM.reg")));
    EXPECT_FALSE(std::filesystem::exists(hive("HKCU.reg")));
}

TEST_F(Registry, EnumerationFollowsCreationOrder)
{
    HKEY key = create(HKEY_CURRENT_USER, "Software\\Order");
    for (const char* name : {"beta", "Alpha", "gamma"})
        RegCloseKey(create(key, name));
    EXPECT_EQ(subkeyNames(key), (std::vector<std::string>{"beta", "Alpha", "gamma"}));
    char name[4];
    DWORD size = sizeof name;
    EXPECT_EQ(RegEnumKeyEx(key, 1, name, &size, nullptr, nullptr, nullptr, nullptr),
              ERROR_MORE_DATA);

    ASSERT_EQ(setNumber(key, "Second", 2), ERROR_SUCCESS);
    ASSERT_EQ(setString(key, nullptr, "first"), ERROR_SUCCESS);
    char value[16];
    DWORD valueSize = sizeof value;
    DWORD type = REG_NONE;
    DWORD data = 0;
    DWORD dataSize = sizeof data;
    ASSERT_EQ(RegEnumValue(key, 0, value, &valueSize, nullptr, &type,
                           reinterpret_cast<BYTE*>(&data), &dataSize),
              ERROR_SUCCESS);
    EXPECT_STREQ(value, "Second");
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(data, 2u);
    valueSize = sizeof value;
    dataSize = 2;
    EXPECT_EQ(RegEnumValue(key, 1, value, &valueSize, nullptr, &type,
                           reinterpret_cast<BYTE*>(&data), &dataSize),
              ERROR_MORE_DATA);
    EXPECT_STREQ(value, "");
    EXPECT_EQ(dataSize, 6u);
    RegCloseKey(key);
}

TEST_F(Registry, DeleteKeyRefusesSubkeysAndDeleteTreeTakesThemAll)
{
    HKEY key = create(HKEY_CURRENT_USER, "Software\\Tree");
    RegCloseKey(create(key, "Branch\\Leaf"));
    ASSERT_EQ(setString(key, "Value", "x"), ERROR_SUCCESS);

    EXPECT_EQ(RegDeleteKey(key, "Branch"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKey(key, "Branch\\Leaf"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKey(key, "Branch\\Leaf"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKey(key, "Branch"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, nullptr), ERROR_ACCESS_DENIED);

    EXPECT_EQ(RegDeleteValue(key, "value"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValue(key, "Value"), ERROR_FILE_NOT_FOUND);

    RegCloseKey(create(key, "A\\B\\C"));
    EXPECT_EQ(RegDeleteTree(key, "A"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteTree(key, "A"), ERROR_FILE_NOT_FOUND);

    RegCloseKey(create(key, "X\\Y"));
    ASSERT_EQ(setString(key, "Kept?", "no"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteTree(key, nullptr), ERROR_SUCCESS);
    EXPECT_TRUE(subkeyNames(key).empty());
    EXPECT_EQ(queryString(key, "Kept?"), "<error 2>");
    RegCloseKey(key);
    EXPECT_EQ(openKey(HKEY_CURRENT_USER, "Software\\Tree", &key), ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(Registry, HandlesOfDeletedKeysAnswerKeyDeleted)
{
    HKEY inner = create(HKEY_CURRENT_USER, "Software\\Gone\\Inner");
    HKEY outer = create(HKEY_CURRENT_USER, "Software\\Gone");
    ASSERT_EQ(RegDeleteTree(HKEY_CURRENT_USER, "Software\\Gone"), ERROR_SUCCESS);
    for (HKEY key : {inner, outer}) {
        HKEY sub = nullptr;
        char name[16];
        DWORD size = sizeof name;
        EXPECT_EQ(queryString(key, "x"), "<error 1018>");
        EXPECT_EQ(setString(key, "x", "y"), ERROR_KEY_DELETED);
        EXPECT_EQ(RegEnumKeyEx(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr),
                  ERROR_KEY_DELETED);
        EXPECT_EQ(RegCreateKeyEx(key, "Sub", 0, nullptr, 0, KEY_WRITE, nullptr, &sub, nullptr),
                  ERROR_KEY_DELETED);
        EXPECT_EQ(RegDeleteKey(key, nullptr), ERROR_KEY_DELETED);
        EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    }
    EXPECT_EQ(openKey(HKEY_CURRENT_USER, "Software\\Gone", &outer), ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, InvalidHandlesAreRefusedAndPredefinedOnesMayBeClosed)
{
    HKEY closed = create(HKEY_CURRENT_USER, "Software\\Closed");
    ASSERT_EQ(RegCloseKey(closed), ERROR_SUCCESS);
    for (HKEY key : {static_cast<HKEY>(nullptr), closed, reinterpret_cast<HKEY>(0x12345)}) {
        HKEY sub = nullptr;
        EXPECT_EQ(openKey(key, "x", &sub), ERROR_INVALID_HANDLE);
        EXPECT_EQ(setString(key, "x", "y"), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    }
    for (HKEY key : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        HKEY same = nullptr;
        EXPECT_EQ(openKey(key, nullptr, &same), ERROR_SUCCESS);
        EXPECT_EQ(same, key);
        EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    }
    HKEY sub = nullptr;
    EXPECT_EQ(openKey(HKEY_CURRENT_USER, "Software\\Closed", &sub), ERROR_SUCCESS);
    RegCloseKey(sub);
}

TEST_F(Registry, HivesFollowTheEnvironment)
{
    HKEY key = create(HKEY_CURRENT_USER, "Software\\First");
    RegCloseKey(key);
    useDirectory(m_top / "second");
    EXPECT_EQ(openKey(HKEY_CURRENT_USER, "Software\\First", &key), ERROR_FILE_NOT_FOUND);

    unsetenv("VLMR_REGISTRY");
    const testsupport::ScopedEnvironment data("XDG_DATA_HOME", (m_top / "data").string());
    RegCloseKey(create(HKEY_CURRENT_USER, "Software\\Default"));
    EXPECT_TRUE(std::filesystem::exists(m_top / "data/vlmr/registry/HKCU.reg"));
}

} // namespace
