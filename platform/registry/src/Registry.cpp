// The registry API: predefined keys, the handle table, and the translation of
// failures into status codes at the edge of every function. One mutex guards
// the handle table and every hive, so the API may be used from any thread.
//
// A handle names its key by hive file and path, resolved afresh on each call:
// once the key is gone (deleted by any handle or process) the handle answers
// ERROR_KEY_DELETED. Access masks, options and security are accepted and not
// enforced.
#include "registry/Registry.h"

#include "HiveFile.h"
#include "KeyTree.h"
#include "RegistryError.h"

#include "userdata/UserDataFolder.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <string>

using namespace registry;

namespace {

struct OpenKey {
    std::string hiveFile;
    KeyPath path;
};

struct State {
    std::mutex mutex;
    std::map<ULONG_PTR, OpenKey> handles;
    ULONG_PTR nextHandle = 0x1000;
    std::map<std::string, std::unique_ptr<HiveFile>> hives; // by file path
};

// Never destroyed: a worker thread may still call in while the process exits.
State& state()
{
    static State& state = *new State;
    return state;
}

thread_local std::string t_lastError;

// The key a call works on. A predefined key exists even while its path does
// not (HKEY_CLASSES_ROOT before anything is registered).
struct Target {
    HiveFile* hive;
    KeyPath path;
    bool predefined;
};

std::string registryDirectory()
{
    if (const char* dir = std::getenv("VLMR_REGISTRY"); dir && *dir) {
        std::error_code error;
        auto absolute = std::filesystem::absolute(dir, error);
        return (error ? std::filesystem::path(dir) : absolute).lexically_normal().string();
    }
    const std::filesystem::path data = userdata::folder();
    if (data.empty())
        throw RegistryError(ERROR_CANTREAD,
                            "no registry directory: neither VLMR_REGISTRY nor HOME is set");
    return (data / "vlmr" / "registry").string();
}

HiveFile& hiveAt(const std::string& file)
{
    auto& hive = state().hives[file];
    if (!hive)
        hive = std::make_unique<HiveFile>(file);
    return *hive;
}

Target targetOf(HKEY key)
{
    if (key == HKEY_LOCAL_MACHINE || key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER) {
        // The environment is read on every use, so the hive follows VLMR_REGISTRY.
        std::string file =
            registryDirectory() + (key == HKEY_CURRENT_USER ? "/HKCU.reg" : "/HKLM.reg");
        KeyPath path = key == HKEY_CLASSES_ROOT ? KeyPath{"Software", "Classes"} : KeyPath{};
        return {&hiveAt(file), std::move(path), true};
    }
    auto found = state().handles.find(reinterpret_cast<ULONG_PTR>(key));
    if (found == state().handles.end())
        throw RegistryError(ERROR_INVALID_HANDLE);
    return {&hiveAt(found->second.hiveFile), found->second.path, false};
}

KeyPath relativePath(LPCSTR subKey)
{
    auto path = splitKeyPath(subKey ? subKey : "");
    if (!path)
        throw RegistryError(ERROR_INVALID_PARAMETER);
    return *path;
}

KeyPath joined(KeyPath path, const KeyPath& more)
{
    path.insert(path.end(), more.begin(), more.end());
    return path;
}

// The target's key, or null for a predefined key not created yet.
const Key* findTarget(const Key& root, const Target& target)
{
    const Key* key = findKey(root, target.path);
    if (!key && !target.predefined)
        throw RegistryError(ERROR_KEY_DELETED);
    return key;
}

Key* findTarget(Key& root, const Target& target)
{
    return const_cast<Key*>(findTarget(static_cast<const Key&>(root), target));
}

// The target's key for a change; a predefined key's path is created.
Key& keyToChange(Key& root, const Target& target, bool& changed)
{
    if (target.predefined)
        return createKey(root, target.path, changed);
    return *findTarget(root, target);
}

// Removes the key at path (not the root) from the hive.
void removeKey(Key& root, const KeyPath& path, bool onlyWithoutSubkeys)
{
    Key* parent = findKey(root, KeyPath(path.begin(), path.end() - 1));
    Key* victim = parent ? parent->subkey(path.back()) : nullptr;
    if (!victim)
        throw RegistryError(ERROR_FILE_NOT_FOUND);
    if (onlyWithoutSubkeys && !victim->subkeys.empty())
        throw RegistryError(ERROR_ACCESS_DENIED);
    parent->removeSubkey(path.back());
}

HKEY newHandle(const Target& target, KeyPath path)
{
    ULONG_PTR id = state().nextHandle++;
    state().handles[id] = OpenKey{target.hive->path(), std::move(path)};
    return reinterpret_cast<HKEY>(id);
}

// Copies a name and its NUL into a buffer of *size characters; *size becomes
// the length without the NUL.
void copyName(const std::string& name, LPSTR buffer, DWORD* size)
{
    if (name.size() + 1 > *size)
        throw RegistryError(ERROR_MORE_DATA);
    std::memcpy(buffer, name.c_str(), name.size() + 1);
    *size = static_cast<DWORD>(name.size());
}

// Hands out a value's type and data; with data null only the size.
void copyData(const Value& value, DWORD* type, BYTE* data, DWORD* cbData)
{
    if (type)
        *type = value.type;
    if (!cbData)
        return;
    std::string bytes = value.bytes();
    DWORD size = static_cast<DWORD>(bytes.size());
    bool fits = *cbData >= size;
    *cbData = size;
    if (!data)
        return;
    if (!fits)
        throw RegistryError(ERROR_MORE_DATA);
    std::memcpy(data, bytes.data(), size);
}

Value makeValue(LPCSTR name, DWORD type, const BYTE* data, DWORD cbData)
{
    Value value;
    value.name = name ? name : "";
    value.type = type;
    if (cbData > 0 && !data)
        throw RegistryError(ERROR_INVALID_PARAMETER);
    if (type == REG_SZ) {
        // Up to the first NUL: a string stored without one reads back with it.
        const char* text = reinterpret_cast<const char*>(data);
        value.text.assign(text, cbData == 0 ? 0 : strnlen(text, cbData));
    } else if (type == REG_DWORD && cbData == sizeof(DWORD)) {
        std::memcpy(&value.number, data, sizeof(DWORD));
    } else {
        throw RegistryError(ERROR_INVALID_PARAMETER);
    }
    return value;
}

// Runs one call under the registry's mutex and turns its failure into a code
// (and the text for registryLastError). No exception leaves the registry.
template <class Body>
LSTATUS guarded(Body&& body)
{
    try {
        std::lock_guard lock(state().mutex);
        body();
        return ERROR_SUCCESS;
    } catch (const RegistryError& e) {
        t_lastError = e.what();
        return e.status();
    } catch (const std::bad_alloc&) {
        t_lastError.clear();
        return ERROR_OUTOFMEMORY;
    } catch (const std::exception& e) {
        t_lastError = e.what();
        return ERROR_CANTREAD;
    }
}

} // namespace

