// The recording double of the three Tarsis servers: the part writer, the
// shape server and the mult writer answer IDispatch::Invoke by DISPID,
// record each call with its arguments and answer what the test scripted.
#include "TarsisRecording.h"

#include "com/Bstr.h"
#include "com/CodePage.h"
#include "com/Guid.h"
#include "com/Interfaces.h"
#include "com/Runtime.h"
#include "com/Variant.h"
#include "tarsis/TarsisServers.h"

#include <charconv>
#include <map>

#define RECORDER_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

TarsisRecording g_recording;
LONG g_locks = 0;

// The identities the stand-in serves under, which the double takes over.
using tarsis::CLSID_TarsisMultWriter;
using tarsis::CLSID_TarsisPartWriter;
using tarsis::CLSID_TarsisShapeServer;
using tarsis::IID_ITarsisMultWriter;
using tarsis::IID_ITarsisPartWriter;
using tarsis::IID_ITarsisShapeServer;

struct ServerKind {
    IID iid;
    std::map<DISPID, std::string> names;
};

const ServerKind kPartWriter{
    IID_ITarsisPartWriter,
    {{1, "CreatePart"},          {2, "SetRefPlane"},           {3, "AddWebHole"},
     {4, "AddWebMark"},          {5, "AddTFNearHole"},         {6, "AddTFNearMark"},
     {7, "AddTFFarHole"},        {8, "AddTFFarMark"},          {9, "AddTFNearFarHole"},
     {0xa, "AddTFNearFarMark"},  {0xb, "AddBFNearHole"},       {0xc, "AddBFNearMark"},
     {0xd, "AddBFFarHole"},      {0xe, "AddBFFarMark"},        {0xf, "AddBFNearFarHole"},
     {0x10, "AddBFNearFarMark"}, {0x11, "SavePart"},           {0x12, "AddWebHiddenMark"},
     {0x19, "AddWebStencil"},    {0x1a, "AddTFStencil"},       {0x1b, "AddBFStencil"},
     {0x1d, "AddWeb2Hole"},      {0x1e, "AddWebHoleEx"},       {0x1f, "AddTFNearHoleEx"},
     {0x20, "AddTFFarHoleEx"},   {0x21, "AddTFNearFarHoleEx"}, {0x22, "AddBFNearHoleEx"},
     {0x23, "AddBFFarHoleEx"},   {0x24, "AddBFNearFarHoleEx"}, {0x25, "AddWeb2HoleEx"}}};
const ServerKind kShapeServer{IID_ITarsisShapeServer, {{3, "LookupShape"}}};
const ServerKind kMultWriter{IID_ITarsisMultWriter,
                             {{1, "CreateMult"},
                              {3, "SaveMult"},
                              {4, "AddMultPart"},
                              {5, "GetMultSectionAndDescription"},
                              {6, "CheckMachine"},
                              {7, "CheckPart"}}};

std::string number(double value)
{
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, end);
}

std::string quoted(BSTR text)
{
    std::string result(1, '"');
    result.append(narrowFromBstr(text));
    result.push_back('"');
    return result;
}

std::string rendered(const VARIANT& v)
{
    switch (v.vt) {
    case VT_BSTR:
        return v.bstrVal ? quoted(v.bstrVal) : "null";
    case VT_I2:
        return std::to_string(v.iVal) + "s";
    case VT_I4:
        return std::to_string(v.lVal) + "L";
    case VT_R8:
        return number(v.dblVal);
    case VT_R8 | VT_BYREF:
        return "&r8";
    case VT_BSTR | VT_BYREF:
        return "&bstr";
    default:
        return "vt" + std::to_string(v.vt);
    }
}

