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

inline void write(const std::uint8_t* data, std::size_t size)
{
    std::FILE* file = std::fopen(path().c_str(), "wb");
    require(file != nullptr);
    require(std::fwrite(data, 1, size, file) == size);
    std::fclose(file);
}

} // namespace fuzzinput
