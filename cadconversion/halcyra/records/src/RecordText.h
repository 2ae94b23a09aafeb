// Texts of the records: kept as BSTRs of their own.
#pragma once

#include "com/Types.h"

// A new BSTR holding narrow ANSI-code-page text converted to wide; null for
// a null text. Throws std::bad_alloc when it cannot be allocated.
BSTR bstrFromNarrow(const char* pszText);

// A new BSTR copied up to the first NUL; null for null.
BSTR bstrCopy(const OLECHAR* psz);
