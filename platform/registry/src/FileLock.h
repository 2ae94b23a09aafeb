// The writers' advisory lock (flock, exclusive) on a lock file beside a
// hive; readers need none. The lock file is opened for each lock, so that a
// forked child never shares its parent's lock.
#pragma once

#include "UniqueFd.h"

#include <string>

namespace registry {

class FileLock {
public:
    // Opens (creating) path and waits for the lock; throws std::system_error
    // when the file cannot be opened or locked.
    explicit FileLock(const std::string& path);
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    UniqueFd m_fd; // closing it releases the lock
};

} // namespace registry
