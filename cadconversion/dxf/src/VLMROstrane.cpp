// CVLMROstrane: the converter's three methods and their error reports.
#include "VLMROstrane.h"

HRESULT CVLMROstrane::report(HRESULT hr, const CString& text)
{
    if (hr == S_OK || hr == S_FALSE)
        return hr;
    return Error(static_cast<const char*>(text), IID_IVLMRConvert, hr);
}

HRESULT CVLMROstrane::SetFile(BSTR bstrFilename)
{
    try {
        CString text;
        const HRESULT hr = m_reader.SetFile(bstrFilename, &text);
        return report(hr, text);
    } catch (...) {
        return Error("Unexpected Error Setting File", IID_IVLMRConvert, E_UNEXPECTED);
    }
}

HRESULT CVLMROstrane::ReadPart(IUnknown** ppIUnkCADPart, LONG, LONG)
{
    if (!ppIUnkCADPart)
        return E_POINTER;
    try {
        CString text;
        const HRESULT hr = m_reader.ReadPart(ppIUnkCADPart, &text);
        return report(hr, text);
    } catch (...) {
        return Error("Unexpected Error", IID_IVLMRConvert, E_UNEXPECTED);
    }
}

HRESULT CVLMROstrane::get_ConversionName(BSTR* pVal)
{
    return getConversionName(kConversionName, pVal, IncomingName::Freed);
}
