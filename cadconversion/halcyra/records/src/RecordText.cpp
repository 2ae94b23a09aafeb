// Texts of the records.
#include "RecordText.h"

#include "com/Bstr.h"
#include "com/CodePage.h"

#include <new>

namespace {
BSTR allocated(BSTR bstr)
{
    if (!bstr)
        throw std::bad_alloc();
    return bstr;
}
} // namespace

BSTR bstrFromNarrow(const char* pszText)
{
    if (!pszText)
        return nullptr;
    const std::u16string wide = wideFromNarrow(pszText);
    return allocated(SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size())));
}

BSTR bstrCopy(const OLECHAR* psz)
{
    return psz ? allocated(SysAllocString(psz)) : nullptr;
}
