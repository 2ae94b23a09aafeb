// BSTR: UTF-16 text with a 32-bit byte-count prefix and a NUL after the
// last character; it may hold embedded NULs. A null BSTR is the empty
// string for every function here.
#pragma once

#include "com/Types.h"

#include <string>
#include <string_view>

BSTR SysAllocString(const OLECHAR* psz);               // null for a null argument
BSTR SysAllocStringLen(const OLECHAR* pch, UINT cch);  // pch may be null: uninitialised text
BSTR SysAllocStringByteLen(const char* psz, UINT len); // len bytes, not converted
BOOL SysReAllocString(BSTR* pbstr, const OLECHAR* psz);
BOOL SysReAllocStringLen(BSTR* pbstr, const OLECHAR* psz, UINT cch);
void SysFreeString(BSTR bstr);
UINT SysStringLen(BSTR bstr);     // characters
UINT SysStringByteLen(BSTR bstr); // bytes

// A BSTR's text as UTF-8 (CodePage.h), all its characters, embedded NULs
// too; empty for a null BSTR.
std::string narrowFromBstr(BSTR bstr);
// A new BSTR of UTF-8 text (CodePage.h), for the caller to free; null when
// out of memory.
BSTR bstrFromNarrow(std::string_view text);
