// The objects the framework creates around a server class: CComObject (a
// stand-alone object), CComAggObject with CComContainedObject (an object
// inside an aggregate), their creators, and the aggregation declarations.
#pragma once

#include "com/server/ObjectRoot.h"

#include <limits>
#include <new>

namespace comserver {

// The module's lock count: live objects plus LockServer locks plus external
// references to class factories. Atomic; one count per server module.
LONG moduleLock();
LONG moduleUnlock();
LONG moduleLockCount();

// A count far from zero, set while an object is being destroyed so that an
// AddRef/Release pair inside FinalRelease cannot destroy it a second time.
inline constexpr LONG destroyingCount = -(std::numeric_limits<LONG>::max() / 2);

// Creates Object (constructed with the outer unknown or null), runs its
// FinalConstruct under a temporary reference, and answers it with no
// reference held. No exception leaves.
template <class Object>
HRESULT constructObject(void* outer, Object** out)
{
    *out = nullptr;
    Object* p = nullptr;
    try {
        p = new Object(outer);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
    p->InternalAddRef();
    HRESULT hr;
    try {
        hr = p->FinalConstruct();
    } catch (const std::bad_alloc&) {
        hr = E_OUTOFMEMORY;
    } catch (...) {
        hr = E_UNEXPECTED;
    }
    p->InternalRelease();
    if (FAILED(hr)) {
        delete p;
        return hr;
    }
    *out = p;
    return S_OK;
}

// Creates Object and asks it for iid; the new object holds the one
// reference handed out. *ppv is null on failure.
template <class Object>
HRESULT createInstance(void* outer, REFIID iid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    Object* p = nullptr;
    HRESULT hr = constructObject(outer, &p);
    if (FAILED(hr))
        return hr;
    hr = p->QueryInterface(iid, ppv);
    if (FAILED(hr))
        delete p;
    return hr;
}

using CreateFunction = HRESULT (*)(void* outer, REFIID iid, void** ppv);

// Creation with and without an outer object. Checks the outer object's
// request: CLASS_E_NOAGGREGATION when aggregated is null, E_NOINTERFACE when
// an outer object asks for anything but IUnknown.
HRESULT createObject(CreateFunction plain, CreateFunction aggregated, IUnknown* outer, REFIID iid,
                     void** ppv);

template <class Plain, class Aggregated>
struct Creators {
    static constexpr CreateFunction plain = &createInstance<Plain>;
    static constexpr CreateFunction aggregated = &createInstance<Aggregated>;
};

template <class Plain>
struct Creators<Plain, void> {
    static constexpr CreateFunction plain = &createInstance<Plain>;
    static constexpr CreateFunction aggregated = nullptr;
};

} // namespace comserver

// A stand-alone object of class Base. CreateInstance answers it with a
// reference count of 0: the caller AddRefs it.
template <class Base>
class CComObject final : public Base {
public:
    explicit CComObject(void* = nullptr) { comserver::moduleLock(); }
    ~CComObject()
    {
        this->m_dwRef = comserver::destroyingCount;
        this->FinalRelease();
        comserver::moduleUnlock();
    }
    CComObject(const CComObject&) = delete;
    CComObject& operator=(const CComObject&) = delete;

    ULONG AddRef() override { return this->InternalAddRef(); }
    ULONG Release() override
    {
        ULONG count = this->InternalRelease();
        if (count == 0)
            delete this;
        return count;
    }
    HRESULT QueryInterface(REFIID iid, void** ppv) override
    {
        return this->_InternalQueryInterface(iid, ppv);
    }

    static HRESULT CreateInstance(CComObject<Base>** pp)
    {
        if (pp == nullptr)
            return E_POINTER;
        return comserver::constructObject(nullptr, pp);
    }
};

// Base inside an aggregate: its IUnknown methods go to the outer object.
template <class Base>
class CComContainedObject : public Base {
public:
    explicit CComContainedObject(void* outer)
    {
        this->m_pOuterUnknown = static_cast<IUnknown*>(outer);
    }

    ULONG AddRef() override { return this->OuterAddRef(); }
    ULONG Release() override { return this->OuterRelease(); }
    HRESULT QueryInterface(REFIID iid, void** ppv) override
    {
        return this->OuterQueryInterface(iid, ppv);
    }
};

// The inner object of an aggregate: this IUnknown is the non-delegating one
// the outer object holds; it counts its own references and answers every
// other interface from the contained object.
template <class Contained>
class CComAggObject final : public IUnknown,
                            public CComObjectRootEx<typename Contained::_ThreadModel> {
public:
    explicit CComAggObject(void* outer) : m_contained(outer) { comserver::moduleLock(); }
    ~CComAggObject()
    {
        this->m_dwRef = comserver::destroyingCount;
        m_contained.FinalRelease();
        comserver::moduleUnlock();
    }
    CComAggObject(const CComAggObject&) = delete;
    CComAggObject& operator=(const CComAggObject&) = delete;

    HRESULT FinalConstruct() { return m_contained.FinalConstruct(); }

    ULONG AddRef() override { return this->InternalAddRef(); }
    ULONG Release() override
    {
        ULONG count = this->InternalRelease();
        if (count == 0)
            delete this;
        return count;
    }
    HRESULT QueryInterface(REFIID iid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        if (iid == IID_IUnknown) {
            *ppv = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        return m_contained._InternalQueryInterface(iid, ppv);
    }

    CComContainedObject<Contained> m_contained;
};

// Inside a class: whether its class factory may create it inside an outer
// object. CComCoClass declares it aggregatable.
#define DECLARE_AGGREGATABLE(x)                                                                    \
public:                                                                                            \
    using _CreatorClass = ::comserver::Creators<CComObject<x>, CComAggObject<x>>;
#define DECLARE_NOT_AGGREGATABLE(x)                                                                \
public:                                                                                            \
    using _CreatorClass = ::comserver::Creators<CComObject<x>, void>;
