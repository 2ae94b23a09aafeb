// CTextFile: a CFile read through a large buffer, by lines, by white-space
// delimited tokens, by numbers or by bytes, with the number of the line
// being read.
//
// Bytes are read as they are (NULs and 8-bit bytes included). White space
// is blank, tab, CR, LF and form feed. CR LF, LF and a lone CR each end one
// line; a last line without an end is a line.
//
// Line numbers count from 1. GetLineNumber names the line that holds the
// last byte read, a line end belonging to the line it ends: after ReadLine
// the line just returned, after a token read the token's line; a read that
// finds the end of the file leaves it alone, so at the end it names the
// last line read. Before any read it is 1. A Seek gives the number that
// belongs to the new position as if the file had been read up to it, so a
// look-ahead that seeks back restores the number it started from. Close
// keeps the file name and the number for error texts; Open resets them.
//
// A UTF-8 byte-order mark (EF BB BF) at the start of the file is no part of
// its text: the open moves past it, so the first read starts behind it and
// GetPosition answers 3 there.
//
// A Seek clamps the target to the text (the start behind a byte-order
// mark, up to GetLength). Writing through a CTextFile writes at the read
// position and drops the buffer.
//
// OpenBytes reads bytes held in memory in place of a file: every read, seek
// and line number behaves as for a file of those bytes; nothing is written.
#pragma once

#include "vlmrlib/CBreakString.h"
#include "vlmrlib/CFile.h"

#include <cstdint>
#include <vector>

class CTextFile : public CFile {
public:
    // bufferSize: bytes read from the system at a time (at least 1).
    explicit CTextFile(std::size_t bufferSize = 64 * 1024);
    ~CTextFile() override;

    BOOL Open(const char* fileName, UINT openFlags) override;
    // Reads length bytes at bytes as the content of a file named fileName
    // (the name is kept for error texts only). The bytes are not copied:
    // they must stay unchanged until the next Open, OpenBytes or Close.
    // Non-zero unless bytes is null while length is not 0.
    BOOL OpenBytes(const char* fileName, const char* bytes, std::size_t length);
    void Close() override;
    ULONGLONG GetLength() const override;
    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    ULONGLONG GetPosition() const override;

    // The next line without its line end. Non-zero when a line was read; at
    // the end of the file 0, and *line is left unchanged.
    BOOL ReadLine(CBreakString* line);

    // Skips white space, then reads up to (not including) the next white
    // space or the end of the file. Non-zero when a token was read; at the
    // end of the file 0, and *token is left unchanged.
    BOOL ReadToDelimit(CString* token);

    // The next token as a number (syntax in CBreakString.h); the whole token
    // must be the number. 0 at the end of the file. A token that is no
    // number, or out of range, throws CNumericConversionException naming
    // the token, the file and the line.
    BOOL ReadInteger(int* value);
    BOOL ReadDouble(double* value);

    // Moves past white space, line ends included.
    void SkipWhiteSpace();

    int GetLineNumber() const;

private:
    bool fill();
    int peek();
    void take();
    void count(char c);
    void countSpan(const char* bytes, std::size_t n);
    void moveTo(ULONGLONG target);
    void advance(ULONGLONG n);
    void restart();
    void resetState();
    void skipByteOrderMark();
    bool textOpen() const { return isOpen() || m_memory; }
    template <class T, class Scan, class Parse>
    BOOL readNumber(T* value, Scan scan, Parse parse, const char* kind);

    std::vector<char> m_buffer;
    const char* m_memory = nullptr; // the bytes of OpenBytes, else null
    std::size_t m_memoryLength = 0;
    const char* m_data;          // the bytes read: m_buffer's, or m_memory
    ULONGLONG m_textStart = 0;   // 3 behind a byte-order mark, else 0
    ULONGLONG m_bufferStart = 0; // file offset of m_data[0]
    std::size_t m_bufferLength = 0;
    std::size_t m_bufferPos = 0;
    int m_beforeBuffer = -1;      // the byte in front of the buffer, -1 at the start
    std::int64_t m_lineAtPos = 1; // 1 + line ends in front of the position
    int m_previous = -1;          // the byte in front of the position, -1 at the start
};
