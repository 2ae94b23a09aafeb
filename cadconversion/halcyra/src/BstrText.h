// Narrow (ANSI code page) text of the part objects' strings, for the
// messages they build.
#pragma once

#include "com/Bstr.h"
#include "com/CodePage.h"

#include <string>
#include <string_view>

inline std::string narrowText(BSTR bstr)
{
    return bstr ? narrowFromWide(std::u16string_view(bstr, SysStringLen(bstr))) : std::string();
}
