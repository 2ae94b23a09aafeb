// Small RAII wrappers over the registry calls the runtime makes.
#include "ClassesRoot.h"

#include "ReportError.h"

#include "registry/Registry.h"

#include <algorithm>
#include <utility>

namespace classes {

namespace {

// Whether status says that what was asked for is not there (a key another
// process deleted meanwhile included), as opposed to a registry that cannot
// be read.
bool missing(LONG status)
{
    return status == ERROR_FILE_NOT_FOUND || status == ERROR_KEY_DELETED ||
           status == ERROR_NO_MORE_ITEMS;
}

// Throws for a status that is neither success nor "missing".
LONG checked(LONG status)
{
    if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA && !missing(status))
        throw ReadFailure(status, registryLastError());
    return status;
}

class Key {
public:
    Key(const std::string& path, bool create = false)
    {
        const LONG status =
            create
                ? RegCreateKeyEx(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr,
                                 REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &m_key, nullptr)
                : RegOpenKeyEx(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &m_key);
        m_status = status;
        if (status != ERROR_SUCCESS)
            m_key = nullptr;
        if (!create)
            checked(status);
    }
    ~Key()
    {
        if (m_key)
            RegCloseKey(m_key);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    HKEY get() const { return m_key; }
    LONG status() const { return m_status; }

private:
    HKEY m_key = nullptr;
    LONG m_status = ERROR_SUCCESS;
};

// The registry's text of a value: its bytes without the NUL.
std::optional<std::string> stringOf(DWORD type, std::string bytes)
{
    if (type != REG_SZ)
        return std::nullopt;
    while (!bytes.empty() && bytes.back() == '\0')
        bytes.pop_back();
    return bytes;
}

} // namespace

std::optional<std::string> readString(const std::string& path, const char* valueName)
{
    Key key(path);
    if (!key.get())
        return std::nullopt;
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (checked(RegQueryValueEx(key.get(), valueName, nullptr, &type, nullptr, &size)) !=
        ERROR_SUCCESS)
        return std::nullopt;
    std::string data(size, '\0');
    if (checked(RegQueryValueEx(key.get(), valueName, nullptr, &type,
                                reinterpret_cast<BYTE*>(data.data()), &size)) != ERROR_SUCCESS)
        return std::nullopt;
    data.resize(size);
    return stringOf(type, std::move(data));
}

bool hasValue(const std::string& path, const char* valueName)
{
    Key key(path);
    DWORD size = 0;
    return key.get() && checked(RegQueryValueEx(key.get(), valueName, nullptr, nullptr, nullptr,
                                                &size)) == ERROR_SUCCESS;
}

bool hasKey(const std::string& path)
{
    return Key(path).get() != nullptr;
}

std::vector<std::string> subkeys(const std::string& path)
{
    std::vector<std::string> names;
    Key key(path);
    if (!key.get())
        return names;
    std::string name(256, '\0');
    for (DWORD index = 0;;) {
        DWORD size = static_cast<DWORD>(name.size());
        const LONG status = checked(
            RegEnumKeyEx(key.get(), index, name.data(), &size, nullptr, nullptr, nullptr, nullptr));
        if (status == ERROR_MORE_DATA) {
            name.resize(name.size() * 2);
            continue;
        }
        if (status != ERROR_SUCCESS)
            break;
        names.emplace_back(name.data(), size);
        ++index;
    }
    return names;
}

std::vector<std::pair<std::string, std::string>> stringValues(const std::string& path)
{
    std::vector<std::pair<std::string, std::string>> values;
    Key key(path);
    if (!key.get())
        return values;
    std::string name(256, '\0');
    std::string data(1024, '\0');
    for (DWORD index = 0;;) {
        DWORD nameSize = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = REG_NONE;
        const LONG status =
            checked(RegEnumValue(key.get(), index, name.data(), &nameSize, nullptr, &type,
                                 reinterpret_cast<BYTE*>(data.data()), &dataSize));
        if (status == ERROR_MORE_DATA) {
            name.resize(name.size() * 2);
            data.resize(std::max<std::size_t>(data.size() * 2, dataSize));
            continue;
        }
        if (status != ERROR_SUCCESS)
            break;
        if (auto text = stringOf(type, data.substr(0, dataSize)))
            values.emplace_back(std::string(name.data(), nameSize), std::move(*text));
        ++index;
    }
    return values;
}

LONG createKey(const std::string& path)
{
    return Key(path, true).status();
}

LONG writeString(const std::string& path, const char* valueName, const std::string& text)
{
    Key key(path, true);
    if (!key.get())
        return key.status();
    return RegSetValueEx(key.get(), valueName, 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>(text.size() + 1));
}

LONG deleteTree(const std::string& path)
{
    const LONG status = RegDeleteTree(HKEY_CLASSES_ROOT, path.c_str());
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

void deleteIfEmpty(const std::string& path)
{
    {
        Key key(path);
        if (!key.get())
            return;
        char name[2];
        DWORD size = sizeof name;
        if (RegEnumKeyEx(key.get(), 0, name, &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_NO_MORE_ITEMS)
            return;
        size = sizeof name;
        if (RegEnumValue(key.get(), 0, name, &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_NO_MORE_ITEMS)
            return;
    }
    RegDeleteKey(HKEY_CLASSES_ROOT, path.c_str());
}

HRESULT reportReadFailure(const ReadFailure& failure, const char16_t* source)
{
    const char* what = failure.status() == ERROR_BADDB ? "The registry is damaged: "
                                                       : "The registry cannot be read: ";
    std::string text = failure.what();
    if (text.empty())
        text = "registry error " + std::to_string(failure.status());
    return reportError(hresultOf(failure.status()), source, what + text);
}

std::uint64_t hiveVersion()
{
    std::uint64_t version = 0;
    checked(registryHiveVersion(HKEY_CLASSES_ROOT, &version));
    return version;
}

HRESULT hresultOf(LONG status)
{
    return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(static_cast<ULONG>(status));
}

} // namespace classes
