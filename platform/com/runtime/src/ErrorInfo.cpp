// Error information objects and the per-thread error information slot.
#include "ReportError.h"
#include "RuntimeObject.h"
#include "com/Bstr.h"
#include "com/CodePage.h"
#include "com/Runtime.h"

#include <mutex>
#include <new>
#include <string>

namespace {

class ErrorInfo final : public RuntimeObject<IErrorInfo, ICreateErrorInfo> {
public:
    HRESULT GetGUID(GUID* pGUID) override
    {
        if (!pGUID)
            return E_INVALIDARG;
        std::lock_guard lock(m_mutex);
        *pGUID = m_guid;
        return S_OK;
    }
    HRESULT GetSource(BSTR* out) override { return get(m_source, out); }
    HRESULT GetDescription(BSTR* out) override { return get(m_description, out); }
    HRESULT GetHelpFile(BSTR* out) override { return get(m_helpFile, out); }
    HRESULT GetHelpContext(DWORD* out) override
    {
        if (!out)
            return E_INVALIDARG;
        std::lock_guard lock(m_mutex);
        *out = m_helpContext;
        return S_OK;
    }

    HRESULT SetGUID(REFGUID guid) override
    {
        std::lock_guard lock(m_mutex);
        m_guid = guid;
        return S_OK;
    }
    HRESULT SetSource(LPOLESTR text) override { return set(m_source, text); }
    HRESULT SetDescription(LPOLESTR text) override { return set(m_description, text); }
    HRESULT SetHelpFile(LPOLESTR text) override { return set(m_helpFile, text); }
    HRESULT SetHelpContext(DWORD context) override
    {
        std::lock_guard lock(m_mutex);
        m_helpContext = context;
        return S_OK;
    }

private:
    ~ErrorInfo() = default;

    // Every getter hands out a new string, empty when nothing was set.
    HRESULT get(const std::u16string& field, BSTR* out)
    {
        if (!out)
            return E_INVALIDARG;
        std::lock_guard lock(m_mutex);
        *out = SysAllocStringLen(field.data(), static_cast<UINT>(field.size()));
        return *out ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT set(std::u16string& field, LPOLESTR text)
    {
        try {
            std::u16string value = text ? std::u16string(text) : std::u16string();
            std::lock_guard lock(m_mutex);
            field.swap(value);
            return S_OK;
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }

    std::mutex m_mutex;
    GUID m_guid = GUID_NULL;
    std::u16string m_source;
    std::u16string m_description;
    std::u16string m_helpFile;
    DWORD m_helpContext = 0;
};

// The thread's error information; what it still holds is released when
// the thread ends.
struct ErrorSlot {
    IErrorInfo* info = nullptr;
    ~ErrorSlot()
    {
        if (info)
            info->Release();
    }
};
thread_local ErrorSlot t_errorSlot;

} // namespace

HRESULT CreateErrorInfo(ICreateErrorInfo** pperrinfo)
{
    if (!pperrinfo)
        return E_POINTER;
    ErrorInfo* info = new (std::nothrow) ErrorInfo;
    *pperrinfo = info ? static_cast<ICreateErrorInfo*>(info) : nullptr;
    return info ? S_OK : E_OUTOFMEMORY;
}

HRESULT SetErrorInfo(DWORD reserved, IErrorInfo* perrinfo)
{
    if (reserved != 0)
        return E_INVALIDARG;
    if (perrinfo)
        perrinfo->AddRef();
    IErrorInfo* old = t_errorSlot.info;
    t_errorSlot.info = perrinfo;
    if (old)
        old->Release();
    return S_OK;
}

HRESULT GetErrorInfo(DWORD reserved, IErrorInfo** pperrinfo)
{
    if (!pperrinfo)
        return E_POINTER;
    *pperrinfo = nullptr;
    if (reserved != 0)
        return E_INVALIDARG;
    *pperrinfo = t_errorSlot.info;
    t_errorSlot.info = nullptr;
    return *pperrinfo ? S_OK : S_FALSE;
}

HRESULT reportError(HRESULT hr, const char16_t* source, const std::string& description)
{
    ICreateErrorInfo* create = nullptr;
    if (FAILED(CreateErrorInfo(&create)))
        return hr;
    try {
        const std::u16string wide = wideFromNarrow(description);
        create->SetDescription(const_cast<LPOLESTR>(wide.c_str()));
        create->SetSource(const_cast<LPOLESTR>(source));
        IErrorInfo* info = nullptr;
        if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
            SetErrorInfo(0, info);
            info->Release();
        }
    } catch (const std::bad_alloc&) {
    }
    create->Release();
    return hr;
}
