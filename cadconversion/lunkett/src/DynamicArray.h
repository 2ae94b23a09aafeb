// CDynamicArray: the server's growable array. The first 100 elements live
// inside the object, so a local array makes no heap allocation for up to
// 100 entries; beyond that the storage moves to a heap block that grows by
// 25 elements at a time and never returns to the inline block.
//
// Indices are not checked: the caller keeps them below GetSize(). The
// pointer instantiations do not own what they point to; RemoveAll leaves
// the elements (and the objects they point to) as they are.
#pragma once

#include "com/ComError.h"

#include <memory>
#include <new>
#include <type_traits>
#include <utility>

template <class T>
class CDynamicArray {
public:
    CDynamicArray() = default;
    virtual ~CDynamicArray() = default;
    // The storage may be the object's own block: no copies.
    CDynamicArray(const CDynamicArray&) = delete;
    CDynamicArray& operator=(const CDynamicArray&) = delete;

    // Below 100 the count becomes n; otherwise 100, with room reserved for
    // n - 100 further elements. A negative n counts as 0.
    virtual void SetCount(int n)
    {
        if (n < kInline) {
            m_nCount = n < 0 ? 0 : n;
            return;
        }
        m_nCount = kInline;
        Reserve(n - kInline);
    }

    // SetCount(n), then every one of the first n slots holds T{}; answers n.
    virtual int SetSize(int n)
    {
        SetCount(n);
        for (int i = 0; i < n && i < m_nCount; ++i)
            m_pData[i] = T{};
        return n;
    }

    // Appends value and answers its index.
    int Add(T value)
    {
        if (m_nCount == m_nCapacity)
            grow(m_nCapacity + kGrowBy);
        m_pData[m_nCount] = std::move(value);
        return m_nCount++;
    }

    // The pointer instantiations hand out the slot, the others a copy.
    using Element = std::conditional_t<std::is_pointer_v<T>, T&, T>;
    Element GetAt(int i) { return m_pData[i]; }
    void SetAt(int i, T value) { m_pData[i] = std::move(value); }
    int GetSize() const { return m_nCount; }
    int GetCapacity() const { return m_nCapacity; }
    // Count 0; the storage and the elements stay as they are.
    void RemoveAll() { m_nCount = 0; }

    // Room for n elements beyond the count: nothing when there is room,
    // else the capacity grows by n, or by 25 when n is not more than 25.
    void Reserve(int n)
    {
        if (m_nCapacity - m_nCount >= n)
            return;
        grow(m_nCapacity + (kGrowBy < n ? n : kGrowBy));
    }

private:
    static constexpr int kInline = 100;
    static constexpr int kGrowBy = 25;
    static_assert(std::is_nothrow_move_assignable_v<T>);

    // A new heap block of capacity elements takes the elements in use. A
    // failed allocation raises E_OUTOFMEMORY and changes nothing.
    void grow(int capacity)
    {
        std::unique_ptr<T[]> block(new (std::nothrow) T[capacity]());
        if (!block)
            _com_issue_error(E_OUTOFMEMORY);
        for (int i = 0; i < m_nCount; ++i)
            block[i] = std::move(m_pData[i]);
        m_heap = std::move(block);
        m_pData = m_heap.get();
        m_nCapacity = capacity;
    }

    T* m_pData = m_inline;
    T m_inline[kInline]{};
    int m_nCount = 0;
    int m_nCapacity = kInline;
    std::unique_ptr<T[]> m_heap;
};
