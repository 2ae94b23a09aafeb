// DSTVPartConverter: what the four DSTV part converter classes share: the
// embedded part reader and IVLMRConvert on top of it, through the error
// wrapper that turns the reader's results into COM error info.
//
// A class derives from it with itself, its CLSID, the base of its own
// interface and that interface's IID, and provides
//   static constexpr const char* kConversionName;
//   static constexpr ReaderEntry kReaderEntry;   // which ReadPart it runs
// plus its interface, category map and registrar script.
#pragma once

#include "ConverterMethods.h"
#include "DSTVPartReader.h"

#include "halcyra/ConverterContract.h"
#include "halcyra/HalcyraLib.h"
#include "lunkett/LunkettLib.h"

#include "com/server/Server.h"

using ReaderEntry = HRESULT (DSTVPartReader::*)(IUnknown**, LONG, LONG, BSTR*);

template <class T, const CLSID* pclsid, class OwnInterfaceBase, const IID* piidOwn>
class DSTVPartConverter : public CComObjectRootEx<CComSingleThreadModel>,
                          public CComCoClass<T, pclsid>,
                          public ISupportErrorInfoImpl<piidOwn, &IID_IVLMRConvert>,
                          public OwnInterfaceBase,
                          public IVLMRConvertDispatch {
public:
    HRESULT SetFile(BSTR bstrFilename) override
    {
        return wrapReaderCall<T>([&](BSTR* text) { return m_reader.SetFile(bstrFilename, text); });
    }

    HRESULT ReadPart(IUnknown** ppIUnkCADPart, LONG bIsMetric, LONG bIsToolMetric) override
    {
        return wrapReaderCall<T>([&](BSTR* text) {
            return (m_reader.*T::kReaderEntry)(ppIUnkCADPart, bIsMetric, bIsToolMetric, text);
        });
    }

    HRESULT get_ConversionName(BSTR* pVal) override
    {
        return getConversionName(T::kConversionName, pVal, IncomingName::Freed);
    }

private:
    DSTVPartReader m_reader;
};
