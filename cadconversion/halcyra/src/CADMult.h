// CCADMult: the mult (a bar from which pieces are cut) behind coclass
// CADMult, filled by the DSTV bar reader. Its queries ask Tarsis about the
// machine and the pieces; SaveToTarsis writes the bar and its pieces
// through the Tarsis mult writer. Single-threaded, aggregatable.
#pragma once

#include "Resource.h"
#include "TarsisServers.h"

#include "halcyra/HalcyraLib.h"
#include "halcyra/ListTmplt.h"
#include "halcyra/MultPart.h"

#include "com/ComBstr.h"
#include "com/ComPtr.h"
#include "com/server/CoClass.h"
#include "com/server/Module.h"

class CCADMult : public CComObjectRootEx<CComSingleThreadModel>,
                 public CComCoClass<CCADMult, &CLSID_CADMult>,
                 public ICADMult,
                 public ISupportErrorInfoImpl<&IID_ICADMult> {
public:
    CCADMult();

    DECLARE_REGISTRY_RESOURCEID(IDR_CADMULT)

    BEGIN_COM_MAP(CCADMult)
        COM_INTERFACE_ENTRY(ICADMult)
        COM_INTERFACE_ENTRY(ISupportErrorInfo)
    END_COM_MAP()

    // Deletes the pieces, before the destructor (which releases the writer).
    void FinalRelease();

    // ICADMult
    HRESULT get_JobId(BSTR* pVal) override;
    HRESULT put_JobId(BSTR newVal) override;
    HRESULT get_Group(BSTR* pVal) override;
    HRESULT put_Group(BSTR newVal) override;
    HRESULT get_Mark(BSTR* pVal) override;
    HRESULT put_Mark(BSTR newVal) override;
    HRESULT get_Quantity(LONG* pVal) override;
    HRESULT put_Quantity(LONG newVal) override;
    HRESULT get_Length(double* pVal) override;
    HRESULT put_Length(double newVal) override;
    HRESULT get_Section(BSTR* pVal) override;
    HRESULT put_Section(BSTR newVal) override;
    HRESULT get_SectionDescription(BSTR* pVal) override;
    HRESULT put_SectionDescription(BSTR newVal) override;
    HRESULT get_Grade(BSTR* pVal) override;
    HRESULT put_Grade(BSTR newVal) override;
    HRESULT get_Machine(BSTR* pVal) override;
    HRESULT put_Machine(BSTR newVal) override;
    HRESULT get_Kerf(double* pVal) override;
    HRESULT put_Kerf(double newVal) override;
    HRESULT SetMetric(INT bTrue) override;
    HRESULT SaveToTarsis() override;
    HRESULT AddPart(BSTR bstrJob, BSTR bstrGroup, BSTR bstrMark, INT nQuantity) override;
    HRESULT GetMultSectionAndDescription(BSTR bstrJob, BSTR bstrGroup, BSTR bstrMark,
                                         BSTR* pbstrSection, BSTR* pbstrDesctp) override;
    HRESULT CheckMachine(BSTR* pbstrMachineName) override;
    HRESULT CheckParts(LONG* pnNumberOf, BSTR** ppbstrPartJobs, BSTR** ppbstrPartGroups,
                       BSTR** ppbstrPart) override;
    HRESULT CheckPart(BSTR bstrJob, BSTR bstrGroup, BSTR bstrMark) override;

private:
    // At most this many characters of the mark reach Tarsis.
    static constexpr UINT kMaxMarkLength = 9;

    template <class Body>
    HRESULT guarded(const char16_t* pszFallback, Body&& body);
    // A mult writer of its own for one query.
    static ComPtrT<ITarsisMultWriter> queryWriter();
    void saveToTarsis();

    CComBSTR JobId;
    CComBSTR Group;
    CComBSTR Mark;
    double Length = 0;
    double Kerf = 0;
    CComBSTR Section;
    CComBSTR SectionDescription;
    LONG Quantity = 0;
    CComBSTR Grade; // emptied by every save: mults are written without a grade
    CComBSTR Machine;
    LONG MeasuringSystem = kMeasuringSystemInch;
    CListTmplt<CMultPart> MultParts; // owned pieces, in AddPart order
    ComPtrT<ITarsisMultWriter> MultWriter;
};
