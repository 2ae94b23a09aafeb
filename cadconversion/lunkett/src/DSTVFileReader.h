// DSTVFileReader: what the DSTV part and bar readers share: the text file
// they own between SetFile and its end, the line reader that skips "**"
// comments, SetFile with its error texts, and the reports of the reading
// exceptions. Used on one thread at a time.
#pragma once

#include "com/Types.h"
#include "vlmrlib/CBreakString.h"
#include "vlmrlib/CTextFile.h"

class DSTVFileReader {
public:
    DSTVFileReader(const DSTVFileReader&) = delete;
    DSTVFileReader& operator=(const DSTVFileReader&) = delete;

    // Frees *pbstrErrorText and opens the file: S_OK, or E_CONVERT_FILE_OPEN
    // with a new text for the caller.
    HRESULT SetFile(BSTR bstrFilename, BSTR* pbstrErrorText);

    // 0 opened, 1 failed; an open file is closed first.
    int OpenNCFile(BSTR bstrFilename);
    // 0; closes the file when it is open.
    int CloseNCFile();
    // The next line that is not a "**" comment, trimmed at both ends.
    // Non-zero when a line was read; at the end of the file 0 and *line is
    // left unchanged.
    BOOL ReadNCLine(CBreakString* line);

protected:
    DSTVFileReader() = default;
    ~DSTVFileReader();

    // The literals that stand in for the string table's texts of a read.
    struct ReadTexts {
        const char* numeric;    // 103
        const char* eof;        // 102
        const char* comError;   // 115
        const char* unexpected; // 106
    };
    // Called inside a catch block: the report of the exception in flight
    // (the reading exceptions, a COM error or anything else).
    CString readFailureText(const ReadTexts& fallbacks) const;
    // "File Name:<name>\r\nLine:<number>" of the line being read.
    CString fileAndLineText() const;
    // A reading failure's whole report: its text, then "\r\n" and
    // fileAndLineText() (an end-of-file text names them already).
    CString withFileAndLine(const CString& text) const;

    static void freeText(BSTR* text);
    // Stores a new BSTR of value for the caller.
    static void setText(BSTR* text, const CString& value);

    int m_bFileOpen = 0;
    CTextFile m_NCFile;

private:
    CBreakString m_readLine; // ReadNCLine's own line
};
