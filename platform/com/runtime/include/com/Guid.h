// GUIDs: compile-time literals, interface identifiers by type, and the
// braced string forms.
#pragma once

#include "com/Types.h"

#include <string>

namespace com_detail {
consteval std::uint32_t hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return static_cast<std::uint32_t>(c - '0');
    if (c >= 'a' && c <= 'f')
        return static_cast<std::uint32_t>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F')
        return static_cast<std::uint32_t>(c - 'A' + 10);
    throw "not a hexadecimal digit";
}
consteval std::uint32_t hexField(const char* s, int digits)
{
    std::uint32_t v = 0;
    for (int i = 0; i < digits; ++i)
        v = (v << 4) | hexDigit(s[i]);
    return v;
}
} // namespace com_detail

// A GUID from its unbraced text, checked at compile time:
//   constexpr CLSID CLSID_X = guidOf("39E39A27-0B5D-11D2-AA01-008029E54FFB");
consteval GUID guidOf(const char (&s)[37])
{
    using com_detail::hexField;
    if (s[8] != '-' || s[13] != '-' || s[18] != '-' || s[23] != '-')
        throw "malformed GUID literal";
    GUID g{};
    g.Data1 = hexField(s, 8);
    g.Data2 = static_cast<std::uint16_t>(hexField(s + 9, 4));
    g.Data3 = static_cast<std::uint16_t>(hexField(s + 14, 4));
    g.Data4[0] = static_cast<std::uint8_t>(hexField(s + 19, 2));
    g.Data4[1] = static_cast<std::uint8_t>(hexField(s + 21, 2));
    for (int i = 0; i < 6; ++i)
        g.Data4[2 + i] = static_cast<std::uint8_t>(hexField(s + 24 + 2 * i, 2));
    return g;
}

// The IID of an interface type, declared next to the interface with
// COM_DECLARE_IID(Interface, IID_Interface).
template <class Interface>
struct InterfaceTraits;

template <class Interface>
constexpr const IID& uuidof()
{
    return InterfaceTraits<Interface>::iid();
}

#define COM_DECLARE_IID(Interface, iidConstant)                                                    \
    template <>                                                                                    \
    struct InterfaceTraits<Interface> {                                                            \
        static constexpr const IID& iid() { return iidConstant; }                                  \
    }

// String forms. StringFromCLSID and StringFromGUID2 write the braced upper
// case form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}". CLSIDFromString and
// IIDFromString accept it in either case and answer CO_E_CLASSSTRING for
// anything else; CLSIDFromString also accepts a registered ProgID. A null
// string gives GUID_NULL and S_OK.
HRESULT StringFromCLSID(REFCLSID clsid, LPOLESTR* ppsz); // CoTaskMemFree the result
HRESULT StringFromIID(REFIID iid, LPOLESTR* ppsz);
int StringFromGUID2(REFGUID guid, LPOLESTR psz, int cchMax); // characters with NUL, 0 if too small
HRESULT CLSIDFromString(LPCOLESTR psz, LPCLSID pclsid);
HRESULT IIDFromString(LPCOLESTR psz, IID* piid);

// Narrow (UTF-8) conveniences for the platform's own code.
std::string guidToString(REFGUID guid);                  // braced upper case
bool guidFromString(const std::string& text, GUID* out); // braced, either case

void* CoTaskMemAlloc(std::size_t size);
void* CoTaskMemRealloc(void* p, std::size_t size);
void CoTaskMemFree(void* p);
