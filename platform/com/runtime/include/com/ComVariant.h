// CComVariant: a VARIANT that clears itself. A string or copy that cannot
// be made leaves it VT_ERROR with E_OUTOFMEMORY, as nothing is raised here.
#pragma once

#include "com/Bstr.h"
#include "com/CodePage.h"
#include "com/Interfaces.h"
#include "com/Variant.h"

#include <memory>

class CComVariant : public VARIANT {
public:
    CComVariant() noexcept { VariantInit(this); }
    CComVariant(const CComVariant& src) noexcept { copyFrom(src); }
    CComVariant(const VARIANT& src) noexcept { copyFrom(src); }
    CComVariant(LONG value) noexcept : CComVariant()
    {
        vt = VT_I4;
        lVal = value;
    }
    CComVariant(SHORT value) noexcept : CComVariant()
    {
        vt = VT_I2;
        iVal = value;
    }
    CComVariant(double value) noexcept : CComVariant()
    {
        vt = VT_R8;
        dblVal = value;
    }
    CComVariant(bool value) noexcept : CComVariant()
    {
        vt = VT_BOOL;
        boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    }
    // A copy of the text up to its first NUL; use the BSTR form for a BSTR
    // with embedded NULs.
    CComVariant(LPCOLESTR text) noexcept : CComVariant()
    {
        setString(text ? SysAllocString(text) : nullptr, text != nullptr);
    }
    CComVariant(const char* text) noexcept : CComVariant()
    {
        if (!text) {
            setString(nullptr, false);
            return;
        }
        try {
            const std::u16string wide = wideFromNarrow(text);
            setString(SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size())), true);
        } catch (...) {
            setString(nullptr, true);
        }
    }
    CComVariant(IUnknown* unknown) noexcept : CComVariant()
    {
        vt = VT_UNKNOWN;
        punkVal = unknown;
        if (unknown)
            unknown->AddRef();
    }
    CComVariant(IDispatch* dispatch) noexcept : CComVariant()
    {
        vt = VT_DISPATCH;
        pdispVal = dispatch;
        if (dispatch)
            dispatch->AddRef();
    }
    ~CComVariant() { VariantClear(this); }

    CComVariant& operator=(const CComVariant& src) noexcept
    {
        if (this != std::addressof(src))
            Copy(&src);
        return *this;
    }
    CComVariant& operator=(const VARIANT& src) noexcept
    {
        if (this != std::addressof(src))
            Copy(&src);
        return *this;
    }

    HRESULT Clear() noexcept { return VariantClear(this); }
    HRESULT Copy(const VARIANT* src) noexcept
    {
        const HRESULT hr = VariantCopy(this, src);
        if (FAILED(hr)) {
            vt = VT_ERROR;
            scode = hr;
        }
        return hr;
    }
    // Converts src (this object when null) to type, in place.
    HRESULT ChangeType(VARTYPE type, const VARIANT* src = nullptr) noexcept
    {
        return VariantChangeType(this, src ? src : this, 0, type);
    }
    // Moves the value into dest (cleared first); this object is left empty.
    HRESULT Detach(VARIANT* dest) noexcept
    {
        if (!dest)
            return E_POINTER;
        const HRESULT hr = VariantClear(dest);
        if (FAILED(hr))
            return hr;
        *dest = *static_cast<VARIANT*>(this);
        vt = VT_EMPTY;
        return S_OK;
    }

private:
    void copyFrom(const VARIANT& src) noexcept
    {
        VariantInit(this);
        Copy(&src);
    }
    // A wanted string that could not be allocated becomes the failure.
    void setString(BSTR text, bool wanted) noexcept
    {
        if (wanted && !text) {
            vt = VT_ERROR;
            scode = E_OUTOFMEMORY;
            return;
        }
        vt = VT_BSTR;
        bstrVal = text;
    }
};
