// ProgID look-ups: HKCR\<ProgID>\CLSID and HKCR\CLSID\{clsid}\ProgID.
#include "ClassesRoot.h"

#include "com/CodePage.h"
#include "com/Runtime.h"

#include <cstring>
#include <new>

HRESULT CLSIDFromProgID(LPCOLESTR progId, LPCLSID pclsid)
{
    if (!pclsid)
        return E_POINTER;
    *pclsid = CLSID_NULL;
    if (!progId || !*progId)
        return E_INVALIDARG;
    try {
        const std::string name = narrowFromWide(progId);
        // A name that would reach into another key is no ProgID.
        if (name.find('\\') != std::string::npos)
            return CO_E_CLASSSTRING;
        const auto text = classes::readString(name + "\\CLSID", nullptr);
        if (!text || !guidFromString(*text, pclsid))
            return CO_E_CLASSSTRING;
        return S_OK;
    } catch (const classes::ReadFailure& failure) {
        return classes::reportReadFailure(failure, u"ProgID");
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT ProgIDFromCLSID(REFCLSID clsid, LPOLESTR* progId)
{
    if (!progId)
        return E_POINTER;
    *progId = nullptr;
    try {
        const auto text =
            classes::readString("CLSID\\" + guidToString(clsid) + "\\ProgID", nullptr);
        if (!text || text->empty())
            return REGDB_E_CLASSNOTREG;
        const std::u16string wide = wideFromNarrow(*text);
        auto* out = static_cast<LPOLESTR>(CoTaskMemAlloc((wide.size() + 1) * sizeof(OLECHAR)));
        if (!out)
            return E_OUTOFMEMORY;
        std::memcpy(out, wide.c_str(), (wide.size() + 1) * sizeof(OLECHAR));
        *progId = out;
        return S_OK;
    } catch (const classes::ReadFailure& failure) {
        return classes::reportReadFailure(failure, u"ProgID");
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}
