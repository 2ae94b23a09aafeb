// Rules shared by the string and text-file classes: the white-space set,
// the number syntax and the quoting of a bad token in a message.
#pragma once

#include "vlmrlib/CString.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace vlmr_detail {

// Blank, tab, CR, LF and form feed.
constexpr bool isWhiteSpace(char c)
{
    return CString::IsWhiteSpace(c);
}

// Length of the longest number at the front of text, 0 when there is none.
// A decimal number is [+-] digits [. [digits]] or [+-] . digits, then an
// optional exponent (e or E, [+-], digits) taken only when it has digits.
// An integer is [+-] digits.
std::size_t scanDouble(std::string_view text);
std::size_t scanInteger(std::string_view text);

// The value of a text that the matching scan accepted as a whole; false
// when the value lies outside the type's range.
bool parseDouble(std::string_view number, double* value);
bool parseInteger(std::string_view number, int* value);

// The first word of text in double quotes for an error message: at most
// 40 bytes (then "..."), control characters shown as '?'.
std::string quotedWord(std::string_view text);

} // namespace vlmr_detail
