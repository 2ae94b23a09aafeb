// UTF-16 <-> UTF-8 with the platform's rules for damaged text: an unpaired
// surrogate becomes a replacement, a byte outside valid UTF-8 is read as
// Windows-1252.
#include "com/CodePage.h"

#include <cstring>

namespace {

// Windows-1252 0x80..0x9F; the five undefined bytes stand for themselves.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t fromCp1252(unsigned char byte)
{
    return (byte >= 0x80 && byte < 0xA0) ? kCp1252High[byte - 0x80] : char16_t(byte);
}

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The code point of the valid UTF-8 sequence at text[i], with its length;
// length 0 when none starts there.
char32_t decodeUtf8(std::string_view text, std::size_t i, std::size_t* length)
{
    *length = 0;
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char lead = at(0);
    std::size_t need;
    char32_t cp, min;
    if (lead < 0x80) {
        *length = 1;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        need = 2;
        cp = lead & 0x1F;
        min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        need = 3;
        cp = lead & 0x0F;
        min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        need = 4;
        cp = lead & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + need > text.size())
        return 0;
    for (std::size_t k = 1; k < need; ++k) {
        if (!isContinuation(at(k)))
            return 0;
        cp = cp << 6 | (at(k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    *length = need;
    return cp;
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | cp >> 6);
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | cp >> 12);
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | cp >> 18);
        out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Wide to UTF-8, an unpaired surrogate written as replacement; usedDefault
// tells whether that happened.
std::string toNarrow(std::u16string_view wide, std::string_view replacement, bool* usedDefault)
{
    std::string out;
    out.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const char16_t c = wide[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
            wide[i + 1] <= 0xDFFF) {
            appendUtf8(out, 0x10000 + ((char32_t(c) - 0xD800) << 10) + (wide[i + 1] - 0xDC00));
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            out += replacement;
            *usedDefault = true;
        } else {
            appendUtf8(out, c);
        }
    }
    return out;
}

bool knownCodePage(UINT codePage)
{
    return codePage == CP_ACP || codePage == CP_UTF8;
}

// Copies a converted text into a Win32-style output buffer: the size needed
// when size is 0, 0 when the buffer is too small.
template <class Char>
int deliver(const std::basic_string<Char>& converted, Char* out, int size)
{
    const int needed = static_cast<int>(converted.size());
    if (size == 0)
        return needed;
    if (!out || size < needed)
        return 0;
    std::memcpy(out, converted.data(), converted.size() * sizeof(Char));
    return needed;
}

} // namespace

std::string narrowFromWide(std::u16string_view wide)
{
    bool usedDefault = false;
    return toNarrow(wide, "?", &usedDefault);
}

std::u16string wideFromNarrow(std::string_view narrow)
{
    std::u16string out;
    out.reserve(narrow.size());
    for (std::size_t i = 0; i < narrow.size();) {
        std::size_t length;
        const char32_t cp = decodeUtf8(narrow, i, &length);
        if (length == 0) {
            out += fromCp1252(static_cast<unsigned char>(narrow[i]));
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
        i += length;
    }
    return out;
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int cchWide, LPSTR narrow,
                        int cbNarrow, LPCSTR defaultChar, BOOL* usedDefault)
{
    if (!knownCodePage(codePage) || !wide || cchWide < -1 || cbNarrow < 0)
        return 0;
    try {
        const std::u16string_view input =
            cchWide == -1 ? std::u16string_view(wide, std::char_traits<char16_t>::length(wide) + 1)
                          : std::u16string_view(wide, static_cast<std::size_t>(cchWide));
        bool replaced = false;
        const std::string converted = toNarrow(input, defaultChar ? defaultChar : "?", &replaced);
        if (usedDefault)
            *usedDefault = replaced ? TRUE : FALSE;
        return deliver(converted, narrow, cbNarrow);
    } catch (...) {
        return 0;
    }
}

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR narrow, int cbNarrow, LPWSTR wide,
                        int cchWide)
{
    if (!knownCodePage(codePage) || !narrow || cbNarrow < -1 || cchWide < 0)
        return 0;
    try {
        const std::string_view input =
            cbNarrow == -1 ? std::string_view(narrow, std::strlen(narrow) + 1)
                           : std::string_view(narrow, static_cast<std::size_t>(cbNarrow));
        return deliver(wideFromNarrow(input), wide, cchWide);
    } catch (...) {
        return 0;
    }
}
