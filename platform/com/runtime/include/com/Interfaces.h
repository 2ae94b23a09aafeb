// The platform's interfaces: IUnknown, class factories, automation, error
// information, GUID enumeration and the component categories manager.
// Interfaces are abstract classes whose virtual functions stand in slot
// order; every method returns an HRESULT unless it says otherwise.
#pragma once

#include "com/Guid.h"
#include "com/Types.h"
#include "com/Variant.h"

inline constexpr IID IID_IUnknown = guidOf("00000000-0000-0000-C000-000000000046");
inline constexpr IID IID_IClassFactory = guidOf("00000001-0000-0000-C000-000000000046");
inline constexpr IID IID_IDispatch = guidOf("00020400-0000-0000-C000-000000000046");
inline constexpr IID IID_ITypeInfo = guidOf("00020401-0000-0000-C000-000000000046");
inline constexpr IID IID_IErrorInfo = guidOf("1CF2B120-547D-101B-8E65-08002B2BD119");
inline constexpr IID IID_ICreateErrorInfo = guidOf("22F03340-547D-101B-8E65-08002B2BD119");
inline constexpr IID IID_ISupportErrorInfo = guidOf("DF0B3D60-548F-101B-8E65-08002B2BD119");
inline constexpr IID IID_IEnumGUID = guidOf("0002E000-0000-0000-C000-000000000046");
inline constexpr IID IID_IEnumCATEGORYINFO = guidOf("0002E011-0000-0000-C000-000000000046");
inline constexpr IID IID_ICatRegister = guidOf("0002E012-0000-0000-C000-000000000046");
inline constexpr IID IID_ICatInformation = guidOf("0002E013-0000-0000-C000-000000000046");
inline constexpr IID IID_IRunnableObject = guidOf("00000126-0000-0000-C000-000000000046");
inline constexpr CLSID CLSID_StdComponentCategoriesMgr =
    guidOf("0002E005-0000-0000-C000-000000000046");

struct IUnknown {
    virtual HRESULT QueryInterface(REFIID riid, void** ppvObject) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

    template <class Q>
    HRESULT QueryInterface(Q** pp)
    {
        return QueryInterface(uuidof<Q>(), reinterpret_cast<void**>(pp));
    }

protected:
    ~IUnknown() = default;
};
COM_DECLARE_IID(IUnknown, IID_IUnknown);
using LPUNKNOWN = IUnknown*;

struct IClassFactory : IUnknown {
    virtual HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) = 0;
    virtual HRESULT LockServer(BOOL fLock) = 0;
};
COM_DECLARE_IID(IClassFactory, IID_IClassFactory);

// Type information is served by the server framework's type-library
// descriptions; callers of this system only pass it through.
struct ITypeInfo : IUnknown {};
COM_DECLARE_IID(ITypeInfo, IID_ITypeInfo);

struct IDispatch : IUnknown {
    virtual HRESULT GetTypeInfoCount(UINT* pctinfo) = 0;
    virtual HRESULT GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) = 0;
    virtual HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                  DISPID* rgDispId) = 0;
    virtual HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                           DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                           UINT* puArgErr) = 0;
};
COM_DECLARE_IID(IDispatch, IID_IDispatch);

struct IErrorInfo : IUnknown {
    virtual HRESULT GetGUID(GUID* pGUID) = 0;
    virtual HRESULT GetSource(BSTR* pBstrSource) = 0;
    virtual HRESULT GetDescription(BSTR* pBstrDescription) = 0;
    virtual HRESULT GetHelpFile(BSTR* pBstrHelpFile) = 0;
    virtual HRESULT GetHelpContext(DWORD* pdwHelpContext) = 0;
};
COM_DECLARE_IID(IErrorInfo, IID_IErrorInfo);

struct ICreateErrorInfo : IUnknown {
    virtual HRESULT SetGUID(REFGUID rguid) = 0;
    virtual HRESULT SetSource(LPOLESTR szSource) = 0;
    virtual HRESULT SetDescription(LPOLESTR szDescription) = 0;
    virtual HRESULT SetHelpFile(LPOLESTR szHelpFile) = 0;
    virtual HRESULT SetHelpContext(DWORD dwHelpContext) = 0;
};
COM_DECLARE_IID(ICreateErrorInfo, IID_ICreateErrorInfo);

