// What the converter servers' own code shares beside the converter contract
// (ConverterContract.h): the load of a server's string with its stand-in
// literal, the text of a COM error in a reader's report, the file-name
// check of SetFile, the creation of the part model's objects (and the
// reader's next one), the
// ConversionName getter, and CReaderConvert, the converter class over a
// reader whose SetFile and ReadPart answer an HRESULT and a text.
//
// Header-only; the module links `comserver` and `vlmrlib` (and
// `halcyra_interfaces`).
#pragma once

#include "halcyra/ConverterContract.h"
#include "halcyra/HalcyraLib.h"

#include "com/Bstr.h"
#include "com/ComError.h"
#include "com/ComPtr.h"
#include "com/Runtime.h"
#include "com/server/Resources.h"
#include "com/server/Server.h"
#include "vlmrlib/CString.h"

#include <algorithm>
#include <functional>
#include <string_view>
#include <utility>

// ---- strings and texts --------------------------------------------------------------

// String id of the calling server's string table, read into a buffer of
// bufferSize characters (at most bufferSize - 1 and the terminator; 256 at
// the most); fallback, the stand-in literal, when the string cannot be
// loaded.
inline CString loadServerString(UINT id, const char* fallback, int bufferSize = 256)
{
    char buffer[256];
    if (LoadString(nullptr, id, buffer, std::clamp(bufferSize, 1, 256)) > 0)
        return CString(buffer);
    return CString(fallback);
}

// "<platform message>\r\n<context>": the COM error's message text for its
// HRESULT, the line break only after a message, then the reader's context.
inline CString comErrorText(const _com_error& error, const CString& context)
{
    CString text = error.ErrorMessage();
    if (!text.IsEmpty())
        text += "\r\n";
    return text + context;
}

// Whether a file name holds a NUL: it would open the file named by its
// front part, so SetFile refuses it.
inline bool holdsNul(BSTR name)
{
    const std::u16string_view wide(name ? name : u"", SysStringLen(name));
    return wide.find(u'\0') != std::u16string_view::npos;
}

// ---- the part model's objects -------------------------------------------------------

// How a reader makes the part-model object it fills, as IUnknown with one
// reference for the caller; tests pass their own.
using ObjectCreator = std::function<HRESULT(IUnknown** ppUnknown)>;

// The readers' default creator: a new object of the part model's class
// *pclsid through the component runtime, in any server context.
template <const CLSID* pclsid>
HRESULT createRegisteredObject(IUnknown** ppUnknown)
{
    constexpr DWORD context =
        CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
    return CoCreateInstance(*pclsid, nullptr, context, IID_IUnknown,
                            reinterpret_cast<void**>(ppUnknown));
}

// The reader's next part-model object: made with create, run (OleRun) when
// run is set, asked for I and put into held. The object held before is let
// go only then, also when create hands out the same object again: the part
// objects of a thread share their Tarsis servers while one of them lives,
// so a run keeps them from one part to the next. Answers the result of the
// creation, the run or the question; held is empty when one of them failed.
template <class I>
HRESULT makeNextObject(const ObjectCreator& create, ComPtrT<I>& held, bool run)
{
    ComPtrT<I> next;
    IUnknown* unknown = nullptr;
    HRESULT hr = create ? create(&unknown) : E_POINTER;
    if (SUCCEEDED(hr) && unknown) {
        if (run)
            hr = OleRun(unknown);
        if (SUCCEEDED(hr))
            hr = unknown->QueryInterface(uuidof<I>(), reinterpret_cast<void**>(&next));
    } else if (SUCCEEDED(hr)) {
        hr = E_POINTER;
    }
    if (unknown)
        unknown->Release();
    held = std::move(next);
    return hr;
}

// ---- the converter classes ----------------------------------------------------------

// What becomes of the string *pVal holds when ConversionName stores its new
// one there: some classes free it (the caller passes an old name in), some
// leave it to the caller.
enum class IncomingName { Freed, LeftAlone };

