// The reader fuzz targets' input: one temporary file per process, written
// anew with every input, and its name as a BSTR for SetFile.
#pragma once

#include "com/Bstr.h"
#include "com/CodePage.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace fuzzinput {

// A broken promise of the code under test: the fuzzer reports the input.
inline void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

inline std::string& path()
{
    static std::string value;
    return value;
}

inline BSTR& name()
{
    static BSTR value = nullptr;
    return value;
}

// Makes the file; it is removed when the process ends.
inline void create(const char* prefix)
{
    std::string pattern =
        (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
    const int fd = mkstemp(pattern.data());
    require(fd >= 0);
    close(fd);
    path() = pattern;
    name() = bstrFromNarrow(pattern);
    std::atexit([] {
        std::remove(path().c_str());
        SysFreeString(name());
    });
}

// Written over in place and then cut to the input's size: emptying the
// file first makes ext4 write out and discard its block on every input,
// which slows a run down a hundredfold.
inline void write(const std::uint8_t* data, std::size_t size)
{
    const int fd = open(path().c_str(), O_WRONLY);
    require(fd >= 0);
    require(pwrite(fd, data, size, 0) == static_cast<ssize_t>(size));
    require(ftruncate(fd, static_cast<off_t>(size)) == 0);
    close(fd);
}

} // namespace fuzzinput
