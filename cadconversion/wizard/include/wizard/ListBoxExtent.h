// CListBoxExtent: a list box whose horizontal extent always covers its
// widest entry, so that long paths can be scrolled to. Usable from the
// worker thread once attached (every call is a message to the list).
#pragma once

#include "ui/Afx.h"

class CListBoxExtent : public CListBox {
public:
    int AddString(LPCSTR text);
    int InsertString(int index, LPCSTR text);
    // Widens the extent to the text's width plus one average character;
    // never narrows it.
    void UpdateExtent(LPCSTR text);
};
