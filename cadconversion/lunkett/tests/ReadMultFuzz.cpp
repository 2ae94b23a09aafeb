// Fuzz target of the DSTV bar reader: any bytes as a file, read into a
// recording mult that knows every machine and piece (so no dialog opens).
// The oracle: every read answers S_OK (once per file), S_FALSE or
// E_CONVERT_READ with a text, the file ends, and the reader keeps no
// reference to its mult.
#include "DSTVMultReader.h"
#include "RecordingMult.h"

#include "com/Bstr.h"
#include "com/CodePage.h"
#include "com/Runtime.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

std::string g_path;
BSTR g_name = nullptr;

void removeFile()
{
    std::remove(g_path.c_str());
    SysFreeString(g_name);
}

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    CoInitialize(nullptr);
    std::string pattern = (std::filesystem::temp_directory_path() / "lunkett-mult-fuzz-XXXXXX").string();
    const int fd = mkstemp(pattern.data());
    require(fd >= 0);
    close(fd);
    g_path = pattern;
    const std::u16string wide = wideFromNarrow(g_path);
    g_name = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    std::atexit(removeFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::FILE* file = std::fopen(g_path.c_str(), "wb");
    require(file != nullptr);
    require(std::fwrite(data, 1, size, file) == size);
    std::fclose(file);

    RecordingMult mult;
    mult.knowsEverything = true;
    {
        DSTVMultReader reader([&](IUnknown** pp) {
            return mult.QueryInterface(IID_IUnknown, reinterpret_cast<void**>(pp));
        });
        BSTR text = nullptr;
        require(reader.SetFile(g_name, &text) == S_OK && text == nullptr);
        int mults = 0;
        for (int read = 0; read < 3; ++read) {
            IUnknown* unknown = nullptr;
            const HRESULT hr = reader.ReadMult(&unknown, &text);
            if (unknown)
                unknown->Release();
            if (hr == S_OK) {
                require(++mults == 1 && text == nullptr);
                continue;
            }
            require(hr == S_FALSE || (hr == E_CONVERT_READ && SysStringLen(text) > 0));
            SysFreeString(text);
            text = nullptr;
            break;
        }
    }
    require(mult.references() == 1);
    return 0;
}
