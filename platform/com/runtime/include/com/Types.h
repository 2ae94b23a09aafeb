// Basic types of the component platform, with the widths the system's code
// was written for: HRESULT, LONG, ULONG, BOOL and DWORD are 32 bits, SHORT
// 16 bits, whatever the width of C++ long on this machine.
#pragma once

#include <cstddef>
#include <cstdint>

using BYTE = std::uint8_t;
using CHAR = char;
using UCHAR = unsigned char;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using WORD = std::uint16_t;
using INT = std::int32_t;
using UINT = std::uint32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using DWORD = std::uint32_t;
using BOOL = std::int32_t;
using LONGLONG = std::int64_t;
using ULONGLONG = std::uint64_t;
using HRESULT = std::int32_t;
using SCODE = std::int32_t;
using LCID = std::uint32_t;
using DISPID = std::int32_t;
using MEMBERID = DISPID;
using VARIANT_BOOL = std::int16_t;
using DATE = double;
using UINT_PTR = std::uintptr_t;
using INT_PTR = std::intptr_t;
using LONG_PTR = std::intptr_t;
using ULONG_PTR = std::uintptr_t;
using DWORD_PTR = std::uintptr_t;
using LPVOID = void*;
using LPCVOID = const void*;
using LPSTR = char*;
using LPCSTR = const char*;

// Wide text is UTF-16.
using OLECHAR = char16_t;
using WCHAR = char16_t;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;

// A BSTR points at the first character of a length-prefixed, NUL-terminated
// UTF-16 string allocated by SysAllocString and friends (Bstr.h).
using BSTR = OLECHAR*;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;
constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

#define STDMETHODCALLTYPE
#define STDMETHOD(name) virtual HRESULT STDMETHODCALLTYPE name
#define STDMETHOD_(type, name) virtual type STDMETHODCALLTYPE name
#define STDMETHODIMP HRESULT STDMETHODCALLTYPE
#define STDMETHODIMP_(type) type STDMETHODCALLTYPE
#define STDAPI extern "C" HRESULT
#define PURE = 0

// ---- HRESULT -------------------------------------------------------------

constexpr bool SUCCEEDED(HRESULT hr)
{
    return hr >= 0;
}
constexpr bool FAILED(HRESULT hr)
{
    return hr < 0;
}
constexpr SHORT HRESULT_SEVERITY(HRESULT hr)
{
    return static_cast<SHORT>((static_cast<ULONG>(hr) >> 31) & 1);
}
constexpr SHORT HRESULT_FACILITY(HRESULT hr)
{
    return static_cast<SHORT>((static_cast<ULONG>(hr) >> 16) & 0x1fff);
}
constexpr WORD HRESULT_CODE(HRESULT hr)
{
    return static_cast<WORD>(static_cast<ULONG>(hr) & 0xffff);
}
constexpr HRESULT MAKE_HRESULT(ULONG sev, ULONG fac, ULONG code)
{
    return static_cast<HRESULT>((sev << 31) | (fac << 16) | code);
}
constexpr ULONG FACILITY_ITF = 4;
constexpr ULONG FACILITY_WIN32 = 7;
constexpr ULONG SEVERITY_ERROR = 1;
constexpr HRESULT HRESULT_FROM_WIN32(ULONG code)
{
    return static_cast<HRESULT>(code) <= 0 ? static_cast<HRESULT>(code)
                                           : MAKE_HRESULT(1, FACILITY_WIN32, code & 0xffff);
}

constexpr HRESULT hresult(std::uint32_t v)
{
    return static_cast<HRESULT>(v);
}

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_UNEXPECTED = hresult(0x8000FFFF);
constexpr HRESULT E_NOTIMPL = hresult(0x80004001);
constexpr HRESULT E_OUTOFMEMORY = hresult(0x8007000E);
constexpr HRESULT E_INVALIDARG = hresult(0x80070057);
constexpr HRESULT E_NOINTERFACE = hresult(0x80004002);
constexpr HRESULT E_POINTER = hresult(0x80004003);
constexpr HRESULT E_HANDLE = hresult(0x80070006);
constexpr HRESULT E_ABORT = hresult(0x80004004);
constexpr HRESULT E_FAIL = hresult(0x80004005);
constexpr HRESULT E_ACCESSDENIED = hresult(0x80070005);

