// CSelectedFilesListBox: page 4's file list, whose selected entries the
// Delete key removes.
#pragma once

#include "wizard/ListBoxExtent.h"

class CSelectedFilesListBox : public CListBoxExtent {
public:
    // Removes the selected entries; the others keep their order.
    void RemoveSelected();

protected:
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
};
