// Object roots, threading models and interface maps: the base every server
// class derives from, and the table from which its QueryInterface answers.
#pragma once

#include "com/Interfaces.h"

#include <atomic>

// Reference counting for objects that live on one thread: plain counts.
class CComSingleThreadModel {
public:
    static ULONG Increment(LONG* p) { return static_cast<ULONG>(++*p); }
    static ULONG Decrement(LONG* p) { return static_cast<ULONG>(--*p); }
};

// Reference counting for objects shared between threads: atomic counts.
class CComMultiThreadModel {
public:
    static ULONG Increment(LONG* p)
    {
        return static_cast<ULONG>(std::atomic_ref<LONG>(*p).fetch_add(1) + 1);
    }
    static ULONG Decrement(LONG* p)
    {
        return static_cast<ULONG>(std::atomic_ref<LONG>(*p).fetch_sub(1) - 1);
    }
};

namespace comserver {

struct CategoryMapEntry;

// One row of an interface map: an IID and how to reach that interface from
// a pointer to the class that declared the map.
struct InterfaceEntry {
    const IID* iid;
    void* (*cast)(void* object);
};

template <class T, class I>
void* castTo(void* object)
{
    return static_cast<I*>(static_cast<T*>(object));
}

template <class T, class Via, class I>
void* castVia(void* object)
{
    return static_cast<I*>(static_cast<Via*>(static_cast<T*>(object)));
}

// QueryInterface from a map: IUnknown is the first entry; the interface
// found is AddRef'd through itself. *ppv is null on failure.
HRESULT internalQueryInterface(void* object, const InterfaceEntry* entries, REFIID iid, void** ppv);

} // namespace comserver

// State and defaults shared by every object root. FinalConstruct runs after
// construction (a failure destroys the object); FinalRelease runs when the
// last reference goes, before the class's destructor.
class CComObjectRootBase {
public:
    HRESULT FinalConstruct() { return S_OK; }
    void FinalRelease() {}
    static const comserver::CategoryMapEntry* GetCategoryMap() { return nullptr; }

    // For an object inside an aggregate: the controlling outer object.
    ULONG OuterAddRef() { return m_pOuterUnknown->AddRef(); }
    ULONG OuterRelease() { return m_pOuterUnknown->Release(); }
    HRESULT OuterQueryInterface(REFIID iid, void** ppv)
    {
        return m_pOuterUnknown->QueryInterface(iid, ppv);
    }

    LONG m_dwRef = 0;
    IUnknown* m_pOuterUnknown = nullptr;
};

template <class ThreadModel>
class CComObjectRootEx : public CComObjectRootBase {
public:
    using _ThreadModel = ThreadModel;
    ULONG InternalAddRef() { return ThreadModel::Increment(&m_dwRef); }
    ULONG InternalRelease() { return ThreadModel::Decrement(&m_dwRef); }
};

// Interface map, inside the class:
//   BEGIN_COM_MAP(CMyClass)
//       COM_INTERFACE_ENTRY(IMyInterface)           // the first entry also answers IUnknown
//       COM_INTERFACE_ENTRY(ISupportErrorInfo)
//       COM_INTERFACE_ENTRY2(IDispatch, IMyInterface) // IDispatch answered by IMyInterface's
//       COM_INTERFACE_ENTRY_IID(DIID_Events, IDispatch)
//   END_COM_MAP()
#define BEGIN_COM_MAP(x)                                                                           \
public:                                                                                            \
    using _ComMapClass = x;                                                                        \
    static const ::comserver::InterfaceEntry* _GetEntries()                                        \
    {                                                                                              \
        static const ::comserver::InterfaceEntry entries[] = {
#define COM_INTERFACE_ENTRY(I) {&uuidof<I>(), &::comserver::castTo<_ComMapClass, I>},
#define COM_INTERFACE_ENTRY_IID(iid, I) {&(iid), &::comserver::castTo<_ComMapClass, I>},
#define COM_INTERFACE_ENTRY2(I, Via) {&uuidof<I>(), &::comserver::castVia<_ComMapClass, Via, I>},
#define END_COM_MAP()                                                                              \
    {                                                                                              \
        nullptr, nullptr                                                                           \
    }                                                                                              \
    }                                                                                              \
    ;                                                                                              \
    return entries;                                                                                \
    }                                                                                              \
    HRESULT _InternalQueryInterface(REFIID iid, void** ppv)                                        \
    {                                                                                              \
        return ::comserver::internalQueryInterface(this, _GetEntries(), iid, ppv);                 \
    }                                                                                              \
    IUnknown* GetUnknown()                                                                         \
    {                                                                                              \
        return static_cast<IUnknown*>(_GetEntries()[0].cast(this));                                \
    }
