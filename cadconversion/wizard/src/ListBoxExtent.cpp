// CListBoxExtent: entries added with the extent widened first.
#include "wizard/ListBoxExtent.h"

#include <cstring>

int CListBoxExtent::AddString(LPCSTR text)
{
    UpdateExtent(text);
    return CListBox::AddString(text);
}

int CListBoxExtent::InsertString(int index, LPCSTR text)
{
    UpdateExtent(text);
    return CListBox::InsertString(index, text);
}

void CListBoxExtent::UpdateExtent(LPCSTR text)
{
    const HDC dc = ::GetDC(m_hWnd);
    if (!dc)
        return;
    HGDIOBJ previous = nullptr;
    if (const HFONT font = GetFont())
        previous = ::SelectObject(dc, font);
    SIZE size{};
    TEXTMETRIC metrics{};
    ::GetTextExtentPoint32(dc, text, static_cast<int>(std::strlen(text)), &size);
    ::GetTextMetrics(dc, &metrics);
    if (previous)
        ::SelectObject(dc, previous);
    ::ReleaseDC(m_hWnd, dc);
    const int needed = size.cx + metrics.tmAveCharWidth;
    if (GetHorizontalExtent() < needed)
        SetHorizontalExtent(needed);
}
