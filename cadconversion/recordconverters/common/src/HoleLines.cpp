// RecordReader: the hole lines behind a record. A line is X, U and a code,
// and for stencils and tool slots one more token:
//
//   code     part call            U passed   tool from
//   1        SetWebHole           U          slot 1 (web)
//   2 to 5   SetTF/BF Near/Far    U / 2      slots 2 to 5
//   6        SetWebMark           U
//   7 to 10  SetTF/BF Near/Far    U / 2
//            Mark
//   11       SetWebHiddenMark     U
//   12, 14   SetTF/BFNearFarHole  U          slot 2 (TF near), slot 4 (BF near)
//   17, 19   SetTF/BFNearFarMark  U
//   20 to 22 SetWeb/TF/BFStencil  U                    (text: the extra token)
//   30 to 34 no call: slot (code - 29) becomes size 1 = X, size 2 = U, the
//            extra token as shape
//
// U is measured across the whole face; a hole or mark on one side of a
// flange gets half of it. The extra tokens are used as read.
#include "recordconverters/RecordReader.h"

#include "recordconverters/RecordStrings.h"

#include "com/ComBstr.h"
#include "vlmrexcept/CvmException.h"

namespace {

bool hasExtraToken(int nUnit)
{
    return (nUnit >= 20 && nUnit <= 22) || (nUnit >= 30 && nUnit <= 34);
}

} // namespace

HRESULT RecordReader::ConvertHoleLines()
{
    try {
        for (int i = 0; i < m_nNumHoleLines; ++i) {
            const double dXPos = readDouble();
            const double dUPos = readDouble();
            const int nUnit = readInteger();
            CString extra;
            if (hasExtraToken(nUnit))
                extra = readText();
            if (!convertHoleLine(dXPos, dUPos, nUnit, extra))
                return E_CONVERT_BAD_CODE;
        }
    } catch (CUnexpectedEOF& error) {
        error.ConcatToMessage(
            loadRecordString(IDS_RECORD_CONVERT_HOLES, "Error In IVelmora ConvertHoleLines") +
            "\r\n");
        throw;
    } catch (CNumericConversionException& error) {
        error.ConcatToMessage(
            loadRecordString(IDS_RECORD_CONVERT_HOLES, "Error In IVelmora ConvertHoleLines") +
            "\r\n");
        throw;
    }
    return S_OK;
}

bool RecordReader::convertHoleLine(double dXPos, double dUPos, int nUnit, const CString& extra)
{
    const double dHalfU = dUPos / 2.0;
    switch (nUnit) {
    case 1:
        putHole(&ICADPart::SetWebHole, dXPos, dUPos, m_WebTool);
        return true;
    case 2:
        putHole(&ICADPart::SetTFNearHole, dXPos, dHalfU, m_TFNearTool);
        return true;
    case 3:
        putHole(&ICADPart::SetTFFarHole, dXPos, dHalfU, m_TFFarTool);
        return true;
    case 4:
        putHole(&ICADPart::SetBFNearHole, dXPos, dHalfU, m_BFNearTool);
        return true;
    case 5:
        putHole(&ICADPart::SetBFFarHole, dXPos, dHalfU, m_BFFarTool);
        return true;
    case 6:
        check(m_pPart->SetWebMark(dXPos, dUPos));
        return true;
    case 7:
        check(m_pPart->SetTFNearMark(dXPos, dHalfU));
        return true;
    case 8:
        check(m_pPart->SetTFFarMark(dXPos, dHalfU));
        return true;
    case 9:
        check(m_pPart->SetBFNearMark(dXPos, dHalfU));
        return true;
    case 10:
        check(m_pPart->SetBFFarMark(dXPos, dHalfU));
        return true;
    case 11:
        check(m_pPart->SetWebHiddenMark(dXPos, dUPos));
        return true;
    case 12:
        putHole(&ICADPart::SetTFNearFarHole, dXPos, dUPos, m_TFNearTool);
        return true;
    case 14:
        putHole(&ICADPart::SetBFNearFarHole, dXPos, dUPos, m_BFNearTool);
        return true;
    case 17:
        check(m_pPart->SetTFNearFarMark(dXPos, dUPos));
        return true;
    case 19:
        check(m_pPart->SetBFNearFarMark(dXPos, dUPos));
        return true;
    case 20:
        putStencil(&ICADPart::SetWebStencil, dXPos, dUPos, extra);
        return true;
    case 21:
        putStencil(&ICADPart::SetTFStencil, dXPos, dUPos, extra);
        return true;
    case 22:
        putStencil(&ICADPart::SetBFStencil, dXPos, dUPos, extra);
        return true;
    case 30:
    case 31:
    case 32:
    case 33:
    case 34: {
        CTool* slots[] = {&m_WebTool, &m_TFNearTool, &m_TFFarTool, &m_BFNearTool, &m_BFFarTool};
        slots[nUnit - 30]->Set(dXPos, dUPos, extra);
        return true;
    }
    default:
        return false;
    }
}

// Every hole is made with the tool's sizes and shape, orientation 0, and
// the part's measuring system (the forms without one).
void RecordReader::putHole(HRESULT (ICADPart::*set)(double, double, double, double, BSTR, INT),
                           double dXPos, double dUPos, const CTool& tool)
{
    const CComBSTR shape(tool.GetShape());
    check(((*m_pPart).*set)(dXPos, dUPos, tool.GetSize1(), tool.GetSize2(), shape, 0));
}

void RecordReader::putStencil(HRESULT (ICADPart::*set)(double, double, BSTR), double dXPos,
                              double dUPos, const CString& text)
{
    CComBSTR stencil;
    stencil.Attach(text.AllocSysString());
    check(((*m_pPart).*set)(dXPos, dUPos, stencil));
}
