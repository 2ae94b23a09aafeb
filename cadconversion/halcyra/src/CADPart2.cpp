// CCADPart2: properties, operation and stencil setters, the release of
// records and SaveToTarsis (the shape check, then per face a default plane
// and, for every operation, its own plane and the operation as a pattern).
#include "CADPart2.h"

#include "NarrowText.h"
#include "OwnedRecords.h"
#include "PartSave.h"
#include "Properties.h"
#include "RefPlane.h"
#include "SectionName.h"
#include "TarsisCall.h"

#include "halcyra/Rounding.h"

#include "com/Bstr.h"

#include <new>

using namespace tarsis_part_writer;

HRESULT CCADPart2::SaveToTarsis()
{
    return savePart<CCADPart2>(IID_ICADPart2,
                               "\r\n\tAdd the Shape thru Tarsis and reconvert the part", *m_session,
                               JobId, Group, Mark, Quantity, [this] { saveToTarsis(); });
}

// A null Section counts as the empty string.
void CCADPart2::saveToTarsis()
{
    PartWriter = nullptr;
    PartWriter = m_session->partWriter();
    double dDepth = 0, dWebThickness = 0, dBreathOfFlange = 0, dFlangeThickness = 0, dSFG = 0,
           dWeightPerFoot = 0;
    const ComPtrT<ITarsisShapeServer> shapeServer = m_session->shapeServer();

    if (!sectionIs(Section, u"PL")) {
        CComBSTR combstrFormal;
        const LONG result = invokeTarsis(
            shapeServer, tarsis_shape_server::LookupShape,
            {argBstr(Section), argBstr(SectionDescription), argR8Out(&dDepth),
             argR8Out(&dWebThickness), argR8Out(&dBreathOfFlange), argR8Out(&dFlangeThickness),
             argR8Out(&dSFG), argR8Out(&dWeightPerFoot), argBstrOut(&combstrFormal.m_str)});
        checkTarsisResult(result); // a database failure, not an unknown shape
        if (result == 1 || !combstrFormal) {
            CUndefinedShapeException e;
            e.SetMessage(("Job " + narrowFromBstr(JobId) + " Group " + narrowFromBstr(Group) +
                          " Mark " + narrowFromBstr(Mark) + " has an undefined shape " +
                          narrowFromBstr(Section) + ":" + narrowFromBstr(SectionDescription))
                             .c_str());
            throw e;
        }
    }

    CComBSTR empty(u"");
    checkTarsisResult(invokeTarsis(PartWriter, CreatePart,
                                   {argBstr(JobId), argBstr(Group), argBstr(Mark),
                                    argI2(static_cast<SHORT>(Quantity)), argR8(Length),
                                    argBstr(Section), argBstr(SectionDescription), argBstr(Grade),
                                    argBstr(empty), argI4(0), argBstr(empty), argBstr(empty),
                                    argI2(static_cast<SHORT>(MeasuringSystem)), argI2(1)}));

    CRefPlane refPlane;
    sendOperations(refPlane, Face::Web, WebOperations);
    sendOperations(refPlane, Face::TopFlange, TopFlangeOperations);
    sendOperations(refPlane, Face::BottomFlange, BottomFlangeOperations);

    // No plane for stencils: the writer keeps the last one.
    sendStencils(WebStencils, AddWebStencil);
    sendStencils(TopFlangeStencils, AddTFStencil);
    sendStencils(BottomFlangeStencils, AddBFStencil);

    checkTarsisResult(invokeTarsis(PartWriter, SavePart, {}));
}

void CCADPart2::sendOperations(CRefPlane& refPlane, Face face,
                               CListTmplt<CToolOperationWithRefPlane>& operations)
{
    if (operations.IsEmpty())
        return;
    refPlane.SetRefPlane(PartWriter, 0, 0, 0, 0, '+', '+', 'A');
    auto* pos = operations.GetHeadPosition();
    while (pos) {
        CToolOperationWithRefPlane* operation = operations.GetNext(pos);
        operation->NormaliseToolSizes(MeasuringSystem);
        // Sent for every record, also one that is then skipped.
        refPlane.SetRefPlane(PartWriter, operation->GetStartX(), operation->GetStartU(),
                             operation->GetRise(), operation->GetRun(), operation->GetDirectionX(),
                             operation->GetDirectionU(), operation->GetPatternType());
        sendOperation(face, *operation);
    }
}

