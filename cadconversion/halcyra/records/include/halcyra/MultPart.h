// CMultPart: one piece of a mult (job, group, mark and how many).
#pragma once

#include "com/Types.h"

class CMultPart {
public:
    // Copies of the three strings; a null one stays null.
    CMultPart(BSTR bstrJob, BSTR bstrGroup, BSTR bstrMark, LONG nQuantity);
    CMultPart(const CMultPart&) = delete;
    CMultPart& operator=(const CMultPart&) = delete;
    ~CMultPart();

    BSTR Job;   // owned
    BSTR Group; // owned
    BSTR Mark;  // owned
    LONG Quantity;
};
