// One hive file and its cached tree. Changes run under an exclusive lock
// (on "<hive>.lock"); reads and changes first bring the cache up to date with
// the file, so that another process's changes are seen and never lost. A
// change is written to "<hive>.tmp", flushed, renamed over the hive and the
// directory flushed: the hive on disk is always either the old or the new
// content, which is why reads need no lock. A damaged hive answers ERROR_BADDB and, since no
// change can be applied to it, is never overwritten.
//
// Not thread-safe: the registry's mutex guards every HiveFile.
#pragma once

#include "KeyTree.h"

#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>

namespace registry {

class HiveFile {
public:
    explicit HiveFile(std::string path);

    const std::string& path() const { return m_path; }

    // Calls read with the hive's current content.
    void read(const std::function<void(const Key& root)>& read);
    // Calls change with the hive's current content and writes the hive when
    // it answers true. An exception from change or from the write leaves the
    // file as it was and drops the cache, so the next call reads the file.
    void change(const std::function<bool(Key& root)>& change);

private:
    // What stat says about the file; a rewrite changes at least one field
    // or the generation in the header.
    struct Stamp {
        bool exists = false;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        std::timespec mtime{};
        bool operator==(const Stamp& other) const;
    };

    void refresh();
    void write();
    [[noreturn]] void failWrite(const std::string& what) const;
    std::string directory() const;

    std::string m_path;
    bool m_cached = false;
    Stamp m_stamp;
    std::uint64_t m_generation = 0;
    Key m_root;
};

} // namespace registry
