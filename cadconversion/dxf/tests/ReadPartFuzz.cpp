// Fuzz target of the DXF reader: any bytes as a drawing, read into a
// recording part. The oracle: every read answers S_OK (once per file),
// S_FALSE, or a failure with a text that names the file and line; the
// file ends; and the reader keeps no reference to its part.
#include "DXFPartReader.h"

#include "convertertest/RecordingPart.h"

#include "com/Runtime.h"
#include "testing/FuzzInputFile.h"

#include <cstdint>
#include <string_view>

using convertertest::RecordingPart;
using fuzzinput::require;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    CoInitialize(nullptr);
    fuzzinput::create("ostrane-fuzz");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzinput::write(data, size);
    RecordingPart part;
    {
        DXFPartReader reader([&](IUnknown** pp) {
            return part.QueryInterface(IID_IUnknown, reinterpret_cast<void**>(pp));
        });
        CString text;
        require(reader.SetFile(fuzzinput::name(), &text) == S_OK && text.IsEmpty());
        int parts = 0;
        for (int read = 0; read < 3; ++read) {
            IUnknown* unknown = nullptr;
            const HRESULT hr = reader.ReadPart(&unknown, &text);
            if (unknown)
                unknown->Release();
            if (hr == S_OK) {
                require(++parts == 1 && text.IsEmpty());
                continue;
            }
            if (hr != S_FALSE) {
                require(hr == E_CONVERT_READ || hr == E_CONVERT_BAD_CODE ||
                        hr == E_CONVERT_UNEXPECTED_EOF || hr == E_UNEXPECTED);
                const std::string_view report(text, static_cast<std::size_t>(text.GetLength()));
                require(report.find("File Name:") != std::string_view::npos &&
                        report.find("\r\nLine:") != std::string_view::npos);
            }
            break;
        }
    }
    require(part.references() == 1);
    return 0;
}
