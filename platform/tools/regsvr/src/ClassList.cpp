// Listing the classes registered under HKCR\CLSID.
#include "ClassList.h"

#include "registry/Registry.h"

#include <string>

namespace {

// The default value of root\path, "-" when there is none.
std::string defaultValue(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyEx(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "-";
    char buffer[4096];
    DWORD size = sizeof buffer;
    DWORD type = REG_NONE;
    LSTATUS status =
        RegQueryValueEx(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ || size <= 1)
        return "-";
    return std::string(buffer, size - 1);
}

} // namespace

int listRegisteredClasses(std::ostream& out, std::ostream& err)
{
    HKEY classes = nullptr;
    LSTATUS status = RegOpenKeyEx(HKEY_CLASSES_ROOT, "CLSID", 0, KEY_READ, &classes);
    if (status == ERROR_FILE_NOT_FOUND)
        return 0;
    if (status != ERROR_SUCCESS) {
        std::string detail = registryLastError();
        err << "regsvr: cannot read HKEY_CLASSES_ROOT\\CLSID: "
            << (detail.empty() ? "registry error " + std::to_string(status) : detail) << "\n";
        return 1;
    }
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD size = sizeof name;
        if (RegEnumKeyEx(classes, i, name, &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        const std::string key = std::string("CLSID\\") + name;
        out << name << "\t" << defaultValue(HKEY_CLASSES_ROOT, key + "\\ProgID") << "\t"
            << defaultValue(HKEY_CLASSES_ROOT, key) << "\t"
            << defaultValue(HKEY_CLASSES_ROOT, key + "\\InprocServer32") << "\n";
    }
    RegCloseKey(classes);
    return 0;
}
