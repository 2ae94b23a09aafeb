// TarsisMultWriter: collects one pending mult (CreateMult, then its pieces
// in arrival order) and writes it in one transaction at SaveMult, replacing
// a stored mult of the same job, group and mark; and answers the questions
// a bar reader asks about machines and parts. Used by one caller at a time.
#pragma once

#include "StoreHandle.h"
#include "tarsis/Records.h"
#include "tarsis/TarsisServers.h"

#include "com/server/Server.h"

#include <optional>

namespace tarsis {

class CTarsisMultWriter
    : public CComObjectRootEx<CComMultiThreadModel>,
      public CComCoClass<CTarsisMultWriter, &CLSID_TarsisMultWriter>,
      public ISupportErrorInfoImpl<&IID_ITarsisMultWriter>,
      public IDispatchOnlyImpl<CTarsisMultWriter, &IID_ITarsisMultWriter, &LIBID_TarsisLib> {
public:
    DECLARE_REGISTRY_RESOURCEID(103)
    DECLARE_NOT_AGGREGATABLE(CTarsisMultWriter)

    BEGIN_COM_MAP(CTarsisMultWriter)
        COM_INTERFACE_ENTRY(IDispatch)
        COM_INTERFACE_ENTRY_IID(IID_ITarsisMultWriter, IDispatch)
        COM_INTERFACE_ENTRY(ISupportErrorInfo)
    END_COM_MAP()

    HRESULT CreateMult(BSTR bstrJob, BSTR bstrGroup, BSTR bstrMark, SHORT nNumber, SHORT nQuantity,
                       double dLength, double dKerf, BSTR bstrSection, BSTR bstrDescription,
                       BSTR bstrGrade, BSTR bstrMachine, BSTR bstrText1, BSTR bstrText2,
                       SHORT nMeasuringSystem, LONG* pnResult);
    HRESULT SaveMult(LONG* pnResult);
    HRESULT AddMultPart(BSTR bstrJob, BSTR bstrGroup, BSTR bstrMark, LONG nQuantity,
                        LONG* pnResult);
    // 0 with the stored part's section and description; 1 (and empty
    // strings) when there is no such part. Out strings are in/out.
    HRESULT GetMultSectionAndDescription(BSTR bstrJob, BSTR bstrGroup, BSTR bstrMark,
                                         BSTR* pbstrSection, BSTR* pbstrDescription,
                                         LONG* pnResult);
    // 0 known, 1 not known, negative when the database fails.
    HRESULT CheckMachine(BSTR bstrMachine, LONG* pnResult);
    HRESULT CheckPart(BSTR bstrJob, BSTR bstrGroup, BSTR bstrMark, LONG* pnResult);

private:
    std::optional<MultRecord> m_pending;
    StoreHandle m_store;
};

comserver::InterfaceDesc multWriterInterface();

} // namespace tarsis
