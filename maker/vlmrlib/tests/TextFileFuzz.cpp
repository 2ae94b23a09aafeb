// Fuzz target for the text-file reads: the input is a file; its first byte
// picks a buffer size and seeds the order of line, token, number, byte and
// seek operations. Nothing may crash, hang or read outside a buffer, the
// position must stay within the file, and the line number must be the one
// that counting the bytes in front of the position gives.
#include "vlmrlib/CTextFile.h"

#include "vlmrexcept/CvmException.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // One file per process in the temporary folder (the smoke run's is a
    // folder of the build), removed when the process ends.
    static const std::string name = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "vlmrfuzz-XXXXXX").string();
        int fd = mkstemp(pattern.data());
        if (fd >= 0)
            close(fd);
        static std::string removed;
        removed = pattern;
        std::atexit([] { std::remove(removed.c_str()); });
        return pattern;
    }();
    if (size == 0)
        return 0;
    std::uint8_t control = data[0];
    // Written over in place and then cut: emptying the file first makes
    // ext4 write out and discard its block on every input. An input that
    // cannot be written tests nothing.
    const int out = open(name.c_str(), O_WRONLY);
    if (out < 0)
        return 0;
    const bool written = pwrite(out, data + 1, size - 1, 0) == static_cast<ssize_t>(size - 1) &&
                         ftruncate(out, static_cast<off_t>(size - 1)) == 0;
    close(out);
    if (!written)
        return 0;
    const std::size_t length = size - 1;
    const std::uint8_t* text = data + 1;

    // expected[p]: the line number at position p.
    std::vector<int> expected(length + 1);
    int line = 1, previous = -1;
    expected[0] = 1;
    for (std::size_t i = 0; i < length; ++i) {
        int c = text[i];
        if (c == '\r' || (c == '\n' && previous != '\r'))
            ++line;
        previous = c;
        expected[i + 1] = (c == '\r' || c == '\n') ? line - 1 : line;
    }

    CTextFile file(1 + control % 17);
    if (!file.Open(name.c_str(), 0))
        return 0;
    unsigned step = control;
    for (int i = 0; i < 4096 && file.GetPosition() < length; ++i) {
        step = step * 1103515245u + 12345u;
        CBreakString line;
        CString token;
        int integer = 0;
        double number = 0;
        char bytes[5];
        try {
            switch ((step >> 16) % 7) {
            case 0:
                file.ReadLine(&line);
                break;
            case 1:
                file.ReadToDelimit(&token);
                break;
            case 2:
                file.ReadInteger(&integer);
                break;
            case 3:
                file.ReadDouble(&number);
                break;
            case 4:
                file.Read(bytes, 1 + (step >> 8) % 5);
                break;
            case 5:
                file.SkipWhiteSpace();
                break;
            case 6:
                file.Seek(static_cast<LONGLONG>((step >> 4) % 41) - 20, CFile::current);
                break;
            }
            if (!line.IsEmpty()) {
                line.TrimWhiteSpace();
                line.BreakText(&token);
                line.BreakDouble(&number);
            }
        } catch (const CNumericConversionException&) {
        }
        ULONGLONG position = file.GetPosition();
        if (position > length || file.GetLineNumber() != expected[position])
            std::abort();
    }
    return 0;
}
