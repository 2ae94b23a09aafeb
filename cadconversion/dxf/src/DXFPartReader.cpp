// DXFPartReader: SetFile, the ReadPart frame (part creation, header pass,
// entity loop), the four entity readers and the PART_INFO text.
#include "DXFPartReader.h"

#include "BstrText.h"
#include "DXFReadError.h"
#include "OstraneStrings.h"

#include "com/ComError.h"

#include <utility>

namespace {

constexpr const char* kPartInfoForm =
    "PART_INFO text is not job,group,mark,-,section_description,length,quantity";

[[noreturn]] void fail(const char* text)
{
    throw DXFReadError{E_CONVERT_READ, text};
}

} // namespace

DXFPartReader::DXFPartReader(PartCreator createPart) : m_createPart(std::move(createPart)) {}

void DXFPartReader::check(HRESULT hr)
{
    if (FAILED(hr))
        _com_issue_errorex(hr, m_pCADPart.GetInterfacePtr(), IID_ICADPart);
}

// ---- SetFile -------------------------------------------------------------------------

HRESULT DXFPartReader::SetFile(BSTR bstrFilename, CString* errorText)
{
    errorText->Empty();
    try {
        if (m_file.Open(bstrFilename) != 0) {
            *errorText = loadOstraneString(IDS_FILE_OPEN_FAILURE, "Open File Error") + " " +
                         CString(static_cast<const OLECHAR*>(bstrFilename));
            return E_CONVERT_FILE_OPEN;
        }
        return S_OK;
    } catch (const _com_error& error) {
        *errorText =
            comErrorText(error, loadOstraneString(IDS_COM_ERROR_SET_FILE, "Com Error in Set File"));
        return E_FAIL;
    } catch (...) {
        *errorText =
            loadOstraneString(IDS_UNEXPECTED_SET_FILE_ERROR, "Unexpected Error Setting File");
        return E_UNEXPECTED;
    }
}

// ---- ReadPart ------------------------------------------------------------------------

// The last drawing's part goes once the new one is made (makeNextObject),
// so the parts of a run keep their Tarsis servers from drawing to drawing.
HRESULT DXFPartReader::createPart(IUnknown** ppIUnkCADPart)
{
    *ppIUnkCADPart = nullptr;
    const HRESULT hr = makeNextObject(m_createPart, m_pCADPart, false);
    if (FAILED(hr) || !m_pCADPart)
        return E_CONVERT_READ;
    return m_pCADPart->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(ppIUnkCADPart));
}

HRESULT DXFPartReader::ReadPart(IUnknown** ppIUnkCADPart, CString* errorText)
{
    errorText->Empty();
    m_nFailureLine = 0;
    try {
        m_section.Empty();
        m_sectionDescription.Empty();
        m_dLength = 0;
        m_bMetric = false;
        m_bPartInfoRead = false;

        if (m_file.AtEnd()) {
            m_file.Close();
            return S_FALSE;
        }
        if (!ppIUnkCADPart)
            return E_POINTER;
        if (createPart(ppIUnkCADPart) != S_OK) {
            // The system's own text names CLSID_CADPart2 for the plain part: keep it so.
            *errorText = "Failed to create CLSID_CADPart2. It may not be registered";
            return E_CONVERT_READ;
        }

        try {
            if (m_file.IsBinary())
                fail("The drawing is binary DXF; only ASCII DXF drawings can be converted");
            headerPass();
        } catch (...) {
            m_file.Close();
            throw;
        }
        scanEntities(Mode::Placement);
        m_file.SeekToEnd();
        return S_OK;
    } catch (const DXFReadError& error) {
        const CString where = failureLineText();
        *errorText = error.text.IsEmpty() ? where : error.text + "\r\n" + where;
        return error.hr;
    } catch (...) {
        *errorText = "Unexpected Error\r\n" + failureLineText();
        return E_UNEXPECTED;
    }
}

CString DXFPartReader::failureLineText() const
{
    return m_file.FileAndLineText(m_nFailureLine ? m_nFailureLine : m_file.GetLineNumber());
}

