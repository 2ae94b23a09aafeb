// GUID string forms and task memory.
#include "com/Guid.h"

#include "com/Runtime.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

constexpr int kGuidChars = 38; // "{8-4-4-4-12}" without the NUL

int hexValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// Reads the braced form from exactly kGuidChars characters.
template <class Char>
bool parseBraced(std::basic_string_view<Char> text, GUID* out)
{
    if (text.size() != kGuidChars || text.front() != '{' || text.back() != '}')
        return false;
    std::uint8_t bytes[16];
    int n = 0;
    for (int i = 1; i < kGuidChars - 1;) {
        if (i == 9 || i == 14 || i == 19 || i == 24) {
            if (text[i] != '-')
                return false;
            ++i;
            continue;
        }
        const int hi = hexValue(static_cast<char16_t>(text[i]));
        const int lo = hexValue(static_cast<char16_t>(text[i + 1]));
        if (hi < 0 || lo < 0)
            return false;
        bytes[n++] = static_cast<std::uint8_t>(hi << 4 | lo);
        i += 2;
    }
    out->Data1 = std::uint32_t(bytes[0]) << 24 | std::uint32_t(bytes[1]) << 16 |
                 std::uint32_t(bytes[2]) << 8 | bytes[3];
    out->Data2 = static_cast<std::uint16_t>(bytes[4] << 8 | bytes[5]);
    out->Data3 = static_cast<std::uint16_t>(bytes[6] << 8 | bytes[7]);
    for (int i = 0; i < 8; ++i)
        out->Data4[i] = bytes[8 + i];
    return true;
}

std::u16string_view viewOf(LPCOLESTR text)
{
    return std::u16string_view(text);
}

} // namespace

std::string guidToString(REFGUID g)
{
    char text[kGuidChars + 1];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1],
                  g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    return text;
}

bool guidFromString(const std::string& text, GUID* out)
{
    GUID parsed;
    if (!out || !parseBraced(std::string_view(text), &parsed))
        return false;
    *out = parsed;
    return true;
}

int StringFromGUID2(REFGUID guid, LPOLESTR psz, int cchMax)
{
    if (!psz || cchMax < kGuidChars + 1)
        return 0;
    const std::string text = guidToString(guid);
    for (int i = 0; i < kGuidChars; ++i)
        psz[i] = static_cast<OLECHAR>(text[i]);
    psz[kGuidChars] = 0;
    return kGuidChars + 1;
}

HRESULT StringFromCLSID(REFCLSID clsid, LPOLESTR* ppsz)
{
    if (!ppsz)
        return E_POINTER;
    *ppsz = static_cast<LPOLESTR>(CoTaskMemAlloc((kGuidChars + 1) * sizeof(OLECHAR)));
    if (!*ppsz)
        return E_OUTOFMEMORY;
    StringFromGUID2(clsid, *ppsz, kGuidChars + 1);
    return S_OK;
}

HRESULT StringFromIID(REFIID iid, LPOLESTR* ppsz)
{
    return StringFromCLSID(iid, ppsz);
}

HRESULT IIDFromString(LPCOLESTR psz, IID* piid)
{
    if (!piid)
        return E_POINTER;
    *piid = IID_NULL;
    if (!psz)
        return S_OK;
    return parseBraced(viewOf(psz), piid) ? S_OK : CO_E_CLASSSTRING;
}

HRESULT CLSIDFromString(LPCOLESTR psz, LPCLSID pclsid)
{
    if (!pclsid)
        return E_POINTER;
    *pclsid = CLSID_NULL;
    if (!psz)
        return S_OK;
    if (psz[0] == u'{')
        return parseBraced(viewOf(psz), pclsid) ? S_OK : CO_E_CLASSSTRING;
    return SUCCEEDED(CLSIDFromProgID(psz, pclsid)) ? S_OK : CO_E_CLASSSTRING;
}

void* CoTaskMemAlloc(std::size_t size)
{
    return std::malloc(size ? size : 1);
}

void* CoTaskMemRealloc(void* p, std::size_t size)
{
    return std::realloc(p, size ? size : 1);
}

void CoTaskMemFree(void* p)
{
    std::free(p);
}
