// Per-thread initialisation counts.
#include "Apartment.h"

#include "com/Runtime.h"

namespace {

struct Apartment {
    int entries = 0; // successful CoInitialize(Ex) calls not yet undone
    DWORD model = COINIT_APARTMENTTHREADED;
    int oleEntries = 0;
};
thread_local Apartment t_apartment;

constexpr DWORD kModelBits = COINIT_APARTMENTTHREADED;

} // namespace

bool apartmentEntered()
{
    return t_apartment.entries > 0;
}

HRESULT CoInitializeEx(LPVOID reserved, DWORD coInit)
{
    const DWORD model = coInit & kModelBits;
    if (t_apartment.entries > 0) {
        if (t_apartment.model != model)
            return RPC_E_CHANGED_MODE;
        ++t_apartment.entries;
        return S_FALSE;
    }
    t_apartment.model = model;
    t_apartment.entries = 1;
    return S_OK;
}

HRESULT CoInitialize(LPVOID reserved)
{
    return CoInitializeEx(reserved, COINIT_APARTMENTTHREADED);
}

void CoUninitialize()
{
    if (t_apartment.entries > 0)
        --t_apartment.entries;
}

HRESULT OleInitialize(LPVOID reserved)
{
    const HRESULT hr = CoInitializeEx(reserved, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(hr))
        ++t_apartment.oleEntries;
    return hr;
}

void OleUninitialize()
{
    if (t_apartment.oleEntries > 0) {
        --t_apartment.oleEntries;
        CoUninitialize();
    }
}
