// DSTVPartReader: the file, the ReadPart frame (part creation, the ST
// header, the block loop, the completion at "EN") and its error reports.
#include "DSTVPartReader.h"

#include "com/ComBstr.h"
#include "com/ComError.h"
#include "vlmrexcept/CvmException.h"

#include <utility>

namespace {

// A new string of the text, for the part to copy.
CComBSTR textOf(const CString& text)
{
    CComBSTR result;
    result.Attach(text.AllocSysString());
    return result;
}

bool isCodeProfile(const CString& code)
{
    for (const char* known : {"I", "U", "L", "M", "B", "T"})
        if (code == known)
            return true;
    return false;
}

} // namespace

DSTVPartReader::DSTVPartReader(PartCreator createPart) : m_createPart(std::move(createPart)) {}

double DSTVPartReader::breakLength(CBreakString* line)
{
    double value = 0;
    line->BreakDouble(&value);
    return value / 25.4;
}

void DSTVPartReader::checkPart(HRESULT hr)
{
    if (FAILED(hr))
        _com_issue_errorex(hr, m_pCADPart.GetInterfacePtr(), IID_ICADPart2);
}

// ---- reading a part ------------------------------------------------------------

HRESULT DSTVPartReader::ReadPart(IUnknown** ppIUnkCADPart, LONG bIsMetric, LONG bIsToolMetric,
                                 BSTR* pbstrErrorText)
{
    return readPart(Variant::Standard, ppIUnkCADPart, bIsMetric, bIsToolMetric, pbstrErrorText);
}

HRESULT DSTVPartReader::ReadPartSDS6_336(IUnknown** ppIUnkCADPart, LONG bIsMetric,
                                         LONG bIsToolMetric, BSTR* pbstrErrorText)
{
    return readPart(Variant::SDS6_336, ppIUnkCADPart, bIsMetric, bIsToolMetric, pbstrErrorText);
}

HRESULT DSTVPartReader::ReadPartSDSEarlyVersions(IUnknown** ppIUnkCADPart, LONG bIsMetric,
                                                 LONG bIsToolMetric, BSTR* pbstrErrorText)
{
    return readPart(Variant::SDSEarlyVersions, ppIUnkCADPart, bIsMetric, bIsToolMetric,
                    pbstrErrorText);
}

// The new part is made before the last one goes (makeNextObject), so a run
// keeps the Tarsis servers of its parts from part to part.
HRESULT DSTVPartReader::createPart(IUnknown** ppIUnkCADPart)
{
    *ppIUnkCADPart = nullptr;
    const HRESULT hr = makeNextObject(m_createPart, m_pCADPart, true);
    if (FAILED(hr) || !m_pCADPart)
        return E_CONVERT_READ;
    return m_pCADPart->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(ppIUnkCADPart));
}

HRESULT DSTVPartReader::readPart(Variant variant, IUnknown** ppIUnkCADPart, LONG bIsMetric,
                                 LONG bIsToolMetric, BSTR* pbstrErrorText)
{
    freeText(pbstrErrorText);
    try {
        m_section.Empty();
        m_sectionDescription.Empty();
        m_dProfileHeight = 0;
        m_dFlangeWidth = 0;
        m_dSpare = 0;
        m_dPartLength = 0;
        m_dMirrorLength = 0;

        if (m_NCFile.GetPosition() == m_NCFile.GetFileLength()) {
            CloseNCFile();
            return S_FALSE;
        }
        // No place for the part: the wrapper reports the result itself.
        if (!ppIUnkCADPart)
            return E_POINTER;

        if (createPart(ppIUnkCADPart) != S_OK) {
            setText(pbstrErrorText, "Failed to create CLSID_CADPart2. It may not be registered");
            return E_CONVERT_READ;
        }

        CBreakString line;
        ReadNCLine(&line);
        CString word;
        line.BreakText(&word);
        if (word != "ST") {
            CloseNCFile();
            setText(pbstrErrorText, withFileAndLine("Code Block ST was not found."));
            return E_CONVERT_READ;
        }
        CString headerError;
        if (!readHeader(bIsMetric, &headerError)) {
            CloseNCFile();
            setText(pbstrErrorText, withFileAndLine(headerError));
            return E_CONVERT_READ;
        }

        nextBlockLine(&line);
        while (line != "EN") {
            if (line == "SI")
                line = readMarkingBlock();
            else if (line == "BO")
                line = readHoleBlock(variant, bIsToolMetric);
            else
                nextBlockLine(&line);
        }
        completePart();
        return S_OK;
    } catch (const LineError& error) {
        setText(pbstrErrorText, withFileAndLine(error.text));
    } catch (...) {
        // The system's own fallbacks ("Reading Part"): keep them so.
        setText(
            pbstrErrorText,
            withFileAndLine(readFailureText(
                {"Numeric Conversion Error while Reading Part", "Unexpected EOF while reading part",
                 "Com Error while reading part", "Unexpected Error while reading part"})));
    }
    return E_CONVERT_READ;
}