LSTATUS RegCreateKeyEx(HKEY key, LPCSTR subKey, DWORD, LPSTR, DWORD, REGSAM, void*, HKEY* result,
                       DWORD* disposition)
{
    if (result)
        *result = nullptr;
    return guarded([&] {
        if (!result)
            throw RegistryError(ERROR_INVALID_PARAMETER);
        Target parent = targetOf(key);
        KeyPath relative = relativePath(subKey);
        bool created = false;
        if (relative.empty() && parent.predefined) {
            *result = key;
        } else {
            parent.hive->change([&](Key& root) {
                bool changed = false;
                createKey(keyToChange(root, parent, changed), relative, created);
                return changed || created;
            });
            *result = newHandle(parent, joined(parent.path, relative));
        }
        if (disposition)
            *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    });
}

LSTATUS RegOpenKeyEx(HKEY key, LPCSTR subKey, DWORD, REGSAM, HKEY* result)
{
    if (result)
        *result = nullptr;
    return guarded([&] {
        if (!result)
            throw RegistryError(ERROR_INVALID_PARAMETER);
        Target parent = targetOf(key);
        KeyPath relative = relativePath(subKey);
        if (relative.empty() && parent.predefined) {
            *result = key;
            return;
        }
        parent.hive->read([&](const Key& root) {
            const Key* base = findTarget(root, parent);
            if (!base || !findKey(*base, relative))
                throw RegistryError(ERROR_FILE_NOT_FOUND);
        });
        *result = newHandle(parent, joined(parent.path, relative));
    });
}

LSTATUS RegCloseKey(HKEY key)
{
    return guarded([&] {
        if (key == HKEY_LOCAL_MACHINE || key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER)
            return;
        if (state().handles.erase(reinterpret_cast<ULONG_PTR>(key)) == 0)
            throw RegistryError(ERROR_INVALID_HANDLE);
    });
}

