// Inside the runtime: IUnknown for the runtime's own objects. The count is
// atomic, since an object may be released on another thread than the one
// that made it; an object starts with one reference, its creator's.
// QueryInterface answers IUnknown (as the first interface) and each of the
// listed interfaces.
#pragma once

#include "com/Interfaces.h"

#include <atomic>

template <class First, class... Others>
class RuntimeObject : public First, public Others... {
public:
    HRESULT QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid == IID_IUnknown || riid == uuidof<First>())
            *ppv = static_cast<First*>(this);
        else
            (void)((riid == uuidof<Others>() ? (*ppv = static_cast<Others*>(this), true) : false) ||
                   ...);
        if (!*ppv)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return m_refs.fetch_add(1, std::memory_order_relaxed) + 1; }
    ULONG Release() override
    {
        const ULONG left = m_refs.fetch_sub(1, std::memory_order_acq_rel) - 1;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    RuntimeObject() = default;
    virtual ~RuntimeObject() = default;

private:
    std::atomic<ULONG> m_refs{1};
};
