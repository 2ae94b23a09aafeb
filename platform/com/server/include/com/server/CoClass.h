// CComCoClass: a creatable class's identity, its default creation rule
// (aggregatable) and its error report; ISupportErrorInfoImpl, the answer to
// ISupportErrorInfo from a table of interfaces.
#pragma once

#include "com/server/ComObject.h"

#include <string_view>

namespace comserver {

// Sets the thread's error info: description, GUID iid, source the ProgID
// registered for clsid (empty when there is none), no help file. Answers
// hr, or DISP_E_EXCEPTION when hr is 0.
HRESULT reportError(REFCLSID clsid, std::u16string_view description, REFIID iid, HRESULT hr);
HRESULT reportError(REFCLSID clsid, std::string_view description, REFIID iid, HRESULT hr);

} // namespace comserver

template <class T, const CLSID* pclsid = &CLSID_NULL>
class CComCoClass {
public:
    DECLARE_AGGREGATABLE(T)

    static const CLSID& GetObjectCLSID() { return *pclsid; }

    static HRESULT Error(LPCOLESTR lpszDesc, REFIID iid = GUID_NULL, HRESULT hRes = 0)
    {
        return comserver::reportError(*pclsid, std::u16string_view(lpszDesc ? lpszDesc : u""), iid,
                                      hRes);
    }
    static HRESULT Error(const char* lpszDesc, REFIID iid = GUID_NULL, HRESULT hRes = 0)
    {
        return comserver::reportError(*pclsid, std::string_view(lpszDesc ? lpszDesc : ""), iid,
                                      hRes);
    }

    // Creates an object of the class (inside pUnkOuter when given) and asks
    // it for Q.
    template <class Q>
    static HRESULT CreateInstance(IUnknown* pUnkOuter, Q** pp)
    {
        return comserver::createObject(T::_CreatorClass::plain, T::_CreatorClass::aggregated,
                                       pUnkOuter, uuidof<Q>(), reinterpret_cast<void**>(pp));
    }
    template <class Q>
    static HRESULT CreateInstance(Q** pp)
    {
        return CreateInstance(nullptr, pp);
    }
};

// S_OK for the interfaces listed, S_FALSE for every other:
//   class CMy : ..., public ISupportErrorInfoImpl<&IID_IMy, &IID_IOther>
template <const IID*... piids>
class ISupportErrorInfoImpl : public ISupportErrorInfo {
public:
    HRESULT InterfaceSupportsErrorInfo(REFIID riid) override
    {
        return ((riid == *piids) || ...) ? S_OK : S_FALSE;
    }
};
