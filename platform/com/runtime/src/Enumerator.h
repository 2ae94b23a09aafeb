// Inside the runtime: an enumerator over a snapshot of items, for
// IEnumGUID and IEnumCATEGORYINFO. Clones share the snapshot.
#pragma once

#include "com/Interfaces.h"

#include <atomic>
#include <memory>
#include <new>
#include <vector>

template <class Interface, class Item>
class Enumerator final : public Interface {
public:
    using Items = std::shared_ptr<const std::vector<Item>>;

    // A new enumerator in *out, or E_OUTOFMEMORY.
    static HRESULT create(Items items, std::size_t position, Interface** out)
    {
        *out = new (std::nothrow) Enumerator(std::move(items), position);
        return *out ? S_OK : E_OUTOFMEMORY;
    }

    HRESULT QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == uuidof<Interface>()) {
            *ppv = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return m_refs.fetch_add(1, std::memory_order_relaxed) + 1; }
    ULONG Release() override
    {
        const ULONG left = m_refs.fetch_sub(1, std::memory_order_acq_rel) - 1;
        if (left == 0)
            delete this;
        return left;
    }

    // S_OK when celt items came, S_FALSE when fewer were left.
    HRESULT Next(ULONG celt, Item* rgelt, ULONG* pceltFetched) override
    {
        if (pceltFetched)
            *pceltFetched = 0;
        if (!rgelt || (celt > 1 && !pceltFetched))
            return E_POINTER;
        ULONG fetched = 0;
        while (fetched < celt && m_position < m_items->size())
            rgelt[fetched++] = (*m_items)[m_position++];
        if (pceltFetched)
            *pceltFetched = fetched;
        return fetched == celt ? S_OK : S_FALSE;
    }
    HRESULT Skip(ULONG celt) override
    {
        const std::size_t left = m_items->size() - m_position;
        m_position += celt < left ? celt : left;
        return celt <= left ? S_OK : S_FALSE;
    }
    HRESULT Reset() override
    {
        m_position = 0;
        return S_OK;
    }
    HRESULT Clone(Interface** ppenum) override
    {
        if (!ppenum)
            return E_POINTER;
        return create(m_items, m_position, ppenum);
    }

private:
    Enumerator(Items items, std::size_t position) : m_items(std::move(items)), m_position(position) {}
    ~Enumerator() = default;

    std::atomic<ULONG> m_refs{1};
    Items m_items;
    std::size_t m_position;
};
