// Fuzz target of the three record readers: the first byte chooses the CAD
// system (its value modulo 3: Ferrick, Ambrel, Tolvin), the other bytes are
// the file. The oracle: each read answers S_OK, S_FALSE, or a failure with
// a text that ends with the line being read; every call hands out its
// part; the file ends; the reader keeps no reference to any part.
#include "AmbrelRecordReader.h"
#include "FerrickRecordReader.h"
#include "TolvinRecordReader.h"

#include "convertertest/RecordingPart.h"

#include "com/Runtime.h"
#include "testing/FuzzInputFile.h"
#include "testing/ScopedEnvironment.h"
#include "testing/TemporaryFolder.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

using convertertest::RecordingPart;
using fuzzinput::require;

namespace {

template <class Reader>
void readAll(std::size_t size)
{
    std::vector<std::unique_ptr<RecordingPart>> parts;
    {
        Reader reader([&](IUnknown** pp) {
            parts.push_back(std::make_unique<RecordingPart>());
            return parts.back()->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(pp));
        });
        CString text;
        require(reader.SetFile(fuzzinput::name(), &text) == S_OK && text.IsEmpty());
        // A record takes more than one byte, so the reads end before this.
        bool ended = false;
        for (std::size_t read = 0; read <= size + 1 && !ended; ++read) {
            IUnknown* unknown = nullptr;
            const HRESULT hr = reader.ReadPart(&unknown, 0, 0, &text);
            require(unknown == static_cast<IUnknown*>(parts.back().get()));
            unknown->Release();
            if (hr == S_OK) {
                require(text.IsEmpty());
                continue;
            }
            ended = true;
            if (hr == S_FALSE)
                continue;
            require(hr == E_CONVERT_UNEXPECTED_EOF || hr == E_CONVERT_NUMERIC ||
                    hr == E_UNEXPECTED);
            require(std::string_view(text).find("\r\nLine:") != std::string_view::npos);
        }
        require(ended);
    }
    for (const auto& part : parts)
        require(part->references() == 1);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    CoInitialize(nullptr);
    // An unknown hole-line code is written to the maker's error log: keep it
    // in a folder of its own.
    static const testsupport::TemporaryFolder dataHome("records-fuzz-data");
    static const testsupport::ScopedEnvironment variable("XDG_DATA_HOME", dataHome.path().string());
    fuzzinput::create("records-fuzz");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    fuzzinput::write(data + 1, size - 1);
    switch (data[0] % 3) {
    case 0:
        readAll<FerrickRecordReader>(size);
        break;
    case 1:
        readAll<AmbrelRecordReader>(size);
        break;
    default:
        readAll<TolvinRecordReader>(size);
        break;
    }
    return 0;
}
