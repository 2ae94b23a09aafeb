// Interface smart pointers. CComPtr<T> and CComQIPtr<T> hold one reference
// and never raise. ComPtrT<T> is the raising kind: using an empty one
// through -> or * raises _com_error(E_POINTER). COM_SMARTPTR_TYPEDEF(I)
// declares IPtr as ComPtrT<I>.
#pragma once

#include "com/ComError.h"
#include "com/Guid.h"
#include "com/Interfaces.h"
#include "com/Runtime.h"

#include <memory>
#include <type_traits>
#include <utility>

template <class T>
class CComPtr {
public:
    T* p = nullptr;

    CComPtr() noexcept = default;
    CComPtr(std::nullptr_t) noexcept {}
    CComPtr(T* other) noexcept : p(other) { addRef(); }
    CComPtr(const CComPtr& other) noexcept : p(other.p) { addRef(); }
    CComPtr(CComPtr&& other) noexcept : p(std::exchange(other.p, nullptr)) {}
    ~CComPtr() { Release(); }

    CComPtr& operator=(T* other) noexcept
    {
        if (other)
            other->AddRef();
        Release();
        p = other;
        return *this;
    }
    CComPtr& operator=(const CComPtr& other) noexcept { return *this = other.p; }
    CComPtr& operator=(CComPtr&& other) noexcept
    {
        if (this != std::addressof(other))
            Attach(std::exchange(other.p, nullptr));
        return *this;
    }

    // Lets the reference go; the pointer is null afterwards.
    void Release() noexcept
    {
        if (T* held = std::exchange(p, nullptr))
            held->Release();
    }
    // Takes over the caller's reference; the one held before is let go, also
    // when it is a reference to the same object.
    void Attach(T* other) noexcept
    {
        Release();
        p = other;
    }
    T* Detach() noexcept { return std::exchange(p, nullptr); }

    // For an out-parameter: any held reference is let go first.
    T** operator&() noexcept
    {
        Release();
        return &p;
    }
    T* operator->() const noexcept { return p; }
    operator T*() const noexcept { return p; }
    bool operator!() const noexcept { return p == nullptr; }

    HRESULT CopyTo(T** dest) const noexcept
    {
        if (!dest)
            return E_POINTER;
        *dest = p;
        addRef();
        return S_OK;
    }
    template <class Q>
    HRESULT QueryInterface(Q** dest) const noexcept
    {
        if (!dest)
            return E_POINTER;
        *dest = nullptr;
        if (!p)
            return E_POINTER;
        return p->QueryInterface(uuidof<Q>(), reinterpret_cast<void**>(dest));
    }
    HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer = nullptr,
                             DWORD context = CLSCTX_ALL) noexcept
    {
        Release();
        return ::CoCreateInstance(clsid, outer, context, uuidof<T>(), reinterpret_cast<void**>(&p));
    }

private:
    void addRef() const noexcept
    {
        if (p)
            p->AddRef();
    }
};

// Asks any interface pointer it is given for T.
template <class T>
class CComQIPtr : public CComPtr<T> {
public:
    CComQIPtr() noexcept = default;
    CComQIPtr(std::nullptr_t) noexcept {}
    CComQIPtr(T* other) noexcept : CComPtr<T>(other) {}
    CComQIPtr(const CComQIPtr& other) noexcept : CComPtr<T>(other.p) {}
    // clang-format off: this clang-format cannot lay out requires clauses
    CComQIPtr(IUnknown* other) noexcept requires(!std::is_same_v<T, IUnknown>) { query(other); }
    // clang-format on

    CComQIPtr& operator=(T* other) noexcept
    {
        CComPtr<T>::operator=(other);
        return *this;
    }
    CComQIPtr& operator=(const CComQIPtr& other) noexcept { return *this = other.p; }
    // clang-format off: this clang-format cannot lay out requires clauses
    CComQIPtr& operator=(IUnknown* other) noexcept requires(!std::is_same_v<T, IUnknown>)
    {
        CComPtr<T>::Release();
        query(other);
        return *this;
    }
    // clang-format on

private:
    void query(IUnknown* other) noexcept
    {
        if (other)
            other->QueryInterface(uuidof<T>(), reinterpret_cast<void**>(&this->p));
    }
};

