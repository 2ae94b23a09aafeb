// Registration of a class's category map through the component categories
// manager.
#include "com/server/CategoryMap.h"

#include "com/Runtime.h"

#include <vector>

namespace comserver {

HRESULT registerClassCategories(REFCLSID clsid, const CategoryMapEntry* map, bool reg)
{
    if (map == nullptr)
        return S_OK;
    std::vector<CATID> implemented;
    std::vector<CATID> required;
    for (const CategoryMapEntry* entry = map; entry->kind != CategoryKind::End; ++entry)
        (entry->kind == CategoryKind::Implemented ? implemented : required)
            .push_back(*entry->catid);
    if (implemented.empty() && required.empty())
        return S_OK;

    ICatRegister* categories = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_ICatRegister, reinterpret_cast<void**>(&categories));
    if (FAILED(hr))
        return hr;
    auto count = [](const std::vector<CATID>& list) { return static_cast<ULONG>(list.size()); };
    if (!implemented.empty())
        hr = reg ? categories->RegisterClassImplCategories(clsid, count(implemented),
                                                           implemented.data())
                 : categories->UnRegisterClassImplCategories(clsid, count(implemented),
                                                             implemented.data());
    if (SUCCEEDED(hr) && !required.empty())
        hr =
            reg ? categories->RegisterClassReqCategories(clsid, count(required), required.data())
                : categories->UnRegisterClassReqCategories(clsid, count(required), required.data());
    categories->Release();
    return hr;
}

} // namespace comserver
