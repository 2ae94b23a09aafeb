// The writers' advisory lock (flock, exclusive) on a lock file beside a
// hive; readers need none. The lock file is opened for each lock, so that a
// forked child never shares its parent's lock.
#pragma once

#include "UniqueFd.h"

#include <chrono>
#include <stdexcept>
#include <string>

namespace registry {

// How long a writer waits for another process's writer, as the database's
// writers do, before it gives up with "busy".
inline constexpr std::chrono::seconds kBusyTimeout{10};

// The lock was held by another process for the whole busy timeout.
class LockBusy : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class FileLock {
public:
    // Opens (creating) path and waits for the lock: throws LockBusy when
    // another process keeps it past the busy timeout, std::system_error
    // when the file cannot be opened or locked.
    explicit FileLock(const std::string& path);
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    UniqueFd m_fd; // closing it releases the lock
};

} // namespace registry
