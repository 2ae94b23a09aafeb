// CFile on open(2), read(2), write(2) and lseek(2).
#include "vlmrlib/CFile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CFile::~CFile()
{
    Close();
}

BOOL CFile::Open(const char* fileName, UINT openFlags)
{
    Close();
    m_fileName = fileName;
    if (!fileName || !*fileName)
        return FALSE;
    // Non-blocking for the open only, so that a FIFO cannot hang it.
    int flags = O_CLOEXEC | O_NONBLOCK;
    switch (openFlags & 0x3) {
    case modeRead:
        flags |= O_RDONLY;
        break;
    case modeWrite:
        flags |= O_WRONLY;
        break;
    case modeReadWrite:
        flags |= O_RDWR;
        break;
    default:
        return FALSE;
    }
    if (openFlags & modeCreate)
        flags |= O_CREAT | ((openFlags & modeNoTruncate) ? 0 : O_TRUNC);
    int fd;
    do
        fd = ::open(fileName, flags, 0666);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return FALSE;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return FALSE;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    m_fd = fd;
    return TRUE;
}

void CFile::Close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

UINT CFile::Read(void* buffer, UINT count)
{
    if (m_fd < 0 || !buffer)
        return 0;
    auto* out = static_cast<char*>(buffer);
    UINT done = 0;
    while (done < count) {
        ssize_t n = ::read(m_fd, out + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<UINT>(n);
    }
    return done;
}

void CFile::Write(const void* buffer, UINT count)
{
    if (m_fd < 0 || !buffer)
        return;
    const auto* in = static_cast<const char*>(buffer);
    UINT done = 0;
    while (done < count) {
        ssize_t n = ::write(m_fd, in + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += static_cast<UINT>(n);
    }
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from)
{
    if (m_fd < 0)
        return 0;
    int whence = from == current ? SEEK_CUR : from == end ? SEEK_END : SEEK_SET;
    off_t moved = ::lseek(m_fd, static_cast<off_t>(offset), whence);
    return moved >= 0 ? static_cast<ULONGLONG>(moved) : GetPosition();
}

ULONGLONG CFile::GetPosition() const
{
    if (m_fd < 0)
        return 0;
    off_t at = ::lseek(m_fd, 0, SEEK_CUR);
    return at >= 0 ? static_cast<ULONGLONG>(at) : 0;
}

ULONGLONG CFile::GetLength() const
{
    struct stat info {};
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0)
        return 0;
    return static_cast<ULONGLONG>(info.st_size);
}
