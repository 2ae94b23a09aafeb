// MachineFileConverter: the three machine-file converter classes, which
// differ only in their identities and in the file version their reader
// reads: IVLMRConvert on an embedded MachineFileReader, the reader's
// failures turned into COM error info on IVLMRConvert, the interface map
// (the class's own dual interface, which also answers IDispatch;
// ISupportErrorInfo; IVLMRConvert) and the converter category.
//
// A class derives from it with itself, its CLSID, its own interface and
// that interface's IID, the version it reads and its registrar script.
#pragma once

#include "MachineFileReader.h"
#include "MachineFileVersion.h"

#include "halcyra/ConverterContract.h"
#include "halcyra/HalcyraLib.h"
#include "tobrenn/TobrennLib.h"

#include "com/server/Server.h"

template <class T, const CLSID* pclsid, class OwnInterface, const IID* piidOwn,
          const MachineFileVersion* pVersion, UINT registryId>
class MachineFileConverter : public CComObjectRootEx<CComSingleThreadModel>,
                             public CComCoClass<T, pclsid>,
                             public ISupportErrorInfoImpl<piidOwn, &IID_IVLMRConvert>,
                             public IDispatchImpl<OwnInterface, piidOwn, &LIBID_TOBRENNLib, 1, 0>,
                             public IVLMRConvertDispatch {
public:
    DECLARE_REGISTRY_RESOURCEID(registryId)

    BEGIN_COM_MAP(MachineFileConverter)
        COM_INTERFACE_ENTRY(OwnInterface)
        COM_INTERFACE_ENTRY2(IDispatch, OwnInterface)
        COM_INTERFACE_ENTRY(ISupportErrorInfo)
        COM_INTERFACE_ENTRY(IVLMRConvert)
    END_COM_MAP()

    BEGIN_CATEGORY_MAP(MachineFileConverter)
        IMPLEMENTED_CATEGORY(CATID_VelmoraCadConversion)
    END_CATEGORY_MAP()

    HRESULT SetFile(BSTR bstrFilename) override
    {
        CString text;
        return report(m_reader.SetFile(bstrFilename, &text), text);
    }

    HRESULT ReadPart(IUnknown** ppIUnkCADPart, LONG bIsMetric, LONG bIsToolMetric) override
    {
        CString text;
        return report(m_reader.ReadPart(ppIUnkCADPart, bIsMetric, bIsToolMetric, &text), text);
    }

    // A new BSTR for the caller.
    HRESULT get_ConversionName(BSTR* pVal) override
    {
        if (!pVal)
            return E_POINTER;
        *pVal = CString(pVersion->conversionName).AllocSysString();
        return *pVal ? S_OK : E_OUTOFMEMORY;
    }

private:
    // S_OK and S_FALSE pass; a failure sets the error info on IVLMRConvert.
    static HRESULT report(HRESULT hr, const CString& text)
    {
        if (SUCCEEDED(hr))
            return hr;
        return CComCoClass<T, pclsid>::Error(static_cast<const char*>(text), IID_IVLMRConvert, hr);
    }

    MachineFileReader m_reader{*pVersion};
};
