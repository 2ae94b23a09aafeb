// Listing the classes registered under HKCR\CLSID.
#include "ClassList.h"

#include "registry/Registry.h"

#include <string>

namespace {

// The registry could not be read (a damaged or unreadable hive): its text.
struct ReadFailure {
    std::string text;
};

// Throws ReadFailure unless status is success or says "not there".
LSTATUS checked(LSTATUS status)
{
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND || status == ERROR_KEY_DELETED ||
        status == ERROR_NO_MORE_ITEMS || status == ERROR_MORE_DATA)
        return status;
    const std::string detail = registryLastError();
    throw ReadFailure{detail.empty() ? "registry error " + std::to_string(status) : detail};
}

// The default value of root\path, "-" when there is none.
std::string defaultValue(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (checked(RegOpenKeyEx(root, path.c_str(), 0, KEY_READ, &key)) != ERROR_SUCCESS)
        return "-";
    char buffer[4096];
    DWORD size = sizeof buffer;
    DWORD type = REG_NONE;
    LSTATUS status =
        RegQueryValueEx(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (checked(status) != ERROR_SUCCESS || type != REG_SZ || size <= 1)
        return "-";
    return std::string(buffer, size - 1);
}

} // namespace

int listRegisteredClasses(std::ostream& out, std::ostream& err)
{
    HKEY classes = nullptr;
    try {
        if (checked(RegOpenKeyEx(HKEY_CLASSES_ROOT, "CLSID", 0, KEY_READ, &classes)) !=
            ERROR_SUCCESS)
            return 0;
        for (DWORD i = 0;; ++i) {
            char name[256];
            DWORD size = sizeof name;
            if (checked(RegEnumKeyEx(classes, i, name, &size, nullptr, nullptr, nullptr,
                                     nullptr)) != ERROR_SUCCESS)
                break;
            const std::string key = std::string("CLSID\\") + name;
            out << name << "\t" << defaultValue(HKEY_CLASSES_ROOT, key + "\\ProgID") << "\t"
                << defaultValue(HKEY_CLASSES_ROOT, key) << "\t"
                << defaultValue(HKEY_CLASSES_ROOT, key + "\\InprocServer32") << "\n";
        }
    } catch (const ReadFailure& failure) {
        if (classes)
            RegCloseKey(classes);
        err << "regsvr: cannot read HKEY_CLASSES_ROOT\\CLSID: " << failure.text << "\n";
        return 1;
    }
    RegCloseKey(classes);
    return 0;
}
