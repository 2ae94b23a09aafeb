// IDispatch served from a type-library description: IDispatchImpl for a
// dual interface, IDispatchOnlyImpl for a class that implements a
// dispinterface with its own member functions.
//
// Invoke finds the member by DISPID and wFlags (DISPATCH_METHOD,
// DISPATCH_PROPERTYGET, both, or DISPATCH_PROPERTYPUT), takes the arguments
// from DISPPARAMS in reverse order, converts each in-argument with
// VariantChangeType to the parameter's type (one that has that type already
// is passed as it is, without a copy), passes out-arguments given as
// VT_BYREF|type, and puts a retval into pVarResult (which the caller passes
// empty). Errors: DISP_E_MEMBERNOTFOUND (unknown DISPID or kind),
// DISP_E_BADPARAMCOUNT, DISP_E_NONAMEDARGS (named arguments other than a
// put's DISPID_PROPERTYPUT), DISP_E_TYPEMISMATCH with *puArgErr the index in
// rgvarg of the argument, DISP_E_EXCEPTION with EXCEPINFO filled from the
// thread's error info when the member fails and set some (the error info is
// cleared before the call), otherwise the member's own failure.
// GetIDsOfNames matches member names without regard to case.
// GetTypeInfoCount answers 1 for a described interface; GetTypeInfo answers
// E_NOTIMPL: callers of this platform use the description directly.
// An interface whose description is absent from the library answers
// GetTypeInfoCount 0 and TYPE_E_ELEMENTNOTFOUND from the others.
#pragma once

#include "com/server/TypeLibrary.h"

namespace comserver {

HRESULT dispatchGetTypeInfoCount(const InterfaceDesc* desc, UINT* pctinfo);
HRESULT dispatchGetTypeInfo(const InterfaceDesc* desc, UINT iTInfo, ITypeInfo** ppTInfo);
HRESULT dispatchGetIDsOfNames(const InterfaceDesc* desc, REFIID riid, LPOLESTR* rgszNames,
                              UINT cNames, DISPID* rgDispId);
HRESULT dispatchInvoke(const InterfaceDesc* desc, void* object, DISPID dispIdMember, REFIID riid,
                       WORD wFlags, DISPPARAMS* pDispParams, VARIANT* pVarResult,
                       EXCEPINFO* pExcepInfo, UINT* puArgErr);

// The four IDispatch methods for a description and the object its members
// are called on.
template <class Base, class Object, const IID* piid, const GUID* plibid, WORD wMajor, WORD wMinor>
class DispatchFromDescription : public Base {
public:
    HRESULT GetTypeInfoCount(UINT* pctinfo) override
    {
        return dispatchGetTypeInfoCount(description(), pctinfo);
    }
    HRESULT GetTypeInfo(UINT iTInfo, LCID, ITypeInfo** ppTInfo) override
    {
        return dispatchGetTypeInfo(description(), iTInfo, ppTInfo);
    }
    HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID,
                          DISPID* rgDispId) override
    {
        return dispatchGetIDsOfNames(description(), riid, rgszNames, cNames, rgDispId);
    }
    HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID, WORD wFlags, DISPPARAMS* pDispParams,
                   VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override
    {
        return dispatchInvoke(description(), static_cast<Object*>(this), dispIdMember, riid, wFlags,
                              pDispParams, pVarResult, pExcepInfo, puArgErr);
    }

    // Found once: the module's descriptions are registered while it loads,
    // before any of its objects exists, and never change.
    static const InterfaceDesc* description()
    {
        static const InterfaceDesc* const found =
            findInterface(*plibid, wMajor, wMinor, *piid, typeTag<Object>());
        return found;
    }
};

} // namespace comserver

// The dual interface T (IID *piid) of library *plibid, version wMajor.wMinor.
template <class T, const IID* piid, const GUID* plibid, WORD wMajor = 1, WORD wMinor = 0>
class IDispatchImpl
    : public comserver::DispatchFromDescription<T, T, piid, plibid, wMajor, wMinor> {
};

// IDispatch of class T for the dispinterface *piid of library *plibid,
// whose members are T's own member functions (dispInterface<T>):
//   class CWriter : public CComObjectRootEx<CComSingleThreadModel>,
//                   public CComCoClass<CWriter, &CLSID_Writer>,
//                   public IDispatchOnlyImpl<CWriter, &DIID_IWriter, &LIBID_WriterLib> {
//       BEGIN_COM_MAP(CWriter)
//           COM_INTERFACE_ENTRY(IDispatch)
//           COM_INTERFACE_ENTRY_IID(DIID_IWriter, IDispatch)
//       END_COM_MAP()
//       HRESULT Open(BSTR bstrName, LONG* pnResult);
//   };
template <class T, const IID* piid, const GUID* plibid, WORD wMajor = 1, WORD wMinor = 0>
class IDispatchOnlyImpl
    : public comserver::DispatchFromDescription<IDispatch, T, piid, plibid, wMajor, wMinor> {
};
