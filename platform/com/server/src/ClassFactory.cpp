// The class factory of one object-map entry.
#include "ClassFactory.h"

namespace comserver {

HRESULT ClassFactory::QueryInterface(REFIID iid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (iid != IID_IUnknown && iid != IID_IClassFactory)
        return E_NOINTERFACE;
    *ppv = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
}

ULONG ClassFactory::AddRef()
{
    moduleLock();
    return ++m_references;
}

ULONG ClassFactory::Release()
{
    ULONG count = --m_references;
    moduleUnlock();
    return count;
}

HRESULT ClassFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject)
{
    return createObject(m_entry.createPlain, m_entry.createAggregated, pUnkOuter, riid, ppvObject);
}

HRESULT ClassFactory::LockServer(BOOL fLock)
{
    if (fLock)
        moduleLock();
    else
        moduleUnlock();
    return S_OK;
}

} // namespace comserver
