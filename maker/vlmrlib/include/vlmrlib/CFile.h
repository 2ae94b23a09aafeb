// CFile: a binary file on a POSIX descriptor, with the open modes and the
// seek origins the servers use. Not copyable; one thread at a time.
#pragma once

#include "com/Types.h"
#include "vlmrlib/CString.h"

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        modeCreate = 0x1000, // create when missing; truncate unless modeNoTruncate
        modeNoTruncate = 0x2000,
    };
    enum SeekPosition : UINT { begin = 0, current = 1, end = 2 };

    CFile() = default;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    virtual ~CFile();

    // Closes an open file first. Non-zero when the file is open; 0 when it
    // cannot be opened or is not a regular file (a directory or a device).
    virtual BOOL Open(const char* fileName, UINT openFlags);
    virtual void Close();

    // Bytes read, 0 at the end of the file and on a closed file.
    virtual UINT Read(void* buffer, UINT count);
    // Writes every byte unless the system refuses.
    virtual void Write(const void* buffer, UINT count);

    // Moves by offset from begin, current or end and answers the new
    // position. A target before the start of the file, or any seek on a
    // closed file, leaves the position as it was.
    virtual ULONGLONG Seek(LONGLONG offset, UINT from);
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetPosition() const;

    // Size in bytes, 0 for a closed file.
    virtual ULONGLONG GetLength() const;
    ULONGLONG GetFileLength() const { return GetLength(); }

    // The name as given to the last Open, kept after Close for error texts.
    CString GetFileName() const { return m_fileName; }

protected:
    bool isOpen() const { return m_fd >= 0; }
    // For a derived class whose content does not come from a descriptor.
    void setFileName(const char* fileName) { m_fileName = fileName; }

private:
    int m_fd = -1;
    CString m_fileName;
};
