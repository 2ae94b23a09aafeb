// VARIANT life cycle, copies and type conversion.
#include "com/Variant.h"

#include "com/Bstr.h"
#include "com/CodePage.h"
#include "com/Interfaces.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <string>

namespace {

bool isValueType(VARTYPE t)
{
    switch (t) {
    case VT_EMPTY:
    case VT_NULL:
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_DATE:
    case VT_BSTR:
    case VT_DISPATCH:
    case VT_ERROR:
    case VT_BOOL:
    case VT_UNKNOWN:
    case VT_I1:
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
        return true;
    default:
        return false;
    }
}

bool isValid(VARTYPE vt)
{
    if (!(vt & VT_BYREF))
        return isValueType(vt);
    const VARTYPE base = vt & ~VT_BYREF;
    return base == VT_VARIANT || (isValueType(base) && base != VT_EMPTY && base != VT_NULL);
}

void setEmpty(VARIANT* v)
{
    std::memset(v, 0, sizeof *v);
    v->vt = VT_EMPTY;
}

BSTR copyBstr(BSTR s, HRESULT* hr)
{
    if (!s)
        return nullptr;
    BSTR copy = SysAllocStringByteLen(reinterpret_cast<const char*>(s), SysStringByteLen(s));
    if (!copy)
        *hr = E_OUTOFMEMORY;
    return copy;
}

// out (empty) gets its own copy of a valid src; a VT_BYREF is copied as
// the pointer it is.
HRESULT copyValue(const VARIANT& src, VARIANT* out)
{
    HRESULT hr = S_OK;
    *out = src;
    if (src.vt == VT_BSTR)
        out->bstrVal = copyBstr(src.bstrVal, &hr);
    else if ((src.vt == VT_UNKNOWN || src.vt == VT_DISPATCH) && src.punkVal)
        src.punkVal->AddRef();
    if (FAILED(hr))
        setEmpty(out);
    return hr;
}

// out (empty) gets a copy of the value a VT_BYREF src points at.
HRESULT dereference(const VARIANT& src, VARIANT* out)
{
    if (!src.byref)
        return E_INVALIDARG;
    const VARTYPE base = src.vt & ~VT_BYREF;
    if (base == VT_VARIANT) {
        const VARIANT& inner = *src.pvarVal;
        if ((inner.vt & VT_BYREF) || !isValid(inner.vt))
            return E_INVALIDARG;
        return copyValue(inner, out);
    }
    VARIANT value;
    setEmpty(&value);
    value.vt = base;
    switch (base) {
    case VT_I1:
        value.cVal = *src.pcVal;
        break;
    case VT_UI1:
        value.bVal = *src.pbVal;
        break;
    case VT_I2:
        value.iVal = *src.piVal;
        break;
    case VT_UI2:
        value.uiVal = *src.puiVal;
        break;
    case VT_I4:
        value.lVal = *src.plVal;
        break;
    case VT_UI4:
        value.ulVal = *src.pulVal;
        break;
    case VT_INT:
        value.intVal = *src.pintVal;
        break;
    case VT_UINT:
        value.uintVal = *src.puintVal;
        break;
    case VT_R4:
        value.fltVal = *src.pfltVal;
        break;
    case VT_R8:
        value.dblVal = *src.pdblVal;
        break;
    case VT_DATE:
        value.date = *src.pdblVal;
        break;
    case VT_BOOL:
        value.boolVal = *src.pboolVal;
        break;
    case VT_ERROR:
        value.scode = *src.pscode;
        break;
    case VT_BSTR:
        value.bstrVal = *src.pbstrVal;
        break;
    case VT_UNKNOWN:
        value.punkVal = *src.ppunkVal;
        break;
    case VT_DISPATCH:
        value.pdispVal = *src.ppdispVal;
        break;
    default:
        return DISP_E_BADVARTYPE;
    }
    return copyValue(value, out);
}

// ---- numbers ----------------------------------------------------------

struct Number {
    bool real = false;
    std::int64_t i = 0;
    double d = 0;
};

std::string trimmed(const VARIANT& v)
{
    std::string text = narrowFromBstr(v.bstrVal);
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool equalsNoCase(const std::string& a, const char* b)
{
    if (a.size() != std::strlen(b))
        return false;
    for (std::size_t k = 0; k < a.size(); ++k)
        if (std::tolower(static_cast<unsigned char>(a[k])) != b[k])
            return false;
    return true;
}

// Reads a number in the "C" locale: [+|-]digits[.digits][e[+|-]digits].
HRESULT parseNumber(const VARIANT& v, bool boolWords, Number* n)
{
    std::string text = trimmed(v);
    if (boolWords && (equalsNoCase(text, "true") || equalsNoCase(text, "false"))) {
        n->i = equalsNoCase(text, "true") ? -1 : 0;
        return S_OK;
    }
    if (!text.empty() && text[0] == '+')
        text.erase(0, 1);
    if (text.empty() || text[0] == '+')
        return DISP_E_TYPEMISMATCH;
    const char* begin = text.data();
    const char* end = begin + text.size();
    // Only digits, one sign, a point and an exponent: no "inf", "nan" or hex.
    if (text.find_first_not_of("0123456789+-.eE") != std::string::npos)
        return DISP_E_TYPEMISMATCH;
    if (text.find_first_not_of("0123456789-") == std::string::npos) {
        const auto [ptr, ec] = std::from_chars(begin, end, n->i);
        if (ec == std::errc::result_out_of_range && ptr == end)
            return DISP_E_OVERFLOW;
        if (ec == std::errc() && ptr == end)
            return S_OK;
        return DISP_E_TYPEMISMATCH;
    }
    n->real = true;
    const auto [ptr, ec] = std::from_chars(begin, end, n->d);
    if (ptr != end)
        return DISP_E_TYPEMISMATCH;
    if (ec == std::errc::result_out_of_range)
        return DISP_E_OVERFLOW;
    return ec == std::errc() ? S_OK : DISP_E_TYPEMISMATCH;
}

HRESULT numberOf(const VARIANT& v, VARTYPE target, Number* n)
{
    switch (v.vt) {
    case VT_EMPTY:
        n->i = 0;
        return S_OK;
    case VT_I1:
        n->i = static_cast<signed char>(v.cVal);
        return S_OK;
    case VT_UI1:
        n->i = v.bVal;
        return S_OK;
    case VT_I2:
        n->i = v.iVal;
        return S_OK;
    case VT_UI2:
        n->i = v.uiVal;
        return S_OK;
    case VT_I4:
        n->i = v.lVal;
        return S_OK;
    case VT_UI4:
        n->i = v.ulVal;
        return S_OK;
    case VT_INT:
        n->i = v.intVal;
        return S_OK;
    case VT_UINT:
        n->i = v.uintVal;
        return S_OK;
    case VT_BOOL:
        n->i = v.boolVal ? -1 : 0;
        return S_OK;
    case VT_R4:
        n->real = true;
        n->d = v.fltVal;
        return S_OK;
    case VT_R8:
        n->real = true;
        n->d = v.dblVal;
        return S_OK;
    case VT_BSTR:
        return parseNumber(v, target == VT_BOOL, n);
    default:
        return DISP_E_TYPEMISMATCH;
    }
}

// Integers from a real are rounded to the nearest, halves to even.
template <class T>
HRESULT fit(const Number& n, T* out)
{
    constexpr auto lo = std::numeric_limits<T>::min();
    constexpr auto hi = std::numeric_limits<T>::max();
    if (!n.real) {
        if (n.i < static_cast<std::int64_t>(lo) || n.i > static_cast<std::int64_t>(hi))
            return DISP_E_OVERFLOW;
        *out = static_cast<T>(n.i);
        return S_OK;
    }
    if (!std::isfinite(n.d))
        return DISP_E_OVERFLOW;
    const double r = std::nearbyint(n.d);
    if (r < static_cast<double>(lo) || r > static_cast<double>(hi))
        return DISP_E_OVERFLOW;
    *out = static_cast<T>(r);
    return S_OK;
}

HRESULT storeNumber(const Number& n, VARTYPE target, VARIANT* out)
{
    out->vt = target;
    switch (target) {
    case VT_I1: {
        signed char c;
        const HRESULT hr = fit(n, &c);
        out->cVal = static_cast<CHAR>(c);
        return hr;
    }
    case VT_UI1:
        return fit(n, &out->bVal);
    case VT_I2:
        return fit(n, &out->iVal);
    case VT_UI2:
        return fit(n, &out->uiVal);
    case VT_I4:
        return fit(n, &out->lVal);
    case VT_UI4:
        return fit(n, &out->ulVal);
    case VT_INT:
        return fit(n, &out->intVal);
    case VT_UINT:
        return fit(n, &out->uintVal);
    case VT_BOOL:
        out->boolVal = (n.real ? n.d != 0 : n.i != 0) ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    case VT_R8:
        out->dblVal = n.real ? n.d : static_cast<double>(n.i);
        return S_OK;
    case VT_R4: {
        const double d = n.real ? n.d : static_cast<double>(n.i);
        if (std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max())
            return DISP_E_OVERFLOW;
        out->fltVal = static_cast<float>(d);
        return S_OK;
    }
    default:
        return DISP_E_TYPEMISMATCH;
    }
}

bool isNumberType(VARTYPE t)
{
    switch (t) {
    case VT_I1:
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_R8:
    case VT_BOOL:
        return true;
    default:
        return false;
    }
}

// ---- text -------------------------------------------------------------

// The shortest text that reads back as the same value; plain digits for
// magnitudes from 1e-5 to below 1e15, else with an exponent ("1e+21").
template <class T>
std::string shortest(T value)
{
    const T magnitude = std::fabs(value);
    const bool plain = magnitude == 0 || (magnitude >= T(1e-5) && magnitude < T(1e15));
    char buffer[400];
    const auto [ptr, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value,
                      plain ? std::chars_format::fixed : std::chars_format::scientific);
    return std::string(buffer, ec == std::errc() ? ptr : buffer);
}

HRESULT textOf(const VARIANT& v, USHORT flags, std::string* text)
{
    switch (v.vt) {
    case VT_EMPTY:
        text->clear();
        return S_OK;
    case VT_BOOL:
        if (flags & VARIANT_ALPHABOOL)
            *text = v.boolVal ? "True" : "False";
        else
            *text = v.boolVal ? "-1" : "0";
        return S_OK;
    case VT_R4:
        *text = shortest(v.fltVal);
        return S_OK;
    case VT_R8:
        *text = shortest(v.dblVal);
        return S_OK;
    default: {
        if (!isNumberType(v.vt))
            return DISP_E_TYPEMISMATCH;
        Number n;
        numberOf(v, VT_BSTR, &n);
        *text = std::to_string(n.i);
        return S_OK;
    }
    }
}

// out (empty) gets value (valid, not VT_BYREF) as type target.
HRESULT convert(const VARIANT& value, VARTYPE target, USHORT flags, VARIANT* out)
{
    if (value.vt == target)
        return copyValue(value, out);
    if (target == VT_EMPTY)
        return S_OK;
    if (value.vt == VT_NULL || target == VT_NULL)
        return DISP_E_TYPEMISMATCH;
    switch (target) {
    case VT_BSTR: {
        std::string text;
        const HRESULT hr = textOf(value, flags, &text);
        if (FAILED(hr))
            return hr;
        const std::u16string wide = wideFromNarrow(text);
        out->bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
        if (!out->bstrVal)
            return E_OUTOFMEMORY;
        out->vt = VT_BSTR;
        return S_OK;
    }
    case VT_UNKNOWN:
    case VT_DISPATCH: {
        if (value.vt != VT_UNKNOWN && value.vt != VT_DISPATCH)
            return DISP_E_TYPEMISMATCH;
        if (value.punkVal) {
            void* p = nullptr;
            const HRESULT hr = value.punkVal->QueryInterface(
                target == VT_UNKNOWN ? IID_IUnknown : IID_IDispatch, &p);
            if (FAILED(hr))
                return hr;
            out->byref = p;
        }
        out->vt = target;
        return S_OK;
    }
    case VT_ERROR:
        if (value.vt != VT_I4)
            return DISP_E_TYPEMISMATCH;
        out->vt = VT_ERROR;
        out->scode = value.lVal;
        return S_OK;
    default:
        break;
    }
    if (value.vt == VT_ERROR) {
        if (target != VT_I4)
            return DISP_E_TYPEMISMATCH;
        out->vt = VT_I4;
        out->lVal = value.scode;
        return S_OK;
    }
    if (!isNumberType(target))
        return DISP_E_TYPEMISMATCH;
    Number n;
    HRESULT hr = numberOf(value, target, &n);
    if (SUCCEEDED(hr))
        hr = storeNumber(n, target, out);
    if (FAILED(hr))
        setEmpty(out);
    return hr;
}

} // namespace

void VariantInit(VARIANT* v)
{
    if (v)
        setEmpty(v);
}

HRESULT VariantClear(VARIANT* v)
{
    if (!v)
        return E_INVALIDARG;
    if (!isValid(v->vt))
        return DISP_E_BADVARTYPE;
    if (v->vt == VT_BSTR)
        SysFreeString(v->bstrVal);
    else if ((v->vt == VT_UNKNOWN || v->vt == VT_DISPATCH) && v->punkVal)
        v->punkVal->Release();
    setEmpty(v);
    return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* src)
{
    if (!dest || !src)
        return E_INVALIDARG;
    if (dest == src)
        return S_OK;
    if (!isValid(src->vt))
        return DISP_E_BADVARTYPE;
    VARIANT copy;
    setEmpty(&copy);
    const HRESULT hr = copyValue(*src, &copy);
    if (FAILED(hr))
        return hr;
    VariantClear(dest);
    *dest = copy;
    return S_OK;
}

HRESULT VariantCopyInd(VARIANT* dest, const VARIANT* src)
{
    if (!dest || !src)
        return E_INVALIDARG;
    if (!isValid(src->vt))
        return DISP_E_BADVARTYPE;
    VARIANT copy;
    setEmpty(&copy);
    const HRESULT hr = (src->vt & VT_BYREF) ? dereference(*src, &copy) : copyValue(*src, &copy);
    if (FAILED(hr))
        return hr;
    VariantClear(dest);
    *dest = copy;
    return S_OK;
}

HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, USHORT flags, VARTYPE vt)
{
    if (!dest || !src)
        return E_INVALIDARG;
    if (!isValid(src->vt))
        return DISP_E_BADVARTYPE;
    if (!isValueType(vt))
        return DISP_E_BADVARTYPE;
    VARIANT value;
    setEmpty(&value);
    HRESULT hr = VariantCopyInd(&value, src);
    if (FAILED(hr))
        return hr;
    VARIANT converted;
    setEmpty(&converted);
    try {
        hr = convert(value, vt, flags, &converted);
    } catch (const std::bad_alloc&) {
        hr = E_OUTOFMEMORY;
    }
    VariantClear(&value);
    if (FAILED(hr))
        return hr;
    VariantClear(dest);
    *dest = converted;
    return S_OK;
}
