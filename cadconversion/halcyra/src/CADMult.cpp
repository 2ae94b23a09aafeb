// CCADMult: properties, pieces, the Tarsis queries and the save.
#include "CADMult.h"

#include "OwnedRecords.h"
#include "Properties.h"
#include "QuantityRange.h"
#include "SaveGuard.h"
#include "TarsisCall.h"

#include <new>

using namespace tarsis_mult_writer;

CCADMult::CCADMult()
    : JobId(u""), Group(u""), Mark(u""), Section(u""), SectionDescription(u""), Grade(u"")
{
}

void CCADMult::FinalRelease()
{
    deleteRecords(MultParts);
}

template <class Body>
HRESULT CCADMult::guarded(const char16_t* pszFallback, Body&& body)
{
    return guardedSave<CCADMult>(IID_ICADMult, pszFallback,
                                 "\r\nAdd the Shape thru Tarsis and reconvert the mult",
                                 std::forward<Body>(body));
}

ComPtrT<ITarsisMultWriter> CCADMult::queryWriter()
{
    ComPtrT<ITarsisMultWriter> writer;
    writer.CreateInstance(CLSID_TarsisMultWriter, nullptr, CLSCTX_LOCAL_SERVER);
    return writer;
}

HRESULT CCADMult::get_JobId(BSTR* pVal)
{
    return getBstrProperty(JobId, pVal);
}
HRESULT CCADMult::put_JobId(BSTR newVal)
{
    return putBstrProperty(JobId, newVal);
}
HRESULT CCADMult::get_Group(BSTR* pVal)
{
    return getBstrProperty(Group, pVal);
}
HRESULT CCADMult::put_Group(BSTR newVal)
{
    return putBstrProperty(Group, newVal);
}
HRESULT CCADMult::get_Mark(BSTR* pVal)
{
    return getBstrProperty(Mark, pVal);
}
HRESULT CCADMult::put_Mark(BSTR newVal)
{
    return putBstrProperty(Mark, newVal);
}
HRESULT CCADMult::get_Section(BSTR* pVal)
{
    return getBstrProperty(Section, pVal);
}
HRESULT CCADMult::put_Section(BSTR newVal)
{
    return putBstrProperty(Section, newVal);
}
HRESULT CCADMult::get_SectionDescription(BSTR* pVal)
{
    return getBstrProperty(SectionDescription, pVal);
}
HRESULT CCADMult::put_SectionDescription(BSTR newVal)
{
    return putBstrProperty(SectionDescription, newVal);
}
HRESULT CCADMult::get_Grade(BSTR* pVal)
{
    return getBstrProperty(Grade, pVal);
}
HRESULT CCADMult::put_Grade(BSTR newVal)
{
    return putBstrProperty(Grade, newVal);
}
HRESULT CCADMult::get_Machine(BSTR* pVal)
{
    return getBstrProperty(Machine, pVal);
}
HRESULT CCADMult::put_Machine(BSTR newVal)
{
    return putBstrProperty(Machine, newVal);
}

HRESULT CCADMult::get_Quantity(LONG* pVal)
{
    return getNumberProperty(Quantity, pVal);
}

HRESULT CCADMult::put_Quantity(LONG newVal)
{
    Quantity = newVal;
    return S_OK;
}

HRESULT CCADMult::get_Length(double* pVal)
{
    return getNumberProperty(Length, pVal);
}

HRESULT CCADMult::put_Length(double newVal)
{
    Length = newVal;
    return S_OK;
}

HRESULT CCADMult::get_Kerf(double* pVal)
{
    return getNumberProperty(Kerf, pVal);
}

HRESULT CCADMult::put_Kerf(double newVal)
{
    Kerf = newVal;
    return S_OK;
}

HRESULT CCADMult::SetMetric(INT bTrue)
{
    MeasuringSystem = bTrue ? kMeasuringSystemMetric : kMeasuringSystemInch;
    return S_OK;
}

