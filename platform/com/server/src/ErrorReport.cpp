// Error info: the coclass error report and the framework's own failures.
#include "ErrorInfo.h"
#include "com/server/CoClass.h"

#include "com/CodePage.h"
#include "com/Runtime.h"

namespace comserver {

namespace {

HRESULT setErrorInfo(REFIID iid, std::u16string source, std::u16string description)
{
    ICreateErrorInfo* create = nullptr;
    HRESULT hr = CreateErrorInfo(&create);
    if (FAILED(hr))
        return hr;
    create->SetGUID(iid);
    create->SetSource(source.data());
    create->SetDescription(description.data());
    IErrorInfo* info = nullptr;
    hr = create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info));
    create->Release();
    if (FAILED(hr))
        return hr;
    hr = SetErrorInfo(0, info);
    info->Release();
    return hr;
}

} // namespace

HRESULT reportError(REFCLSID clsid, std::u16string_view description, REFIID iid, HRESULT hr)
{
    try {
        std::u16string source;
        LPOLESTR progId = nullptr;
        if (SUCCEEDED(ProgIDFromCLSID(clsid, &progId)) && progId != nullptr)
            source = progId;
        CoTaskMemFree(progId);
        setErrorInfo(iid, std::move(source), std::u16string(description));
    } catch (...) {
        // Out of memory: the failure is still answered, without its text.
    }
    return hr == 0 ? DISP_E_EXCEPTION : hr;
}

HRESULT reportError(REFCLSID clsid, std::string_view description, REFIID iid, HRESULT hr)
{
    std::u16string wide;
    try {
        wide = wideFromNarrow(description);
    } catch (...) {
    }
    return reportError(clsid, std::u16string_view(wide), iid, hr);
}

HRESULT failWith(HRESULT hr, const std::string& description)
{
    try {
        setErrorInfo(GUID_NULL, std::u16string(), wideFromNarrow(description));
    } catch (...) {
    }
    return hr;
}

} // namespace comserver
