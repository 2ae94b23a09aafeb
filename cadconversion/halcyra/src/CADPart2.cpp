// CCADPart2: properties, operation and stencil setters, the release of
// records.
#include "CADPart2.h"

#include "BstrProperty.h"
#include "NarrowText.h"
#include "OwnedRecords.h"

#include "halcyra/Rounding.h"

#include <new>

CCADPart2::CCADPart2()
    : JobId(u""), Group(u""), Mark(u""), Section(u""), SectionDescription(u""), Grade(u"")
{
}

void CCADPart2::FinalRelease()
{
    PartWriter = nullptr;
    deleteRecords(WebOperations);
    deleteRecords(TopFlangeOperations);
    deleteRecords(BottomFlangeOperations);
    deleteRecords(WebStencils);
    deleteRecords(TopFlangeStencils);
    deleteRecords(BottomFlangeStencils);
}

HRESULT CCADPart2::get_JobId(BSTR* pVal) { return getBstrProperty(JobId, pVal); }
HRESULT CCADPart2::put_JobId(BSTR newVal) { return putBstrProperty(JobId, newVal); }
HRESULT CCADPart2::get_Group(BSTR* pVal) { return getBstrProperty(Group, pVal); }
HRESULT CCADPart2::put_Group(BSTR newVal) { return putBstrProperty(Group, newVal); }
HRESULT CCADPart2::get_Mark(BSTR* pVal) { return getBstrProperty(Mark, pVal); }
HRESULT CCADPart2::put_Mark(BSTR newVal) { return putBstrProperty(Mark, newVal); }
HRESULT CCADPart2::get_Section(BSTR* pVal) { return getBstrProperty(Section, pVal); }
HRESULT CCADPart2::put_Section(BSTR newVal) { return putBstrProperty(Section, newVal); }
HRESULT CCADPart2::get_SectionDescription(BSTR* pVal) { return getBstrProperty(SectionDescription, pVal); }
HRESULT CCADPart2::put_SectionDescription(BSTR newVal) { return putBstrProperty(SectionDescription, newVal); }
HRESULT CCADPart2::get_Grade(BSTR* pVal) { return getBstrProperty(Grade, pVal); }
HRESULT CCADPart2::put_Grade(BSTR newVal) { return putBstrProperty(Grade, newVal); }

HRESULT CCADPart2::get_Quantity(LONG* pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = Quantity;
    return S_OK;
}

HRESULT CCADPart2::put_Quantity(LONG newVal)
{
    Quantity = newVal;
    return S_OK;
}

HRESULT CCADPart2::get_Length(double* pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = Length;
    return S_OK;
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
                                char cPatternType, double dRise, double dRun, double dX,
                                double dU, LONG nNumX, double dXInc, LONG nNumU, double dUInc,
                                char cOperationType, char cFrontBack, double dToolSize1,
                                double dToolSize2, BSTR bstrToolType, LONG nToolOrientation,
                                LONG nToolMeasuringSystem)
{
    try {
        RoundToSixtyFourth(dX);
        appendRecord(list, std::make_unique<CToolOperationWithRefPlane>(
                               dStartX, dStartU, cDirectionX, cDirectionU, cPatternType, dRise,
                               dRun, dX, dU, nNumX, dXInc, nNumU, dUInc, cOperationType,
                               cFrontBack, dToolSize1, dToolSize2, bstrToolType,
                               nToolOrientation, nToolMeasuringSystem));
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
#define CADPART2_PARAMS(charType)                                                              \
    double sx, double su, charType dx, charType du, unsigned char pt, double rise, double run, \
        double x, double u, LONG nx, double xi, LONG nu, double ui, charType op, charType fb,   \
        double s1, double s2, BSTR type, LONG orientation
#define CADPART2_ARGS                                                                          \
    sx, su, static_cast<char>(dx), static_cast<char>(du), static_cast<char>(pt), rise, run, x, \
        u, nx, xi, nu, ui, static_cast<char>(op), static_cast<char>(fb), s1, s2, type,         \
        orientation

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

HRESULT CCADPart2::SetWebStencil(double x, double u, BSTR text) { return addStencil(WebStencils, x, u, text); }
HRESULT CCADPart2::SetTFStencil(double x, double u, BSTR text) { return addStencil(TopFlangeStencils, x, u, text); }
HRESULT CCADPart2::SetBFStencil(double x, double u, BSTR text) { return addStencil(BottomFlangeStencils, x, u, text); }
