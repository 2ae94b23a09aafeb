// CSelectedFilesListBox: removal of the selected entries.
#include "wizard/SelectedFilesListBox.h"

#include <vector>

void CSelectedFilesListBox::RemoveSelected()
{
    const int count = GetSelCount();
    if (count <= 0)
        return;
    std::vector<INT> selected(static_cast<std::size_t>(count));
    const int got = GetSelItems(count, selected.data());
    for (int i = got - 1; i >= 0; --i)
        DeleteString(static_cast<UINT>(selected[static_cast<std::size_t>(i)]));
}

void CSelectedFilesListBox::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_DELETE)
        RemoveSelected();
    CListBoxExtent::OnKeyDown(nChar, nRepCnt, nFlags);
}
