// DXFFile: a DXF drawing's text file as the reader reads it: lines trimmed
// at both ends ("**" comment lines skipped, empty lines kept), tokens (a
// line's first word), group values (a line's leading decimal number), the
// test for binary drawings, and the "File Name:"/"Line:" text that every
// failure report ends with. A UTF-8 byte-order mark at the start is
// skipped when the file is opened. Used on one thread at a time.
#pragma once

#include "com/Types.h"
#include "vlmrlib/CBreakString.h"
#include "vlmrlib/CTextFile.h"

#include <string_view>

class DXFFile {
public:
    DXFFile() = default;
    DXFFile(const DXFFile&) = delete;
    DXFFile& operator=(const DXFFile&) = delete;
    ~DXFFile();

    // 0 opened, 1 failed; an open file is closed first. A name with a NUL
    // inside is refused (it would name another file).
    int Open(BSTR bstrFilename);
    // Closes the file when it is open; its name and line stay for reports.
    void Close();
    bool IsOpen() const { return m_bOpen; }

    // The next line that is not a "**" comment, trimmed at both ends. TRUE
    // when a line was read; at the end of the file FALSE, *line unchanged.
    BOOL ReadLine(CBreakString* line);
    // The first word of the next line; false at the end of the file.
    bool ReadToken(CString* token);
    // Whether the first word of the line last read is word.
    bool LastWordIs(std::string_view word) const;
    // The leading decimal number of the next line's first word (digits with
    // an optional sign, point and exponent; no "inf", "nan" or hex), 0 when
    // there is none or it is out of range; false at the end of the file.
    bool ReadGroupValue(double* value);

    // No byte left (also for a closed file).
    bool AtEnd() const;
    ULONGLONG GetPosition() const { return m_file.GetPosition(); }
    // Back (or on) to a position remembered with GetPosition, by a seek
    // from the current position.
    void MoveTo(ULONGLONG position);
    void SeekToEnd() { m_file.SeekToEnd(); }

    // The file starts with the sentinel of binary DXF; the position is kept.
    bool IsBinary();

    // The leading decimal number of text's first word, as ReadGroupValue.
    static double LeadingNumber(const CString& text);

    // Number of the line last read (1 before any read).
    int GetLineNumber() const { return m_file.GetLineNumber(); }
    // "File Name:<name>\r\nLine:<line>", the texts from the string table.
    CString FileAndLineText(int line) const;

private:
    // The next line that is not a comment into m_line, trimmed.
    bool nextLine();
    // The first word of m_line.
    std::string_view lastWord() const;

    bool m_bOpen = false;
    CTextFile m_file;
    CBreakString m_line; // the line last read; its buffer serves every read
};

// Whether text is exactly word (compared by length first: tokens are
// compared many times a line).
inline bool IsWord(const CString& text, std::string_view word)
{
    return static_cast<std::size_t>(text.GetLength()) == word.size() &&
           std::string_view(text, word.size()) == word;
}
