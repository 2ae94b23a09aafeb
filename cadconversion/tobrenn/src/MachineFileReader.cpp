// MachineFileReader: the file, SetFile, the ReadPart frame (part creation,
// mark, designation, header, tool table, the part's header calls) and its
// failure reports. The hole lines are in ConvertHoleLines.cpp.
#include "MachineFileReader.h"

#include "HoleLineCodes.h"
#include "SectionDesignation.h"
#include "TobrennStrings.h"

#include "com/ComBstr.h"
#include "com/ComError.h"
#include "vlmrexcept/CLog.h"
#include "vlmrexcept/CvmException.h"
#include "vlmrlib/FileAndLine.h"

#include <string_view>
#include <utility>

namespace {

// Tenths of a millimetre per inch.
constexpr double kTenthsPerInch = 254.0;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\f';
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

} // namespace

MachineFileReader::MachineFileReader(const MachineFileVersion& version, PartCreator createPart)
    : m_version(version), m_createPart(std::move(createPart))
{
}

MachineFileReader::~MachineFileReader()
{
    CloseConvertFile();
}

// ---- the file ----------------------------------------------------------------------

int MachineFileReader::OpenConvertFile(BSTR bstrFilename)
{
    CloseConvertFile();
    if (holdsNul(bstrFilename))
        return 1;
    const CString name(static_cast<const OLECHAR*>(bstrFilename));
    if (!m_file.Open(name, 0))
        return 1;
    m_bFileOpen = 1; // the text file skips a byte-order mark itself
    return 0;
}

int MachineFileReader::CloseConvertFile()
{
    if (m_bFileOpen) {
        m_file.Close();
        m_bFileOpen = 0;
    }
    return 0;
}

HRESULT MachineFileReader::SetFile(BSTR bstrFilename, CString* errorText)
{
    errorText->Empty();
    try {
        if (OpenConvertFile(bstrFilename) == 0)
            return S_OK;
        *errorText = loadTobrennString(IDS_FILE_OPEN_FAILURE, "Open File Error") + " " +
                     CString(static_cast<const OLECHAR*>(bstrFilename));
        return E_CONVERT_FILE_OPEN;
    } catch (const _com_error& error) {
        *errorText =
            comErrorText(error, loadTobrennString(IDS_COM_ERROR_SET_FILE, "Com Error in Set File"));
        return error.Error();
    } catch (...) {
        *errorText =
            loadTobrennString(IDS_UNEXPECTED_SET_FILE_ERROR, "Unexpected Error Setting File");
        return E_UNEXPECTED;
    }
}

// ---- tokens and lines -------------------------------------------------------------

BOOL MachineFileReader::ReadToken(CString* token)
{
    token->Empty();
    CString read;
    if (!m_file.ReadToDelimit(&read))
        return FALSE;
    *token = std::move(read);
    return TRUE;
}

CString MachineFileReader::requireToken()
{
    CString token;
    if (!ReadToken(&token))
        throw CUnexpectedEOF();
    return token;
}

int MachineFileReader::requireInteger()
{
    int value = 0;
    if (!m_file.ReadInteger(&value))
        throw CUnexpectedEOF();
    return value;
}

double MachineFileReader::requireDouble()
{
    double value = 0;
    if (!m_file.ReadDouble(&value))
        throw CUnexpectedEOF();
    return value;
}

double MachineFileReader::requireLength()
{
    const double inches = requireDouble() / kTenthsPerInch;
    return m_version.roundsHeaderToSixteenths ? RoundToFraction(inches, 16) : inches;
}

void MachineFileReader::skipRestOfLine()
{
    m_file.ReadLine(nullptr);
}

bool MachineFileReader::HasMultiCharDesignation()
{
    m_file.SkipWhiteSpace();
    const ULONGLONG start = m_file.GetPosition();
    char ahead[2] = {};
    const UINT count = m_file.Read(ahead, 2);
    m_file.Seek(static_cast<LONGLONG>(start), CFile::begin);
    // White space is behind us: the first character starts the token.
    return count == 2 && !isBlank(ahead[1]) && !isLineEnd(ahead[1]);
}

bool MachineFileReader::tokenFollowsOnLine()
{
    const ULONGLONG start = m_file.GetPosition();
    char c = 0;
    bool follows = false;
    while (m_file.Read(&c, 1) == 1) {
        if (isBlank(c))
            continue;
        follows = !isLineEnd(c);
        break;
    }
    m_file.Seek(static_cast<LONGLONG>(start), CFile::begin);
    return follows;
}

CString MachineFileReader::readDesignation()
{
    if (!HasMultiCharDesignation())
        return requireToken();
    // A designation written in pieces (W12 X26) is joined up to the end of
    // its line; one that is still not whole there is taken as it stands,
    // so that it never swallows the header.
    CString designation = requireToken();
    while (!IsDesignationComplete(designation) && tokenFollowsOnLine())
        designation += requireToken();
    return designation;
}

// ---- the part ------------------------------------------------------------------------

