// The built-in component categories manager. Categories are kept where
// the registry keeps them: HKCR\Component Categories\{catid} with one
// description per locale (value named by the LCID in hex), and a class's
// categories as keys under HKCR\CLSID\{clsid}\Implemented Categories and
// \Required Categories. Enumerations are snapshots taken when they start.
// A registry that cannot be read (a damaged hive) fails the call with the
// registry's status and its text in the error info.
#include "ComponentCategories.h"

#include "ClassesRoot.h"
#include "Enumerator.h"

#include "com/CodePage.h"
#include "com/Runtime.h"
#include "registry/Registry.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <strings.h>

namespace {

constexpr ULONG kAnyCategories = static_cast<ULONG>(-1);
constexpr LCID kEnglishUs = 0x409;
const std::string kCategoriesKey = "Component Categories";

std::string categoryKey(REFCATID catid)
{
    return kCategoriesKey + "\\" + guidToString(catid);
}

std::string classKey(REFCLSID clsid)
{
    return "CLSID\\" + guidToString(clsid);
}

std::string lcidName(LCID lcid)
{
    char text[16];
    std::snprintf(text, sizeof text, "%x", static_cast<unsigned>(lcid));
    return text;
}

// The description for lcid: that locale's, else US English, else the first.
struct Description {
    LCID lcid;
    std::string text;
};
std::optional<Description> describe(const std::string& key, LCID lcid)
{
    const auto values = classes::stringValues(key);
    if (values.empty())
        return std::nullopt;
    for (const LCID wanted : {lcid, kEnglishUs}) {
        for (const auto& [name, text] : values)
            if (strcasecmp(name.c_str(), lcidName(wanted).c_str()) == 0)
                return Description{wanted, text};
    }
    const auto& [name, text] = values.front();
    return Description{static_cast<LCID>(std::strtoul(name.c_str(), nullptr, 16)), text};
}

// The GUIDs named by the subkeys of key, in the registry's order.
std::vector<GUID> guidKeys(const std::string& key)
{
    std::vector<GUID> guids;
    for (const std::string& name : classes::subkeys(key)) {
        GUID guid;
        if (guidFromString(name, &guid))
            guids.push_back(guid);
    }
    return guids;
}

bool listed(REFGUID guid, ULONG count, const CATID list[])
{
    return std::any_of(list, list + count, [&](const CATID& c) { return c == guid; });
}

HRESULT checkLists(ULONG cImplemented, const CATID impl[], ULONG cRequired, const CATID req[])
{
    if (cImplemented == 0)
        return E_INVALIDARG;
    if ((cImplemented != kAnyCategories && !impl) ||
        (cRequired != kAnyCategories && cRequired > 0 && !req))
        return E_POINTER;
    return S_OK;
}

// A class matches when it implements one of the implemented categories and
// every category it requires is in the required list (a list of GUID_NULL
// alone admits only classes that require nothing); kAnyCategories skips a test.
bool classMatches(REFCLSID clsid, ULONG cImplemented, const CATID impl[], ULONG cRequired,
                  const CATID req[])
{
    const std::string key = classKey(clsid);
    if (cImplemented != kAnyCategories) {
        const auto implemented = guidKeys(key + "\\Implemented Categories");
        if (std::none_of(implemented.begin(), implemented.end(),
                         [&](const GUID& c) { return listed(c, cImplemented, impl); }))
            return false;
    }
    if (cRequired != kAnyCategories) {
        const auto required = guidKeys(key + "\\Required Categories");
        if (!std::all_of(required.begin(), required.end(),
                         [&](const GUID& c) { return listed(c, cRequired, req); }))
            return false;
    }
    return true;
}

HRESULT guidEnumerator(std::vector<GUID> guids, IEnumGUID** out)
{
    return Enumerator<IEnumGUID, GUID>::create(
        std::make_shared<const std::vector<GUID>>(std::move(guids)), 0, out);
}

HRESULT writeFailure(LONG status)
{
    return status == ERROR_SUCCESS ? S_OK : REGDB_E_WRITEREGDB;
}

class CategoriesManager final : public RuntimeObject<ICatRegister, ICatInformation> {
public:
    // ---- ICatRegister ----

