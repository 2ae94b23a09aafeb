// The texts of the part objects' error reports.
#pragma once

#include "com/ComError.h"

#include <string>

// The COM error's own message (the platform's text for its HRESULT), then
// "\r\n" when that message is not empty, then string nID of the server's
// string table, or pszFallback when the string cannot be loaded; then, when
// the error carries error info with a description (a Tarsis server's own
// text of its failure), "\r\n" and that description.
std::u16string comErrorText(const _com_error& error, UINT nID, const char16_t* pszFallback);
