// The platform's ANSI code page is UTF-8. Wide to narrow is UTF-8, with an
// unpaired surrogate written as '?'. Narrow to wide decodes UTF-8; a byte
// that does not start or continue a valid sequence is read as Windows-1252,
// so 8-bit text from older systems keeps its characters.
#pragma once

#include "com/Types.h"

#include <string>
#include <string_view>

std::string narrowFromWide(std::u16string_view wide);
std::u16string wideFromNarrow(std::string_view narrow);

constexpr UINT CP_ACP = 0;
constexpr UINT CP_UTF8 = 65001;

// The Win32 shapes of the same conversions. With a zero output size they
// answer the size needed (counting the NUL when the input length is -1).
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int cchWide, LPSTR narrow,
                        int cbNarrow, LPCSTR defaultChar, BOOL* usedDefault);
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR narrow, int cbNarrow, LPWSTR wide,
                        int cchWide);
