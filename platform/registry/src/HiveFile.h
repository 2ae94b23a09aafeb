// One hive file and its cached tree. Changes run under an exclusive lock
// (on "<hive>.lock"); reads and changes first bring the cache up to date with
// the file, so that another process's changes are seen and never lost. A
// change is written to "<hive>.tmp", flushed, renamed over the hive and the
// directory flushed: the hive on disk is always either the old or the new
// content, which is why reads need no lock. A damaged hive answers ERROR_BADDB and, since no
// change can be applied to it, is never overwritten.
//
// The cache keeps the file it was read from open. Since every write puts a
// new file in place, and the inode of a file held open cannot be reused, one
// stat of the path tells whether the cache is still the hive's content (a
// file edited in place, by hand, is told by its size and times).
//
// A group of changes (beginGroup .. endGroup) holds the lock throughout and
// writes once, at its end: other processes' writers wait, and readers see
// the hive from before the group or after it, never half of it.
//
// Not thread-safe: the registry's mutex guards every HiveFile.
#pragma once

#include "FileLock.h"
#include "KeyTree.h"
#include "UniqueFd.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>

namespace registry {

class HiveFile {
public:
    explicit HiveFile(std::string path);

    const std::string& path() const { return m_path; }

    // Calls read with the hive's current content.
    void read(const std::function<void(const Key& root)>& read);
    // Calls change with the hive's current content and writes the hive when
    // it answers true (in a group: at the group's end). An exception from
    // change or from the write leaves the file as it was and drops the
    // cache, so the next call reads the file; in a group, the changes made
    // so far stay for the group's end to write or drop.
    void change(const std::function<bool(Key& root)>& change);
    // A number that changes whenever the content changes, by this process
    // or another; the same while it does not. Unique among the hives of the
    // process.
    std::uint64_t version();

    // Takes the lock for a group of changes; endGroup writes them (commit)
    // or drops them, then lets the lock go. endGroup throws when the write
    // fails; the lock is let go all the same.
    void beginGroup();
    void endGroup(bool commit);

private:
    // What stat says about the file.
    struct Stamp {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        std::timespec mtime{};
        std::timespec ctime{};
        bool operator==(const Stamp& other) const;
    };
    static Stamp stampOf(const struct stat& info);

    void refresh();
    void load();
    void becomeEmpty();
    void write();
    void lockDirectory(std::optional<FileLock>& lock);
    [[noreturn]] void failRead(int error);
    [[noreturn]] void failWrite(const std::string& what) const;
    std::string directory() const;

    std::string m_path;
    bool m_cached = false;
    UniqueFd m_file; // the file m_root was read from or written to; closed when there is none
    Stamp m_stamp;
    std::uint64_t m_generation = 0;
    std::uint64_t m_version = 0;
    Key m_root;
    std::optional<FileLock> m_groupLock; // held from beginGroup to endGroup
    bool m_pending = false;              // m_root holds changes of the group not yet written
};

} // namespace registry
