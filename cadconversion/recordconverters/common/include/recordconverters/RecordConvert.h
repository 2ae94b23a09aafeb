// CRecordConvert: what the three record converter classes share: their
// reader, IVLMRConvert on top of it, and the report of every failure as
// COM error info (the reader's text, interface IVLMRConvert) with the
// reader's HRESULT.
//
// A class derives from it with itself, its CLSID, its own dual interface
// (which adds nothing to IDispatch) with its IID, its type library and its
// reader, and provides
//   static constexpr const char* kConversionName;
// Its interface map is the own interface, ISupportErrorInfo, IDispatch as
// the own interface, and IVLMRConvert; it implements the converter
// category; its registrar script is its module's REGISTRY 101.
#pragma once

#include "recordconverters/RecordReader.h"

#include "halcyra/ConverterContract.h"

#include "com/server/Server.h"

#include <string>
#include <vector>

template <class T, const CLSID* pclsid, class OwnInterface, const IID* piidOwn, const GUID* plibid,
          class Reader>
class CRecordConvert : public CComObjectRootEx<CComSingleThreadModel>,
                       public CComCoClass<T, pclsid>,
                       public IDispatchImpl<OwnInterface, piidOwn, plibid, 1, 0>,
                       public ISupportErrorInfoImpl<piidOwn, &IID_IVLMRConvert>,
                       public IVLMRConvertDispatch {
public:
    DECLARE_REGISTRY_RESOURCEID(101)

    BEGIN_COM_MAP(CRecordConvert)
        COM_INTERFACE_ENTRY(OwnInterface)
        COM_INTERFACE_ENTRY(ISupportErrorInfo)
        COM_INTERFACE_ENTRY2(IDispatch, OwnInterface)
        COM_INTERFACE_ENTRY(IVLMRConvert)
    END_COM_MAP()

    BEGIN_CATEGORY_MAP(CRecordConvert)
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

    // A new BSTR in *pVal; what *pVal held before is not freed.
    HRESULT get_ConversionName(BSTR* pVal) override
    {
        if (!pVal)
            return E_POINTER;
        *pVal = CString(T::kConversionName).AllocSysString();
        return *pVal ? S_OK : E_OUTOFMEMORY;
    }

private:
    static HRESULT report(HRESULT hr, const CString& text)
    {
        return FAILED(hr) ? T::Error(static_cast<const char*>(text), IID_IVLMRConvert, hr) : hr;
    }

    Reader m_reader;
};

// The type library of a record converter server: its own interface and
// its class, which implements that interface and IVLMRConvert.
template <class OwnInterface>
comserver::TypeLibrary recordConvertLibrary(const GUID& libid, const char* name,
                                            const char* helpString, const char* interfaceName,
                                            const char* interfaceHelp, const CLSID& clsid,
                                            const char* className, const char* classHelp)
{
    using namespace comserver;
    return TypeLibrary{
        libid,
        1,
        0,
        name,
        helpString,
        {dualInterface<OwnInterface>(interfaceName, interfaceHelp, {})},
        {coClass(clsid, className, {uuidof<OwnInterface>(), IID_IVLMRConvert}, classHelp)}};
}
