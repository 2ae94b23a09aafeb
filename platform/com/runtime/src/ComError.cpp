// The platform's HRESULT messages, _com_error and the helpers that raise it.
#include "com/ComError.h"

#include "com/Runtime.h"
#include "registry/Registry.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

struct Message {
    HRESULT hr;
    const char* text;
};

constexpr Message kMessages[] = {
    {S_OK, "The operation completed successfully."},
    {E_UNEXPECTED, "An unexpected failure occurred."},
    {E_NOTIMPL, "The function is not implemented."},
    {E_OUTOFMEMORY, "There is not enough memory to complete the operation."},
    {E_INVALIDARG, "One or more arguments are not valid."},
    {E_NOINTERFACE, "The object does not support the requested interface."},
    {E_POINTER, "The pointer is not valid."},
    {E_HANDLE, "The handle is not valid."},
    {E_ABORT, "The operation was aborted."},
    {E_FAIL, "The operation failed."},
    {E_ACCESSDENIED, "Access is denied."},
    {HRESULT_FROM_WIN32(2), "The file cannot be found."},
    {HRESULT_FROM_WIN32(3), "The path cannot be found."},
    {HRESULT_FROM_WIN32(11), "The file format is not valid."},
    {HRESULT_FROM_WIN32(33), "The file is locked by another process."},
    {HRESULT_FROM_WIN32(82), "The file or folder cannot be created."},
    {HRESULT_FROM_WIN32(112), "There is not enough space on the disk."},
    {HRESULT_FROM_WIN32(1392), "The file is damaged and cannot be read."},
    {HRESULT_FROM_WIN32(ERROR_BUSY), "The resource is in use by another process."},
    {HRESULT_FROM_WIN32(ERROR_BADDB), "The registry is damaged."},
    {HRESULT_FROM_WIN32(ERROR_CANTREAD), "The registry cannot be read."},
    {HRESULT_FROM_WIN32(ERROR_CANTWRITE), "The registry cannot be written."},
    {HRESULT_FROM_WIN32(ERROR_KEY_DELETED), "The registry key has been deleted."},
    {CLASS_E_NOAGGREGATION, "The class cannot be created as part of an aggregate."},
    {CLASS_E_CLASSNOTAVAILABLE, "The class factory cannot supply the requested class."},
    {REGDB_E_READREGDB, "The registry cannot be read."},
    {REGDB_E_WRITEREGDB, "The registry cannot be written."},
    {REGDB_E_KEYMISSING, "A registry key is missing."},
    {REGDB_E_INVALIDVALUE, "A registry value is not valid."},
    {REGDB_E_CLASSNOTREG, "The class is not registered."},
    {REGDB_E_IIDNOTREG, "The interface is not registered."},
    {CAT_E_CATIDNOEXIST, "The component category does not exist."},
    {CAT_E_NODESCRIPTION, "The component category has no description."},
    {CO_E_NOTINITIALIZED, "The component runtime is not initialized on this thread."},
    {CO_E_CLASSSTRING, "The class string is not valid."},
    {CO_E_APPNOTFOUND, "The application is not registered."},
    {CO_E_DLLNOTFOUND, "The server module cannot be loaded."},
    {CO_E_ERRORINDLL, "The server module is not a valid server."},
    {RPC_E_CHANGED_MODE, "The thread is already initialized with another threading model."},
    {DISP_E_UNKNOWNINTERFACE, "The interface is not known."},
    {DISP_E_MEMBERNOTFOUND, "The member cannot be found."},
    {DISP_E_PARAMNOTFOUND, "The parameter cannot be found."},
    {DISP_E_TYPEMISMATCH, "The types do not match."},
    {DISP_E_UNKNOWNNAME, "The name is not known."},
    {DISP_E_NONAMEDARGS, "Named arguments are not supported."},
    {DISP_E_BADVARTYPE, "The variant type is not valid."},
    {DISP_E_EXCEPTION, "An exception occurred."},
    {DISP_E_OVERFLOW, "The value is out of range."},
    {DISP_E_BADINDEX, "The index is not valid."},
    {DISP_E_BADPARAMCOUNT, "The number of parameters is not valid."},
    {DISP_E_PARAMNOTOPTIONAL, "A required parameter is missing."},
    {TYPE_E_LIBNOTREGISTERED, "The type library is not registered."},
    {TYPE_E_ELEMENTNOTFOUND, "The element cannot be found."},
};

