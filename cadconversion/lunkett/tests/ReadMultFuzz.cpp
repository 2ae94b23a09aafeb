// Fuzz target of the DSTV bar reader: any bytes as a file, read into a
// recording mult that knows every machine and piece (so no dialog opens).
// The oracle: every read answers S_OK (once per file), S_FALSE or
// E_CONVERT_READ with a text, the file ends, and the reader keeps no
// reference to its mult.
#include "DSTVMultReader.h"
#include "RecordingMult.h"

#include "com/Bstr.h"
#include "com/Runtime.h"
#include "testing/FuzzInputFile.h"

#include <cstdint>

using fuzzinput::require;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    CoInitialize(nullptr);
    fuzzinput::create("lunkett-mult-fuzz");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzinput::write(data, size);

    RecordingMult mult;
    mult.knowsEverything = true;
    {
        DSTVMultReader reader([&](IUnknown** pp) {
            return mult.QueryInterface(IID_IUnknown, reinterpret_cast<void**>(pp));
        });
        BSTR text = nullptr;
        require(reader.SetFile(fuzzinput::name(), &text) == S_OK && text == nullptr);
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