constexpr HRESULT CLASS_E_NOAGGREGATION = hresult(0x80040110);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = hresult(0x80040111);
constexpr HRESULT REGDB_E_READREGDB = hresult(0x80040150);
constexpr HRESULT REGDB_E_WRITEREGDB = hresult(0x80040151);
constexpr HRESULT REGDB_E_KEYMISSING = hresult(0x80040152);
constexpr HRESULT REGDB_E_INVALIDVALUE = hresult(0x80040153);
constexpr HRESULT REGDB_E_CLASSNOTREG = hresult(0x80040154);
constexpr HRESULT REGDB_E_IIDNOTREG = hresult(0x80040155);
constexpr HRESULT CO_E_NOTINITIALIZED = hresult(0x800401F0);
constexpr HRESULT CO_E_CLASSSTRING = hresult(0x800401F3);
constexpr HRESULT CO_E_DLLNOTFOUND = hresult(0x800401F8);
constexpr HRESULT CO_E_ERRORINDLL = hresult(0x800401F9);
constexpr HRESULT CO_E_APPNOTFOUND = hresult(0x800401F5);
constexpr HRESULT RPC_E_CHANGED_MODE = hresult(0x80010106);
constexpr HRESULT SELFREG_E_TYPELIB = hresult(0x80040200);
constexpr HRESULT SELFREG_E_CLASS = hresult(0x80040201);
constexpr HRESULT TYPE_E_ELEMENTNOTFOUND = hresult(0x8002802B);
constexpr HRESULT TYPE_E_LIBNOTREGISTERED = hresult(0x8002801D);
constexpr HRESULT CAT_E_CATIDNOEXIST = hresult(0x80040160);
constexpr HRESULT CAT_E_NODESCRIPTION = hresult(0x80040161);

constexpr HRESULT DISP_E_UNKNOWNINTERFACE = hresult(0x80020001);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = hresult(0x80020003);
constexpr HRESULT DISP_E_PARAMNOTFOUND = hresult(0x80020004);
constexpr HRESULT DISP_E_TYPEMISMATCH = hresult(0x80020005);
constexpr HRESULT DISP_E_UNKNOWNNAME = hresult(0x80020006);
constexpr HRESULT DISP_E_NONAMEDARGS = hresult(0x80020007);
constexpr HRESULT DISP_E_BADVARTYPE = hresult(0x80020008);
constexpr HRESULT DISP_E_EXCEPTION = hresult(0x80020009);
constexpr HRESULT DISP_E_OVERFLOW = hresult(0x8002000A);
constexpr HRESULT DISP_E_BADINDEX = hresult(0x8002000B);
constexpr HRESULT DISP_E_BADPARAMCOUNT = hresult(0x8002000E);
constexpr HRESULT DISP_E_PARAMNOTOPTIONAL = hresult(0x8002000F);

// ---- GUID ----------------------------------------------------------------

struct GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
};
static_assert(sizeof(GUID) == 16);

using IID = GUID;
using CLSID = GUID;
using CATID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;
using REFCATID = const CATID&;
using LPCLSID = CLSID*;

constexpr bool IsEqualGUID(REFGUID a, REFGUID b)
{
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3)
        return false;
    for (int i = 0; i < 8; ++i)
        if (a.Data4[i] != b.Data4[i])
            return false;
    return true;
}
constexpr bool IsEqualIID(REFIID a, REFIID b)
{
    return IsEqualGUID(a, b);
}
constexpr bool IsEqualCLSID(REFCLSID a, REFCLSID b)
{
    return IsEqualGUID(a, b);
}
constexpr bool operator==(REFGUID a, REFGUID b)
{
    return IsEqualGUID(a, b);
}
constexpr bool operator!=(REFGUID a, REFGUID b)
{
    return !IsEqualGUID(a, b);
}

constexpr GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
constexpr CLSID CLSID_NULL = GUID_NULL;
constexpr IID IID_NULL = GUID_NULL;

// ---- Handles -------------------------------------------------------------

struct HKEY__;
using HKEY = HKEY__*;
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
using HANDLE = void*;