// The operation as a pattern: first position, steps and counts. Which call
// it becomes depends on the face, the web side, the section and the kind;
// the hidden marks and the bottom flange's calls go unchecked.
void CCADPart2::sendOperation(Face face, CToolOperationWithRefPlane& operation)
{
    const bool hole = operation.GetOperationType() == 'H';
    const bool metricTool = operation.ToolMeasuringSystem == kMeasuringSystemMetric;
    DISPID dispid = 0;
    bool checked = true;
    switch (face) {
    case Face::Web:
        if (operation.GetFrontBack() == 'F') {
            dispid = hole ? (metricTool ? AddWebHoleEx : AddWebHole) : AddWebMark;
        } else if (operation.GetFrontBack() == 'B') {
            const bool tube = sectionIs(Section, u"TS") || sectionIs(Section, u"ST");
            if (tube && hole) {
                dispid = metricTool ? AddWeb2HoleEx : AddWeb2Hole;
            } else {
                dispid = AddWebHiddenMark; // a hole's tool data is dropped
                checked = false;
            }
        } else {
            return;
        }
        break;
    case Face::TopFlange:
        dispid = hole ? (metricTool ? AddTFNearHoleEx : AddTFNearHole) : AddTFNearMark;
        break;
    case Face::BottomFlange:
        dispid = hole ? (metricTool ? AddBFNearHoleEx : AddBFNearHole) : AddBFNearMark;
        checked = false;
        break;
    }

    // A mark takes the first six, a hole ten, its Ex form eleven.
    const bool sendsTool = hole && dispid != AddWebHiddenMark;
    const VARIANT args[] = {argR8(operation.GetX()),
                            argR8(operation.GetU()),
                            argR8(operation.GetXInc()),
                            argR8(operation.GetUInc()),
                            argI2(static_cast<SHORT>(operation.GetNumX())),
                            argI2(static_cast<SHORT>(operation.GetNumU())),
                            argR8(operation.GetToolSize1()),
                            argR8(operation.GetToolSize2()),
                            argBstr(operation.GetToolType()),
                            argI2(static_cast<SHORT>(operation.GetToolOrientation())),
                            argI2(static_cast<SHORT>(operation.ToolMeasuringSystem))};
    const std::size_t count = !sendsTool ? 6 : metricTool ? 11 : 10;
    const LONG result = invokeTarsis(PartWriter, dispid, std::span(args, count));
    if (checked)
        checkTarsisResult(result);
}

void CCADPart2::sendStencils(CListTmplt<CStencilOperation>& stencils, DISPID stencil)
{
    auto* pos = stencils.GetHeadPosition();
    while (pos) {
        CStencilOperation* record = stencils.GetNext(pos);
        checkTarsisResult(invokeTarsis(
            PartWriter, stencil, {argR8(record->X), argR8(record->U), argBstr(record->Text)}));
    }
}

CCADPart2::CCADPart2()
    : JobId(u""), Group(u""), Mark(u""), Section(u""), SectionDescription(u""), Grade(u"")
{
}

void CCADPart2::FinalRelease()
{
    PartWriter = nullptr;
    m_session.reset();
    deleteRecords(WebOperations);
    deleteRecords(TopFlangeOperations);
    deleteRecords(BottomFlangeOperations);
    deleteRecords(WebStencils);
    deleteRecords(TopFlangeStencils);
    deleteRecords(BottomFlangeStencils);
}

HRESULT CCADPart2::get_JobId(BSTR* pVal)
{
    return getBstrProperty(JobId, pVal);
}
HRESULT CCADPart2::put_JobId(BSTR newVal)
{
    return putBstrProperty(JobId, newVal);
}
HRESULT CCADPart2::get_Group(BSTR* pVal)
{
    return getBstrProperty(Group, pVal);
}
HRESULT CCADPart2::put_Group(BSTR newVal)
{
    return putBstrProperty(Group, newVal);
}
HRESULT CCADPart2::get_Mark(BSTR* pVal)
{
    return getBstrProperty(Mark, pVal);
}
HRESULT CCADPart2::put_Mark(BSTR newVal)
{
    return putBstrProperty(Mark, newVal);
}
HRESULT CCADPart2::get_Section(BSTR* pVal)
{
    return getBstrProperty(Section, pVal);
}
HRESULT CCADPart2::put_Section(BSTR newVal)
{
    return putBstrProperty(Section, newVal);
}
HRESULT CCADPart2::get_SectionDescription(BSTR* pVal)
{
    return getBstrProperty(SectionDescription, pVal);
}
HRESULT CCADPart2::put_SectionDescription(BSTR newVal)
{
    return putBstrProperty(SectionDescription, newVal);
}
HRESULT CCADPart2::get_Grade(BSTR* pVal)
{
    return getBstrProperty(Grade, pVal);
}
HRESULT CCADPart2::put_Grade(BSTR newVal)
{
    return putBstrProperty(Grade, newVal);
}

