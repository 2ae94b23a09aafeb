// ConvertHoleLines: the hole lines of a machine part file, each one hole or
// mark on the part. The three line forms are read apart; placing a line on
// a face and side is the same for every version but for the profile
// families of MachineFileVersion.
//
// A line's face code names the web, the bottom or the top flange (10, 20,
// 30; 1, 2, 3 in version 1.0). Its tool code is 0 for a mark, else the tool
// number (times 10 with a mirror digit, but for version 1.0); the tool
// table holds tools 1 to 3, each for the web, the bottom and the top
// flange. Flange positions come across the whole flange and are measured
// from its middle for W sections (h is half the flange width).
#include "MachineFileReader.h"

#include "HoleLineCodes.h"
#include "TobrennStrings.h"

#include "com/ComBstr.h"
#include "vlmrexcept/CvmException.h"

#include <string>
#include <string_view>

namespace {

enum class Family { WideFlange, Channel, Angle, None };

constexpr int kToolTableSize = 9;

Family familyOf(const CString& section, const SectionNames& channel, const SectionNames& angle)
{
    if (kWideFlangeNames.contains(section))
        return Family::WideFlange;
    if (channel.contains(section))
        return Family::Channel;
    if (angle.contains(section))
        return Family::Angle;
    return Family::None;
}

std::string_view viewOf(const CString& text)
{
    return {text, static_cast<std::size_t>(text.GetLength())};
}

// A hole line's text for a message: in double quotes, control characters
// (a NUL among them would cut the message) shown as '?', at most 60
// characters and then "...".
CString quoted(const CString& text)
{
    constexpr int kShown = 60;
    CString shown = text.Left(kShown);
    std::string bytes(shown, static_cast<std::size_t>(shown.GetLength()));
    for (char& c : bytes)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    return "\"" + CString(bytes.data(), static_cast<int>(bytes.size())) + "\"" +
           (text.GetLength() > kShown ? "..." : "");
}

// Copies a reading exception with the hole lines' note added to its text.
template <class Exception>
[[noreturn]] void rethrowWithNote(const Exception& error)
{
    Exception again(error);
    // The system's own fallback ("IVelmora ConvertHoleLines"): keep it so.
    again.ConcatToMessage(
        loadTobrennString(IDS_CONVERT_HOLES, "Error In IVelmora ConvertHoleLines") + "\r\n");
    throw again;
}

} // namespace

HRESULT MachineFileReader::ConvertHoleLines()
{
    try {
        for (; m_nHoleLines > 0; --m_nHoleLines) {
            HoleLine line;
            if (!readHoleLine(&line))
                continue;
            const HRESULT hr = placeHoleLine(line);
            if (FAILED(hr))
                return hr;
        }
        return S_OK;
    } catch (const CUnexpectedEOF& error) {
        rethrowWithNote(error);
    } catch (const CNumericConversionException& error) {
        rethrowWithNote(error);
    }
}

// ---- reading one line --------------------------------------------------------------

bool MachineFileReader::readHoleLine(HoleLine* line)
{
    m_lineStart = m_file.GetPosition();
    switch (m_version.holeLines) {
    case HoleLineForm::TwoNumbers:
        return readTwoNumbers(line);
    case HoleLineForm::PackedMicrometres:
        return readPackedMicrometres(line);
    case HoleLineForm::PackedTenths:
        return readPackedTenths(line);
    }
    return false;
}

bool MachineFileReader::readTwoNumbers(HoleLine* line)
{
    line->x = requireDouble();
    line->y = requireDouble();
    CString code;
    SplitCodedValue(&line->y, &code);
    CBreakString rest;
    m_file.ReadLine(&rest);
    rest.TrimWhiteSpace();
    if (!rest.IsEmpty())
        return false; // text after the two numbers: not a hole line
    SplitFaceToolCode(code, &line->face, &line->tool);
    return true;
}

bool MachineFileReader::readPackedMicrometres(HoleLine* line)
{
    const CString token = requireToken();
    const int point = token.Find('.');
    if (point <= 6)
        return false; // no room for the seven digits of Y: no position
    const std::string_view text = viewOf(token);
    const auto yStart = static_cast<std::size_t>(point - 7);
    line->x = LeadingNumber(text.substr(0, yStart));
    line->y = LeadingNumber(text.substr(yStart, 7));
    const CString code = token.Mid(point + 1);
    if (line->x == 0 && line->y == 0 && code.IsEmpty())
        return false;
    SplitFaceToolCode(code, &line->face, &line->tool);
    return true;
}

bool MachineFileReader::readPackedTenths(HoleLine* line)
{
    const CString token = requireToken();
    // X needs at least one digit in front of the four of Y and the two code
    // digits; a shorter token holds no position.
    if (token.GetLength() < 7)
        throw HoleLineRefusal{"Hole line " + quoted(token) +
                              " is too short: it must hold X, four digits of Y, a face digit "
                              "and a tool digit"};
    const std::string_view text = viewOf(token);
    const std::size_t codeStart = text.size() - 2;
    line->x = LeadingNumber(text.substr(0, codeStart - 4));
    line->y = LeadingNumber(text.substr(codeStart - 4, 4));
    line->face = LeadingInteger(text.substr(codeStart, 1));
    line->tool = LeadingInteger(text.substr(codeStart + 1, 1));
    return true;
}

