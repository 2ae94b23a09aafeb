// The registrar: applies a parsed script to the registry, or takes away
// what it wrote.
#include "com/server/Registrar.h"

#include "ErrorInfo.h"
#include "RegistrarScript.h"

#include "registry/Registry.h"

#include <cstring>

namespace comserver {

namespace {

// A registry failure while applying a script: the key and the code.
struct ApplyError {
    int line;
    std::string what;
    LONG code;
};

std::string registryText(LONG code)
{
    std::string text = registryLastError();
    return text.empty() ? "registry error " + std::to_string(code) : text;
}

class KeyHandle {
public:
    KeyHandle() = default;
    ~KeyHandle()
    {
        if (m_key != nullptr)
            RegCloseKey(m_key);
    }
    KeyHandle(const KeyHandle&) = delete;
    KeyHandle& operator=(const KeyHandle&) = delete;
    HKEY* out() { return &m_key; }
    HKEY get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

void deleteTree(HKEY parent, const ScriptKey& key, const std::string& path)
{
    LONG rc = RegDeleteTree(parent, key.name.c_str());
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND)
        throw ApplyError{key.line, "cannot delete key " + path + ": " + registryText(rc), rc};
}

void setValue(HKEY key, const ScriptValue& value, const std::string& path)
{
    LONG rc;
    const char* name = value.name.empty() ? nullptr : value.name.c_str();
    if (value.type == REG_DWORD) {
        BYTE data[sizeof(DWORD)];
        std::memcpy(data, &value.number, sizeof data);
        rc = RegSetValueEx(key, name, 0, REG_DWORD, data, sizeof data);
    } else {
        rc = RegSetValueEx(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.text.c_str()),
                           static_cast<DWORD>(value.text.size() + 1));
    }
    if (rc != ERROR_SUCCESS)
        throw ApplyError{value.line,
                         "cannot set value " + (value.name.empty() ? "(default)" : value.name) +
                             " of " + path + ": " + registryText(rc),
                         rc};
}

void registerKey(HKEY parent, const ScriptKey& key, const std::string& parentPath)
{
    std::string path = parentPath + "\\" + key.name;
    if (key.flag == KeyFlag::Delete || key.flag == KeyFlag::ForceRemove)
        deleteTree(parent, key, path);
    if (key.flag == KeyFlag::Delete)
        return;
    KeyHandle handle;
    LONG rc = RegCreateKeyEx(parent, key.name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_ALL_ACCESS, nullptr, handle.out(), nullptr);
    if (rc != ERROR_SUCCESS)
        throw ApplyError{key.line, "cannot create key " + path + ": " + registryText(rc), rc};
    if (key.hasDefault)
        setValue(handle.get(), key.defaultValue, path);
    for (const ScriptValue& value : key.values)
        setValue(handle.get(), value, path);
    for (const ScriptKey& subkey : key.subkeys)
        registerKey(handle.get(), subkey, path);
}

void unregisterKey(HKEY parent, const ScriptKey& key, const std::string& parentPath)
{
    std::string path = parentPath + "\\" + key.name;
    if (key.flag == KeyFlag::Delete)
        return;
    if (key.flag != KeyFlag::NoRemove) {
        deleteTree(parent, key, path);
        return;
    }
    KeyHandle handle;
    LONG rc = RegOpenKeyEx(parent, key.name.c_str(), 0, KEY_ALL_ACCESS, handle.out());
    if (rc == ERROR_FILE_NOT_FOUND)
        return;
    if (rc != ERROR_SUCCESS)
        throw ApplyError{key.line, "cannot open key " + path + ": " + registryText(rc), rc};
    for (const ScriptValue& value : key.values) {
        rc = RegDeleteValue(handle.get(), value.name.c_str());
        if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND)
            throw ApplyError{
                value.line,
                "cannot delete value " + value.name + " of " + path + ": " + registryText(rc), rc};
    }
    for (const ScriptKey& subkey : key.subkeys)
        unregisterKey(handle.get(), subkey, path);
}

} // namespace

Registrar::Registrar(std::string label) : m_label(std::move(label)) {}

void Registrar::addReplacement(const std::string& name, const std::string& value)
{
    m_replacements[name] = value;
}

HRESULT Registrar::registerScript(std::string_view script) const
{
    return run(script, true);
}

HRESULT Registrar::unregisterScript(std::string_view script) const
{
    return run(script, false);
}

// The script's changes form one group: written together when it succeeds,
// dropped when it fails, and never interleaved with another process's
// registration (which waits for the group, as this one waits for theirs).
HRESULT Registrar::run(std::string_view script, bool reg) const
{
    try {
        std::vector<ScriptRoot> roots = parseRegistrarScript(script, m_replacements);
        RegistryChanges changes;
        if (const LONG rc = changes.status(); rc != ERROR_SUCCESS)
            return failWith(HRESULT_FROM_WIN32(static_cast<ULONG>(rc)),
                            m_label + ": cannot change the registry: " + registryText(rc));
        for (const ScriptRoot& root : roots)
            for (const ScriptKey& key : root.subkeys)
                (reg ? registerKey : unregisterKey)(root.key, key, root.name);
        if (const LONG rc = changes.commit(); rc != ERROR_SUCCESS)
            return failWith(HRESULT_FROM_WIN32(static_cast<ULONG>(rc)),
                            m_label + ": cannot write the registry: " + registryText(rc));
        return S_OK;
    } catch (const ScriptError& error) {
        return failWith(DISP_E_EXCEPTION,
                        m_label + ", line " + std::to_string(error.line()) + ": " + error.what());
    } catch (const ApplyError& error) {
        return failWith(HRESULT_FROM_WIN32(static_cast<ULONG>(error.code)),
                        m_label + ", line " + std::to_string(error.line) + ": " + error.what);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

} // namespace comserver
