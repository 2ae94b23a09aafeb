// Advisory locks on hive lock files.
#include "FileLock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <system_error>

namespace registry {

FileLock::FileLock(const std::string& path, Mode mode)
    : m_fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666))
{
    if (!m_fd)
        throw std::system_error(errno, std::generic_category(), "cannot open " + path);
    int operation = mode == Mode::Exclusive ? LOCK_EX : LOCK_SH;
    while (::flock(m_fd.get(), operation) != 0) {
        if (errno != EINTR)
            throw std::system_error(errno, std::generic_category(), "cannot lock " + path);
    }
}

} // namespace registry
