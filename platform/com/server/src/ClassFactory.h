// The class factory of one object-map entry.
#pragma once

#include "com/server/Module.h"

#include <atomic>

namespace comserver {

// Owned by the module object, which deletes it when the module goes. Every
// reference handed out locks the module until it is released.
class ClassFactory final : public IClassFactory {
public:
    explicit ClassFactory(const ObjectMapEntry& entry) : m_entry(entry) {}

    HRESULT QueryInterface(REFIID iid, void** ppv) override;
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) override;
    HRESULT LockServer(BOOL fLock) override;

    ULONG references() const { return m_references; }

private:
    const ObjectMapEntry& m_entry;
    std::atomic<ULONG> m_references{0};
};

} // namespace comserver