void DXFPartReader::headerPass()
{
    m_placement.Begin(m_pCADPart.GetInterfacePtr());
    m_bPartInfoRead = false;

    // The system's own text ("Measurment"): keep it so.
    constexpr const char* kNoMeasurement = "EOF Found while looking for Measurment";
    CString token;
    do {
        if (!m_file.ReadToken(&token) || IsWord(token, "EOF"))
            fail(kNoMeasurement);
    } while (!IsWord(token, "$MEASUREMENT") && !IsWord(token, "ENTITIES"));

    if (IsWord(token, "$MEASUREMENT")) {
        double measurement = 0;
        if (m_file.ReadToken(&token) && IsWord(token, "70") &&
            m_file.ReadGroupValue(&measurement) && measurement != 0) {
            check(m_pCADPart->SetMetric(1));
            m_bMetric = true;
        }
        while (!IsWord(token, "ENTITIES")) {
            if (!m_file.ReadToken(&token) || IsWord(token, "EOF"))
                fail(kNoMeasurement);
        }
    }

    const ULONGLONG entities = m_file.GetPosition();
    scanEntities(Mode::Reference);
    m_file.MoveTo(entities);
}

void DXFPartReader::scanEntities(Mode mode)
{
    // An entity's type, and the section's end, is the value of a "0" group
    // code: the same word as another code's value (a LINE on a layer named
    // TEXT or ENDSEC) is passed over like any other line. A reader may end
    // its entity at the "0" code of the next one, whose type then follows.
    CString token;
    bool typeLine = false;
    while (m_file.ReadToken(&token)) {
        if (!typeLine) {
            typeLine = IsWord(token, "0");
            continue;
        }
        if (IsWord(token, "EOF") || IsWord(token, "ENDSEC"))
            break;
        m_nEntityLine = m_file.GetLineNumber();
        if (IsWord(token, "POINT"))
            readPoint(mode);
        else if (IsWord(token, "TEXT") || IsWord(token, "MTEXT"))
            readText(mode);
        else if (IsWord(token, "INSERT"))
            readInsert(mode);
        else if (IsWord(token, "CIRCLE") && mode == Mode::Placement)
            readCircle(mode);
        // A line read last that is a value "0" is followed by a group code,
        // never by a type: taking it for a "0" code does no harm.
        typeLine = m_file.LastWordIs("0");
    }
}

// ---- entity readers ----------------------------------------------------------------

bool DXFPartReader::readCode(CString* code)
{
    return m_file.ReadToken(code);
}

void DXFPartReader::failEndOfFile() const
{
    throw DXFReadError{E_CONVERT_UNEXPECTED_EOF,
                       loadOstraneString(IDS_UNEXPECTED_EOF, "Unexpected EOF while reading part")};
}

CBreakString DXFPartReader::readValueLine()
{
    CBreakString line;
    if (!m_file.ReadLine(&line))
        failEndOfFile();
    return line;
}

double DXFPartReader::readValue()
{
    return DXFFile::LeadingNumber(readValueLine());
}

DXFLayerCode DXFPartReader::readLayer()
{
    CBreakString line = readValueLine();
    CString name;
    line.BreakText(&name);
    return LayerCode(name);
}

template <class Place>
void DXFPartReader::place(Place placement)
{
    try {
        placement();
    } catch (...) {
        m_nFailureLine = m_nEntityLine;
        throw;
    }
}

DXFPartReader::EntityPairs DXFPartReader::readEntity(const EntityGrammar& grammar)
{
    EntityPairs entity;
    auto has = [&entity](unsigned codes) { return (entity.seen & codes) == codes; };
    CString code;
    bool pending = false; // code holds a group code read after the text
    while (!has(grammar.required)) {
        if (!pending && !readCode(&code)) {
            if (has(grammar.enough))
                break;
            failEndOfFile();
        }
        pending = false;
        if (IsWord(code, "0")) {
            if (has(grammar.enough))
                break;
            fail(grammar.zeroText);
        }
        if (IsWord(code, "10")) {
            entity.x = readValue();
            entity.seen |= EntityPairs::kX;
        } else if (IsWord(code, "20")) {
            entity.y = readValue();
            entity.seen |= EntityPairs::kY;
        } else if (IsWord(code, "8")) {
            entity.layer = readLayer();
            entity.seen |= EntityPairs::kLayer;
        } else if (IsWord(code, "40")) {
            entity.size = readValue();
            entity.seen |= EntityPairs::kSize;
        } else if (IsWord(code, "50")) {
            entity.rotation = readValue();
            entity.seen |= EntityPairs::kRotation;
        } else if (grammar.textCode && IsWord(code, grammar.textCode)) {
            entity.text = readValueLine();
            entity.seen |= EntityPairs::kText;
            if (!grammar.codeAfterText)
                continue;
            // The code right after a text: its rotation, or the end of a
            // text that had every code before it (writers leave out 50 for
            // unrotated text); any other code is the next pair.
            const bool complete = has(grammar.required);
            if (!readCode(&code)) {
                if (complete)
                    break;
                failEndOfFile();
            }
            if (IsWord(code, "50")) {
                entity.rotation = readValue();
                entity.seen |= EntityPairs::kRotation;
            } else if (IsWord(code, "0")) {
                if (!complete)
                    fail(grammar.zeroText);
            } else if (complete) {
                CBreakString value;
                m_file.ReadLine(&value);
            } else {
                pending = true;
            }
        } else {
            readValueLine();
        }
    }
    return entity;
}

