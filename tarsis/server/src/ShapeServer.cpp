// TarsisShapeServer; see ShapeServer.h.
#include "ShapeServer.h"

#include "com/Bstr.h"

namespace tarsis {
namespace {

constexpr double kMillimetresPerInch = 25.4;
constexpr double kMetresPerFoot = 0.3048;
constexpr double kKilogramsPerPound = 0.45359237;

// A catalog row's numbers in the unit the lookup answers in: inches, square
// feet per foot and pounds per foot.
ShapeRecord inInches(ShapeRecord shape)
{
    if (shape.units == Units::Inch)
        return shape;
    for (double* length :
         {&shape.depth, &shape.webThickness, &shape.flangeWidth, &shape.flangeThickness})
        *length /= kMillimetresPerInch;
    shape.surface /= kMetresPerFoot;                     // m2 per m to ft2 per ft
    shape.weight *= kMetresPerFoot / kKilogramsPerPound; // kg per m to lb per ft
    shape.units = Units::Inch;
    return shape;
}

} // namespace

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
        auto found = m_store.read([&](TarsisStore& store) { return store.findShape(key); });
        if (!found)
            return S_FALSE;
        const ShapeRecord shape = inInches(*found);
        if (HRESULT hr = putText(pbstrFormal, shape.name); FAILED(hr))
            return hr;
        *pdDepth = shape.depth;
        *pdWebThickness = shape.webThickness;
        *pdFlangeWidth = shape.flangeWidth;
        *pdFlangeThickness = shape.flangeThickness;
        *pdSurface = shape.surface;
        *pdWeight = shape.weight;
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
