// BSTR allocation: [32-bit byte count][text][two NUL bytes], the BSTR
// pointing at the text.
#include "com/Bstr.h"

#include "com/CodePage.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

constexpr std::size_t kPrefix = sizeof(std::uint32_t);

// Room for bytes of text, their count set and the NULs written; the text
// itself is zeroed when source is null.
BSTR allocate(const void* source, UINT bytes)
{
    if (bytes > std::numeric_limits<std::uint32_t>::max() - kPrefix - sizeof(OLECHAR))
        return nullptr;
    auto* block = static_cast<unsigned char*>(std::malloc(kPrefix + bytes + sizeof(OLECHAR)));
    if (!block)
        return nullptr;
    const std::uint32_t count = bytes;
    std::memcpy(block, &count, kPrefix);
    if (source)
        std::memcpy(block + kPrefix, source, bytes);
    else
        std::memset(block + kPrefix, 0, bytes);
    block[kPrefix + bytes] = 0;
    block[kPrefix + bytes + 1] = 0;
    return reinterpret_cast<BSTR>(block + kPrefix);
}

UINT lengthOf(const OLECHAR* text)
{
    UINT n = 0;
    while (text[n])
        ++n;
    return n;
}

bool tooLong(UINT cch)
{
    return cch > std::numeric_limits<UINT>::max() / sizeof(OLECHAR);
}

} // namespace

BSTR SysAllocString(const OLECHAR* psz)
{
    return psz ? SysAllocStringLen(psz, lengthOf(psz)) : nullptr;
}

BSTR SysAllocStringLen(const OLECHAR* pch, UINT cch)
{
    return tooLong(cch) ? nullptr : allocate(pch, static_cast<UINT>(cch * sizeof(OLECHAR)));
}

BSTR SysAllocStringByteLen(const char* psz, UINT len)
{
    return allocate(psz, len);
}

BOOL SysReAllocStringLen(BSTR* pbstr, const OLECHAR* psz, UINT cch)
{
    if (!pbstr)
        return FALSE;
    // The new string is made first: psz may point into the old one.
    BSTR fresh = SysAllocStringLen(psz, cch);
    if (!fresh)
        return FALSE;
    SysFreeString(*pbstr);
    *pbstr = fresh;
    return TRUE;
}

BOOL SysReAllocString(BSTR* pbstr, const OLECHAR* psz)
{
    if (!psz) {
        if (!pbstr)
            return FALSE;
        SysFreeString(*pbstr);
        *pbstr = nullptr;
        return TRUE;
    }
    return SysReAllocStringLen(pbstr, psz, lengthOf(psz));
}

void SysFreeString(BSTR bstr)
{
    if (bstr)
        std::free(reinterpret_cast<unsigned char*>(bstr) - kPrefix);
}

UINT SysStringByteLen(BSTR bstr)
{
    if (!bstr)
        return 0;
    std::uint32_t count;
    std::memcpy(&count, reinterpret_cast<unsigned char*>(bstr) - kPrefix, kPrefix);
    return count;
}

UINT SysStringLen(BSTR bstr)
{
    return SysStringByteLen(bstr) / sizeof(OLECHAR);
}

std::string narrowFromBstr(BSTR bstr)
{
    return bstr ? narrowFromWide(std::u16string_view(bstr, SysStringLen(bstr))) : std::string();
}

BSTR bstrFromNarrow(std::string_view text)
{
    const std::u16string wide = wideFromNarrow(text);
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}
