// CComBSTR: owns one BSTR. Construction and assignment from text raise
// _com_error(E_OUTOFMEMORY) when the copy cannot be allocated; the
// Append family answers an HRESULT instead.
#pragma once

#include "com/Bstr.h"
#include "com/CodePage.h"
#include "com/ComError.h"

#include <memory>
#include <new>
#include <utility>

class CComBSTR {
public:
    BSTR m_str = nullptr;

    CComBSTR() noexcept = default;
    CComBSTR(LPCOLESTR src) : m_str(copyOf(src)) {}       // up to the first NUL; null stays null
    CComBSTR(const char* src) : m_str(fromNarrow(src)) {} // UTF-8, converted
    CComBSTR(int length, LPCOLESTR src)
        : m_str(allocated(SysAllocStringLen(src, static_cast<UINT>(length))))
    {
    }
    CComBSTR(const CComBSTR& src) : m_str(src.Copy())
    {
        if (src.m_str && !m_str)
            _com_issue_error(E_OUTOFMEMORY);
    }
    CComBSTR(CComBSTR&& src) noexcept : m_str(std::exchange(src.m_str, nullptr)) {}
    ~CComBSTR() { SysFreeString(m_str); }

    CComBSTR& operator=(const CComBSTR& src)
    {
        if (this != std::addressof(src)) {
            BSTR copy = src.Copy();
            if (src.m_str && !copy)
                _com_issue_error(E_OUTOFMEMORY);
            Attach(copy);
        }
        return *this;
    }
    CComBSTR& operator=(CComBSTR&& src) noexcept
    {
        if (this != std::addressof(src))
            Attach(std::exchange(src.m_str, nullptr));
        return *this;
    }
    CComBSTR& operator=(LPCOLESTR src)
    {
        if (src != m_str)
            Attach(copyOf(src));
        return *this;
    }
    CComBSTR& operator=(const char* src)
    {
        Attach(fromNarrow(src));
        return *this;
    }

    unsigned int Length() const noexcept { return SysStringLen(m_str); }
    unsigned int ByteLength() const noexcept { return SysStringByteLen(m_str); }
    operator BSTR() const noexcept { return m_str; }
    // The held string's address, for an out-parameter; the string is kept,
    // so pass an empty object unless the callee frees what it finds.
    BSTR* operator&() noexcept { return &m_str; }
    bool operator!() const noexcept { return m_str == nullptr; }

    // A new BSTR with the same length and characters; null for null.
    BSTR Copy() const noexcept
    {
        return m_str ? SysAllocStringByteLen(reinterpret_cast<const char*>(m_str),
                                             SysStringByteLen(m_str))
                     : nullptr;
    }
    HRESULT CopyTo(BSTR* dest) const noexcept
    {
        if (!dest)
            return E_POINTER;
        *dest = Copy();
        return (m_str && !*dest) ? E_OUTOFMEMORY : S_OK;
    }
    void Attach(BSTR src) noexcept
    {
        if (src != m_str) {
            SysFreeString(m_str);
            m_str = src;
        }
    }
    BSTR Detach() noexcept { return std::exchange(m_str, nullptr); }
    void Empty() noexcept { Attach(nullptr); }

    // Copies src, embedded NULs included; the held string is kept on failure.
    HRESULT AssignBSTR(const BSTR src) noexcept
    {
        if (src == m_str)
            return S_OK;
        BSTR copy =
            src ? SysAllocStringByteLen(reinterpret_cast<const char*>(src), SysStringByteLen(src))
                : nullptr;
        if (src && !copy)
            return E_OUTOFMEMORY;
        Attach(copy);
        return S_OK;
    }

    HRESULT Append(LPCOLESTR text, int length) noexcept
    {
        if (length < 0)
            return E_INVALIDARG;
        if (length == 0 && m_str)
            return S_OK;
        const UINT held = Length();
        BSTR joined = SysAllocStringLen(nullptr, held + static_cast<UINT>(length));
        if (!joined)
            return E_OUTOFMEMORY;
        for (UINT i = 0; i < held; ++i)
            joined[i] = m_str[i];
        for (int i = 0; i < length; ++i)
            joined[held + static_cast<UINT>(i)] = text[i];
        Attach(joined);
        return S_OK;
    }
    HRESULT Append(LPCOLESTR text) noexcept { return text ? Append(text, lengthOf(text)) : S_OK; }
    HRESULT Append(const CComBSTR& text) noexcept { return AppendBSTR(text.m_str); }
    HRESULT AppendBSTR(BSTR text) noexcept
    {
        return text ? Append(text, static_cast<int>(SysStringLen(text))) : S_OK;
    }
    HRESULT Append(const char* text) noexcept
    {
        if (!text)
            return S_OK;
        try {
            const std::u16string wide = wideFromNarrow(text);
            return Append(wide.data(), static_cast<int>(wide.size()));
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }
    CComBSTR& operator+=(const CComBSTR& text)
    {
        checked(Append(text));
        return *this;
    }
    CComBSTR& operator+=(LPCOLESTR text)
    {
        checked(Append(text));
        return *this;
    }

    // Equal when length and characters agree; null equals the empty string.
    bool operator==(const CComBSTR& other) const noexcept
    {
        return equal(m_str, Length(), other.m_str, other.Length());
    }
    bool operator==(LPCOLESTR text) const noexcept
    {
        return equal(m_str, Length(), text, text ? lengthOf(text) : 0);
    }

private:
    static int lengthOf(LPCOLESTR s) noexcept
    {
        int n = 0;
        while (s[n])
            ++n;
        return n;
    }
    static bool equal(LPCOLESTR a, UINT na, LPCOLESTR b, UINT nb) noexcept
    {
        if (na != nb)
            return false;
        for (UINT i = 0; i < na; ++i)
            if (a[i] != b[i])
                return false;
        return true;
    }
    static BSTR allocated(BSTR s)
    {
        if (!s)
            _com_issue_error(E_OUTOFMEMORY);
        return s;
    }
    static BSTR copyOf(LPCOLESTR src) { return src ? allocated(SysAllocString(src)) : nullptr; }
    static BSTR fromNarrow(const char* src)
    {
        if (!src)
            return nullptr;
        std::u16string wide;
        try {
            wide = wideFromNarrow(src);
        } catch (const std::bad_alloc&) {
            _com_issue_error(E_OUTOFMEMORY);
        }
        return allocated(SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size())));
    }
    static void checked(HRESULT hr)
    {
        if (FAILED(hr))
            _com_issue_error(hr);
    }
};