    HRESULT RegisterCategories(ULONG cCategories, CATEGORYINFO* rgCategoryInfo) override
    {
        if (cCategories && !rgCategoryInfo)
            return E_POINTER;
        return guarded([&] {
            for (ULONG i = 0; i < cCategories; ++i) {
                const CATEGORYINFO& info = rgCategoryInfo[i];
                const auto* end = std::find(info.szDescription, info.szDescription + 128, u'\0');
                const std::string text = narrowFromWide(
                    std::u16string_view(info.szDescription, end - info.szDescription));
                if (const LONG status = classes::writeString(categoryKey(info.catid),
                                                             lcidName(info.lcid).c_str(), text))
                    return writeFailure(status);
            }
            return S_OK;
        });
    }
    HRESULT UnRegisterCategories(ULONG cCategories, CATID* rgcatid) override
    {
        if (cCategories && !rgcatid)
            return E_POINTER;
        return guarded([&] {
            for (ULONG i = 0; i < cCategories; ++i)
                if (const LONG status = classes::deleteTree(categoryKey(rgcatid[i])))
                    return writeFailure(status);
            return S_OK;
        });
    }
    HRESULT RegisterClassImplCategories(REFCLSID rclsid, ULONG cCategories, CATID* rgcatid) override
    {
        return registerClass(rclsid, "\\Implemented Categories", cCategories, rgcatid);
    }
    HRESULT UnRegisterClassImplCategories(REFCLSID rclsid, ULONG cCategories,
                                          CATID* rgcatid) override
    {
        return unregisterClass(rclsid, "\\Implemented Categories", cCategories, rgcatid);
    }
    HRESULT RegisterClassReqCategories(REFCLSID rclsid, ULONG cCategories, CATID* rgcatid) override
    {
        return registerClass(rclsid, "\\Required Categories", cCategories, rgcatid);
    }
    HRESULT UnRegisterClassReqCategories(REFCLSID rclsid, ULONG cCategories,
                                         CATID* rgcatid) override
    {
        return unregisterClass(rclsid, "\\Required Categories", cCategories, rgcatid);
    }

    // ---- ICatInformation ----

    HRESULT EnumCategories(LCID lcid, IEnumCATEGORYINFO** ppenumCategoryInfo) override
    {
        if (!ppenumCategoryInfo)
            return E_POINTER;
        *ppenumCategoryInfo = nullptr;
        return guarded([&] {
            auto infos = std::make_shared<std::vector<CATEGORYINFO>>();
            for (const GUID& catid : guidKeys(kCategoriesKey)) {
                CATEGORYINFO info{catid, lcid, {}};
                if (const auto description = describe(categoryKey(catid), lcid)) {
                    info.lcid = description->lcid;
                    const std::u16string wide = wideFromNarrow(description->text);
                    const std::size_t n = std::min<std::size_t>(wide.size(), 127);
                    std::copy_n(wide.begin(), n, info.szDescription);
                }
                infos->push_back(info);
            }
            return Enumerator<IEnumCATEGORYINFO, CATEGORYINFO>::create(std::move(infos), 0,
                                                                       ppenumCategoryInfo);
        });
    }
    HRESULT GetCategoryDesc(REFCATID rcatid, LCID lcid, LPWSTR* pszDesc) override
    {
        if (!pszDesc)
            return E_POINTER;
        *pszDesc = nullptr;
        return guarded([&] {
            const std::string key = categoryKey(rcatid);
            if (!classes::hasKey(key))
                return CAT_E_CATIDNOEXIST;
            const auto description = describe(key, lcid);
            if (!description)
                return CAT_E_NODESCRIPTION;
            const std::u16string wide = wideFromNarrow(description->text);
            auto* out = static_cast<LPWSTR>(CoTaskMemAlloc((wide.size() + 1) * sizeof(WCHAR)));
            if (!out)
                return E_OUTOFMEMORY;
            std::memcpy(out, wide.c_str(), (wide.size() + 1) * sizeof(WCHAR));
            *pszDesc = out;
            return S_OK;
        });
    }
    HRESULT EnumClassesOfCategories(ULONG cImplemented, const CATID rgcatidImpl[], ULONG cRequired,
                                    const CATID rgcatidReq[], IEnumGUID** ppenumClsid) override
    {
        if (!ppenumClsid)
            return E_POINTER;
        *ppenumClsid = nullptr;
        if (const HRESULT hr = checkLists(cImplemented, rgcatidImpl, cRequired, rgcatidReq);
            FAILED(hr))
            return hr;
        return guarded([&] {
            std::vector<GUID> found;
            for (const GUID& clsid : guidKeys("CLSID"))
                if (classMatches(clsid, cImplemented, rgcatidImpl, cRequired, rgcatidReq))
                    found.push_back(clsid);
            return guidEnumerator(std::move(found), ppenumClsid);
        });
    }
    HRESULT IsClassOfCategories(REFCLSID rclsid, ULONG cImplemented, const CATID rgcatidImpl[],
                                ULONG cRequired, const CATID rgcatidReq[]) override
    {
        if (const HRESULT hr = checkLists(cImplemented, rgcatidImpl, cRequired, rgcatidReq);
            FAILED(hr))
            return hr;
        return guarded([&] {
            return classMatches(rclsid, cImplemented, rgcatidImpl, cRequired, rgcatidReq) ? S_OK
                                                                                          : S_FALSE;
        });
    }
    HRESULT EnumImplCategoriesOfClass(REFCLSID rclsid, IEnumGUID** ppenumCatid) override
    {
        return categoriesOfClass(rclsid, "\\Implemented Categories", ppenumCatid);
    }
    HRESULT EnumReqCategoriesOfClass(REFCLSID rclsid, IEnumGUID** ppenumCatid) override
    {
        return categoriesOfClass(rclsid, "\\Required Categories", ppenumCatid);
    }

private:
    ~CategoriesManager() = default;