// Nothing is checked or sent; out of memory appends nothing.
HRESULT CCADMult::AddPart(BSTR bstrJob, BSTR bstrGroup, BSTR bstrMark, INT nQuantity)
{
    try {
        appendRecord(MultParts,
                     std::make_unique<CMultPart>(bstrJob, bstrGroup, bstrMark, nQuantity));
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CCADMult::GetMultSectionAndDescription(BSTR bstrJob, BSTR bstrGroup, BSTR bstrMark,
                                               BSTR* pbstrSection, BSTR* pbstrDesctp)
{
    if (!pbstrSection || !pbstrDesctp)
        return E_POINTER;
    return guarded(u"Com Error while GetMultSectionAndDescription", [&] {
        const ComPtrT<ITarsisMultWriter> writer = queryWriter();
        checkTarsisResult(invokeTarsis(writer, tarsis_mult_writer::GetMultSectionAndDescription,
                                       {argBstr(bstrJob), argBstr(bstrGroup), argBstr(bstrMark),
                                        argBstrOut(pbstrSection), argBstrOut(pbstrDesctp)}));
        return S_OK;
    });
}

// Any nonzero answer, a negative one included, means not known.
HRESULT CCADMult::CheckMachine(BSTR* pbstrMachineName)
{
    if (!pbstrMachineName)
        return E_POINTER;
    SysFreeString(*pbstrMachineName);
    *pbstrMachineName = nullptr;
    // The system's own text names GetMultSectionAndDescription here: keep it so.
    return guarded(u"Com Error while GetMultSectionAndDescription", [&] {
        const ComPtrT<ITarsisMultWriter> writer = queryWriter();
        if (invokeTarsis(writer, tarsis_mult_writer::CheckMachine, {argBstr(Machine)}) == 0)
            return S_OK;
        *pbstrMachineName = Machine.Copy();
        if (Machine.m_str && !*pbstrMachineName)
            _com_issue_error(E_OUTOFMEMORY);
        return S_FALSE;
    });
}

HRESULT CCADMult::CheckParts(LONG*, BSTR**, BSTR**, BSTR**)
{
    return guarded(u"Com Error while SaveToTarsis", [] { return S_OK; });
}

HRESULT CCADMult::CheckPart(BSTR bstrJob, BSTR bstrGroup, BSTR bstrMark)
{
    // The system's own text names GetMultSectionAndDescription here: keep it so.
    return guarded(u"Com Error while GetMultSectionAndDescription", [&] {
        const ComPtrT<ITarsisMultWriter> writer = queryWriter();
        return invokeTarsis(writer, tarsis_mult_writer::CheckPart,
                            {argBstr(bstrJob), argBstr(bstrGroup), argBstr(bstrMark)}) == 0
                   ? S_OK
                   : S_FALSE;
    });
}

// A quantity the database cannot hold is refused before anything is sent.
HRESULT CCADMult::SaveToTarsis()
{
    return guarded(u"Com Error while SaveToTarsis", [this] {
        if (const auto refusal = quantityRefusal(JobId, Group, Mark, Quantity))
            return Error(refusal->c_str(), IID_ICADMult, DISP_E_OVERFLOW);
        saveToTarsis();
        return S_OK;
    });
}

// The mark is cut to its first nine characters and the grade emptied, and
// the mult keeps both changes.
void CCADMult::saveToTarsis()
{
    MultWriter = nullptr;
    MultWriter.CreateInstance(CLSID_TarsisMultWriter, nullptr, CLSCTX_LOCAL_SERVER);
    if (Mark.Length() > kMaxMarkLength)
        Mark = CComBSTR(static_cast<int>(kMaxMarkLength), Mark.m_str);
    Grade = u"";

    CComBSTR empty(u"");
    checkTarsisResult(invokeTarsis(MultWriter, CreateMult,
                                   {argBstr(JobId), argBstr(Group), argBstr(Mark), argI2(1),
                                    argI2(static_cast<SHORT>(Quantity)), argR8(Length), argR8(Kerf),
                                    argBstr(Section), argBstr(SectionDescription), argBstr(Grade),
                                    argBstr(Machine), argBstr(empty), argBstr(empty),
                                    argI2(static_cast<SHORT>(MeasuringSystem))}));

    auto* pos = MultParts.GetHeadPosition();
    while (pos) {
        CMultPart* piece = MultParts.GetNext(pos);
        checkTarsisResult(invokeTarsis(MultWriter, AddMultPart,
                                       {argBstr(piece->Job), argBstr(piece->Group),
                                        argBstr(piece->Mark), argI4(piece->Quantity)}));
    }

    checkTarsisResult(invokeTarsis(MultWriter, SaveMult, {}));
}