CString MachineFileReader::textSince(ULONGLONG start)
{
    const ULONGLONG end = m_file.GetPosition();
    const ULONGLONG length = end > start ? end - start : 0;
    std::string bytes(static_cast<std::size_t>(std::min<ULONGLONG>(length, 200)), '\0');
    m_file.Seek(static_cast<LONGLONG>(start), CFile::begin);
    bytes.resize(m_file.Read(bytes.data(), static_cast<UINT>(bytes.size())));
    m_file.Seek(static_cast<LONGLONG>(end), CFile::begin);
    CBreakString text(CString(bytes.data(), static_cast<int>(bytes.size())));
    text.TrimWhiteSpace();
    return text;
}

// ---- placing one line ------------------------------------------------------------

HRESULT MachineFileReader::placeHoleLine(const HoleLine& line)
{
    const int faceUnit = m_version.faceUnit;
    const int index =
        line.tool != 0 ? (line.tool / m_version.toolUnit - 1) * 3 + line.face / faceUnit - 1 : -1;

    double x = line.x / m_version.positionsPerInch;
    double y = line.y / m_version.positionsPerInch;
    if (m_version.roundsPositionsToSixteenths) {
        x = RoundToFraction(x, 16);
        y = RoundToFraction(y, 16);
    }
    // A two-digit tool code ending in 1 measures X from the far end.
    if (m_version.mirrorsX && line.tool >= 10 && line.tool <= 99 && line.tool % 10 == 1)
        x = m_dPartLength - x;

    const Face face = line.face == faceUnit       ? Face::Web
                      : line.face == 2 * faceUnit ? Face::BottomFlange
                      : line.face == 3 * faceUnit ? Face::TopFlange
                                                  : Face::Other;
    return index >= 0 ? placeHole(index, face, x, y) : placeMark(face, x, y);
}

HRESULT MachineFileReader::placeHole(int index, Face face, double x, double y)
{
    const Family family = familyOf(m_section, m_version.channelHoles, m_version.angleHoles);
    if (family == Family::None)
        return S_OK;
    if (face == Face::Other || (family == Family::Angle && face == Face::BottomFlange))
        return E_CONVERT_BAD_CODE;
    if (index >= kToolTableSize) {
        CString number;
        number.Format("%d", index / 3 + 1);
        throw HoleLineRefusal{"Unknown tool " + number + " in hole line " +
                              quoted(textSince(m_lineStart)) +
                              ": the tool table holds tools 1 to 3"};
    }
    const CTool& tool = m_tools[index];
    const CComBSTR shape(tool.GetShape());
    const double size1 = tool.GetSize1();
    const double size2 = tool.GetSize2();
    const double h = m_dFlangeWidth / 2;
    ICADPart* part = m_pCADPart.GetInterfacePtr();

    if (face == Face::Web)
        checkPart(part->SetWebHole(x, y, size1, size2, shape, 0));
    else if (family == Family::WideFlange && face == Face::BottomFlange)
        checkPart(h >= y ? part->SetBFFarHole(x, h - y, size1, size2, shape, 0)
                         : part->SetBFNearHole(x, y - h, size1, size2, shape, 0));
    else if (family == Family::WideFlange)
        checkPart(h >= y ? part->SetTFFarHole(x, h - y, size1, size2, shape, 0)
                         : part->SetTFNearHole(x, y - h, size1, size2, shape, 0));
    else if (family == Family::Channel && face == Face::BottomFlange)
        checkPart(part->SetBFFarHole(x, y, size1, size2, shape, 0));
    else if (family == Family::Channel)
        checkPart(part->SetTFFarHole(x, y, size1, size2, shape, 0));
    else
        checkPart(part->SetTFNearHole(x, y, size1, size2, shape, 0));
    return S_OK;
}

HRESULT MachineFileReader::placeMark(Face face, double x, double y)
{
    const Family family = familyOf(m_section, m_version.channelMarks, m_version.angleMarks);
    if (family == Family::None)
        return S_OK;
    if (face == Face::Other || (family == Family::Angle && face == Face::BottomFlange))
        return E_CONVERT_BAD_CODE;
    const double h = m_dFlangeWidth / 2;
    ICADPart* part = m_pCADPart.GetInterfacePtr();

    if (face == Face::Web)
        checkPart(part->SetWebMark(x, y));
    // On a W section's bottom flange a mark takes the side opposite to a
    // hole at the same place; on the top flange both take the far side.
    else if (family == Family::WideFlange && face == Face::BottomFlange)
        checkPart(h >= y ? part->SetBFNearMark(x, h - y) : part->SetBFFarMark(x, y - h));
    else if (family == Family::WideFlange)
        checkPart(h >= y ? part->SetTFFarMark(x, h - y) : part->SetTFNearMark(x, y - h));
    else if (family == Family::Channel && face == Face::BottomFlange)
        checkPart(part->SetBFFarMark(x, y));
    else if (family == Family::Channel)
        checkPart(part->SetTFFarMark(x, y));
    else if (m_version.angleTopFlangeMark == TopFlangeMark::NearFar)
        checkPart(part->SetTFNearFarMark(x, y));
    else
        checkPart(part->SetTFNearMark(x, y));
    return S_OK;
}
