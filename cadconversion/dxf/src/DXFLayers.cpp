// The layer table.
#include "DXFLayers.h"

namespace {

struct LayerEntry {
    const char* name;
    DXFLayerCode code;
};

constexpr LayerEntry kLayers[] = {
    {"TF_OPERATION", kLayerTFOperation},
    {"TF_STENCIL", kLayerTFStencil},
    {"TF_LAYOUT", kLayerTFLayout},
    {"TF_REF", kLayerTFRef},
    {"BF_OPERATION", kLayerBFOperation},
    {"BF_STENCIL", kLayerBFStencil},
    {"BF_LAYOUT", kLayerBFLayout},
    {"BF_REF", kLayerBFRef},
    {"WEB_OPERATION", kLayerWebOperation},
    {"WEBBACK_OPERATION", kLayerWebBackOperation},
    {"WEBFRONT_STENCIL", kLayerWebFrontStencil},
    {"WEBFRONT_LAYOUT", kLayerWebFrontLayout},
    {"WEBFRONT_REF", kLayerWebFrontRef},
    {"WEBBACK_STENCIL", kLayerWebBackStencil},
    {"WEBBACK_LAYOUT", kLayerWebBackLayout},
    {"WEBBACK_REF", kLayerWebBackRef},
    {"PART_INFO", kLayerPartInfo},
};

} // namespace

DXFLayerCode LayerCode(const CString& layerName)
{
    for (const LayerEntry& layer : kLayers)
        if (layerName.CompareNoCase(layer.name) == 0)
            return layer.code;
    return kLayerNone;
}
