// QueryInterface from interface maps, the module's lock count and creation
// with or without an outer object.
#include "com/server/ComObject.h"

namespace comserver {

namespace {
std::atomic<LONG> lockCount{0};
}

LONG moduleLock()
{
    return ++lockCount;
}
LONG moduleUnlock()
{
    return --lockCount;
}
LONG moduleLockCount()
{
    return lockCount.load();
}

HRESULT internalQueryInterface(void* object, const InterfaceEntry* entries, REFIID iid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (iid == IID_IUnknown) {
        auto* unknown = static_cast<IUnknown*>(entries[0].cast(object));
        unknown->AddRef();
        *ppv = unknown;
        return S_OK;
    }
    for (const InterfaceEntry* entry = entries; entry->iid != nullptr; ++entry) {
        if (*entry->iid == iid) {
            auto* unknown = static_cast<IUnknown*>(entry->cast(object));
            unknown->AddRef();
            *ppv = unknown;
            return S_OK;
        }
    }
    return E_NOINTERFACE;
}

HRESULT createObject(CreateFunction plain, CreateFunction aggregated, IUnknown* outer, REFIID iid,
                     void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (outer == nullptr)
        return plain(nullptr, iid, ppv);
    if (aggregated == nullptr)
        return CLASS_E_NOAGGREGATION;
    if (iid != IID_IUnknown)
        return E_NOINTERFACE;
    return aggregated(outer, iid, ppv);
}

} // namespace comserver
