// TarsisMultWriter; see MultWriter.h.
#include "MultWriter.h"

#include <utility>

namespace tarsis {
namespace {

constexpr const char* kNoMult = "No mult is open: CreateMult comes first";

PartKey keyOf(BSTR job, BSTR group, BSTR mark)
{
    return {textOf(job), textOf(group), textOf(mark)};
}

} // namespace

HRESULT CTarsisMultWriter::CreateMult(BSTR bstrJob, BSTR bstrGroup, BSTR bstrMark, SHORT nNumber,
                                      SHORT nQuantity, double dLength, double dKerf,
                                      BSTR bstrSection, BSTR bstrDescription, BSTR bstrGrade,
                                      BSTR bstrMachine, BSTR bstrText1, BSTR bstrText2,
                                      SHORT nMeasuringSystem, LONG* pnResult)
{
    if (!pnResult)
        return E_POINTER;
    m_pending.reset(); // an unsaved mult is dropped
    *pnResult = guardedResult(CLSID_TarsisMultWriter, IID_ITarsisMultWriter, [&]() -> LONG {
        MultRecord mult;
        MultHeader& h = mult.header;
        h.key = keyOf(bstrJob, bstrGroup, bstrMark);
        h.number = nNumber;
        h.quantity = nQuantity;
        h.length = dLength;
        h.kerf = dKerf;
        h.shape = {textOf(bstrSection), textOf(bstrDescription)};
        h.grade = textOf(bstrGrade);
        h.machine = textOf(bstrMachine);
        h.text1 = textOf(bstrText1);
        h.text2 = textOf(bstrText2);
        h.measuringSystem = nMeasuringSystem;
        m_pending = std::move(mult);
        return S_OK;
    });
    return S_OK;
}

HRESULT CTarsisMultWriter::AddMultPart(BSTR bstrJob, BSTR bstrGroup, BSTR bstrMark, LONG nQuantity,
                                       LONG* pnResult)
{
    if (!pnResult)
        return E_POINTER;
    *pnResult = guardedResult(CLSID_TarsisMultWriter, IID_ITarsisMultWriter, [&]() -> LONG {
        if (!m_pending)
            return failureResult(CLSID_TarsisMultWriter, IID_ITarsisMultWriter, E_UNEXPECTED,
                                 kNoMult);
        m_pending->pieces.push_back({keyOf(bstrJob, bstrGroup, bstrMark), nQuantity});
        return S_OK;
    });
    return S_OK;
}

HRESULT CTarsisMultWriter::SaveMult(LONG* pnResult)
{
    if (!pnResult)
        return E_POINTER;
    *pnResult = guardedResult(CLSID_TarsisMultWriter, IID_ITarsisMultWriter, [&]() -> LONG {
        if (!m_pending)
            return failureResult(CLSID_TarsisMultWriter, IID_ITarsisMultWriter, E_UNEXPECTED,
                                 kNoMult);
        m_store.write([&](TarsisStore& store) { store.saveMult(*m_pending); });
        m_pending.reset();
        return S_OK;
    });
    return S_OK;
}

HRESULT CTarsisMultWriter::GetMultSectionAndDescription(BSTR bstrJob, BSTR bstrGroup, BSTR bstrMark,
                                                        BSTR* pbstrSection, BSTR* pbstrDescription,
                                                        LONG* pnResult)
{
    if (!pbstrSection || !pbstrDescription || !pnResult)
        return E_POINTER;
    if (HRESULT hr = putText(pbstrSection, ""); FAILED(hr))
        return hr;
    if (HRESULT hr = putText(pbstrDescription, ""); FAILED(hr))
        return hr;
    *pnResult = guardedResult(CLSID_TarsisMultWriter, IID_ITarsisMultWriter, [&]() -> LONG {
        PartKey key = keyOf(bstrJob, bstrGroup, bstrMark);
        auto shape = m_store.read([&](TarsisStore& store) { return store.findPartShape(key); });
        if (!shape)
            return S_FALSE;
        if (HRESULT hr = putText(pbstrSection, shape->section); FAILED(hr))
            return hr;
        return putText(pbstrDescription, shape->description);
    });
    return S_OK;
}

HRESULT CTarsisMultWriter::CheckMachine(BSTR bstrMachine, LONG* pnResult)
{
    if (!pnResult)
        return E_POINTER;
    *pnResult = guardedResult(CLSID_TarsisMultWriter, IID_ITarsisMultWriter, [&]() -> LONG {
        std::string machine = textOf(bstrMachine);
        return m_store.read([&](TarsisStore& store) { return store.machineExists(machine); })
                   ? S_OK
                   : S_FALSE;
    });
    return S_OK;
}

HRESULT CTarsisMultWriter::CheckPart(BSTR bstrJob, BSTR bstrGroup, BSTR bstrMark, LONG* pnResult)
{
    if (!pnResult)
        return E_POINTER;
    *pnResult = guardedResult(CLSID_TarsisMultWriter, IID_ITarsisMultWriter, [&]() -> LONG {
        PartKey key = keyOf(bstrJob, bstrGroup, bstrMark);
        return m_store.read(
                   [&](TarsisStore& store) { return store.findPartShape(key).has_value(); })
                   ? S_OK
                   : S_FALSE;
    });
    return S_OK;
}

comserver::InterfaceDesc multWriterInterface()
{
    using namespace comserver;
    using M = CTarsisMultWriter;
    namespace d = multwriter;
    return dispInterface<M>(
        IID_ITarsisMultWriter, "ITarsisMultWriter", "Tarsis mult writer",
        {
            dispMethod<&M::CreateMult>(d::CreateMult, "CreateMult",
                                       {"bstrJob", "bstrGroup", "bstrMark", "nNumber", "nQuantity",
                                        "dLength", "dKerf", "bstrSection", "bstrDescription",
                                        "bstrGrade", "bstrMachine", "bstrText1", "bstrText2",
                                        "nMeasuringSystem", "pnResult"},
                                       retval),
            dispMethod<&M::SaveMult>(d::SaveMult, "SaveMult", {"pnResult"}, retval),
            dispMethod<&M::AddMultPart>(
                d::AddMultPart, "AddMultPart",
                {"bstrJob", "bstrGroup", "bstrMark", "nQuantity", "pnResult"}, retval),
            dispMethod<&M::GetMultSectionAndDescription>(
                d::GetMultSectionAndDescription, "GetMultSectionAndDescription",
                {"bstrJob", "bstrGroup", "bstrMark", "pbstrSection", "pbstrDescription",
                 "pnResult"},
                retval),
            dispMethod<&M::CheckMachine>(d::CheckMachine, "CheckMachine",
                                         {"bstrMachine", "pnResult"}, retval),
            dispMethod<&M::CheckPart>(d::CheckPart, "CheckPart",
                                      {"bstrJob", "bstrGroup", "bstrMark", "pnResult"}, retval),
        });
}

} // namespace tarsis
