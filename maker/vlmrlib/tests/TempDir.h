// A fresh temporary directory per test, removed afterwards, with a helper
// that writes a file of exact bytes.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class TempDir {
public:
    TempDir()
    {
        char pattern[] = "/tmp/vlmrlib-XXXXXX";
        if (mkdtemp(pattern))
            m_path = pattern;
    }
    ~TempDir() { std::filesystem::remove_all(m_path); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string write(const std::string& name, const std::string& bytes) const
    {
        std::string file = (m_path / name).string();
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }
    std::string read(const std::string& file) const
    {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};