// ---- the ST header ---------------------------------------------------------------

void DSTVPartReader::nextHeaderLine(CBreakString* line)
{
    // A line read comes trimmed; at the end of the file the line keeps what
    // the previous field left, trimmed.
    if (!ReadNCLine(line))
        line->TrimWhiteSpace();
}

void DSTVPartReader::nextBlockLine(CBreakString* line)
{
    if (!ReadNCLine(line))
        throw CUnexpectedEOF();
}

bool DSTVPartReader::readHeader(LONG bIsMetric, CString* errorText)
{
    CBreakString line;
    CString word;

    nextHeaderLine(&line); // 1 order
    line.BreakText(&m_order);
    nextHeaderLine(&line); // 2 drawing
    line.BreakText(&word);
    nextHeaderLine(&line); // 3 phase
    line.BreakText(&m_phase);
    nextHeaderLine(&line); // 4 piece
    line.BreakText(&m_piece);
    CBreakString::ConvertPath(&m_piece);
    nextHeaderLine(&line); // 5 steel quality
    line.BreakText(&m_steelQuality);
    nextHeaderLine(&line); // 6 quantity
    line.BreakInteger(&m_nQuantity);
    if (m_nQuantity == 0)
        m_nQuantity = 1;
    nextHeaderLine(&line); // 7 profile
    CString profile = line;

    if (!ReadNCLine(&line)) // 8 code profile
        throw CUnexpectedEOF();
    line.TrimWhiteSpace();
    if (!isCodeProfile(line)) {
        // The system's own text ("covertable"): keep it so.
        *errorText = CString("Code Profile ") + '"' + line + '"' + " is not covertable.";
        return false;
    }
    m_codeProfile = line.GetAt(0);

    nextHeaderLine(&line); // 9 length, and the mirror length after a comma
    m_dPartLength = breakLength(&line);
    m_dMirrorLength = m_dPartLength;
    if (line.GetAt(0) == ',') {
        line.Break(1);
        m_dMirrorLength = breakLength(&line);
    }
    nextHeaderLine(&line); // 10
    m_dProfileHeight = breakLength(&line);
    nextHeaderLine(&line); // 11
    m_dFlangeWidth = breakLength(&line);
    nextHeaderLine(&line); // 12
    m_dFlangeThickness = breakLength(&line);
    nextHeaderLine(&line); // 13
    m_dWebThickness = breakLength(&line);
    nextHeaderLine(&line); // 14
    m_dRadius = breakLength(&line);
    double unused = 0;
    for (int field = 15; field <= 16; ++field) { // weight and paint surface per metre
        nextHeaderLine(&line);
        line.BreakDouble(&unused);
    }

    ParseProfileName(profile, &m_section, &m_sectionDescription, bIsMetric);
    if (m_section == "WT") {
        m_codeProfile = 'T';
        std::swap(m_dProfileHeight, m_dFlangeWidth);
    }

    for (int field = 17; field <= 20; ++field) { // the four cuts
        nextHeaderLine(&line);
        line.BreakDouble(&unused);
    }
    for (int field = 21; field <= 24; ++field) { // text information 1 to 4
        nextHeaderLine(&line);
        line.TrimLeft();
        line.BreakText(&word);
    }
    return true;
}

// ---- the completion at "EN" ----------------------------------------------------------

void DSTVPartReader::completePart()
{
    checkPart(m_pCADPart->put_JobId(textOf(m_order)));
    checkPart(m_pCADPart->put_Group(textOf(m_phase)));
    checkPart(m_pCADPart->put_Mark(textOf(m_piece)));
    checkPart(m_pCADPart->put_Grade(textOf(m_steelQuality)));
    checkPart(m_pCADPart->put_Length(m_dPartLength));
    checkPart(m_pCADPart->put_Quantity(m_nQuantity));
    if (m_section.CompareNoCase("HSS") == 0 || m_section.CompareNoCase("RCT") == 0)
        m_section = "TS";
    checkPart(m_pCADPart->put_Section(textOf(m_section)));
    m_pCADPart->put_SectionDescription(textOf(m_sectionDescription));
    m_NCFile.SeekToEnd();
}