    // Runs body; an allocation failure becomes E_OUTOFMEMORY, a registry
    // that cannot be read its own failure (never an empty answer).
    template <class Body>
    static HRESULT guarded(Body body)
    {
        try {
            return body();
        } catch (const classes::ReadFailure& failure) {
            return classes::reportReadFailure(failure, u"ComponentCategoriesManager");
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }

    static HRESULT registerClass(REFCLSID clsid, const char* list, ULONG count, const CATID* catids)
    {
        if (count && !catids)
            return E_POINTER;
        return guarded([&] {
            for (ULONG i = 0; i < count; ++i)
                if (const LONG status =
                        classes::createKey(classKey(clsid) + list + "\\" + guidToString(catids[i])))
                    return writeFailure(status);
            return S_OK;
        });
    }
    static HRESULT unregisterClass(REFCLSID clsid, const char* list, ULONG count,
                                   const CATID* catids)
    {
        if (count && !catids)
            return E_POINTER;
        return guarded([&] {
            const std::string listKey = classKey(clsid) + list;
            for (ULONG i = 0; i < count; ++i)
                if (const LONG status =
                        classes::deleteTree(listKey + "\\" + guidToString(catids[i])))
                    return writeFailure(status);
            classes::deleteIfEmpty(listKey);
            return S_OK;
        });
    }
    static HRESULT categoriesOfClass(REFCLSID clsid, const char* list, IEnumGUID** out)
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        return guarded([&] {
            if (!classes::hasKey(classKey(clsid)))
                return REGDB_E_CLASSNOTREG;
            return guidEnumerator(guidKeys(classKey(clsid) + list), out);
        });
    }
};

// One factory for the process; it is never destroyed.
class CategoriesManagerFactory final : public IClassFactory {
public:
    HRESULT QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *ppv = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }
    HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (pUnkOuter)
            return CLASS_E_NOAGGREGATION;
        auto* manager = new (std::nothrow) CategoriesManager;
        if (!manager)
            return E_OUTOFMEMORY;
        const HRESULT hr = static_cast<ICatRegister*>(manager)->QueryInterface(riid, ppv);
        static_cast<ICatRegister*>(manager)->Release();
        return hr;
    }
    HRESULT LockServer(BOOL) override { return S_OK; }
};

} // namespace

HRESULT getCategoriesManagerFactory(REFIID riid, void** ppv)
{
    static CategoriesManagerFactory factory;
    return factory.QueryInterface(riid, ppv);
}