char* duplicate(const std::string& text) noexcept
{
    char* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (copy)
        std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

} // namespace

std::string hresultMessage(HRESULT hr)
{
    for (const Message& m : kMessages)
        if (m.hr == hr)
            return m.text;
    const auto code = static_cast<std::uint32_t>(hr);
    char text[48];
    if (code >= 0x80040200u && code <= 0x8004FFFFu)
        std::snprintf(text, sizeof text, "IDispatch error #%u", code - 0x80040200u);
    else
        std::snprintf(text, sizeof text, "Unknown error 0x%08X", code);
    return text;
}

_com_error::_com_error(HRESULT hr, IErrorInfo* errorInfo, bool addRef) noexcept
    : m_hresult(hr), m_errorInfo(errorInfo)
{
    if (m_errorInfo && addRef)
        m_errorInfo->AddRef();
}

_com_error::_com_error(const _com_error& other) noexcept
    : m_hresult(other.m_hresult), m_errorInfo(other.m_errorInfo)
{
    if (m_errorInfo)
        m_errorInfo->AddRef();
}

_com_error& _com_error::operator=(const _com_error& other) noexcept
{
    if (this != &other) {
        if (other.m_errorInfo)
            other.m_errorInfo->AddRef();
        if (m_errorInfo)
            m_errorInfo->Release();
        m_hresult = other.m_hresult;
        m_errorInfo = other.m_errorInfo;
        std::free(std::exchange(m_message, nullptr));
    }
    return *this;
}

_com_error::~_com_error()
{
    if (m_errorInfo)
        m_errorInfo->Release();
    std::free(m_message);
}

HRESULT _com_error::Error() const noexcept
{
    return m_hresult;
}

IErrorInfo* _com_error::ErrorInfo() const noexcept
{
    if (m_errorInfo)
        m_errorInfo->AddRef();
    return m_errorInfo;
}

const char* _com_error::ErrorMessage() const noexcept
{
    if (!m_message) {
        try {
            m_message = duplicate(hresultMessage(m_hresult));
        } catch (...) {
        }
    }
    return m_message ? m_message : "";
}

_bstr_t _com_error::Description() const
{
    BSTR text = nullptr;
    if (m_errorInfo && SUCCEEDED(m_errorInfo->GetDescription(&text)) && text)
        return _bstr_t(text, false);
    return _bstr_t();
}

_bstr_t _com_error::Source() const
{
    BSTR text = nullptr;
    if (m_errorInfo && SUCCEEDED(m_errorInfo->GetSource(&text)) && text)
        return _bstr_t(text, false);
    return _bstr_t();
}

::GUID _com_error::GUID() const noexcept
{
    ::GUID guid = GUID_NULL;
    if (m_errorInfo && FAILED(m_errorInfo->GetGUID(&guid)))
        guid = GUID_NULL;
    return guid;
}

void _com_issue_error(HRESULT hr)
{
    throw _com_error(hr);
}

void _com_issue_errorex(HRESULT hr, IUnknown* obj, REFIID iid)
{
    IErrorInfo* info = nullptr;
    ISupportErrorInfo* support = nullptr;
    if (obj &&
        SUCCEEDED(obj->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support))) &&
        support) {
        if (support->InterfaceSupportsErrorInfo(iid) == S_OK && GetErrorInfo(0, &info) != S_OK)
            info = nullptr;
        support->Release();
    }
    throw _com_error(hr, info, false);
}
