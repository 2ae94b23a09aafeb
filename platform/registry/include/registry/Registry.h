// The registry: keys and values in two hives, HKEY_LOCAL_MACHINE (whose
// Software\Classes is HKEY_CLASSES_ROOT) and HKEY_CURRENT_USER, each kept in
// a human-readable text file in the directory named by VLMR_REGISTRY
// (default $XDG_DATA_HOME/vlmr/registry). Names are UTF-8; key and value
// names compare without regard to case and keep the case they were created
// with. Every change is on disk when the call returns (written to a
// temporary file, flushed and renamed) and is safe against other processes
// (a file lock, and the hive read again under it); a writer waits for
// another process's writer up to 10 s and then answers ERROR_BUSY. A damaged
// hive file is reported with its name and line (registryLastError) and never
// overwritten. What a process has read is kept until the hive file changes
// (one stat per call tells).
//
// The functions follow the Win32 registry API and answer its error codes.
// Handles may be used from any thread.
#pragma once

#include "com/Types.h"

#include <cstdint>
#include <string>

using REGSAM = DWORD;
using LSTATUS = LONG;

inline HKEY const HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000000));
inline HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000001));
inline HKEY const HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000002));

constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_OUTOFMEMORY = 14;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_BUSY = 170; // another process's writer kept the hive locked too long
constexpr LONG ERROR_MORE_DATA = 234;
constexpr LONG ERROR_NO_MORE_ITEMS = 259;
constexpr LONG ERROR_BADDB = 1009; // a hive file is damaged
constexpr LONG ERROR_BADKEY = 1010;
constexpr LONG ERROR_CANTREAD = 1012;
constexpr LONG ERROR_CANTWRITE = 1013;
constexpr LONG ERROR_KEY_DELETED = 1018;

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_DWORD = 4;

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// subKey may be null or "" (the key itself) and may hold several levels
// separated by '\'. A null or "" value name is the key's default value.
LSTATUS RegCreateKeyEx(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options,
                       REGSAM sam, void* security, HKEY* result, DWORD* disposition);
LSTATUS RegOpenKeyEx(HKEY key, LPCSTR subKey, DWORD options, REGSAM sam, HKEY* result);
LSTATUS RegCloseKey(HKEY key);
// REG_SZ data is UTF-8 with its NUL counted in cbData; REG_DWORD is 4 bytes.
LSTATUS RegSetValueEx(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                      DWORD cbData);
// data may be null to ask for the size; ERROR_MORE_DATA when it is too small.
LSTATUS RegQueryValueEx(HKEY key, LPCSTR valueName, DWORD* reserved, DWORD* type, BYTE* data,
                        DWORD* cbData);
LSTATUS RegEnumKeyEx(HKEY key, DWORD index, LPSTR name, DWORD* cchName, DWORD* reserved,
                     LPSTR keyClass, DWORD* cchClass, void* lastWriteTime);
LSTATUS RegEnumValue(HKEY key, DWORD index, LPSTR valueName, DWORD* cchValueName, DWORD* reserved,
                     DWORD* type, BYTE* data, DWORD* cbData);
LSTATUS RegDeleteValue(HKEY key, LPCSTR valueName);
// Deletes a key without subkeys (ERROR_ACCESS_DENIED when it has some).
LSTATUS RegDeleteKey(HKEY key, LPCSTR subKey);
// Deletes subKey with everything below it; a null subKey empties key itself.
LSTATUS RegDeleteTree(HKEY key, LPCSTR subKey);

// The text of the last failure on this thread that the codes alone do not
// explain, e.g. "registry file /x/HKLM.reg, line 12: ...". Empty otherwise.
std::string registryLastError();

// A number that stays the same while the content of the hive holding key
// is unchanged and changes whenever it changes, by this process or another
// (numbers are never reused within a process). For a caller that keeps what
// it has read and must still see another process's changes; costs one stat
// of the hive file. Fails as a read does (ERROR_BADDB for a damaged hive).
LSTATUS registryHiveVersion(HKEY key, std::uint64_t* version);

// A group of changes made on this thread, written together: from
// registryBeginChanges on, the writers' lock of both hives is held (other
// processes' writers wait for it as for any writer, so that two processes'
// groups never interleave), and the changes are written once, by
// registryEndChanges(true); registryEndChanges(false) drops them. Other
// processes read the hives as they were before the group until it ends;
// other threads of this process wait for the group's end. Groups nest: an
// inner group joins the outermost, whose end alone writes or drops.
LSTATUS registryBeginChanges();
LSTATUS registryEndChanges(bool commit);

// A group of changes for a scope: dropped unless committed.
class RegistryChanges {
public:
    RegistryChanges() : m_status(registryBeginChanges()) {}
    ~RegistryChanges()
    {
        if (isOpen())
            registryEndChanges(false);
    }
    RegistryChanges(const RegistryChanges&) = delete;
    RegistryChanges& operator=(const RegistryChanges&) = delete;

    // ERROR_SUCCESS when the group began (registryLastError tells why not).
    LSTATUS status() const { return m_status; }
    // Writes the group (an inner group leaves that to the outermost).
    LSTATUS commit()
    {
        if (!isOpen())
            return m_status == ERROR_SUCCESS ? ERROR_INVALID_HANDLE : m_status;
        m_ended = true;
        return registryEndChanges(true);
    }

private:
    bool isOpen() const { return m_status == ERROR_SUCCESS && !m_ended; }

    LSTATUS m_status;
    bool m_ended = false;
};
