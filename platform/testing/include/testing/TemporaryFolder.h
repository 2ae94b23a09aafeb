// A fresh folder for one test (or one test program), and whole-file reads
// and writes for the files a test puts there.
//
//   testsupport::TemporaryFolder folder("reader-test");
//   const std::string file = folder.write("bar.nc1", "ST\n...");
//   EXPECT_EQ(testsupport::readFile(folder / "out.log"), "...");
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace testsupport {

// A new empty folder under the system's temporary folder, readable by its
// owner only, removed with everything in it when the object goes. Throws
// std::runtime_error when it cannot be made.
class TemporaryFolder {
public:
    explicit TemporaryFolder(std::string_view prefix = "cadconv-test");
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::filesystem::path& name) const
    {
        return m_path / name;
    }

    // Writes bytes as they are to the file name in the folder (its folders
    // made as needed) and answers the file's path.
    std::string write(const std::filesystem::path& name, std::string_view bytes) const;

private:
    std::filesystem::path m_path;
};

// The file's bytes; empty when it cannot be read.
std::string readFile(const std::filesystem::path& file);
// Replaces the file with bytes, making its folders as needed.
void writeFile(const std::filesystem::path& file, std::string_view bytes);

} // namespace testsupport
