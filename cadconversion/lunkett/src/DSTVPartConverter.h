// DSTVPartConverter: what the four DSTV part converter classes share: the
// embedded part reader, IVLMRConvert on top of it, and the error wrapper
// that turns the reader's results into COM error info.
//
// A class derives from it with itself, its CLSID, the base of its own
// interface and that interface's IID, and provides
//   static constexpr const char* kConversionName;
//   static constexpr ReaderEntry kReaderEntry;   // which ReadPart it runs
// plus its interface, category map and registrar script.
#pragma once

#include "DSTVPartReader.h"

#include "halcyra/HalcyraLib.h"
#include "lunkett/LunkettLib.h"

#include "com/ComBstr.h"
#include "com/server/Server.h"

using ReaderEntry = HRESULT (DSTVPartReader::*)(IUnknown**, LONG, LONG, BSTR*);

template <class T, const CLSID* pclsid, class OwnInterfaceBase, const IID* piidOwn>
class DSTVPartConverter : public CComObjectRootEx<CComSingleThreadModel>,
                          public CComCoClass<T, pclsid>,
                          public ISupportErrorInfoImpl<piidOwn, &IID_IVLMRConvert>,
                          public OwnInterfaceBase,
                          public IDispatchImpl<IVLMRConvert, &IID_IVLMRConvert, &LIBID_HALCYRALib, 1, 0> {
public:
    HRESULT SetFile(BSTR bstrFilename) override
    {
        return wrapReader([&](BSTR* text) { return m_reader.SetFile(bstrFilename, text); });
    }

    HRESULT ReadPart(IUnknown** ppIUnkCADPart, LONG bIsMetric, LONG bIsToolMetric) override
    {
        return wrapReader(
            [&](BSTR* text) { return (m_reader.*T::kReaderEntry)(ppIUnkCADPart, bIsMetric, bIsToolMetric, text); });
    }

    HRESULT get_ConversionName(BSTR* pVal) override
    {
        if (!pVal)
            return E_POINTER;
        SysFreeString(*pVal);
        *pVal = CString(T::kConversionName).AllocSysString();
        return *pVal ? S_OK : E_OUTOFMEMORY;
    }

private:
    // S_OK and S_FALSE pass unchanged; any other result is reported with
    // the reader's text against IVLMRConvert; an exception that leaves the
    // reader is reported as E_UNEXPECTED.
    template <class Call>
    HRESULT wrapReader(Call call)
    {
        try {
            CComBSTR text;
            const HRESULT hr = call(&text);
            if (hr == S_OK || hr == S_FALSE)
                return hr;
            if (text.Length() == 0)
                return CComCoClass<T, pclsid>::Error("Unknown Error", IID_IVLMRConvert, hr);
            return CComCoClass<T, pclsid>::Error(static_cast<LPCOLESTR>(text), IID_IVLMRConvert, hr);
        } catch (...) {
            return CComCoClass<T, pclsid>::Error("Unexpected Error", IID_IVLMRConvert, E_UNEXPECTED);
        }
    }

    DSTVPartReader m_reader;
};
