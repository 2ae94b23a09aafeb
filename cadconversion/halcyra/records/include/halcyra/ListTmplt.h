// CListTmplt: a doubly linked list of element pointers, in which the part
// and mult objects keep their operation records and pieces.
//
// The list owns its nodes only, never the elements: whoever created an
// element deletes it, and only then lets the list go. A position is a node
// pointer; null means no position. Single-threaded, like its owners.
#pragma once

#include "com/Types.h"
#include "vlmrexcept/CLog.h"

template <class T>
class CListTmplt {
public:
    struct CNode {
        T* pElement;
        CNode* pNext;
        CNode* pPrev;
        CListTmplt* m_pList; // the list that holds the node
    };

    CListTmplt() = default;
    CListTmplt(const CListTmplt&) = delete;
    CListTmplt& operator=(const CListTmplt&) = delete;
    // Frees the nodes and nothing else. Not virtual: lists are members of
    // their owners and never deleted through a base.
    ~CListTmplt() { RemoveAll(); }

    virtual CNode* GetHeadPosition() { return m_pHead; }

    virtual LONG GetCount() { return m_nCount; }

    virtual CNode* GetNextPosition(CNode* pNode) { return pNode ? pNode->pNext : nullptr; }

    virtual CNode* GetPrevPosition(CNode* pNode) { return pNode ? pNode->pPrev : nullptr; }

    virtual bool IsEmpty() { return m_nCount == 0; }

    // The element when it was in the list, else null (and nothing logged).
    virtual T* Remove(T* pElement)
    {
        CNode* pNode = Find(pElement);
        return pNode ? RemoveAt(pNode) : nullptr;
    }

    virtual void RemoveAll()
    {
        while (GetHeadPosition())
            RemoveHead();
    }

    virtual T* RemoveHead()
    {
        CNode* pHead = m_pHead;
        if (!pHead)
            return nullptr;
        CNode* pSecond = pHead->pNext;
        if (pSecond)
            pSecond->pPrev = nullptr;
        T* pElement = pHead->pElement;
        delete pHead;
        m_pHead = pSecond;
        --m_nCount;
        if (!m_pHead)
            m_pTail = nullptr;
        return pElement;
    }

    virtual T* GetHead() { return m_pHead ? m_pHead->pElement : nullptr; }

    virtual T* GetTail() { return m_pTail ? m_pTail->pElement : nullptr; }

    // The element at rPosition; rPosition moves on to the next node (null
    // after the last). Null, with rPosition left alone, on an empty list or
    // a null position.
    virtual T* GetNext(CNode*& rPosition)
    {
        if (IsEmpty() || !rPosition)
            return nullptr;
        T* pElement = rPosition->pElement;
        rPosition = rPosition->pNext;
        return pElement;
    }

    // As InsertTail, but answers null instead of throwing when the node
    // cannot be allocated.
    virtual CNode* AddTail(T* pElement)
    {
        try {
            return InsertTail(pElement);
        } catch (...) {
            return nullptr;
        }
    }

    virtual CNode* AddHead(T* pElement)
    {
        CNode* pNode = new CNode{pElement, nullptr, nullptr, this};
        if (m_pHead) {
            m_pHead->pPrev = pNode;
            pNode->pNext = m_pHead;
        } else {
            m_pTail = pNode;
        }
        m_pHead = pNode;
        ++m_nCount;
        return pNode;
    }

    virtual CNode* InsertTail(T* pElement)
    {
        CNode* pNode = new CNode{pElement, nullptr, nullptr, this};
        if (m_pHead) {
            m_pTail->pNext = pNode;
            pNode->pPrev = m_pTail;
        } else {
            m_pHead = pNode;
        }
        m_pTail = pNode;
        ++m_nCount;
        return pNode;
    }

    // Appends the other list's elements, in order; the other list keeps them.
    virtual void AddTailList(CListTmplt* pOther)
    {
        CNode* pos = pOther->GetHeadPosition();
        while (pos)
            InsertTail(pOther->GetNext(pos));
    }

    // The first node holding this very pointer, else null.
    virtual CNode* Find(T* pElement)
    {
        CNode* pos = GetHeadPosition();
        while (pos) {
            CNode* pNode = pos;
            if (GetNext(pos) == pElement)
                return pNode;
        }
        return nullptr;
    }

    // Unlinks and frees the node and returns its element. A null node or
    // one of another list is logged and changes nothing.
    virtual T* RemoveAt(CNode* pNode)
    {
        if (!pNode) {
            CLog::LogError(__FILE__, kLineNullNode, "In CListTmplt::RemoveAt and pNode is NULL");
            return nullptr;
        }
        if (pNode->m_pList != this) {
            CLog::LogError(__FILE__, kLineForeignNode,
                           "In CListTmplt::RemoveAt and pNode m_pList is not this List");
            return nullptr;
        }
        if (pNode->pPrev)
            pNode->pPrev->pNext = pNode->pNext;
        else
            m_pHead = pNode->pNext;
        if (pNode->pNext)
            pNode->pNext->pPrev = pNode->pPrev;
        else
            m_pTail = pNode->pPrev;
        --m_nCount;
        T* pElement = pNode->pElement;
        delete pNode;
        return pElement;
    }

    // The lines under which the two RemoveAt refusals are logged; readers of
    // the log have always found them there.
    static constexpr int kLineNullNode = 340;
    static constexpr int kLineForeignNode = 344;

private:
    CNode* m_pHead = nullptr;
    CNode* m_pTail = nullptr;
    LONG m_nCount = 0;
};
