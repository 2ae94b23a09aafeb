// TarsisShapeServer; see ShapeServer.h.
#include "ShapeServer.h"

#include "com/Bstr.h"

namespace tarsis {

HRESULT CTarsisShapeServer::LookupShape(BSTR bstrSection, BSTR bstrDescription, double* pdDepth,
                                        double* pdWebThickness, double* pdFlangeWidth,
                                        double* pdFlangeThickness, double* pdSurface,
                                        double* pdWeight, BSTR* pbstrFormal, LONG* pnResult)
{
    double* numbers[] = {pdDepth,           pdWebThickness, pdFlangeWidth,
                         pdFlangeThickness, pdSurface,      pdWeight};
    for (double* p : numbers)
        if (!p)
            return E_POINTER;
    if (!pbstrFormal || !pnResult)
        return E_POINTER;
    for (double* p : numbers)
        *p = 0;
    SysFreeString(*pbstrFormal);
    *pbstrFormal = nullptr;
    *pnResult = guardedResult(CLSID_TarsisShapeServer, IID_ITarsisShapeServer, [&]() -> LONG {
        ShapeKey key{textOf(bstrSection), textOf(bstrDescription)};
        auto shape = m_store.read([&](TarsisStore& store) { return store.findShape(key); });
        if (!shape)
            return S_FALSE;
        if (HRESULT hr = putText(pbstrFormal, shape->name); FAILED(hr))
            return hr;
        *pdDepth = shape->depth;
        *pdWebThickness = shape->webThickness;
        *pdFlangeWidth = shape->flangeWidth;
        *pdFlangeThickness = shape->flangeThickness;
        *pdSurface = shape->surface;
        *pdWeight = shape->weight;
        return S_OK;
    });
    return S_OK;
}

comserver::InterfaceDesc shapeServerInterface()
{
    using namespace comserver;
    using S = CTarsisShapeServer;
    return dispInterface<S>(
        IID_ITarsisShapeServer, "ITarsisShapeServer", "Tarsis shape server",
        {dispMethod<&S::LookupShape>(shapeserver::LookupShape, "LookupShape",
                                     {"bstrSection", "bstrDescription", "pdDepth", "pdWebThickness",
                                      "pdFlangeWidth", "pdFlangeThickness", "pdSurface", "pdWeight",
                                      "pbstrFormal", "pnResult"},
                                     retval)});
}

} // namespace tarsis
