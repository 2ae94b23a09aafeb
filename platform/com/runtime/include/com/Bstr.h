// BSTR: UTF-16 text with a 32-bit byte-count prefix and a NUL after the
// last character; it may hold embedded NULs. A null BSTR is the empty
// string for every function here.
#pragma once

#include "com/Types.h"

BSTR SysAllocString(const OLECHAR* psz);               // null for a null argument
BSTR SysAllocStringLen(const OLECHAR* pch, UINT cch);  // pch may be null: uninitialised text
BSTR SysAllocStringByteLen(const char* psz, UINT len); // len bytes, not converted
BOOL SysReAllocString(BSTR* pbstr, const OLECHAR* psz);
BOOL SysReAllocStringLen(BSTR* pbstr, const OLECHAR* psz, UINT cch);
void SysFreeString(BSTR bstr);
UINT SysStringLen(BSTR bstr);     // characters
UINT SysStringByteLen(BSTR bstr); // bytes
