// The layer convention of the part drawings: each layer name stands for a
// face and a kind of feature. Names compare without regard to (ASCII)
// case; any other name has the code kLayerNone and places nothing.
#pragma once

#include "vlmrlib/CString.h"

enum DXFLayerCode : int {
    kLayerNone = 0,
    kLayerTFOperation = 1,       // "TF_OPERATION": top flange holes
    kLayerTFStencil = 2,         // "TF_STENCIL"
    kLayerTFLayout = 3,          // "TF_LAYOUT": top flange marks
    kLayerTFRef = 4,             // "TF_REF"
    kLayerBFOperation = 5,       // "BF_OPERATION"
    kLayerBFStencil = 6,         // "BF_STENCIL"
    kLayerBFLayout = 7,          // "BF_LAYOUT"
    kLayerBFRef = 8,             // "BF_REF"
    kLayerWebOperation = 9,      // "WEB_OPERATION"
    kLayerWebBackOperation = 10, // "WEBBACK_OPERATION": second-web holes
    kLayerWebFrontStencil = 11,  // "WEBFRONT_STENCIL"
    kLayerWebFrontLayout = 12,   // "WEBFRONT_LAYOUT": web marks
    kLayerWebFrontRef = 13,      // "WEBFRONT_REF": web reference
    kLayerWebBackStencil = 14,   // "WEBBACK_STENCIL": web stencils as well
    kLayerWebBackLayout = 15,    // "WEBBACK_LAYOUT": second-web marks
    kLayerWebBackRef = 16,       // "WEBBACK_REF": second-web reference
    kLayerPartInfo = 17,         // "PART_INFO": the part's data text
};

// The code of a layer name.
DXFLayerCode LayerCode(const CString& layerName);
