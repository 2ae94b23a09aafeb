// Fuzz target of the DSTV part reader: any bytes as a file, read by the
// three ReadPart variants into a recording part. The oracle: every read
// answers S_OK (once per file), S_FALSE or E_CONVERT_READ with a text, the
// file ends, and the reader keeps no reference to its part.
#include "DSTVPartReader.h"
#include "RecordingPart.h"

#include "com/Bstr.h"
#include "com/Runtime.h"
#include "testing/FuzzInputFile.h"

#include <cstdint>

using fuzzinput::require;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    CoInitialize(nullptr);
    fuzzinput::create("lunkett-fuzz");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzinput::write(data, size);

    using Entry = HRESULT (DSTVPartReader::*)(IUnknown**, LONG, LONG, BSTR*);
    for (Entry entry : {&DSTVPartReader::ReadPart, &DSTVPartReader::ReadPartSDS6_336,
                        &DSTVPartReader::ReadPartSDSEarlyVersions}) {
        RecordingPart part;
        {
            DSTVPartReader reader([&](IUnknown** pp) {
                return part.QueryInterface(IID_IUnknown, reinterpret_cast<void**>(pp));
            });
            BSTR text = nullptr;
            require(reader.SetFile(fuzzinput::name(), &text) == S_OK && text == nullptr);
            int parts = 0;
            for (int read = 0; read < 3; ++read) {
                IUnknown* unknown = nullptr;
                const HRESULT hr = (reader.*entry)(&unknown, size % 2, (size / 2) % 2, &text);
                if (unknown)
                    unknown->Release();
                if (hr == S_OK) {
                    require(++parts == 1 && text == nullptr);
                    continue;
                }
                require(hr == S_FALSE || (hr == E_CONVERT_READ && SysStringLen(text) > 0));
                SysFreeString(text);
                text = nullptr;
                break;
            }
        }
        require(part.references() == 1);
    }
    return 0;
}