struct ISupportErrorInfo : IUnknown {
    // S_OK when the object sets error info for failures of interface riid.
    virtual HRESULT InterfaceSupportsErrorInfo(REFIID riid) = 0;
};
COM_DECLARE_IID(ISupportErrorInfo, IID_ISupportErrorInfo);

struct IEnumGUID : IUnknown {
    // S_OK when celt GUIDs were returned, S_FALSE when fewer.
    virtual HRESULT Next(ULONG celt, GUID* rgelt, ULONG* pceltFetched) = 0;
    virtual HRESULT Skip(ULONG celt) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumGUID** ppenum) = 0;
};
COM_DECLARE_IID(IEnumGUID, IID_IEnumGUID);
using IEnumCLSID = IEnumGUID;
using IEnumCATID = IEnumGUID;

struct CATEGORYINFO {
    CATID catid;
    LCID lcid;
    OLECHAR szDescription[128];
};

struct IEnumCATEGORYINFO : IUnknown {
    virtual HRESULT Next(ULONG celt, CATEGORYINFO* rgelt, ULONG* pceltFetched) = 0;
    virtual HRESULT Skip(ULONG celt) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumCATEGORYINFO** ppenum) = 0;
};
COM_DECLARE_IID(IEnumCATEGORYINFO, IID_IEnumCATEGORYINFO);

struct ICatRegister : IUnknown {
    virtual HRESULT RegisterCategories(ULONG cCategories, CATEGORYINFO* rgCategoryInfo) = 0;
    virtual HRESULT UnRegisterCategories(ULONG cCategories, CATID* rgcatid) = 0;
    virtual HRESULT RegisterClassImplCategories(REFCLSID rclsid, ULONG cCategories,
                                                CATID* rgcatid) = 0;
    virtual HRESULT UnRegisterClassImplCategories(REFCLSID rclsid, ULONG cCategories,
                                                  CATID* rgcatid) = 0;
    virtual HRESULT RegisterClassReqCategories(REFCLSID rclsid, ULONG cCategories,
                                               CATID* rgcatid) = 0;
    virtual HRESULT UnRegisterClassReqCategories(REFCLSID rclsid, ULONG cCategories,
                                                 CATID* rgcatid) = 0;
};
COM_DECLARE_IID(ICatRegister, IID_ICatRegister);

struct ICatInformation : IUnknown {
    virtual HRESULT EnumCategories(LCID lcid, IEnumCATEGORYINFO** ppenumCategoryInfo) = 0;
    virtual HRESULT GetCategoryDesc(REFCATID rcatid, LCID lcid, LPWSTR* pszDesc) = 0;
    // cImplemented/cRequired of (ULONG)-1 mean "do not test"; a required
    // list holding only GUID_NULL asks for no requirement.
    virtual HRESULT EnumClassesOfCategories(ULONG cImplemented, const CATID rgcatidImpl[],
                                            ULONG cRequired, const CATID rgcatidReq[],
                                            IEnumGUID** ppenumClsid) = 0;
    virtual HRESULT IsClassOfCategories(REFCLSID rclsid, ULONG cImplemented,
                                        const CATID rgcatidImpl[], ULONG cRequired,
                                        const CATID rgcatidReq[]) = 0;
    virtual HRESULT EnumImplCategoriesOfClass(REFCLSID rclsid, IEnumGUID** ppenumCatid) = 0;
    virtual HRESULT EnumReqCategoriesOfClass(REFCLSID rclsid, IEnumGUID** ppenumCatid) = 0;
};
COM_DECLARE_IID(ICatInformation, IID_ICatInformation);

struct IRunnableObject : IUnknown {
    virtual HRESULT GetRunningClass(LPCLSID lpClsid) = 0;
    virtual HRESULT Run(void* pbc) = 0;
    virtual BOOL IsRunning() = 0;
    virtual HRESULT LockRunning(BOOL fLock, BOOL fLastUnlockCloses) = 0;
    virtual HRESULT SetContainedObject(BOOL fContained) = 0;
};
COM_DECLARE_IID(IRunnableObject, IID_IRunnableObject);
