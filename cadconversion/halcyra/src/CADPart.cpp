// CCADPart: properties, setters, error reports, the release of records and
// SaveToTarsis (the shape check, the sides the section allows, a reference
// plane per side and every operation sent to the part writer).
#include "CADPart.h"

#include "ErrorText.h"
#include "NarrowText.h"
#include "OwnedRecords.h"
#include "PartSave.h"
#include "RefPlane.h"
#include "SectionName.h"
#include "TarsisCall.h"

#include "com/Bstr.h"

#include <new>

using namespace tarsis_part_writer;

namespace {

enum class Side { TFNear, TFFar, TFNearFar, BFNear, BFFar, BFNearFar };

struct Plane {
    double y;
    char sign;
    char letter;
};

// The plane of a flange side; w3 is the flange width of the shape lookup in
// the part's measuring system.
Plane planeOf(Side side, BSTR section, double w3)
{
    const bool ts = sectionIs(section, u"TS");
    switch (side) {
    case Side::TFNear:
        if (sectionIs(section, u"L"))
            return {0, '+', 'A'};
        return ts ? Plane{0, '-', 'B'} : Plane{w3 / 2, '-', 'A'};
    case Side::TFFar:
    case Side::BFFar:
        if (sectionIs(section, u"C") || sectionIs(section, u"MC"))
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
    e.SetMessage((std::string(side) + narrowFromBstr(section)).c_str());
    throw e;
}

} // namespace

HRESULT CCADPart::SaveToTarsis()
{
    return savePart<CCADPart>(IID_ICADPart, "\r\nAdd the Shape thru Tarsis and reconvert the part",
                              *m_session, JobId, Group, Mark, Quantity, [this] { saveToTarsis(); });
}

// A Section that was never set counts as the empty string. The shape
// server answers in inches; the flange planes are placed in the part's
// measuring system.
void CCADPart::saveToTarsis()
{
    PartWriter = nullptr;
    PartWriter = m_session->partWriter();
    const ComPtrT<ITarsisShapeServer> shapeServer = m_session->shapeServer();

    double w3 = 0;
    if (!sectionIs(Section, u"PL")) {
        double numbers[6] = {0, 0, 0, 0, 0, 0};
        BSTR formal = nullptr;
        const LONG result =
            invokeTarsis(shapeServer, tarsis_shape_server::LookupShape,
                         {argBstr(Section), argBstr(SectionDescription), argR8Out(&numbers[0]),
                          argR8Out(&numbers[1]), argR8Out(&numbers[2]), argR8Out(&numbers[3]),
                          argR8Out(&numbers[4]), argR8Out(&numbers[5]), argBstrOut(&formal)});
        SysFreeString(formal);
        checkTarsisResult(result); // a database failure, not an unknown shape
        if (result == 1) {
            CUndefinedShapeException e;
            e.SetMessage(("Job " + narrowFromBstr(JobId) + " Group " + narrowFromBstr(Group) +
                          " Mark " + narrowFromBstr(Mark) + " has an undefined shape " +
                          narrowFromBstr(Section) + ":" + narrowFromBstr(SectionDescription))
                             .c_str());
            throw e;
        }
        w3 = numbers[2];
        if (MeasuringSystem == kMeasuringSystemMetric)
            w3 *= kMillimetresPerInch;
    }

    CComBSTR empty(u"");
    checkTarsisResult(invokeTarsis(PartWriter, CreatePart,
                                   {argBstr(JobId), argBstr(Group), argBstr(Mark),
                                    argI2(static_cast<SHORT>(Quantity)), argR8(Length),
                                    argBstr(Section), argBstr(SectionDescription), argBstr(empty),
                                    argBstr(empty), argI4(0), argBstr(empty), argBstr(empty),
                                    argI2(static_cast<SHORT>(MeasuringSystem)), argI2(0)}));

    bool refuseTFNear = false, refuseTFFar = false, refuseBFNear = false, refuseBFFar = false;
    if (sectionIs(Section, u"C") || sectionIs(Section, u"MC")) {
        refuseTFNear = refuseBFNear = true;
    } else if (sectionIs(Section, u"L")) {
        refuseTFFar = refuseBFNear = refuseBFFar = true;
    } else if (sectionIs(Section, u"FB") || sectionIs(Section, u"PL")) {
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
        {Side::TFFar, TFFarHoles, TFFarMarks, refuseTFFar, "TF Far not allowed on ", AddTFFarHole,
         AddTFFarHoleEx, AddTFFarMark},
        {Side::TFNearFar, TFNearFarHoles, TFNearFarMarks, refuseTFNear || refuseTFFar,
         "TF Near/Far not allowed on ", AddTFNearFarHole, AddTFNearFarHoleEx, AddTFNearFarMark},
        {Side::BFNear, BFNearHoles, BFNearMarks, refuseBFNear, "BF Near not allowed on ",
         AddBFNearHole, AddBFNearHoleEx, AddBFNearMark},
        {Side::BFFar, BFFarHoles, BFFarMarks, refuseBFFar, "BF Far not allowed on ", AddBFFarHole,
         AddBFFarHoleEx, AddBFFarMark},
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
        const VARIANT args[] = {argR8(tool->X),
                                argR8(tool->U),
                                argR8(0),
                                argR8(0),
                                argI2(1),
                                argI2(1),
                                argR8(tool->ToolSize1),
                                argR8(tool->ToolSize2),
                                argBstr(tool->ToolShape),
                                argI2(tool->Orientation),
                                argI2(kMeasuringSystemMetric)};
        // The plain call takes the first ten.
        checkTarsisResult(invokeTarsis(PartWriter, metricTool ? ex : plain,
                                       std::span(args, metricTool ? 11 : 10)));
    }
}

void CCADPart::sendMarks(CListTmplt<CMarkOperation>& marks, DISPID mark)
{
    auto* pos = marks.GetHeadPosition();
    while (pos) {
        CMarkOperation* record = marks.GetNext(pos);
        checkTarsisResult(invokeTarsis(
            PartWriter, mark,
            {argR8(record->X), argR8(record->U), argR8(0), argR8(0), argI2(1), argI2(1)}));
    }
}

void CCADPart::sendStencils(CListTmplt<CStencilOperation>& stencils, DISPID stencil)
{
    auto* pos = stencils.GetHeadPosition();
    while (pos) {
        CStencilOperation* record = stencils.GetNext(pos);
        checkTarsisResult(invokeTarsis(
            PartWriter, stencil, {argR8(record->X), argR8(record->U), argBstr(record->Text)}));
    }
}

void CCADPart::FinalRelease()
{
    PartWriter = nullptr;
    m_session.reset();
    deleteRecords(WebHoles);
    deleteRecords(Web2Holes);
    deleteRecords(WebMarks);
    deleteRecords(WebHiddenMarks);
    deleteRecords(TFNearHoles);
    deleteRecords(TFNearMarks);
    deleteRecords(TFFarHoles);
    deleteRecords(TFFarMarks);
    deleteRecords(TFNearFarHoles);
    deleteRecords(TFNearFarMarks);
    deleteRecords(BFNearHoles);
    deleteRecords(BFNearMarks);
    deleteRecords(BFFarHoles);
    deleteRecords(BFFarMarks);
    deleteRecords(BFNearFarHoles);
    deleteRecords(BFNearFarMarks);
    deleteRecords(WebStencils);
    deleteRecords(TFStencils);
    deleteRecords(BFStencils);
}

HRESULT CCADPart::reportComError(const _com_error& error, ErrorText text)
{
    return Error(comErrorText(error, text.nID, text.pszFallback).c_str(), IID_ICADPart,
                 error.Error());
}

// The out-parameter is written only once the copy exists; an empty field
// gives a null string. A null out-pointer is refused.
HRESULT CCADPart::getString(const CComBSTR& field, BSTR* pbstrVal, ErrorText text)
{
    if (!pbstrVal)
        return E_POINTER;
    try {
        BSTR copy = field.Copy();
        if (field.m_str && !copy)
            _com_issue_error(E_OUTOFMEMORY);
        *pbstrVal = copy;
        return S_OK;
    } catch (const _com_error& e) {
        return reportComError(e, text);
    }
}

// The held string goes first, so a failed copy leaves the field empty.
// The field's own string (never handed out) would change nothing.
HRESULT CCADPart::putString(CComBSTR& field, BSTR newVal, ErrorText text)
{
    if (newVal && newVal == field.m_str)
        return S_OK;
    try {
        field.Empty();
        field = static_cast<LPCOLESTR>(newVal);
        return S_OK;
    } catch (const _com_error& e) {
        return reportComError(e, text);
    }
}

// A record or node that cannot be allocated is not a COM error: it is
// answered with E_OUTOFMEMORY and no report.
HRESULT CCADPart::addHole(CListTmplt<CToolOperation>& list, ErrorText text, double dXPosition,
                          double dUPosition, double dToolSize1, double dToolSize2,
                          BSTR bstrToolShape, INT nOrientation, INT nMeasuringSystem)
{
    try {
        const NarrowText shape(bstrToolShape);
        appendRecord(list, std::make_unique<CToolOperation>(dXPosition, dUPosition, dToolSize1,
                                                            dToolSize2, shape.get(), nOrientation,
                                                            nMeasuringSystem));
        return S_OK;
    } catch (const _com_error& e) {
        return reportComError(e, text);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CCADPart::addMark(CListTmplt<CMarkOperation>& list, ErrorText text, double dXPosition,
                          double dUPosition)
{
    try {
        appendRecord(list, std::make_unique<CMarkOperation>(dXPosition, dUPosition));
        return S_OK;
    } catch (const _com_error& e) {
        return reportComError(e, text);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CCADPart::addStencil(CListTmplt<CStencilOperation>& list, ErrorText text, double dXPosition,
                             double dUPosition, BSTR bstrText)
{
    try {
        const NarrowText narrow(bstrText);
        appendRecord(list,
                     std::make_unique<CStencilOperation>(dXPosition, dUPosition, narrow.get()));
        return S_OK;
    } catch (const _com_error& e) {
        return reportComError(e, text);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

// ---- Properties ------------------------------------------------------------

HRESULT CCADPart::get_JobId(BSTR* p)
{
    return getString(JobId, p, {IDS_GET_JOBID, u"Com Error while get_JobId"});
}
HRESULT CCADPart::put_JobId(BSTR v)
{
    // The system's own text ("JobID"): keep it so.
    return putString(JobId, v, {IDS_PUT_JOBID, u"Com Error while put_JobID"});
}
HRESULT CCADPart::get_Group(BSTR* p)
{
    return getString(Group, p, {IDS_GET_GROUP, u"Com Error while get_Group"});
}
HRESULT CCADPart::put_Group(BSTR v)
{
    return putString(Group, v, {IDS_PUT_GROUP, u"Com Error while put_Group"});
}
HRESULT CCADPart::get_Mark(BSTR* p)
{
    // The system's own text ("get_MARK"): keep it so.
    return getString(Mark, p, {IDS_GET_MARK, u"Com Error while get_MARK"});
}
HRESULT CCADPart::put_Mark(BSTR v)
{
    // The system's own text ("put_MARK"): keep it so.
    return putString(Mark, v, {IDS_PUT_MARK, u"Com Error while put_MARK"});
}
HRESULT CCADPart::get_Section(BSTR* p)
{
    return getString(Section, p, {IDS_GET_SECTION, u"Com Error while get_Section"});
}
HRESULT CCADPart::put_Section(BSTR v)
{
    return putString(Section, v, {IDS_PUT_SECTION, u"Com Error while put_Section"});
}
HRESULT CCADPart::get_SectionDescription(BSTR* p)
{
    return getString(SectionDescription, p,
                     {IDS_GET_SECTIONDESCRIPTION, u"Com Error while get_SectionDescription"});
}
HRESULT CCADPart::put_SectionDescription(BSTR v)
{
    return putString(SectionDescription, v,
                     {IDS_PUT_SECTIONDESCRIPTION, u"Com Error while put_SectionDescription"});
}
HRESULT CCADPart::put_Grade(BSTR v)
{
    return putString(Grade, v, {IDS_PUT_GRADE, u"Com Error while put_Grade"});
}
HRESULT CCADPart::put_RemarksA(BSTR v)
{
    // The system's own text ("puit_RemarksA"): keep it so.
    return putString(RemarksA, v, {IDS_PUT_REMARKSA, u"Com Error while puit_RemarksA"});
}
HRESULT CCADPart::put_RemarksB(BSTR v)
{
    return putString(RemarksB, v, {IDS_PUT_REMARKSB, u"Com Error while put_RemarksB"});
}

HRESULT CCADPart::put_Quantity(LONG newVal)
{
    Quantity = newVal;
    return S_OK;
}

HRESULT CCADPart::put_Length(double newVal)
{
    Length = newVal;
    return S_OK;
}

HRESULT CCADPart::SetMetric(INT bTrue)
{
    MeasuringSystem = bTrue ? kMeasuringSystemMetric : kMeasuringSystemInch;
    return S_OK;
}

HRESULT CCADPart::put_MeasuringSystem(SHORT newVal)
{
    MeasuringSystem = newVal;
    return S_OK;
}

// ---- Holes -------------------------------------------------------------------

#define CADPART_HOLE(method, list, id, fallback)                                                   \
    HRESULT CCADPart::method(double x, double u, double s1, double s2, BSTR shape, INT o)          \
    {                                                                                              \
        return addHole(list, {id, fallback}, x, u, s1, s2, shape, o, kMeasuringSystemInch);        \
    }
#define CADPART_HOLE_EX(method, list, id, fallback)                                                \
    HRESULT CCADPart::method(double x, double u, double s1, double s2, BSTR shape, INT o, INT m)   \
    {                                                                                              \
        return addHole(list, {id, fallback}, x, u, s1, s2, shape, o, m);                           \
    }

CADPART_HOLE(SetWebHole, WebHoles, IDS_SETWEBHOLE, u"Com Error while SetWebHole")
CADPART_HOLE(SetWeb2Hole, Web2Holes, IDS_SETWEBHOLE, u"Com Error while SetWebHole")
CADPART_HOLE(SetTFNearHole, TFNearHoles, IDS_SETTFNEARHOLE, u"Com Error while SetTFNearHole")
CADPART_HOLE(SetTFFarHole, TFFarHoles, IDS_SETTFFARHOLE, u"Com Error while SetTFFarHole")
CADPART_HOLE(SetTFNearFarHole, TFNearFarHoles, IDS_SETTFNEARFARHOLE,
             u"Com Error while SetTFNearFarHole")
CADPART_HOLE(SetBFNearHole, BFNearHoles, IDS_SETBFNEARHOLE, u"Com Error while SetBFNearHole")
CADPART_HOLE(SetBFFarHole, BFFarHoles, IDS_SETBFFARHOLE, u"Com Error while SetBFFarHole")
CADPART_HOLE(SetBFNearFarHole, BFNearFarHoles, IDS_SETBFNEARFARHOLE,
             u"Com Error while SetBFNearFarHole")
CADPART_HOLE_EX(SetWebHoleEx, WebHoles, IDS_SETWEBHOLE, u"Com Error while SetWebHole")
CADPART_HOLE_EX(SetWeb2HoleEx, Web2Holes, IDS_SETWEBHOLE, u"Com Error while SetWebHole")
CADPART_HOLE_EX(SetTFNearHoleEx, TFNearHoles, IDS_SETTFNEARHOLE, u"Com Error while SetTFNearHoleEx")
CADPART_HOLE_EX(SetTFFarHoleEx, TFFarHoles, IDS_SETTFFARHOLE, u"Com Error while SetTFFarHoleEx")
CADPART_HOLE_EX(SetTFNearFarHoleEx, TFNearFarHoles, IDS_SETTFNEARFARHOLE,
                u"Com Error while SetTFNearFarHoleEx")
CADPART_HOLE_EX(SetBFNearHoleEx, BFNearHoles, IDS_SETBFNEARHOLE, u"Com Error while SetBFNearHole")
CADPART_HOLE_EX(SetBFFarHoleEx, BFFarHoles, IDS_SETBFFARHOLE, u"Com Error while SetBFFarHole")
CADPART_HOLE_EX(SetBFNearFarHoleEx, BFNearFarHoles, IDS_SETBFNEARFARHOLE,
                u"Com Error while SetBFNearFarHole")

// ---- Marks and stencils ----------------------------------------------------------

#define CADPART_MARK(method, list, id, fallback)                                                   \
    HRESULT CCADPart::method(double x, double u)                                                   \
    {                                                                                              \
        return addMark(list, {id, fallback}, x, u);                                                \
    }
#define CADPART_STENCIL(method, list, id, fallback)                                                \
    HRESULT CCADPart::method(double x, double u, BSTR text)                                        \
    {                                                                                              \
        return addStencil(list, {id, fallback}, x, u, text);                                       \
    }

CADPART_MARK(SetWebMark, WebMarks, IDS_SETWEBMARK, u"Com Error while SetWebMark")
CADPART_MARK(SetWebHiddenMark, WebHiddenMarks, IDS_SETWEBHIDDENMARK,
             u"Com Error while SetWebHiddenMark")
CADPART_MARK(SetTFNearMark, TFNearMarks, IDS_SETTFNEARMARK, u"Com Error while SetTFNearMark")
CADPART_MARK(SetTFFarMark, TFFarMarks, IDS_SETTFFARMARK, u"Com Error while SetTFFarMark")
CADPART_MARK(SetTFNearFarMark, TFNearFarMarks, IDS_SETTFNEARFARMARK,
             u"Com Error while SetTFNearFarMark")
CADPART_MARK(SetBFNearMark, BFNearMarks, IDS_SETBFNEARMARK, u"Com Error while SetBFNearMark")
CADPART_MARK(SetBFFarMark, BFFarMarks, IDS_SETBFFARMARK, u"Com Error while SetBFFarMark")
// The system's own text ("SetBFNEarFarMark"): keep it so.
CADPART_MARK(SetBFNearFarMark, BFNearFarMarks, IDS_SETBFNEARFARMARK,
             u"Com Error while SetBFNEarFarMark")
CADPART_STENCIL(SetWebStencil, WebStencils, IDS_SETWEBSTENCIL, u"Com Error while SetWebStencil")
CADPART_STENCIL(SetTFStencil, TFStencils, IDS_SETTFSTENCIL, u"Com Error while SetTFStencil")
CADPART_STENCIL(SetBFStencil, BFStencils, IDS_SETBFSTENCIL, u"Com Error while SetBFStencil")
