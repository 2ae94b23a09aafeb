// DXFFile: opening, the line, token and group-value reads, and the
// file-and-line text of the reports.
#include "DXFFile.h"

#include "OstraneStrings.h"

#include "halcyra/ConverterServer.h"

#include "com/Bstr.h"
#include "vlmrexcept/CvmException.h"
#include "vlmrlib/FileAndLine.h"

#include <cstring>
#include <string_view>

namespace {

constexpr char kBinarySentinel[] = "AutoCAD Binary DXF";

} // namespace

DXFFile::~DXFFile()
{
    Close();
}

int DXFFile::Open(BSTR bstrFilename)
{
    Close();
    if (holdsNul(bstrFilename))
        return 1;
    const CString name(static_cast<const OLECHAR*>(bstrFilename));
    if (!m_file.Open(name, 0))
        return 1;
    m_bOpen = true; // the text file skips a byte-order mark itself
    return 0;
}

void DXFFile::Close()
{
    if (m_bOpen) {
        m_file.Close();
        m_bOpen = false;
    }
}

bool DXFFile::nextLine()
{
    while (m_file.ReadLine(&m_line)) {
        m_line.TrimWhiteSpace();
        if (m_line.GetAt(0) != '*' || m_line.GetAt(1) != '*')
            return true;
    }
    return false;
}

BOOL DXFFile::ReadLine(CBreakString* line)
{
    if (!nextLine())
        return FALSE;
    *line = m_line;
    return TRUE;
}

std::string_view DXFFile::lastWord() const
{
    // The line is trimmed: its first word ends at the first white space.
    const std::string_view line(m_line, static_cast<std::size_t>(m_line.GetLength()));
    return line.substr(0, line.find_first_of(" \t\r\n\f"));
}

bool DXFFile::ReadToken(CString* token)
{
    if (!nextLine())
        return false;
    const std::string_view word = lastWord();
    *token = word.size() == static_cast<std::size_t>(m_line.GetLength())
                 ? m_line
                 : m_line.Left(static_cast<int>(word.size()));
    return true;
}

bool DXFFile::LastWordIs(std::string_view word) const
{
    return lastWord() == word;
}

bool DXFFile::ReadGroupValue(double* value)
{
    if (!nextLine())
        return false;
    *value = LeadingNumber(m_line);
    return true;
}

double DXFFile::LeadingNumber(const CString& text)
{
    CBreakString word;
    CBreakString(text).BreakText(&word);
    double value = 0;
    try {
        word.BreakDouble(&value);
    } catch (const CNumericConversionException&) {
        return 0;
    }
    return value;
}

bool DXFFile::AtEnd() const
{
    return m_file.GetPosition() == m_file.GetFileLength();
}

void DXFFile::MoveTo(ULONGLONG position)
{
    m_file.Seek(static_cast<LONGLONG>(position) - static_cast<LONGLONG>(m_file.GetPosition()),
                CFile::current);
}

bool DXFFile::IsBinary()
{
    constexpr UINT length = sizeof kBinarySentinel - 1;
    char start[length] = {};
    const UINT read = m_file.Read(start, length);
    m_file.Seek(-static_cast<LONGLONG>(read), CFile::current);
    return read == length && std::memcmp(start, kBinarySentinel, length) == 0;
}

CString DXFFile::FileAndLineText(int line) const
{
    return ::FileAndLineText(m_file.GetFileName(), line,
                             loadOstraneString(IDS_FILE_NAME, "File Name:"),
                             loadOstraneString(IDS_LINE, "Line:"));
}
