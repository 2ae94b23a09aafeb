// A file descriptor closed when it goes out of scope.
#pragma once

#include <unistd.h>

#include <utility>

namespace registry {

class UniqueFd {
public:
    explicit UniqueFd(int fd = -1) : m_fd(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept
    {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    ~UniqueFd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }
    // Closes now, so that a failure to close can be seen; -1 on failure.
    int close() { return ::close(std::exchange(m_fd, -1)); }

private:
    int m_fd;
};

} // namespace registry