// The part before goes once the new one is made (makeNextObject), so the
// parts of a run keep their Tarsis servers.
void MachineFileReader::createPart(IUnknown** ppIUnkCADPart)
{
    if (!ppIUnkCADPart) {
        m_pCADPart.Release();
        _com_issue_error(E_POINTER);
    }
    *ppIUnkCADPart = nullptr;
    makeNextObject(m_createPart, m_pCADPart, false);
    // The first use of an empty pointer raises E_POINTER.
    checkPart(m_pCADPart->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(ppIUnkCADPart)));
}

void MachineFileReader::checkPart(HRESULT hr)
{
    if (FAILED(hr))
        _com_issue_errorex(hr, m_pCADPart.GetInterfacePtr(), IID_ICADPart);
}

HRESULT MachineFileReader::ReadPart(IUnknown** ppIUnkCADPart, LONG /*bIsMetric*/,
                                    LONG /*bIsToolMetric*/, CString* errorText)
{
    errorText->Empty();
    try {
        createPart(ppIUnkCADPart);
        // Every part names its own section: one whose designation is of no
        // known family must not take the section of the part before it.
        m_section.Empty();

        CString mark;
        if (!ReadToken(&mark)) {
            CloseConvertFile();
            return S_FALSE;
        }
        skipRestOfLine();
        const CString designation = readDesignation();
        if (m_version.skipsRestOfDesignationLine)
            skipRestOfLine();

        const CString code = requireToken();
        const int quantity = requireInteger();
        const double dWebDepth = requireLength();
        const double dWebThickness = requireLength();
        m_dFlangeWidth = requireLength();
        const double dFlangeThickness = requireLength();
        (void)dFlangeThickness; // read, not used
        for (int unused = 0; unused < 3; ++unused) {
            if (m_version.ignoredValuesAreIntegers)
                requireInteger();
            else
                requireDouble();
        }
        m_dPartLength = requireLength();

        CString description;
        if (code == "B" || code == "C" || code == "MC")
            ParseSectionDesignation(designation, &m_section, &description);
        else
            BuildSectionSizeText(code, dWebDepth, m_dFlangeWidth, dWebThickness, &description,
                                 &m_section);

        for (CTool& tool : m_tools) {
            double dSize1 = 0;
            double dSize2 = 0;
            CString shape;
            ParseToolToken(requireToken(), &dSize1, &dSize2, &shape);
            tool.Set(dSize1 / kTenthsPerInch, dSize2 / kTenthsPerInch, shape);
        }
        if (m_version.skipsRestOfToolLine)
            skipRestOfLine();
        const int count = requireInteger();
        // The count is one more than the lines that follow.
        m_nHoleLines = count > 1 ? count - 1 : 0;

        checkPart(m_pCADPart->put_Mark(CComBSTR(static_cast<const char*>(mark))));
        checkPart(m_pCADPart->put_Length(m_dPartLength));
        checkPart(m_pCADPart->put_Quantity(quantity));
        checkPart(m_pCADPart->put_Section(CComBSTR(static_cast<const char*>(m_section))));
        checkPart(
            m_pCADPart->put_SectionDescription(CComBSTR(static_cast<const char*>(description))));

        const HRESULT hr = ConvertHoleLines();
        if (FAILED(hr))
            CLog::ThrowHResult(m_version.sourceFile, __LINE__, hr);

        m_file.SeekToEnd();
        return S_OK;
    } catch (...) {
        HRESULT hr = E_UNEXPECTED;
        *errorText = readFailureText(&hr);
        return hr;
    }
}

// ---- failure reports -------------------------------------------------------------

CString MachineFileReader::withFileAndLine(const CString& text) const
{
    return AppendFileAndLine(text, m_file, loadTobrennString(IDS_FILE_NAME, "File Name:"),
                             loadTobrennString(IDS_LINE, "Line:"));
}

CString MachineFileReader::readFailureText(HRESULT* hr) const
{
    // Every text ends with the file name and the line, so that a user can
    // find where the file could not be read. The system's own fallbacks
    // ("Reading Part"): keep them so.
    try {
        throw;
    } catch (const CNumericConversionException& error) {
        *hr = E_CONVERT_NUMERIC;
        return withFileAndLine(error.GetMessage() +
                               loadTobrennString(IDS_NUMERIC_CONVERSION,
                                                 "Numeric Conversion Error while Reading Part"));
    } catch (const CUnexpectedEOF& error) {
        *hr = E_CONVERT_UNEXPECTED_EOF;
        return withFileAndLine(
            error.GetMessage() +
            loadTobrennString(IDS_UNEXPECTED_EOF, "Unexpected EOF while reading part"));
    } catch (const _com_error& error) {
        *hr = error.Error();
        return withFileAndLine(comErrorText(
            error, loadTobrennString(IDS_COM_ERROR_READING, "Com Error while reading part")));
    } catch (const HoleLineRefusal& refusal) {
        *hr = E_CONVERT_BAD_CODE;
        return withFileAndLine(refusal.text);
    } catch (...) {
        *hr = E_UNEXPECTED;
        return withFileAndLine(
            loadTobrennString(IDS_UNEXPECTED_READ_ERROR, "Unexpected Error while reading part"));
    }
}
