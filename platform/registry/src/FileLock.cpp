// Advisory locks on hive lock files.
#include "FileLock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <thread>

namespace registry {

FileLock::FileLock(const std::string& path)
    : m_fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666))
{
    if (!m_fd)
        throw std::system_error(errno, std::generic_category(), "cannot open " + path);
    // flock has no timeout: try, and sleep a little longer each time.
    const auto deadline = std::chrono::steady_clock::now() + kBusyTimeout;
    std::chrono::microseconds pause{200};
    while (::flock(m_fd.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            throw std::system_error(errno, std::generic_category(), "cannot lock " + path);
        if (std::chrono::steady_clock::now() >= deadline)
            throw LockBusy("busy: another process has kept it locked for " +
                           std::to_string(kBusyTimeout.count()) + " s");
        std::this_thread::sleep_for(pause);
        pause = std::min<std::chrono::microseconds>(pause * 2, std::chrono::milliseconds(20));
    }
}

} // namespace registry