BSTR allocated(const std::u16string& text)
{
    return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

class Server final : public IDispatch {
public:
    explicit Server(const ServerKind& kind) : m_kind(kind)
    {
        ++g_recording.liveServers;
        ++g_recording.createdServers;
    }

    HRESULT QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IDispatch && riid != m_kind.iid)
            return E_NOINTERFACE;
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override
    {
        const ULONG refs = --m_refs;
        if (refs == 0) {
            --g_recording.liveServers;
            delete this;
        }
        return refs;
    }
    HRESULT GetTypeInfoCount(UINT* pctinfo) override
    {
        *pctinfo = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }

    HRESULT Invoke(DISPID dispid, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO*, UINT*) override
    {
        const auto named = m_kind.names.find(dispid);
        const std::string name =
            named != m_kind.names.end() ? named->second : "dispid" + std::to_string(dispid);
        std::string call = (flags != DISPATCH_METHOD || params->cNamedArgs != 0) ? "!" : "";
        call += name + "(";
        for (UINT i = params->cArgs; i-- > 0;) {
            call += rendered(params->rgvarg[i]);
            if (i > 0)
                call += ", ";
        }
        g_recording.calls.push_back(call + ")");

        if (auto failure = g_recording.invokeFailures.find(name);
            failure != g_recording.invokeFailures.end())
            return failure->second;
        fillOutputs(name, *params);
        if (result) {
            VariantInit(result);
            result->vt = VT_I4;
            const auto scripted = g_recording.results.find(name);
            result->lVal = scripted != g_recording.results.end() ? scripted->second : 0;
        }
        if (auto text = g_recording.errorTexts.find(name); text != g_recording.errorTexts.end())
            setErrorText(text->second);
        return S_OK;
    }

private:
    static void setErrorText(const std::u16string& text)
    {
        ICreateErrorInfo* create = nullptr;
        if (FAILED(CreateErrorInfo(&create)))
            return;
        BSTR description = allocated(text);
        create->SetDescription(description);
        SysFreeString(description);
        IErrorInfo* info = nullptr;
        if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
            SetErrorInfo(0, info);
            info->Release();
        }
        create->Release();
    }

    // The out-values, in argument order, that the named method fills.
    static void fillOutputs(const std::string& name, DISPPARAMS& params)
    {
        int number = 0;
        int text = 0;
        for (UINT i = params.cArgs; i-- > 0;) {
            VARIANT& v = params.rgvarg[i];
            if (v.vt == (VT_R8 | VT_BYREF) && name == "LookupShape" && number < 6) {
                *v.pdblVal = g_recording.lookupNumbers[number++];
            } else if (v.vt == (VT_BSTR | VT_BYREF)) {
                if (name == "LookupShape")
                    *v.pbstrVal =
                        g_recording.lookupText ? allocated(*g_recording.lookupText) : nullptr;
                else if (name == "GetMultSectionAndDescription")
                    *v.pbstrVal = allocated(text++ == 0 ? g_recording.multSection
                                                        : g_recording.multDescription);
            }
        }
    }

    const ServerKind& m_kind;
    ULONG m_refs = 0;
};

class Factory final : public IClassFactory {
public:
    explicit Factory(const ServerKind& kind) : m_kind(kind) {}

    HRESULT QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IClassFactory)
            return E_NOINTERFACE;
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    // The factories are static; they count as locks while referenced.
    ULONG AddRef() override { return static_cast<ULONG>(++g_locks); }
    ULONG Release() override { return static_cast<ULONG>(--g_locks); }

    HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        Server* server = new Server(m_kind);
        server->AddRef();
        const HRESULT hr = server->QueryInterface(riid, ppv);
        server->Release();
        return hr;
    }
    HRESULT LockServer(BOOL lock) override
    {
        g_locks += lock ? 1 : -1;
        return S_OK;
    }

private:
    const ServerKind& m_kind;
};

Factory g_partWriterFactory(kPartWriter);
Factory g_shapeServerFactory(kShapeServer);
Factory g_multWriterFactory(kMultWriter);

} // namespace

RECORDER_EXPORT TarsisRecording* tarsisRecording()
{
    return &g_recording;
}

RECORDER_EXPORT HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    Factory* factory = clsid == CLSID_TarsisPartWriter    ? &g_partWriterFactory
                       : clsid == CLSID_TarsisShapeServer ? &g_shapeServerFactory
                       : clsid == CLSID_TarsisMultWriter  ? &g_multWriterFactory
                                                          : nullptr;
    if (!factory)
        return CLASS_E_CLASSNOTAVAILABLE;
    return factory->QueryInterface(riid, ppv);
}

RECORDER_EXPORT HRESULT DllCanUnloadNow()
{
    return g_locks == 0 && g_recording.liveServers == 0 ? S_OK : S_FALSE;
}
