// TarsisPartWriter: collects one pending part (CreatePart, then planes and
// operations in arrival order) and writes it with all its entries in one
// transaction at SavePart, replacing a stored part of the same job, group
// and mark. A part never saved (the writer released, or a second
// CreatePart) leaves no trace. Used by one caller at a time.
#pragma once

#include "StoreHandle.h"
#include "tarsis/Records.h"
#include "tarsis/TarsisServers.h"

#include "com/server/Server.h"

#include <optional>

namespace tarsis {

class CTarsisPartWriter
    : public CComObjectRootEx<CComMultiThreadModel>,
      public CComCoClass<CTarsisPartWriter, &CLSID_TarsisPartWriter>,
      public ISupportErrorInfoImpl<&IID_ITarsisPartWriter>,
      public IDispatchOnlyImpl<CTarsisPartWriter, &IID_ITarsisPartWriter, &LIBID_TarsisLib> {
public:
    DECLARE_REGISTRY_RESOURCEID(101)
    DECLARE_NOT_AGGREGATABLE(CTarsisPartWriter)

    BEGIN_COM_MAP(CTarsisPartWriter)
        COM_INTERFACE_ENTRY(IDispatch)
        COM_INTERFACE_ENTRY_IID(IID_ITarsisPartWriter, IDispatch)
        COM_INTERFACE_ENTRY(ISupportErrorInfo)
    END_COM_MAP()

    // The members of ITarsisPartWriter; each answers its result in *pnResult.
    HRESULT CreatePart(BSTR bstrJob, BSTR bstrGroup, BSTR bstrMark, SHORT nQuantity, double dLength,
                       BSTR bstrSection, BSTR bstrDescription, BSTR bstrGrade, BSTR bstrText1,
                       LONG nNumber, BSTR bstrText2, BSTR bstrText3, SHORT nMeasuringSystem,
                       SHORT nPartKind, LONG* pnResult);
    HRESULT SetRefPlane(double dStartX, double dStartU, double dRise, double dRun,
                        BSTR bstrDirectionX, BSTR bstrDirectionU, BSTR bstrPattern, LONG* pnResult);
    template <Face face>
    HRESULT AddHole(double dX, double dU, double dXInc, double dUInc, SHORT nNumX, SHORT nNumU,
                    double dToolSize1, double dToolSize2, BSTR bstrShape, SHORT nOrientation,
                    LONG* pnResult);
    template <Face face>
    HRESULT AddHoleEx(double dX, double dU, double dXInc, double dUInc, SHORT nNumX, SHORT nNumU,
                      double dToolSize1, double dToolSize2, BSTR bstrShape, SHORT nOrientation,
                      SHORT nToolMeasuringSystem, LONG* pnResult);
    template <Face face, OperationKind kind>
    HRESULT AddMark(double dX, double dU, double dXInc, double dUInc, SHORT nNumX, SHORT nNumU,
                    LONG* pnResult);
    template <Face face>
    HRESULT AddStencil(double dX, double dU, BSTR bstrText, LONG* pnResult);
    HRESULT SavePart(LONG* pnResult);

private:
    HRESULT addEntry(PartEntry entry, LONG* pnResult);

    std::optional<PartRecord> m_pending;
    StoreHandle m_store;
};

// The description of ITarsisPartWriter for the module's type library.
comserver::InterfaceDesc partWriterInterface();

} // namespace tarsis