template <class T>
class ComPtrT {
public:
    ComPtrT() noexcept = default;
    ComPtrT(std::nullptr_t) noexcept {}
    ComPtrT(T* other) noexcept : m_p(other) { addRef(); }
    ComPtrT(T* other, bool addReference) noexcept : m_p(other)
    {
        if (addReference)
            addRef();
    }
    ComPtrT(const ComPtrT& other) noexcept : m_p(other.m_p) { addRef(); }
    ComPtrT(ComPtrT&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    // Another interface: asked for T; empty when it does not have it.
    // clang-format off: this clang-format cannot lay out requires clauses
    template <class Q>
    requires(!std::is_same_v<Q, T> && std::is_base_of_v<IUnknown, Q>) ComPtrT(Q* other)
    noexcept { query(other); }
    // clang-format on
    // Creates the class; raises any failure but E_NOINTERFACE, which leaves
    // the pointer empty.
    explicit ComPtrT(REFCLSID clsid, IUnknown* outer = nullptr, DWORD context = CLSCTX_ALL)
    {
        const HRESULT hr = CreateInstance(clsid, outer, context);
        if (FAILED(hr) && hr != E_NOINTERFACE)
            _com_issue_error(hr);
    }
    ~ComPtrT() { Release(); }

    ComPtrT& operator=(T* other) noexcept
    {
        if (other)
            other->AddRef();
        Release();
        m_p = other;
        return *this;
    }
    ComPtrT& operator=(const ComPtrT& other) noexcept { return *this = other.m_p; }
    ComPtrT& operator=(ComPtrT&& other) noexcept
    {
        if (this != std::addressof(other))
            Attach(std::exchange(other.m_p, nullptr));
        return *this;
    }
    ComPtrT& operator=(std::nullptr_t) noexcept
    {
        Release();
        return *this;
    }
    // clang-format off: this clang-format cannot lay out requires clauses
    template <class Q>
    requires(!std::is_same_v<Q, T> && std::is_base_of_v<IUnknown, Q>) ComPtrT&
    operator=(Q* other) noexcept
    {
        Release();
        query(other);
        return *this;
    }
    // clang-format on

    // Created as IUnknown, run (OleRun), then asked for T; the pointer is
    // empty on failure.
    HRESULT CreateInstance(REFCLSID clsid, IUnknown* outer = nullptr,
                           DWORD context = CLSCTX_ALL) noexcept
    {
        Release();
        IUnknown* unknown = nullptr;
        HRESULT hr = ::CoCreateInstance(clsid, outer, context, IID_IUnknown,
                                        reinterpret_cast<void**>(&unknown));
        if (FAILED(hr))
            return hr;
        hr = OleRun(unknown);
        if (SUCCEEDED(hr))
            hr = unknown->QueryInterface(uuidof<T>(), reinterpret_cast<void**>(&m_p));
        unknown->Release();
        return hr;
    }

    // Takes over the caller's reference; the one held before is let go, also
    // when it is a reference to the same object.
    void Attach(T* other) noexcept
    {
        Release();
        m_p = other;
    }
    void Attach(T* other, bool addReference) noexcept
    {
        if (addReference && other)
            other->AddRef();
        Release();
        m_p = other;
    }
    T* Detach() noexcept { return std::exchange(m_p, nullptr); }
    // Lets the reference go; nothing happens when the pointer is empty.
    void Release() noexcept
    {
        if (T* held = std::exchange(m_p, nullptr))
            held->Release();
    }
    void AddRef()
    {
        if (!m_p)
            _com_issue_error(E_POINTER);
        m_p->AddRef();
    }

    template <class Q>
    HRESULT QueryInterface(REFIID iid, Q** dest) const noexcept
    {
        if (!dest)
            return E_POINTER;
        *dest = nullptr;
        return m_p ? m_p->QueryInterface(iid, reinterpret_cast<void**>(dest)) : E_POINTER;
    }

    T* GetInterfacePtr() const noexcept { return m_p; }
    T* operator->() const
    {
        if (!m_p)
            _com_issue_error(E_POINTER);
        return m_p;
    }
    T& operator*() const
    {
        if (!m_p)
            _com_issue_error(E_POINTER);
        return *m_p;
    }
    operator T*() const noexcept { return m_p; }
    bool operator!() const noexcept { return m_p == nullptr; }
    // For an out-parameter: any held reference is let go first.
    T** operator&() noexcept
    {
        Release();
        return &m_p;
    }

private:
    void addRef() const noexcept
    {
        if (m_p)
            m_p->AddRef();
    }
    template <class Q>
    void query(Q* other) noexcept
    {
        if (other)
            other->QueryInterface(uuidof<T>(), reinterpret_cast<void**>(&m_p));
    }
    T* m_p = nullptr;
};

#define COM_SMARTPTR_TYPEDEF(Interface) using Interface##Ptr = ComPtrT<Interface>
