// CCADPart::SaveToTarsis: the shape check, the sides the section allows,
// a reference plane per side and every operation sent to the part writer.
#include "CADPart.h"

#include "BstrText.h"
#include "RefPlane.h"
#include "SaveGuard.h"
#include "TarsisCall.h"

#include <vector>

using namespace tarsis_part_writer;

namespace {

enum class Side { TFNear, TFFar, TFNearFar, BFNear, BFFar, BFNearFar };

struct Plane {
    double y;
    char sign;
    char letter;
};

// The plane of a flange side; w3 is the third number of the shape lookup.
Plane planeOf(Side side, const CComBSTR& section, double w3)
{
    const bool ts = section == u"TS";
    switch (side) {
    case Side::TFNear:
        if (section == u"L")
            return {0, '+', 'A'};
        return ts ? Plane{0, '-', 'B'} : Plane{w3 / 2, '-', 'A'};
    case Side::TFFar:
    case Side::BFFar:
        if (section == u"C" || section == u"MC")
            return {0, '+', 'A'};
        return ts ? Plane{0, '-', 'B'} : Plane{w3 / 2, '-', 'B'};
    case Side::BFNear:
        return ts ? Plane{0, '-', 'B'} : Plane{w3 / 2, '-', 'A'};
    case Side::TFNearFar:
    case Side::BFNearFar:
        break;
    }
    return {w3 / 2, '-', 'C'};
}

[[noreturn]] void throwIllegalUnit(const char* side, const CComBSTR& section)
{
    CIllegalUnitException e;
    e.SetMessage((std::string(side) + narrowText(section)).c_str());
    throw e;
}

} // namespace

HRESULT CCADPart::SaveToTarsis()
{
    return guardedSave<CCADPart>(IID_ICADPart, u"Com Error while SaveToTarsis",
                                 "\r\nAdd the Shape thru Tarsis and reconvert the part", [this] {
                                     saveToTarsis();
                                     return S_OK;
                                 });
}

