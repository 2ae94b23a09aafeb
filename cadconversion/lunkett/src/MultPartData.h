// CMultPartData: one piece of a DSTV bar as the bar reader holds it until
// it is handed to the mult: the fields of its piece line.
#pragma once

#include "vlmrlib/CString.h"

struct CMultPartData {
    CString strJob;         // field 2
    CString strGroup;       // field 4
    CString strMark;        // field 5
    CString strPieceField3; // kept, never passed on
    CString strPieceField0; // kept, never passed on
    CString strPieceField1; // kept, never passed on
    int nQuantity = 0;      // field 6
};
