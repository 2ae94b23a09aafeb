// TarsisShapeServer: answers the dimensions and formal name of a shape by
// its section and description.
#pragma once

#include "StoreHandle.h"
#include "tarsis/TarsisServers.h"

#include "com/server/Server.h"

namespace tarsis {

class CTarsisShapeServer
    : public CComObjectRootEx<CComMultiThreadModel>,
      public CComCoClass<CTarsisShapeServer, &CLSID_TarsisShapeServer>,
      public ISupportErrorInfoImpl<&IID_ITarsisShapeServer>,
      public IDispatchOnlyImpl<CTarsisShapeServer, &IID_ITarsisShapeServer, &LIBID_TarsisLib> {
public:
    DECLARE_REGISTRY_RESOURCEID(102)
    DECLARE_NOT_AGGREGATABLE(CTarsisShapeServer)

    BEGIN_COM_MAP(CTarsisShapeServer)
        COM_INTERFACE_ENTRY(IDispatch)
        COM_INTERFACE_ENTRY_IID(IID_ITarsisShapeServer, IDispatch)
        COM_INTERFACE_ENTRY(ISupportErrorInfo)
    END_COM_MAP()

    // 0 with the shape's values; 1 for an unknown shape (zeros and a null
    // name); negative when the database fails. Out strings are in/out: the
    // text they held is freed. The values are in inches whatever the
    // catalog row's own units: lengths in inches, the surface in square
    // feet and the weight in pounds, each per foot; the callers put them
    // into their part's measuring system.
    HRESULT LookupShape(BSTR bstrSection, BSTR bstrDescription, double* pdDepth,
                        double* pdWebThickness, double* pdFlangeWidth, double* pdFlangeThickness,
                        double* pdSurface, double* pdWeight, BSTR* pbstrFormal, LONG* pnResult);

private:
    StoreHandle m_store;
};

comserver::InterfaceDesc shapeServerInterface();

} // namespace tarsis