HRESULT CCADPart2::get_Quantity(LONG* pVal)
{
    return getNumberProperty(Quantity, pVal);
}

HRESULT CCADPart2::put_Quantity(LONG newVal)
{
    Quantity = newVal;
    return S_OK;
}

HRESULT CCADPart2::get_Length(double* pVal)
{
    return getNumberProperty(Length, pVal);
}

HRESULT CCADPart2::put_Length(double newVal)
{
    Length = newVal;
    return S_OK;
}

HRESULT CCADPart2::SetMetric(INT bTrue)
{
    MeasuringSystem = bTrue ? kMeasuringSystemMetric : kMeasuringSystemInch;
    return S_OK;
}

// Out of memory is answered with E_OUTOFMEMORY; nothing is appended then.
HRESULT CCADPart2::addOperation(CListTmplt<CToolOperationWithRefPlane>& list, double dStartX,
                                double dStartU, char cDirectionX, char cDirectionU,
                                char cPatternType, double dRise, double dRun, double dX, double dU,
                                LONG nNumX, double dXInc, LONG nNumU, double dUInc,
                                char cOperationType, char cFrontBack, double dToolSize1,
                                double dToolSize2, BSTR bstrToolType, LONG nToolOrientation,
                                LONG nToolMeasuringSystem)
{
    try {
        RoundToSixtyFourth(dX);
        appendRecord(list,
                     std::make_unique<CToolOperationWithRefPlane>(
                         dStartX, dStartU, cDirectionX, cDirectionU, cPatternType, dRise, dRun, dX,
                         dU, nNumX, dXInc, nNumU, dUInc, cOperationType, cFrontBack, dToolSize1,
                         dToolSize2, bstrToolType, nToolOrientation, nToolMeasuringSystem));
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CCADPart2::addStencil(CListTmplt<CStencilOperation>& list, double dXPosition,
                              double dUPosition, BSTR bstrText)
{
    try {
        const NarrowText text(bstrText);
        appendRecord(list, std::make_unique<CStencilOperation>(dXPosition, dUPosition, text.get()));
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

// The nineteen operation parameters; the characters are kept as they come,
// signed or unsigned, as 8 bits.
#define CADPART2_PARAMS(charType)                                                                  \
    double sx, double su, charType dx, charType du, unsigned char pt, double rise, double run,     \
        double x, double u, LONG nx, double xi, LONG nu, double ui, charType op, charType fb,      \
        double s1, double s2, BSTR type, LONG orientation
#define CADPART2_ARGS                                                                              \
    sx, su, static_cast<char>(dx), static_cast<char>(du), static_cast<char>(pt), rise, run, x, u,  \
        nx, xi, nu, ui, static_cast<char>(op), static_cast<char>(fb), s1, s2, type, orientation

HRESULT CCADPart2::SetWebOperation(CADPART2_PARAMS(unsigned char))
{
    return addOperation(WebOperations, CADPART2_ARGS, kMeasuringSystemInch);
}
HRESULT CCADPart2::SetTopFlangeOperation(CADPART2_PARAMS(signed char))
{
    return addOperation(TopFlangeOperations, CADPART2_ARGS, kMeasuringSystemInch);
}
HRESULT CCADPart2::SetBottomFlangeOperation(CADPART2_PARAMS(signed char))
{
    return addOperation(BottomFlangeOperations, CADPART2_ARGS, kMeasuringSystemInch);
}
HRESULT CCADPart2::SetWebOperationEx(CADPART2_PARAMS(unsigned char), LONG ms)
{
    return addOperation(WebOperations, CADPART2_ARGS, ms);
}
HRESULT CCADPart2::SetTopFlangeOperationEx(CADPART2_PARAMS(signed char), LONG ms)
{
    return addOperation(TopFlangeOperations, CADPART2_ARGS, ms);
}
HRESULT CCADPart2::SetBottomFlangeOperationEx(CADPART2_PARAMS(signed char), LONG ms)
{
    return addOperation(BottomFlangeOperations, CADPART2_ARGS, ms);
}

HRESULT CCADPart2::SetWebStencil(double x, double u, BSTR text)
{
    return addStencil(WebStencils, x, u, text);
}
HRESULT CCADPart2::SetTFStencil(double x, double u, BSTR text)
{
    return addStencil(TopFlangeStencils, x, u, text);
}
HRESULT CCADPart2::SetBFStencil(double x, double u, BSTR text)
{
    return addStencil(BottomFlangeStencils, x, u, text);
}