// The ConversionName getter: E_POINTER for a null pVal; else a new BSTR of
// name in *pVal for the caller to free, E_OUTOFMEMORY when it cannot be
// allocated, S_OK.
inline HRESULT getConversionName(const char* name, BSTR* pVal, IncomingName incoming)
{
    if (!pVal)
        return E_POINTER;
    if (incoming == IncomingName::Freed)
        SysFreeString(*pVal);
    *pVal = CString(name).AllocSysString();
    return *pVal ? S_OK : E_OUTOFMEMORY;
}

// CReaderConvert: a converter class that is IVLMRConvert over an embedded
// reader (default-constructible; SetFile(BSTR, CString*) and
// ReadPart(IUnknown**, LONG, LONG, CString*) answer an HRESULT and, on a
// failure, a text). Results pass as they are when they succeed (S_OK,
// S_FALSE); a failure is reported as COM error info on IVLMRConvert with
// the reader's text and HRESULT. ConversionName leaves an incoming string
// alone.
//
// A class derives from it with itself, its CLSID, its own dual interface
// (which adds nothing to IDispatch) with its IID, its type library, its
// registrar script and its reader, and provides
//   static constexpr const char* kConversionName;
// Its interface map is the own interface (which also answers IDispatch),
// ISupportErrorInfo and IVLMRConvert; it implements the converter category.
template <class T, const CLSID* pclsid, class OwnInterface, const IID* piidOwn, const GUID* plibid,
          UINT registryId, class Reader>
class CReaderConvert : public CComObjectRootEx<CComSingleThreadModel>,
                       public CComCoClass<T, pclsid>,
                       public ISupportErrorInfoImpl<piidOwn, &IID_IVLMRConvert>,
                       public IDispatchImpl<OwnInterface, piidOwn, plibid, 1, 0>,
                       public IVLMRConvertDispatch {
public:
    DECLARE_REGISTRY_RESOURCEID(registryId)

    BEGIN_COM_MAP(CReaderConvert)
        COM_INTERFACE_ENTRY(OwnInterface)
        COM_INTERFACE_ENTRY2(IDispatch, OwnInterface)
        COM_INTERFACE_ENTRY(ISupportErrorInfo)
        COM_INTERFACE_ENTRY(IVLMRConvert)
    END_COM_MAP()

    BEGIN_CATEGORY_MAP(CReaderConvert)
        IMPLEMENTED_CATEGORY(CATID_VelmoraCadConversion)
    END_CATEGORY_MAP()

    HRESULT SetFile(BSTR bstrFilename) override
    {
        CString text;
        return report(m_reader.SetFile(bstrFilename, &text), text);
    }

    HRESULT ReadPart(IUnknown** ppIUnkCADPart, LONG bIsMetric, LONG bIsToolMetric) override
    {
        CString text;
        return report(m_reader.ReadPart(ppIUnkCADPart, bIsMetric, bIsToolMetric, &text), text);
    }

    HRESULT get_ConversionName(BSTR* pVal) override
    {
        return getConversionName(T::kConversionName, pVal, IncomingName::LeftAlone);
    }

private:
    static HRESULT report(HRESULT hr, const CString& text)
    {
        if (SUCCEEDED(hr))
            return hr;
        return CComCoClass<T, pclsid>::Error(static_cast<const char*>(text), IID_IVLMRConvert, hr);
    }

    Reader m_reader;
};

// The type library of a converter server of one class: its own dual
// interface (no members) and the class, which implements that interface
// and IVLMRConvert.
template <class OwnInterface>
comserver::TypeLibrary converterLibrary(const GUID& libid, const char* name, const char* helpString,
                                        const char* interfaceName, const char* interfaceHelp,
                                        const CLSID& clsid, const char* className,
                                        const char* classHelp)
{
    using namespace comserver;
    return TypeLibrary{
        libid,
        1,
        0,
        name,
        helpString,
        {dualInterface<OwnInterface>(interfaceName, interfaceHelp, {})},
        {coClass(clsid, className, {uuidof<OwnInterface>(), IID_IVLMRConvert}, classHelp)}};
}
