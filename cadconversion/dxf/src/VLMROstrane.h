// CVLMROstrane: the DXF converter class. IVLMRConvert over the DXF part
// reader, whose failures it reports as COM error info against
// IVLMRConvert; its own dual interface IVLMROstrane has no methods and
// answers IDispatch. Apartment-threaded, created by the server's class
// factory (aggregatable, as the framework makes every class).
#pragma once

#include "DXFPartReader.h"

#include "halcyra/ConverterContract.h"
#include "halcyra/ConverterServer.h"
#include "halcyra/HalcyraLib.h"
#include "ostrane/OstraneLib.h"

#include "com/server/Server.h"

// Registrar scripts: the server's AppID and the class.
constexpr UINT IDR_OSTRANE_APPID = 101;
constexpr UINT IDR_VLMROSTRANE = 102;

class CVLMROstrane : public CComObjectRootEx<CComSingleThreadModel>,
                     public CComCoClass<CVLMROstrane, &CLSID_VLMROstrane>,
                     public ISupportErrorInfoImpl<&IID_IVLMROstrane, &IID_IVLMRConvert>,
                     public IDispatchImpl<IVLMROstrane, &IID_IVLMROstrane, &LIBID_OstraneLib, 1, 0>,
                     public IVLMRConvertDispatch {
public:
    static constexpr const char* kConversionName = "Ostrane Ver : 1.0";

    DECLARE_REGISTRY_RESOURCEID(IDR_VLMROSTRANE)

    BEGIN_COM_MAP(CVLMROstrane)
        COM_INTERFACE_ENTRY(IVLMROstrane)
        COM_INTERFACE_ENTRY2(IDispatch, IVLMROstrane)
        COM_INTERFACE_ENTRY(ISupportErrorInfo)
        COM_INTERFACE_ENTRY(IVLMRConvert)
    END_COM_MAP()

    BEGIN_CATEGORY_MAP(CVLMROstrane)
        IMPLEMENTED_CATEGORY(CATID_VelmoraCadConversion)
    END_CATEGORY_MAP()

    HRESULT SetFile(BSTR bstrFilename) override;
    HRESULT ReadPart(IUnknown** ppIUnkCADPart, LONG bIsMetric, LONG bIsToolMetric) override;
    HRESULT get_ConversionName(BSTR* pVal) override;

private:
    // S_OK and S_FALSE as they are; any other result with its text as COM
    // error info against IVLMRConvert.
    static HRESULT report(HRESULT hr, const CString& text);

    DXFPartReader m_reader;
};
