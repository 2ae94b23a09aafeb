// Advisory locks on hive lock files.
#include "FileLock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <system_error>

namespace registry {

FileLock::FileLock(const std::string& path)
    : m_fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666))
{
    if (!m_fd)
        throw std::system_error(errno, std::generic_category(), "cannot open " + path);
    while (::flock(m_fd.get(), LOCK_EX) != 0) {
        if (errno != EINTR)
            throw std::system_error(errno, std::generic_category(), "cannot lock " + path);
    }
}

} // namespace registry