void DXFPartReader::readCircle(Mode mode)
{
    using E = EntityPairs;
    constexpr unsigned codes = E::kX | E::kY | E::kSize | E::kLayer;
    const E circle =
        readEntity({codes, codes, nullptr, false, "Unexpected 0 code in getcircledata"});
    if (mode == Mode::Placement)
        place([&] { m_placement.PlaceCircle(circle.layer, circle.x, circle.y, circle.size); });
}

void DXFPartReader::readText(Mode mode)
{
    // The height (40) is read and not used, as is the rotation.
    using E = EntityPairs;
    constexpr unsigned codes = E::kX | E::kY | E::kSize | E::kText | E::kLayer;
    const E text = readEntity({codes, codes, "1", true, "Unexpected 0 code in getTextdata"});
    if (mode == Mode::Reference) {
        if (text.layer == kLayerPartInfo && !m_bPartInfoRead)
            place([&] { readPartInfo(text.text); });
    } else {
        place([&] { m_placement.PlaceText(text.layer, text.x, text.y, text.text); });
    }
}

void DXFPartReader::readPoint(Mode mode)
{
    using E = EntityPairs;
    constexpr unsigned codes = E::kX | E::kY | E::kLayer;
    const E point = readEntity({codes, codes, nullptr, false, "Unexpected 0 code in getpointdata"});
    if (mode == Mode::Reference)
        m_placement.TakeReference(point.layer, point.x, point.y, 0);
    else
        place([&] { m_placement.PlacePoint(point.layer, point.x, point.y); });
}

void DXFPartReader::readInsert(Mode mode)
{
    // The rotation is optional: a "0" (or the end of the file) after the
    // other codes ends the insert with rotation 0.
    using E = EntityPairs;
    constexpr unsigned codes = E::kX | E::kY | E::kText | E::kLayer;
    const E insert = readEntity(
        {codes | E::kRotation, codes, "2", false, "Unexpected zero code in get block data"});
    if (mode == Mode::Reference)
        m_placement.TakeReference(insert.layer, insert.x, insert.y, insert.rotation);
    else
        place([&] {
            m_placement.PlaceInsert(insert.layer, insert.x, insert.y, insert.text, insert.rotation);
        });
}

// ---- PART_INFO ----------------------------------------------------------------------

void DXFPartReader::readPartInfo(const CString& text)
{
    CBreakString rest = text;
    auto field = [&rest](const char* delimit) {
        const int at = rest.FindDelimit(delimit);
        if (at < 0)
            fail(kPartInfoForm);
        CString value = rest.Break(at);
        rest.Break(1);
        return value;
    };
    const CString job = field(",");
    const CString group = field(",");
    const CString mark = field(",");
    field(","); // read, not used
    m_section = field("_");
    m_sectionDescription = field(",");
    m_dLength = DXFFile::LeadingNumber(field(","));
    // A quantity that is no number is the break's numeric exception, which
    // ReadPart reports as an unexpected error.
    int quantity = 0;
    rest.BreakInteger(&quantity);

    check(m_pCADPart->put_JobId(bstrOf(job)));
    check(m_pCADPart->put_Group(bstrOf(group)));
    check(m_pCADPart->put_Mark(bstrOf(mark)));
    check(m_pCADPart->put_Length(m_dLength));
    check(m_pCADPart->put_Quantity(quantity));
    check(m_pCADPart->put_Section(bstrOf(m_section)));
    m_pCADPart->put_SectionDescription(bstrOf(m_sectionDescription));
    m_placement.SetSection(m_section);
    m_bPartInfoRead = true;
}
