// Fuzz target of the machine part file reader: the first byte chooses the
// version (its value modulo 3: 0 is 3.0, 2 is 2.0, 1 is 1.0, so the digits
// '3', '2' and '1' name their versions), the other bytes are the file. The
// oracle: every read answers S_OK (once per file), S_FALSE or one of the
// reader's failures with a text that ends with the line, the file ends,
// and the reader keeps no reference to its part.
#include "MachineFileReader.h"

#include "convertertest/RecordingPart.h"

#include "com/Runtime.h"
#include "testing/FuzzInputFile.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

using convertertest::RecordingPart;
using fuzzinput::require;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    CoInitialize(nullptr);
    fuzzinput::create("tobrenn-fuzz");
    // The maker's log takes the failures that end a read: keep it in the
    // temporary folder.
    const std::filesystem::path data = std::filesystem::temp_directory_path() / "tobrenn-fuzz-data";
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const MachineFileVersion* versions[] = {&kVersion30, &kVersion10, &kVersion20};
    const MachineFileVersion& version = *versions[data[0] % 3];
    fuzzinput::write(data + 1, size - 1);

    RecordingPart part;
    {
        MachineFileReader reader(version, [&](IUnknown** pp) {
            return part.QueryInterface(IID_IUnknown, reinterpret_cast<void**>(pp));
        });
        CString text;
        require(reader.SetFile(fuzzinput::name(), &text) == S_OK && text.IsEmpty());
        int parts = 0;
        for (int read = 0; read < 3; ++read) {
            IUnknown* unknown = nullptr;
            const HRESULT hr = reader.ReadPart(&unknown, 0, 0, &text);
            require(unknown == static_cast<IUnknown*>(&part));
            unknown->Release();
            if (hr == S_OK) {
                require(++parts == 1 && text.IsEmpty());
                continue;
            }
            if (hr == S_FALSE) {
                require(text.IsEmpty());
                break;
            }
            require(hr == E_CONVERT_UNEXPECTED_EOF || hr == E_CONVERT_NUMERIC ||
                    hr == E_CONVERT_BAD_CODE || hr == E_UNEXPECTED);
            const std::string report(text, static_cast<std::size_t>(text.GetLength()));
            require(report.find("\r\nFile Name:") != std::string::npos &&
                    report.find("\r\nLine:") != std::string::npos);
            break;
        }
    }
    require(part.references() == 1);
    return 0;
}
