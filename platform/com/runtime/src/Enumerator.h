// Inside the runtime: an enumerator over a snapshot of items, for
// IEnumGUID and IEnumCATEGORYINFO. Clones share the snapshot.
#pragma once

#include "RuntimeObject.h"

#include <memory>
#include <new>
#include <vector>

template <class Interface, class Item>
class Enumerator final : public RuntimeObject<Interface> {
public:
    using Items = std::shared_ptr<const std::vector<Item>>;

    // A new enumerator in *out, or E_OUTOFMEMORY.
    static HRESULT create(Items items, std::size_t position, Interface** out)
    {
        *out = new (std::nothrow) Enumerator(std::move(items), position);
        return *out ? S_OK : E_OUTOFMEMORY;
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
    Enumerator(Items items, std::size_t position) : m_items(std::move(items)), m_position(position)
    {
    }
    ~Enumerator() = default;

    Items m_items;
    std::size_t m_position;
};
