// A CString handed to a part as a BSTR: every byte converted by the
// platform's code page, NULs included.
#pragma once

#include "com/ComBstr.h"
#include "vlmrlib/CString.h"

inline CComBSTR bstrOf(const CString& text)
{
    CComBSTR value;
    value.Attach(text.AllocSysString());
    return value;
}