// A Section that was never set counts as the empty string.
void CCADPart::saveToTarsis()
{
    PartWriter = nullptr;
    PartWriter.CreateInstance(CLSID_TarsisPartWriter, nullptr, CLSCTX_LOCAL_SERVER);
    ComPtrT<ITarsisShapeServer> shapeServer;
    shapeServer.CreateInstance(CLSID_TarsisShapeServer, nullptr, kShapeServerContext);

    double w3 = 0;
    if (!(Section == u"PL")) {
        double numbers[6] = {0, 0, 0, 0, 0, 0};
        BSTR formal = nullptr;
        const LONG result =
            invokeTarsis(shapeServer, tarsis_shape_server::LookupShape,
                         {argBstr(Section), argBstr(SectionDescription), argR8Out(&numbers[0]),
                          argR8Out(&numbers[1]), argR8Out(&numbers[2]), argR8Out(&numbers[3]),
                          argR8Out(&numbers[4]), argR8Out(&numbers[5]), argBstrOut(&formal)});
        SysFreeString(formal);
        if (result == 1) {
            CUndefinedShapeException e;
            e.SetMessage(("Job " + narrowText(JobId) + " Group " + narrowText(Group) + " Mark " +
                          narrowText(Mark) + " has an undefined shape " + narrowText(Section) +
                          ":" + narrowText(SectionDescription))
                             .c_str());
            throw e;
        }
        w3 = numbers[2];
    }

    CComBSTR empty(u"");
    checkTarsisResult(invokeTarsis(
        PartWriter, CreatePart,
        {argBstr(JobId), argBstr(Group), argBstr(Mark), argI2(static_cast<SHORT>(Quantity)),
         argR8(Length), argBstr(Section), argBstr(SectionDescription), argBstr(empty),
         argBstr(empty), argI4(0), argBstr(empty), argBstr(empty),
         argI2(static_cast<SHORT>(MeasuringSystem)), argI2(0)}));

    bool refuseTFNear = false, refuseTFFar = false, refuseBFNear = false, refuseBFFar = false;
    if (Section == u"C" || Section == u"MC") {
        refuseTFNear = refuseBFNear = true;
    } else if (Section == u"L") {
        refuseTFFar = refuseBFNear = refuseBFFar = true;
    } else if (Section == u"FB" || Section == u"PL") {
        refuseTFNear = refuseTFFar = refuseBFNear = refuseBFFar = true;
    }

    CRefPlane refPlane;
    if (!WebHoles.IsEmpty() || !WebMarks.IsEmpty() || !WebHiddenMarks.IsEmpty() ||
        !Web2Holes.IsEmpty()) {
        refPlane.SetRefPlane(PartWriter, 0, 0, 0, 0, '+', '+', 'A');
        sendHoles(WebHoles, AddWebHole, AddWebHoleEx);
        sendHoles(Web2Holes, AddWeb2Hole, AddWeb2HoleEx);
        sendMarks(WebMarks, AddWebMark);
        sendMarks(WebHiddenMarks, AddWebHiddenMark);
    }

    struct FlangeSide {
        Side side;
        CListTmplt<CToolOperation>& holes;
        CListTmplt<CMarkOperation>& marks;
        bool refused;
        const char* refusal;
        DISPID hole, holeEx, mark;
    };
    const FlangeSide sides[] = {
        {Side::TFNear, TFNearHoles, TFNearMarks, refuseTFNear, "TF Near not allowed on ",
         AddTFNearHole, AddTFNearHoleEx, AddTFNearMark},
        {Side::TFFar, TFFarHoles, TFFarMarks, refuseTFFar, "TF Far not allowed on ",
         AddTFFarHole, AddTFFarHoleEx, AddTFFarMark},
        {Side::TFNearFar, TFNearFarHoles, TFNearFarMarks, refuseTFNear || refuseTFFar,
         "TF Near/Far not allowed on ", AddTFNearFarHole, AddTFNearFarHoleEx, AddTFNearFarMark},
        {Side::BFNear, BFNearHoles, BFNearMarks, refuseBFNear, "BF Near not allowed on ",
         AddBFNearHole, AddBFNearHoleEx, AddBFNearMark},
        {Side::BFFar, BFFarHoles, BFFarMarks, refuseBFFar, "BF Far not allowed on ",
         AddBFFarHole, AddBFFarHoleEx, AddBFFarMark},
        {Side::BFNearFar, BFNearFarHoles, BFNearFarMarks, refuseBFNear || refuseBFFar,
         "BF Near/Far not allowed on ", AddBFNearFarHole, AddBFNearFarHoleEx, AddBFNearFarMark},
    };
    for (const FlangeSide& side : sides) {
        if (side.holes.IsEmpty() && side.marks.IsEmpty())
            continue;
        if (side.refused)
            throwIllegalUnit(side.refusal, Section);
        const Plane plane = planeOf(side.side, Section, w3);
        refPlane.SetRefPlane(PartWriter, 0, plane.y, 0, 0, '+', plane.sign, plane.letter);
        sendHoles(side.holes, side.hole, side.holeEx);
        sendMarks(side.marks, side.mark);
    }

    sendStencils(WebStencils, AddWebStencil);
    sendStencils(TFStencils, AddTFStencil);
    sendStencils(BFStencils, AddBFStencil);

    checkTarsisResult(invokeTarsis(PartWriter, SavePart, {}));
}

// Each tool is normalised in place first, so a later save sends the same
// values. A metric tool goes with the Ex call, whatever the part's system.
void CCADPart::sendHoles(CListTmplt<CToolOperation>& holes, DISPID plain, DISPID ex)
{
    auto* pos = holes.GetHeadPosition();
    while (pos) {
        CToolOperation* tool = holes.GetNext(pos);
        tool->Normalise(MeasuringSystem);
        const bool metricTool = tool->MeasuringSystem == kMeasuringSystemMetric;
        std::vector<VARIANT> args = {argR8(tool->X),         argR8(tool->U),
                                     argR8(0),               argR8(0),
                                     argI2(1),               argI2(1),
                                     argR8(tool->ToolSize1), argR8(tool->ToolSize2),
                                     argBstr(tool->ToolShape), argI2(tool->Orientation)};
        if (metricTool)
            args.push_back(argI2(kMeasuringSystemMetric));
        checkTarsisResult(invokeTarsis(PartWriter, metricTool ? ex : plain, args));
    }
}

void CCADPart::sendMarks(CListTmplt<CMarkOperation>& marks, DISPID mark)
{
    auto* pos = marks.GetHeadPosition();
    while (pos) {
        CMarkOperation* record = marks.GetNext(pos);
        checkTarsisResult(invokeTarsis(PartWriter, mark,
                                       {argR8(record->X), argR8(record->U), argR8(0), argR8(0),
                                        argI2(1), argI2(1)}));
    }
}

void CCADPart::sendStencils(CListTmplt<CStencilOperation>& stencils, DISPID stencil)
{
    auto* pos = stencils.GetHeadPosition();
    while (pos) {
        CStencilOperation* record = stencils.GetNext(pos);
        checkTarsisResult(invokeTarsis(PartWriter, stencil,
                                       {argR8(record->X), argR8(record->U), argBstr(record->Text)}));
    }
}
