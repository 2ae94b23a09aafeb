// CDSTVMultConvert: the DSTV bar converter. It reads one bar ("mult") per
// file through IVLMRMultConvert::ReadMult; its ReadPart reads nothing.
// Error info is set for IVLMRConvert and answered for all three of its
// interfaces, so that a caller of ReadMult or SetFile finds the text.
#pragma once

#include "ConverterMethods.h"
#include "DSTVMultReader.h"

#include "halcyra/ConverterContract.h"
#include "halcyra/HalcyraLib.h"
#include "lunkett/LunkettLib.h"

#include "com/server/Server.h"

class CDSTVMultConvert
    : public CComObjectRootEx<CComSingleThreadModel>,
      public CComCoClass<CDSTVMultConvert, &CLSID_DSTVMultConvert>,
      public IDispatchImpl<IDSTVMultConvert, &IID_IDSTVMultConvert, &LIBID_LUNKETTLib, 1, 0>,
      public ISupportErrorInfoImpl<&IID_IDSTVMultConvert, &IID_IVLMRConvert, &IID_IVLMRMultConvert>,
      public IVLMRConvertDispatch,
      public IVLMRMultConvertDispatch {
public:
    DECLARE_REGISTRY_RESOURCEID(120)

    BEGIN_COM_MAP(CDSTVMultConvert)
        COM_INTERFACE_ENTRY(IDSTVMultConvert)
        COM_INTERFACE_ENTRY2(IDispatch, IDSTVMultConvert)
        COM_INTERFACE_ENTRY(ISupportErrorInfo)
        COM_INTERFACE_ENTRY(IVLMRConvert)
        COM_INTERFACE_ENTRY(IVLMRMultConvert)
    END_COM_MAP()

    BEGIN_CATEGORY_MAP(CDSTVMultConvert)
        IMPLEMENTED_CATEGORY(CATID_VelmoraCadConversion)
    END_CATEGORY_MAP()

    HRESULT SetFile(BSTR bstrFilename) override
    {
        return wrapReaderCall<CDSTVMultConvert>(
            [&](BSTR* text) { return m_reader.SetFile(bstrFilename, text); });
    }

    // Bars are read with ReadMult only.
    HRESULT ReadPart(IUnknown**, LONG, LONG) override { return S_OK; }

    HRESULT get_ConversionName(BSTR* pVal) override
    {
        return getConversionName("DSTV Mult Ver : 1.0", pVal, IncomingName::Freed);
    }

    HRESULT ReadMult(IUnknown** ppIUnkCADMult) override
    {
        return wrapReaderCall<CDSTVMultConvert>(
            [&](BSTR* text) { return m_reader.ReadMult(ppIUnkCADMult, text); });
    }

private:
    DSTVMultReader m_reader;
};
