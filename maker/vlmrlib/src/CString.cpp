// CString: construction, editing, comparison and the wide conversions.
#include "vlmrlib/CString.h"

#include "TextRules.h"

#include "com/Bstr.h"
#include "com/CodePage.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <string_view>

namespace {

std::string_view viewOf(const char* text)
{
    return text ? std::string_view(text) : std::string_view();
}

std::string fromWide(const OLECHAR* wide)
{
    return wide ? narrowFromWide(std::u16string_view(wide)) : std::string();
}

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

int compareBytes(std::string_view a, std::string_view b, bool foldCase)
{
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        auto x = static_cast<unsigned char>(foldCase ? lowerAscii(a[i]) : a[i]);
        auto y = static_cast<unsigned char>(foldCase ? lowerAscii(b[i]) : b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int positionOf(std::size_t found)
{
    return found == std::string::npos ? -1 : static_cast<int>(found);
}

} // namespace

CString::CString(const char* text) : m_text(viewOf(text)) {}

CString::CString(const char* text, int length)
    : m_text(text && length > 0 ? std::string(text, static_cast<std::size_t>(length))
                                : std::string())
{
}

CString::CString(const OLECHAR* wide) : m_text(fromWide(wide)) {}

CString& CString::operator=(char c)
{
    m_text.assign(1, c);
    return *this;
}

CString& CString::operator=(const char* text)
{
    m_text = viewOf(text); // safe also when text points into m_text
    return *this;
}

CString& CString::operator=(const OLECHAR* wide)
{
    m_text = fromWide(wide);
    return *this;
}

CString& CString::operator+=(const CString& text)
{
    m_text += text.m_text;
    return *this;
}

CString& CString::operator+=(char c)
{
    m_text += c;
    return *this;
}

CString& CString::operator+=(const char* text)
{
    m_text += viewOf(text);
    return *this;
}

void CString::SetString(const char* text, int length)
{
    if (text && length > 0)
        m_text.assign(text, static_cast<std::size_t>(length));
    else
        m_text.clear();
}

void CString::Append(const char* text, int length)
{
    if (text && length > 0)
        m_text.append(text, static_cast<std::size_t>(length));
}

CString operator+(const CString& a, const CString& b)
{
    return CString(a) += b;
}
CString operator+(const CString& a, char b)
{
    return CString(a) += b;
}
CString operator+(char a, const CString& b)
{
    return (CString() += a) += b;
}
CString operator+(const CString& a, const char* b)
{
    return CString(a) += b;
}
CString operator+(const char* a, const CString& b)
{
    return CString(a) += b;
}

bool operator==(const CString& a, const char* b)
{
    return std::string_view(a.m_text) == viewOf(b);
}

int CString::Compare(const char* text) const
{
    return compareBytes(m_text, viewOf(text), false);
}

int CString::CompareNoCase(const char* text) const
{
    return compareBytes(m_text, viewOf(text), true);
}

int CString::Find(char c, int start) const
{
    return positionOf(m_text.find(c, static_cast<std::size_t>(std::max(start, 0))));
}

int CString::Find(const char* text, int start) const
{
    return positionOf(m_text.find(viewOf(text), static_cast<std::size_t>(std::max(start, 0))));
}

CString CString::Left(int count) const
{
    return Mid(0, count);
}

CString CString::Right(int count) const
{
    int n = std::clamp(count, 0, GetLength());
    return Mid(GetLength() - n, n);
}

CString CString::Mid(int first) const
{
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const
{
    int start = std::clamp(first, 0, GetLength());
    int n = std::clamp(count, 0, GetLength() - start);
    CString part;
    part.m_text = m_text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(n));
    return part;
}

CString& CString::MakeLower()
{
    std::transform(m_text.begin(), m_text.end(), m_text.begin(), lowerAscii);
    return *this;
}

CString& CString::TrimLeft()
{
    std::size_t first = 0;
    while (first < m_text.size() && vlmr_detail::isWhiteSpace(m_text[first]))
        ++first;
    if (first > 0)
        m_text.erase(0, first);
    return *this;
}

CString& CString::TrimRight()
{
    std::size_t end = m_text.size();
    while (end > 0 && vlmr_detail::isWhiteSpace(m_text[end - 1]))
        --end;
    m_text.resize(end);
    return *this;
}

char CString::GetAt(int index) const
{
    return index >= 0 && index < GetLength() ? m_text[static_cast<std::size_t>(index)] : '\0';
}

void CString::Format(const char* format, ...)
{
    if (!format) {
        m_text.clear();
        return;
    }
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int size = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text;
    if (size > 0) {
        text.resize(static_cast<std::size_t>(size) + 1);
        std::vsnprintf(text.data(), text.size(), format, again);
        text.resize(static_cast<std::size_t>(size));
    }
    va_end(again);
    m_text = std::move(text);
}

// Plain ASCII (the common case) is widened straight into the new string.
BSTR CString::AllocSysString() const
{
    if (std::all_of(m_text.begin(), m_text.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        BSTR text = SysAllocStringLen(nullptr, static_cast<UINT>(m_text.size()));
        if (text)
            std::copy(m_text.begin(), m_text.end(), text);
        return text;
    }
    std::u16string wide = wideFromNarrow(m_text);
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}
