// The registry: keys and values in two hives, HKEY_LOCAL_MACHINE (whose
// Software\Classes is HKEY_CLASSES_ROOT) and HKEY_CURRENT_USER, each kept in
// a human-readable text file in the directory named by VLMR_REGISTRY
// (default $XDG_DATA_HOME/vlmr/registry). Names are UTF-8; key and value
// names compare without regard to case and keep the case they were created
// with. Every change is on disk when the call returns (written to a
// temporary file, flushed and renamed) and is safe against other processes
// (a file lock, and the hive read again under it). A damaged hive file is
// reported with its name and line (registryLastError) and never overwritten.
//
// The functions follow the Win32 registry API and answer its error codes.
// Handles may be used from any thread.
#pragma once

#include "com/Types.h"

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
