// CreateComponentCategory through ICatRegister and ICatInformation.
#include "vlmrtsconvert/ComponentCategory.h"

#include "com/CodePage.h"
#include "com/Guid.h"
#include "com/Interfaces.h"
#include "com/Runtime.h"

#include <algorithm>
#include <string>

namespace {

constexpr LCID englishUS = 0x409;

// The description as wide text that fits CATEGORYINFO, never ending in
// half a surrogate pair.
void copyDescription(const char* description, OLECHAR (&out)[128])
{
    std::u16string wide = wideFromNarrow(description ? description : "");
    std::size_t n = std::min<std::size_t>(wide.size(), 127);
    if (n > 0 && n < wide.size() && wide[n - 1] >= 0xD800 && wide[n - 1] <= 0xDBFF)
        --n;
    std::copy_n(wide.begin(), n, out);
    out[n] = 0;
}

bool categoryExists(ICatRegister* registrar, REFCATID catid)
{
    ICatInformation* information = nullptr;
    if (FAILED(registrar->QueryInterface(IID_ICatInformation,
                                         reinterpret_cast<void**>(&information))) ||
        !information)
        return false;
    LPWSTR existing = nullptr;
    HRESULT hr = information->GetCategoryDesc(catid, englishUS, &existing);
    CoTaskMemFree(existing);
    information->Release();
    return SUCCEEDED(hr);
}

} // namespace

HRESULT CreateComponentCategory(CATID catid, const char* description)
{
    CATEGORYINFO info{};
    info.catid = catid;
    info.lcid = englishUS;
    try {
        copyDescription(description, info.szDescription);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    ICatRegister* registrar = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_ICatRegister, reinterpret_cast<void**>(&registrar));
    if (FAILED(hr))
        return hr;
    if (!registrar)
        return E_UNEXPECTED;
    hr = categoryExists(registrar, catid) ? S_OK : registrar->RegisterCategories(1, &info);
    registrar->Release();
    return hr;
}
