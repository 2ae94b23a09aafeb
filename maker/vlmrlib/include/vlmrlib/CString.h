// CString: the maker's narrow text value. It holds bytes as they stand in
// the files (UTF-8 or 8-bit text), NUL bytes included; only the conversion
// to char text ends at the first NUL.
//
// Rules of this library: white space is blank, tab, CR, LF and form feed;
// case is ASCII only (bytes of 0x80 and above never change); an index or
// count outside the text is clamped, so no call reads outside it. Wide
// (UTF-16) text converts with the platform's code page (com/CodePage.h).
#pragma once

#include "com/Types.h"

#include <string>

class CString {
public:
    CString() = default;
    CString(const char* text);             // null gives the empty text
    CString(const char* text, int length); // length bytes, NULs included
    CString(const OLECHAR* wide);          // null gives the empty text
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(char c);
    CString& operator=(const char* text);
    CString& operator=(const OLECHAR* wide);
    ~CString() = default;

    CString& operator+=(const CString& text);
    CString& operator+=(char c);
    CString& operator+=(const char* text);

    // length bytes at text (NULs included) replace the text, or are added
    // to its end; the storage the text already has is reused.
    void SetString(const char* text, int length);
    void Append(const char* text, int length);

    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, char b);
    friend CString operator+(char a, const CString& b);
    friend CString operator+(const CString& a, const char* b);
    friend CString operator+(const char* a, const CString& b);

    // Byte-wise; a null text counts as empty.
    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const char* b);

    // strcmp-like (negative, 0, positive) on unsigned bytes.
    int Compare(const char* text) const;
    int CompareNoCase(const char* text) const;

    // Position of the first occurrence at or after start, or -1.
    int Find(char c, int start = 0) const;
    int Find(const char* text, int start = 0) const;

    CString Left(int count) const;
    CString Right(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;

    CString& MakeLower();
    CString& TrimLeft();  // leading white space
    CString& TrimRight(); // trailing white space

    void Empty() { m_text.clear(); }
    bool IsEmpty() const { return m_text.empty(); }
    int GetLength() const { return static_cast<int>(m_text.size()); }
    // The byte at index, or 0 outside the text.
    char GetAt(int index) const;

    // The white space of this library's trims, breaks and token reads.
    static constexpr bool IsWhiteSpace(char c)
    {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
    }

    // printf syntax; replaces the text.
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // A new BSTR of the text converted to UTF-16; the caller frees it.
    BSTR AllocSysString() const;

    operator const char*() const { return m_text.c_str(); }

protected:
    std::string m_text;
};
