// TEMPORARY: BMP-only stand-ins for the runtime's code page and BSTR calls.
#include "com/Bstr.h"
#include "com/CodePage.h"

#include <cstdlib>
#include <cstring>

std::string narrowFromWide(std::u16string_view wide)
{
    std::string out;
    for (char16_t c : wide) {
        if (c < 0x80) out += char(c);
        else if (c < 0x800) { out += char(0xC0 | (c >> 6)); out += char(0x80 | (c & 0x3F)); }
        else { out += char(0xE0 | (c >> 12)); out += char(0x80 | ((c >> 6) & 0x3F)); out += char(0x80 | (c & 0x3F)); }
    }
    return out;
}
std::u16string wideFromNarrow(std::string_view narrow)
{
    std::u16string out;
    for (std::size_t i = 0; i < narrow.size(); ++i) {
        auto b = static_cast<unsigned char>(narrow[i]);
        if (b >= 0xC0 && b < 0xE0 && i + 1 < narrow.size()) {
            out += char16_t(((b & 0x1F) << 6) | (narrow[i + 1] & 0x3F)); ++i;
        } else out += char16_t(b);
    }
    return out;
}
BSTR SysAllocStringLen(const OLECHAR* pch, UINT cch)
{
    auto* p = static_cast<char*>(std::malloc(4 + (cch + 1) * 2));
    std::memcpy(p, &cch, 4);
    BSTR s = reinterpret_cast<BSTR>(p + 4);
    if (pch) std::memcpy(s, pch, cch * 2);
    s[cch] = 0;
    return s;
}
UINT SysStringLen(BSTR s) { return s ? reinterpret_cast<UINT*>(s)[-1] / 1 : 0; }
void SysFreeString(BSTR s) { if (s) std::free(reinterpret_cast<char*>(s) - 4); }
