// VARIANT and the argument blocks of IDispatch::Invoke.
#pragma once

#include "com/Types.h"

struct IUnknown;
struct IDispatch;

using VARTYPE = std::uint16_t;

enum VARENUM : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_I1 = 16,
    VT_UI1 = 17,
    VT_UI2 = 18,
    VT_UI4 = 19,
    VT_INT = 22,
    VT_UINT = 23,
    VT_VOID = 24,
    VT_HRESULT = 25,
    VT_PTR = 26,
    VT_USERDEFINED = 29,
    VT_BYREF = 0x4000,
    VT_TYPEMASK = 0x0fff,
};

struct VARIANT;
using VARIANTARG = VARIANT;

struct VARIANT {
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    // The widest member comes first, so that VARIANT{} zeroes the whole
    // value and a by-reference pointer to a fresh VARIANT's storage reads null.
    union {
        LONGLONG llVal;
        LONG lVal;
        BYTE bVal;
        SHORT iVal;
        float fltVal;
        double dblVal;
        VARIANT_BOOL boolVal;
        SCODE scode;
        DATE date;
        BSTR bstrVal;
        IUnknown* punkVal;
        IDispatch* pdispVal;
        CHAR cVal;
        USHORT uiVal;
        ULONG ulVal;
        INT intVal;
        UINT uintVal;
        BYTE* pbVal;
        SHORT* piVal;
        LONG* plVal;
        float* pfltVal;
        double* pdblVal;
        VARIANT_BOOL* pboolVal;
        SCODE* pscode;
        BSTR* pbstrVal;
        IUnknown** ppunkVal;
        IDispatch** ppdispVal;
        VARIANT* pvarVal;
        CHAR* pcVal;
        USHORT* puiVal;
        ULONG* pulVal;
        INT* pintVal;
        UINT* puintVal;
        void* byref;
    };
};

// Accessors in the usual spelling, so that code reads as it would elsewhere.
#define V_VT(v) ((v)->vt)
#define V_I2(v) ((v)->iVal)
#define V_I4(v) ((v)->lVal)
#define V_R8(v) ((v)->dblVal)
#define V_BSTR(v) ((v)->bstrVal)
#define V_BOOL(v) ((v)->boolVal)
#define V_ERROR(v) ((v)->scode)
#define V_UNKNOWN(v) ((v)->punkVal)
#define V_DISPATCH(v) ((v)->pdispVal)
#define V_BYREF(v) ((v)->byref)

void VariantInit(VARIANT* v);
HRESULT VariantClear(VARIANT* v);                          // frees BSTR, releases interfaces
HRESULT VariantCopy(VARIANT* dest, const VARIANT* src);    // deep copy; clears dest first
HRESULT VariantCopyInd(VARIANT* dest, const VARIANT* src); // copy, following VT_BYREF
// Converts between VT_EMPTY, VT_I2, VT_I4, VT_R8, VT_BSTR, VT_BOOL, VT_ERROR,
// VT_UNKNOWN and VT_DISPATCH (and the other integer types), following
// VT_BYREF in the source. DISP_E_TYPEMISMATCH when no conversion exists,
// DISP_E_OVERFLOW when the value does not fit.
// Numbers and text convert in the "C" locale; a double becomes its
// shortest round-trip text. A VT_BOOL becomes "-1" or "0", or "True" or
// "False" with VARIANT_ALPHABOOL. dest is left as it was on failure.
HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, USHORT flags, VARTYPE vt);
constexpr USHORT VARIANT_ALPHABOOL = 0x2;

constexpr DISPID DISPID_UNKNOWN = -1;
constexpr DISPID DISPID_VALUE = 0;
constexpr DISPID DISPID_PROPERTYPUT = -3;

constexpr WORD DISPATCH_METHOD = 0x1;
constexpr WORD DISPATCH_PROPERTYGET = 0x2;
constexpr WORD DISPATCH_PROPERTYPUT = 0x4;
constexpr WORD DISPATCH_PROPERTYPUTREF = 0x8;

// The arguments of IDispatch::Invoke: rgvarg holds them in reverse order
// (the last argument first).
struct DISPPARAMS {
    VARIANTARG* rgvarg;
    DISPID* rgdispidNamedArgs;
    UINT cArgs;
    UINT cNamedArgs;
};

struct EXCEPINFO {
    WORD wCode;
    WORD wReserved;
    BSTR bstrSource;
    BSTR bstrDescription;
    BSTR bstrHelpFile;
    DWORD dwHelpContext;
    void* pvReserved;
    HRESULT (*pfnDeferredFillIn)(EXCEPINFO*);
    SCODE scode;
};
