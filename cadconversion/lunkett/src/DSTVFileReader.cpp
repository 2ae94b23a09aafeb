// DSTVFileReader: the file, SetFile and the reports of the reading
// exceptions shared by the DSTV readers.
#include "DSTVFileReader.h"

#include "LunkettStrings.h"

#include "halcyra/ConverterServer.h"
#include "halcyra/HalcyraLib.h"

#include "com/Bstr.h"
#include "com/ComError.h"
#include "vlmrexcept/CvmException.h"
#include "vlmrlib/FileAndLine.h"

#include <string_view>

DSTVFileReader::~DSTVFileReader()
{
    CloseNCFile();
}

void DSTVFileReader::freeText(BSTR* text)
{
    if (text) {
        SysFreeString(*text);
        *text = nullptr;
    }
}

void DSTVFileReader::setText(BSTR* text, const CString& value)
{
    if (text)
        *text = value.AllocSysString();
}

int DSTVFileReader::OpenNCFile(BSTR bstrFilename)
{
    CloseNCFile();
    if (holdsNul(bstrFilename))
        return 1;
    CString name(static_cast<const OLECHAR*>(bstrFilename));
    if (!m_NCFile.Open(name, 0))
        return 1;
    m_bFileOpen = 1;
    return 0;
}

int DSTVFileReader::CloseNCFile()
{
    if (m_bFileOpen) {
        m_NCFile.Close();
        m_bFileOpen = 0;
    }
    return 0;
}

// Lines are read into m_readLine, whose storage is reused, and only the
// trimmed text is copied into *line.
BOOL DSTVFileReader::ReadNCLine(CBreakString* line)
{
    while (m_NCFile.ReadLine(&m_readLine)) {
        const char* text = m_readLine;
        const auto length = static_cast<std::size_t>(m_readLine.GetLength());
        std::size_t first = 0, end = length;
        while (first < end && CString::IsWhiteSpace(text[first]))
            ++first;
        while (end > first && CString::IsWhiteSpace(text[end - 1]))
            --end;
        if (end - first >= 2 && text[first] == '*' && text[first + 1] == '*')
            continue;
        line->SetString(text + first, static_cast<int>(end - first));
        return TRUE;
    }
    return FALSE;
}

HRESULT DSTVFileReader::SetFile(BSTR bstrFilename, BSTR* pbstrErrorText)
{
    freeText(pbstrErrorText);
    try {
        if (OpenNCFile(bstrFilename) != 0) {
            setText(pbstrErrorText, loadLunkettString(IDS_FILE_OPEN_FAILURE, "Open File Error") +
                                        " " + CString(static_cast<const OLECHAR*>(bstrFilename)));
            return E_CONVERT_FILE_OPEN;
        }
        return S_OK;
    } catch (const _com_error& error) {
        setText(pbstrErrorText, comErrorText(error, loadLunkettString(IDS_COM_ERROR_SET_FILE,
                                                                      "Com Error in Set File")));
        return error.Error();
    } catch (...) {
        setText(pbstrErrorText,
                loadLunkettString(IDS_UNEXPECTED_SET_FILE_ERROR, "Unexpected Error Setting File"));
        return E_UNEXPECTED;
    }
}

CString DSTVFileReader::fileAndLineText() const
{
    return FileAndLineText(m_NCFile, loadLunkettString(IDS_FILE_NAME, "File Name:"),
                           loadLunkettString(IDS_LINE, "Line:"));
}

CString DSTVFileReader::withFileAndLine(const CString& text) const
{
    return AppendFileAndLine(text, m_NCFile, loadLunkettString(IDS_FILE_NAME, "File Name:"),
                             loadLunkettString(IDS_LINE, "Line:"));
}

CString DSTVFileReader::readFailureText(const ReadTexts& fallbacks) const
{
    try {
        throw;
    } catch (const CNumericConversionException& error) {
        return error.GetMessage() + loadLunkettString(IDS_NUMERIC_CONVERSION, fallbacks.numeric);
    } catch (const CUnexpectedEOF& error) {
        return error.GetMessage() + loadLunkettString(IDS_UNEXPECTED_EOF, fallbacks.eof) + "\r\n" +
               fileAndLineText();
    } catch (const _com_error& error) {
        return comErrorText(error, loadLunkettString(IDS_COM_ERROR_READING, fallbacks.comError));
    } catch (const CUnexpectedException& error) {
        return error.GetMessage() + CString("Unexpected Exception");
    } catch (...) {
        return loadLunkettString(IDS_UNEXPECTED_READ_ERROR, fallbacks.unexpected);
    }
}
