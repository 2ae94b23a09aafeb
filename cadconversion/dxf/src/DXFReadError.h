// DXFReadError: how a reading or placement failure leaves the depths of the
// DXF reader for ReadPart, which reports it with the file name and line.
#pragma once

#include "halcyra/HalcyraLib.h"

#include "vlmrlib/CString.h"

struct DXFReadError {
    HRESULT hr = E_CONVERT_READ;
    CString text; // the report's own text, without the file name and line
};
