// RecordReader: the file, SetFile, the record sequence that every CAD
// system shares, and the failure texts of SetFile and ReadPart.
#include "recordconverters/RecordReader.h"

#include "recordconverters/RecordStrings.h"

#include "com/Bstr.h"
#include "com/ComBstr.h"
#include "com/ComError.h"
#include "vlmrexcept/CLog.h"
#include "vlmrexcept/CvmException.h"
#include "vlmrlib/FileAndLine.h"

#include <string>
#include <utility>

RecordReader::RecordReader(const Format& format, PartCreator createPart)
    : m_WebTool(format.toolRule), m_TFNearTool(format.toolRule), m_TFFarTool(format.toolRule),
      m_BFNearTool(format.toolRule), m_BFFarTool(format.toolRule), m_format(format),
      m_createPart(std::move(createPart))
{
}

RecordReader::~RecordReader() = default;

// ---- the file ----------------------------------------------------------------------

int RecordReader::OpenConvertFile(BSTR bstrFilename)
{
    CloseConvertFile();
    if (holdsNul(bstrFilename) || !m_File.Open(narrowFromBstr(bstrFilename).c_str(), 0))
        return 1;
    m_bFileOpen = 1; // the text file skips a byte-order mark itself
    return 0;
}

int RecordReader::CloseConvertFile()
{
    if (m_bFileOpen) {
        m_File.Close();
        m_bFileOpen = 0;
    }
    return 0;
}

BOOL RecordReader::ReadToken(CString* token)
{
    token->Empty();
    CString strData;
    const BOOL read = m_File.ReadToDelimit(&strData);
    if (read)
        *token = strData;
    return read;
}

CString RecordReader::readText()
{
    CString token;
    if (!ReadToken(&token))
        throw CUnexpectedEOF();
    return token;
}

double RecordReader::readDouble()
{
    double value = 0;
    if (!m_File.ReadDouble(&value))
        throw CUnexpectedEOF();
    return value;
}

int RecordReader::readInteger()
{
    int value = 0;
    if (!m_File.ReadInteger(&value))
        throw CUnexpectedEOF();
    return value;
}

CString RecordReader::withFileAndLine(const CString& text) const
{
    if (m_File.GetFileName().IsEmpty())
        return text;
    return AppendFileAndLine(text, m_File, loadRecordString(IDS_RECORD_FILE_NAME, "File Name:"),
                             loadRecordString(IDS_RECORD_LINE, "Line:"));
}

// ---- SetFile -----------------------------------------------------------------------
//
// The stand-in literals of the texts differ from the string table's in
// places ("Open File Error", "Reading Part"): both are the system's own.

HRESULT RecordReader::SetFile(BSTR bstrFilename, CString* errorText)
{
    const CString name(static_cast<const OLECHAR*>(bstrFilename));
    try {
        if (OpenConvertFile(bstrFilename) == 1) {
            *errorText =
                loadRecordString(IDS_RECORD_FILE_OPEN_FAILURE, "Open File Error") + " " + name;
            return E_CONVERT_FILE_OPEN;
        }
        return S_OK;
    } catch (const _com_error& error) {
        *errorText = comErrorText(error, loadRecordString(IDS_RECORD_COM_ERROR_SET_FILE,
                                                          "Com Error in Set File")) +
                     "\r\n" + loadRecordString(IDS_RECORD_FILE_NAME, "File Name:") + name;
        return error.Error();
    } catch (...) {
        *errorText = loadRecordString(IDS_RECORD_UNEXPECTED_SET_FILE_ERROR,
                                      "Unexpected Error Setting File") +
                     "\r\n" + loadRecordString(IDS_RECORD_FILE_NAME, "File Name:") + name;
        return E_UNEXPECTED;
    }
}

// ---- ReadPart ----------------------------------------------------------------------

HRESULT RecordReader::ReadPart(IUnknown** ppIUnkCADPart, LONG bIsMetric, LONG bIsToolMetric,
                               CString* errorText)
{
    try {
        createPart(ppIUnkCADPart);
        return readRecord();
    } catch (const CNumericConversionException& error) {
        *errorText = withFileAndLine(
            error.GetMessage() + loadRecordString(IDS_RECORD_NUMERIC_CONVERSION,
                                                  "Numeric Conversion Error while Reading Part"));
        return E_CONVERT_NUMERIC;
    } catch (const CUnexpectedEOF& error) {
        *errorText = withFileAndLine(
            error.GetMessage() +
            loadRecordString(IDS_RECORD_UNEXPECTED_EOF, "Unexpected EOF while reading part"));
        return E_CONVERT_UNEXPECTED_EOF;
    } catch (const _com_error& error) {
        *errorText = withFileAndLine(comErrorText(
            error, loadRecordString(IDS_RECORD_COM_ERROR_READING, "Com Error while reading part")));
        return error.Error();
    } catch (...) {
        *errorText = withFileAndLine(loadRecordString(IDS_RECORD_UNEXPECTED_READ_ERROR,
                                                      "Unexpected Error while reading part"));
        return E_UNEXPECTED;
    }
}

// The creation's result is not tested: without a part the first use of
// m_pPart raises E_POINTER. The part before goes once the new one is made
// (makeNextObject), so the parts of a file keep their Tarsis servers.
void RecordReader::createPart(IUnknown** ppIUnkCADPart)
{
    if (ppIUnkCADPart)
        *ppIUnkCADPart = nullptr;
    makeNextObject(m_createPart, m_pPart, true);
    if (!ppIUnkCADPart)
        _com_issue_error(E_POINTER);
    check(m_pPart->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(ppIUnkCADPart)));
}

HRESULT RecordReader::readRecord()
{
    CString job;
    if (!ReadToken(&job)) {
        CloseConvertFile();
        return S_FALSE;
    }
    job = FixText(job);
    CString group = readText();
    if (group == "_")
        group = "NONE";
    group = FixText(group);
    const CString mark = FixText(readText());
    const double length = readDouble();
    CString section = readText();
    if (m_format.bFLIsFB && section == "FL")
        section = "FB";
    section = FixText(section);
    const CString description = ReadSectionDescription(section);
    const int quantity = readInteger();
    for (CTool* tool : {&m_WebTool, &m_TFNearTool, &m_TFFarTool, &m_BFNearTool, &m_BFFarTool}) {
        const double size1 = readDouble();
        const double size2 = readDouble();
        const CString shape = FixText(readText());
        tool->Set(size1, size2, shape);
    }

    putText(&ICADPart::put_JobId, job);
    putText(&ICADPart::put_Group, group);
    putText(&ICADPart::put_Mark, mark);
    check(m_pPart->put_Length(length));
    check(m_pPart->put_Quantity(quantity));
    putText(&ICADPart::put_Section, section);
    putText(&ICADPart::put_SectionDescription, description);

    m_nNumHoleLines = readInteger();
    const HRESULT hr = ConvertHoleLines();
    if (FAILED(hr))
        CLog::ThrowHResult(m_format.holeLinesSource, m_format.holeLinesSourceLine, hr);
    return S_OK;
}

void RecordReader::check(HRESULT hr)
{
    if (FAILED(hr))
        _com_issue_errorex(hr, m_pPart.GetInterfacePtr(), IID_ICADPart);
}

void RecordReader::putText(HRESULT (ICADPart::*put)(BSTR), const CString& text)
{
    CComBSTR value;
    value.Attach(text.AllocSysString());
    check(((*m_pPart).*put)(value));
}
