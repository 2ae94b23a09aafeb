// An advisory lock (flock) on a lock file beside a hive: shared for reading,
// exclusive for changing. The lock file is opened for each lock, so that a
// forked child never shares its parent's lock.
#pragma once

#include "UniqueFd.h"

#include <string>

namespace registry {

class FileLock {
public:
    enum class Mode { Shared, Exclusive };

    // Opens (creating) path and waits for the lock; throws std::system_error
    // when the file cannot be opened or locked.
    FileLock(const std::string& path, Mode mode);
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    UniqueFd m_fd; // closing it releases the lock
};

} // namespace registry
