// Property getters of the part-with-operations and mult objects.
#pragma once

#include "com/ComBstr.h"

// Frees what *pVal holds, then hands out a copy of the field, byte for byte
// (null for null). E_POINTER for a null pVal, E_OUTOFMEMORY when the copy
// cannot be made (with *pVal null).
inline HRESULT getBstrProperty(const CComBSTR& field, BSTR* pVal)
{
    if (!pVal)
        return E_POINTER;
    SysFreeString(*pVal);
    *pVal = field.Copy();
    return (field.m_str && !*pVal) ? E_OUTOFMEMORY : S_OK;
}

// Stores a copy up to the first NUL (null stays null); the field's own
// string changes nothing. E_OUTOFMEMORY, with the field kept, when the copy
// cannot be made.
inline HRESULT putBstrProperty(CComBSTR& field, BSTR newVal) noexcept
{
    try {
        field = static_cast<LPCOLESTR>(newVal);
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

// Hands out a number field; E_POINTER for a null pVal.
template <class T>
HRESULT getNumberProperty(T field, T* pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = field;
    return S_OK;
}