LSTATUS RegSetValueEx(HKEY key, LPCSTR valueName, DWORD, DWORD type, const BYTE* data, DWORD cbData)
{
    return guarded([&] {
        Target target = targetOf(key);
        Value value = makeValue(valueName, type, data, cbData);
        target.hive->change([&](Key& root) {
            bool changed = false;
            keyToChange(root, target, changed).setValue(std::move(value));
            return true;
        });
    });
}

LSTATUS RegQueryValueEx(HKEY key, LPCSTR valueName, DWORD* reserved, DWORD* type, BYTE* data,
                        DWORD* cbData)
{
    return guarded([&] {
        if (reserved || (data && !cbData))
            throw RegistryError(ERROR_INVALID_PARAMETER);
        Target target = targetOf(key);
        target.hive->read([&](const Key& root) {
            const Key* found = findTarget(root, target);
            const Value* value = found ? found->value(valueName ? valueName : "") : nullptr;
            if (!value)
                throw RegistryError(ERROR_FILE_NOT_FOUND);
            copyData(*value, type, data, cbData);
        });
    });
}

LSTATUS RegEnumKeyEx(HKEY key, DWORD index, LPSTR name, DWORD* cchName, DWORD* reserved,
                     LPSTR keyClass, DWORD* cchClass, void* lastWriteTime)
{
    return guarded([&] {
        if (!name || !cchName || reserved)
            throw RegistryError(ERROR_INVALID_PARAMETER);
        Target target = targetOf(key);
        target.hive->read([&](const Key& root) {
            const Key* found = findTarget(root, target);
            if (!found || index >= found->subkeys.size())
                throw RegistryError(ERROR_NO_MORE_ITEMS);
            copyName(found->subkeys[index].name, name, cchName);
        });
        // Keys have no class and no recorded time of their last change.
        if (keyClass && cchClass) {
            if (*cchClass > 0)
                keyClass[0] = '\0';
            *cchClass = 0;
        }
        if (lastWriteTime)
            std::memset(lastWriteTime, 0, 8); // a FILETIME
    });
}

LSTATUS RegEnumValue(HKEY key, DWORD index, LPSTR valueName, DWORD* cchValueName, DWORD* reserved,
                     DWORD* type, BYTE* data, DWORD* cbData)
{
    return guarded([&] {
        if (!valueName || !cchValueName || reserved || (data && !cbData))
            throw RegistryError(ERROR_INVALID_PARAMETER);
        Target target = targetOf(key);
        target.hive->read([&](const Key& root) {
            const Key* found = findTarget(root, target);
            if (!found || index >= found->values.size())
                throw RegistryError(ERROR_NO_MORE_ITEMS);
            const Value& value = found->values[index];
            copyName(value.name, valueName, cchValueName);
            copyData(value, type, data, cbData);
        });
    });
}

LSTATUS RegDeleteValue(HKEY key, LPCSTR valueName)
{
    return guarded([&] {
        Target target = targetOf(key);
        target.hive->change([&](Key& root) {
            Key* found = findTarget(root, target);
            if (!found || !found->removeValue(valueName ? valueName : ""))
                throw RegistryError(ERROR_FILE_NOT_FOUND);
            return true;
        });
    });
}

LSTATUS RegDeleteKey(HKEY key, LPCSTR subKey)
{
    return guarded([&] {
        Target target = targetOf(key);
        KeyPath relative = relativePath(subKey);
        if (relative.empty() && target.predefined)
            throw RegistryError(ERROR_ACCESS_DENIED);
        target.hive->change([&](Key& root) {
            if (!findTarget(root, target))
                throw RegistryError(ERROR_FILE_NOT_FOUND);
            removeKey(root, joined(target.path, relative), true);
            return true;
        });
    });
}

LSTATUS RegDeleteTree(HKEY key, LPCSTR subKey)
{
    return guarded([&] {
        Target target = targetOf(key);
        KeyPath relative = relativePath(subKey);
        target.hive->change([&](Key& root) {
            Key* found = findTarget(root, target);
            if (relative.empty()) {
                if (!found || (found->values.empty() && found->subkeys.empty()))
                    return false;
                found->values.clear();
                found->subkeys.clear();
                return true;
            }
            if (!found)
                throw RegistryError(ERROR_FILE_NOT_FOUND);
            removeKey(root, joined(target.path, relative), false);
            return true;
        });
    });
}

std::string registryLastError()
{
    return t_lastError;
}
