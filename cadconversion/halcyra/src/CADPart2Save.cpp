// CCADPart2::SaveToTarsis: the shape check, then per face a default plane
// and, for every operation, its own plane and the operation as a pattern.
#include "CADPart2.h"

#include "BstrText.h"
#include "RefPlane.h"
#include "SaveGuard.h"
#include "TarsisCall.h"

#include <vector>

using namespace tarsis_part_writer;

HRESULT CCADPart2::SaveToTarsis()
{
    return guardedSave<CCADPart2>(IID_ICADPart2, u"Com Error while SaveToTarsis",
                                  "\r\n\tAdd the Shape thru Tarsis and reconvert the part",
                                  [this] {
                                      saveToTarsis();
                                      return S_OK;
                                  });
}

// A null Section counts as the empty string.
void CCADPart2::saveToTarsis()
{
    PartWriter = nullptr;
    PartWriter.CreateInstance(CLSID_TarsisPartWriter, nullptr, CLSCTX_LOCAL_SERVER);
    double dDepth = 0, dWebThickness = 0, dBreathOfFlange = 0, dFlangeThickness = 0, dSFG = 0,
           dWeightPerFoot = 0;
    ComPtrT<ITarsisShapeServer> shapeServer;
    shapeServer.CreateInstance(CLSID_TarsisShapeServer, nullptr, kShapeServerContext);

    if (!(Section == u"PL")) {
        CComBSTR combstrFormal;
        const LONG result = invokeTarsis(
            shapeServer, tarsis_shape_server::LookupShape,
            {argBstr(Section), argBstr(SectionDescription), argR8Out(&dDepth),
             argR8Out(&dWebThickness), argR8Out(&dBreathOfFlange), argR8Out(&dFlangeThickness),
             argR8Out(&dSFG), argR8Out(&dWeightPerFoot), argBstrOut(&combstrFormal.m_str)});
        if (result == 1 || !combstrFormal) {
            CUndefinedShapeException e;
            e.SetMessage(("Job " + narrowText(JobId) + " Group " + narrowText(Group) + " Mark " +
                          narrowText(Mark) + " has an undefined shape " + narrowText(Section) +
                          ":" + narrowText(SectionDescription))
                             .c_str());
            throw e;
        }
    }

    CComBSTR empty(u"");
    checkTarsisResult(invokeTarsis(
        PartWriter, CreatePart,
        {argBstr(JobId), argBstr(Group), argBstr(Mark), argI2(static_cast<SHORT>(Quantity)),
         argR8(Length), argBstr(Section), argBstr(SectionDescription), argBstr(Grade),
         argBstr(empty), argI4(0), argBstr(empty), argBstr(empty),
         argI2(static_cast<SHORT>(MeasuringSystem)), argI2(1)}));

    sendOperations(Face::Web, WebOperations);
    sendOperations(Face::TopFlange, TopFlangeOperations);
    sendOperations(Face::BottomFlange, BottomFlangeOperations);

    // No plane for stencils: the writer keeps the last one.
    sendStencils(WebStencils, AddWebStencil);
    sendStencils(TopFlangeStencils, AddTFStencil);
    sendStencils(BottomFlangeStencils, AddBFStencil);

    checkTarsisResult(invokeTarsis(PartWriter, SavePart, {}));
}

void CCADPart2::sendOperations(Face face, CListTmplt<CToolOperationWithRefPlane>& operations)
{
    if (operations.IsEmpty())
        return;
    CRefPlane refPlane;
    refPlane.SetRefPlane(PartWriter, 0, 0, 0, 0, '+', '+', 'A');
    auto* pos = operations.GetHeadPosition();
    while (pos) {
        CToolOperationWithRefPlane* operation = operations.GetNext(pos);
        operation->NormaliseToolSizes(MeasuringSystem);
        // Sent for every record, also one that is then skipped.
        refPlane.SetRefPlane(PartWriter, operation->GetStartX(), operation->GetStartU(),
                             operation->GetRise(), operation->GetRun(),
                             operation->GetDirectionX(), operation->GetDirectionU(),
                             operation->GetPatternType());
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
            const bool tube = Section == u"TS" || Section == u"ST";
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

    const bool sendsTool = hole && dispid != AddWebHiddenMark;
    std::vector<VARIANT> args = {argR8(operation.GetX()),
                                 argR8(operation.GetU()),
                                 argR8(operation.GetXInc()),
                                 argR8(operation.GetUInc()),
                                 argI2(static_cast<SHORT>(operation.GetNumX())),
                                 argI2(static_cast<SHORT>(operation.GetNumU()))};
    if (sendsTool) {
        args.push_back(argR8(operation.GetToolSize1()));
        args.push_back(argR8(operation.GetToolSize2()));
        args.push_back(argBstr(operation.GetToolType()));
        args.push_back(argI2(static_cast<SHORT>(operation.GetToolOrientation())));
        if (metricTool)
            args.push_back(argI2(static_cast<SHORT>(operation.ToolMeasuringSystem)));
    }
    const LONG result = invokeTarsis(PartWriter, dispid, args);
    if (checked)
        checkTarsisResult(result);
}

void CCADPart2::sendStencils(CListTmplt<CStencilOperation>& stencils, DISPID stencil)
{
    auto* pos = stencils.GetHeadPosition();
    while (pos) {
        CStencilOperation* record = stencils.GetNext(pos);
        checkTarsisResult(invokeTarsis(PartWriter, stencil,
                                       {argR8(record->X), argR8(record->U), argBstr(record->Text)}));
    }
}
