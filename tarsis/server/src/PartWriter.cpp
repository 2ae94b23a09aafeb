// TarsisPartWriter; see PartWriter.h.
#include "PartWriter.h"

#include <utility>

namespace tarsis {
namespace {

Operation hole(Face face, double x, double u, double xInc, double uInc, SHORT numX, SHORT numU,
               double size1, double size2, BSTR shape, SHORT orientation)
{
    Operation op;
    op.kind = OperationKind::Hole;
    op.face = face;
    op.x = x;
    op.u = u;
    op.xInc = xInc;
    op.uInc = uInc;
    op.numX = numX;
    op.numU = numU;
    op.toolSize1 = size1;
    op.toolSize2 = size2;
    op.toolShape = textOf(shape);
    op.orientation = orientation;
    return op;
}

} // namespace

HRESULT CTarsisPartWriter::CreatePart(BSTR bstrJob, BSTR bstrGroup, BSTR bstrMark, SHORT nQuantity,
                                      double dLength, BSTR bstrSection, BSTR bstrDescription,
                                      BSTR bstrGrade, BSTR bstrText1, LONG nNumber, BSTR bstrText2,
                                      BSTR bstrText3, SHORT nMeasuringSystem, SHORT nPartKind,
                                      LONG* pnResult)
{
    if (!pnResult)
        return E_POINTER;
    m_pending.reset(); // an unsaved part is dropped
    *pnResult = guardedResult(CLSID_TarsisPartWriter, IID_ITarsisPartWriter, [&]() -> LONG {
        PartRecord part;
        PartHeader& h = part.header;
        h.key = {textOf(bstrJob), textOf(bstrGroup), textOf(bstrMark)};
        h.quantity = nQuantity;
        h.length = dLength;
        h.shape = {textOf(bstrSection), textOf(bstrDescription)};
        h.grade = textOf(bstrGrade);
        h.text1 = textOf(bstrText1);
        h.number = nNumber;
        h.text2 = textOf(bstrText2);
        h.text3 = textOf(bstrText3);
        h.measuringSystem = nMeasuringSystem;
        h.partKind = nPartKind;
        m_pending = std::move(part);
        return S_OK;
    });
    return S_OK;
}

HRESULT CTarsisPartWriter::SetRefPlane(double dStartX, double dStartU, double dRise, double dRun,
                                       BSTR bstrDirectionX, BSTR bstrDirectionU, BSTR bstrPattern,
                                       LONG* pnResult)
{
    return addEntry(RefPlane{dStartX, dStartU, dRise, dRun, textOf(bstrDirectionX),
                             textOf(bstrDirectionU), textOf(bstrPattern)},
                    pnResult);
}

template <Face face>
HRESULT CTarsisPartWriter::AddHole(double dX, double dU, double dXInc, double dUInc, SHORT nNumX,
                                   SHORT nNumU, double dToolSize1, double dToolSize2,
                                   BSTR bstrShape, SHORT nOrientation, LONG* pnResult)
{
    return addEntry(hole(face, dX, dU, dXInc, dUInc, nNumX, nNumU, dToolSize1, dToolSize2,
                         bstrShape, nOrientation),
                    pnResult);
}

template <Face face>
HRESULT CTarsisPartWriter::AddHoleEx(double dX, double dU, double dXInc, double dUInc, SHORT nNumX,
                                     SHORT nNumU, double dToolSize1, double dToolSize2,
                                     BSTR bstrShape, SHORT nOrientation, SHORT nToolMeasuringSystem,
                                     LONG* pnResult)
{
    Operation op = hole(face, dX, dU, dXInc, dUInc, nNumX, nNumU, dToolSize1, dToolSize2, bstrShape,
                        nOrientation);
    op.toolMeasuringSystem = nToolMeasuringSystem;
    return addEntry(std::move(op), pnResult);
}

template <Face face, OperationKind kind>
HRESULT CTarsisPartWriter::AddMark(double dX, double dU, double dXInc, double dUInc, SHORT nNumX,
                                   SHORT nNumU, LONG* pnResult)
{
    Operation op;
    op.kind = kind;
    op.face = face;
    op.x = dX;
    op.u = dU;
    op.xInc = dXInc;
    op.uInc = dUInc;
    op.numX = nNumX;
    op.numU = nNumU;
    return addEntry(std::move(op), pnResult);
}

template <Face face>
HRESULT CTarsisPartWriter::AddStencil(double dX, double dU, BSTR bstrText, LONG* pnResult)
{
    Operation op;
    op.kind = OperationKind::Stencil;
    op.face = face;
    op.x = dX;
    op.u = dU;
    op.text = textOf(bstrText);
    return addEntry(std::move(op), pnResult);
}

HRESULT CTarsisPartWriter::addEntry(PartEntry entry, LONG* pnResult)
{
    if (!pnResult)
        return E_POINTER;
    *pnResult = guardedResult(CLSID_TarsisPartWriter, IID_ITarsisPartWriter, [&]() -> LONG {
        if (!m_pending)
            return failureResult(CLSID_TarsisPartWriter, IID_ITarsisPartWriter, E_UNEXPECTED,
                                 "No part is open: CreatePart comes first");
        m_pending->entries.push_back(std::move(entry));
        return S_OK;
    });
    return S_OK;
}

HRESULT CTarsisPartWriter::SavePart(LONG* pnResult)
{
    if (!pnResult)
        return E_POINTER;
    *pnResult = guardedResult(CLSID_TarsisPartWriter, IID_ITarsisPartWriter, [&]() -> LONG {
        if (!m_pending)
            return failureResult(CLSID_TarsisPartWriter, IID_ITarsisPartWriter, E_UNEXPECTED,
                                 "No part is open: CreatePart comes first");
        m_store.write([&](TarsisStore& store) { store.savePart(*m_pending); });
        m_pending.reset(); // kept after a failure, so that the save can be tried again
        return S_OK;
    });
    return S_OK;
}

comserver::InterfaceDesc partWriterInterface()
{
    using namespace comserver;
    using W = CTarsisPartWriter;
    static const char* const hole[] = {"dX",        "dU",           "dXInc",      "dUInc",
                                       "nNumX",     "nNumU",        "dToolSize1", "dToolSize2",
                                       "bstrShape", "nOrientation", "pnResult"};
    static const char* const holeEx[] = {"dX",
                                         "dU",
                                         "dXInc",
                                         "dUInc",
                                         "nNumX",
                                         "nNumU",
                                         "dToolSize1",
                                         "dToolSize2",
                                         "bstrShape",
                                         "nOrientation",
                                         "nToolMeasuringSystem",
                                         "pnResult"};
    static const char* const mark[] = {"dX", "dU", "dXInc", "dUInc", "nNumX", "nNumU", "pnResult"};
    static const char* const stencil[] = {"dX", "dU", "bstrText", "pnResult"};
    namespace d = partwriter;
    return dispInterface<W>(
        IID_ITarsisPartWriter, "ITarsisPartWriter", "Tarsis part writer",
        {
            dispMethod<&W::CreatePart>(d::CreatePart, "CreatePart",
                                       {"bstrJob", "bstrGroup", "bstrMark", "nQuantity", "dLength",
                                        "bstrSection", "bstrDescription", "bstrGrade", "bstrText1",
                                        "nNumber", "bstrText2", "bstrText3", "nMeasuringSystem",
                                        "nPartKind", "pnResult"},
                                       retval),
            dispMethod<&W::SetRefPlane>(d::SetRefPlane, "SetRefPlane",
                                        {"dStartX", "dStartU", "dRise", "dRun", "bstrDirectionX",
                                         "bstrDirectionU", "bstrPattern", "pnResult"},
                                        retval),
            dispMethod<&W::AddHole<Face::Web>>(d::AddWebHole, "AddWebHole", hole, retval),
            dispMethod<&W::AddHole<Face::TFNear>>(d::AddTFNearHole, "AddTFNearHole", hole, retval),
            dispMethod<&W::AddHole<Face::TFFar>>(d::AddTFFarHole, "AddTFFarHole", hole, retval),
            dispMethod<&W::AddHole<Face::TFNearFar>>(d::AddTFNearFarHole, "AddTFNearFarHole", hole,
                                                     retval),
            dispMethod<&W::AddHole<Face::BFNear>>(d::AddBFNearHole, "AddBFNearHole", hole, retval),
            dispMethod<&W::AddHole<Face::BFFar>>(d::AddBFFarHole, "AddBFFarHole", hole, retval),
            dispMethod<&W::AddHole<Face::BFNearFar>>(d::AddBFNearFarHole, "AddBFNearFarHole", hole,
                                                     retval),
            dispMethod<&W::AddHole<Face::Web2>>(d::AddWeb2Hole, "AddWeb2Hole", hole, retval),
            dispMethod<&W::AddHoleEx<Face::Web>>(d::AddWebHoleEx, "AddWebHoleEx", holeEx, retval),
            dispMethod<&W::AddHoleEx<Face::TFNear>>(d::AddTFNearHoleEx, "AddTFNearHoleEx", holeEx,
                                                    retval),
            dispMethod<&W::AddHoleEx<Face::TFFar>>(d::AddTFFarHoleEx, "AddTFFarHoleEx", holeEx,
                                                   retval),
            dispMethod<&W::AddHoleEx<Face::TFNearFar>>(d::AddTFNearFarHoleEx, "AddTFNearFarHoleEx",
                                                       holeEx, retval),
            dispMethod<&W::AddHoleEx<Face::BFNear>>(d::AddBFNearHoleEx, "AddBFNearHoleEx", holeEx,
                                                    retval),
            dispMethod<&W::AddHoleEx<Face::BFFar>>(d::AddBFFarHoleEx, "AddBFFarHoleEx", holeEx,
                                                   retval),
            dispMethod<&W::AddHoleEx<Face::BFNearFar>>(d::AddBFNearFarHoleEx, "AddBFNearFarHoleEx",
                                                       holeEx, retval),
            dispMethod<&W::AddHoleEx<Face::Web2>>(d::AddWeb2HoleEx, "AddWeb2HoleEx", holeEx,
                                                  retval),
            dispMethod<&W::AddMark<Face::Web, OperationKind::Mark>>(d::AddWebMark, "AddWebMark",
                                                                    mark, retval),
            dispMethod<&W::AddMark<Face::TFNear, OperationKind::Mark>>(
                d::AddTFNearMark, "AddTFNearMark", mark, retval),
            dispMethod<&W::AddMark<Face::TFFar, OperationKind::Mark>>(d::AddTFFarMark,
                                                                      "AddTFFarMark", mark, retval),
            dispMethod<&W::AddMark<Face::TFNearFar, OperationKind::Mark>>(
                d::AddTFNearFarMark, "AddTFNearFarMark", mark, retval),
            dispMethod<&W::AddMark<Face::BFNear, OperationKind::Mark>>(
                d::AddBFNearMark, "AddBFNearMark", mark, retval),
            dispMethod<&W::AddMark<Face::BFFar, OperationKind::Mark>>(d::AddBFFarMark,
                                                                      "AddBFFarMark", mark, retval),
            dispMethod<&W::AddMark<Face::BFNearFar, OperationKind::Mark>>(
                d::AddBFNearFarMark, "AddBFNearFarMark", mark, retval),
            dispMethod<&W::AddMark<Face::Web, OperationKind::HiddenMark>>(
                d::AddWebHiddenMark, "AddWebHiddenMark", mark, retval),
            dispMethod<&W::AddStencil<Face::Web>>(d::AddWebStencil, "AddWebStencil", stencil,
                                                  retval),
            dispMethod<&W::AddStencil<Face::TF>>(d::AddTFStencil, "AddTFStencil", stencil, retval),
            dispMethod<&W::AddStencil<Face::BF>>(d::AddBFStencil, "AddBFStencil", stencil, retval),
            dispMethod<&W::SavePart>(d::SavePart, "SavePart", {"pnResult"}, retval),
        });
}

} // namespace tarsis
