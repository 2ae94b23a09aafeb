// _com_error, the exception that carries a failing HRESULT and, when there
// is one, the error information set for it; and the helpers that raise it.
#pragma once

#include "com/BstrT.h"
#include "com/Export.h"
#include "com/Interfaces.h"

class COM_API _com_error {
public:
    // With addRef false the object takes over the caller's reference.
    explicit _com_error(HRESULT hr, IErrorInfo* errorInfo = nullptr, bool addRef = false) noexcept;
    _com_error(const _com_error& other) noexcept;
    _com_error& operator=(const _com_error& other) noexcept;
    virtual ~_com_error();

    HRESULT Error() const noexcept;
    IErrorInfo* ErrorInfo() const noexcept; // AddRef'd; null when none
    // hresultMessage(Error()) as narrow text, alive as long as this object.
    const char* ErrorMessage() const noexcept;
    // From the error information; empty when there is none.
    _bstr_t Description() const;
    _bstr_t Source() const;
    ::GUID GUID() const noexcept;

private:
    HRESULT m_hresult;
    IErrorInfo* m_errorInfo;
    mutable char* m_message = nullptr;
};

[[noreturn]] COM_API void _com_issue_error(HRESULT hr);
// Raises hr with the thread's error information, taken only when obj says
// through ISupportErrorInfo that it sets error information for iid.
[[noreturn]] COM_API void _com_issue_errorex(HRESULT hr, IUnknown* obj, REFIID iid);
