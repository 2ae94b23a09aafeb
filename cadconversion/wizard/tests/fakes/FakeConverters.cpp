// The test converter module: scripted part and mult converters, the parts
// and mults they return, and the counted converters.
#include "FakeConverters.h"

#include "halcyra/ConverterContract.h"
#include "halcyra/HalcyraLib.h"

#include "com/Bstr.h"
#include "com/server/Server.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

void record(const std::string& line)
{
    if (const char* path = std::getenv("FAKE_CONVERTER_RECORD")) {
        std::ofstream out(path, std::ios::app);
        out << line << '\n';
    }
}

HRESULT copyOut(const std::string& value, BSTR* out)
{
    SysFreeString(*out);
    *out = bstrFromNarrow(value);
    return S_OK;
}

#define FAKE_NOT_USED(signature)                                                                   \
    HRESULT signature override                                                                     \
    {                                                                                              \
        return E_NOTIMPL;                                                                          \
    }

// What a part or mult does on its save, from its script line.
struct SaveBehaviour {
    std::string failure; // non-empty: the save fails with this text
    std::string gate;    // non-empty: the save waits for this file
};

class CFakePart : public CComObjectRootEx<CComSingleThreadModel>,
                  public ISupportErrorInfoImpl<&IID_ICADPart2>,
                  public ICADPart2 {
public:
    BEGIN_COM_MAP(CFakePart)
        COM_INTERFACE_ENTRY(ICADPart2)
        COM_INTERFACE_ENTRY(ISupportErrorInfo)
    END_COM_MAP()

    std::string job, group, mark;
    LONG metric = -1;
    SaveBehaviour behaviour;

    HRESULT get_JobId(BSTR* pVal) override { return copyOut(job, pVal); }
    HRESULT put_JobId(BSTR v) override
    {
        record("put JobId " + (job = narrowFromBstr(v)));
        return S_OK;
    }
    HRESULT get_Group(BSTR* pVal) override { return copyOut(group, pVal); }
    HRESULT put_Group(BSTR v) override
    {
        record("put Group " + (group = narrowFromBstr(v)));
        return S_OK;
    }
    HRESULT get_Mark(BSTR* pVal) override { return copyOut(mark, pVal); }
    HRESULT put_Mark(BSTR v) override
    {
        mark = narrowFromBstr(v);
        return S_OK;
    }
    HRESULT SetMetric(INT bTrue) override
    {
        metric = bTrue ? 2 : 0;
        return S_OK;
    }
    HRESULT SaveToTarsis() override;

    FAKE_NOT_USED(get_Quantity(LONG*))
    FAKE_NOT_USED(put_Quantity(LONG))
    FAKE_NOT_USED(get_Length(double*))
    FAKE_NOT_USED(put_Length(double))
    FAKE_NOT_USED(get_Section(BSTR*))
    FAKE_NOT_USED(put_Section(BSTR))
    FAKE_NOT_USED(get_SectionDescription(BSTR*))
    FAKE_NOT_USED(put_SectionDescription(BSTR))
    FAKE_NOT_USED(SetWebOperation(double, double, unsigned char, unsigned char, unsigned char,
                                  double, double, double, double, LONG, double, LONG, double,
                                  unsigned char, unsigned char, double, double, BSTR, LONG))
    FAKE_NOT_USED(SetTopFlangeOperation(double, double, signed char, signed char, unsigned char,
                                        double, double, double, double, LONG, double, LONG, double,
                                        signed char, signed char, double, double, BSTR, LONG))
    FAKE_NOT_USED(SetBottomFlangeOperation(double, double, signed char, signed char, unsigned char,
                                           double, double, double, double, LONG, double, LONG,
                                           double, signed char, signed char, double, double, BSTR,
                                           LONG))
    FAKE_NOT_USED(get_Grade(BSTR*))
    FAKE_NOT_USED(put_Grade(BSTR))
    FAKE_NOT_USED(SetWebStencil(double, double, BSTR))
    FAKE_NOT_USED(SetTFStencil(double, double, BSTR))
    FAKE_NOT_USED(SetBFStencil(double, double, BSTR))
    FAKE_NOT_USED(SetWebOperationEx(double, double, unsigned char, unsigned char, unsigned char,
                                    double, double, double, double, LONG, double, LONG, double,
                                    unsigned char, unsigned char, double, double, BSTR, LONG, LONG))
    FAKE_NOT_USED(SetTopFlangeOperationEx(double, double, signed char, signed char, unsigned char,
                                          double, double, double, double, LONG, double, LONG,
                                          double, signed char, signed char, double, double, BSTR,
                                          LONG, LONG))
    FAKE_NOT_USED(SetBottomFlangeOperationEx(double, double, signed char, signed char,
                                             unsigned char, double, double, double, double, LONG,
                                             double, LONG, double, signed char, signed char, double,
                                             double, BSTR, LONG, LONG))
};

HRESULT failWith(const std::string& text, REFIID iid, HRESULT hr)
{
    return comserver::reportError(CLSID_FakePartConverter, text, iid, hr);
}

HRESULT CFakePart::SaveToTarsis()
{
    if (!behaviour.gate.empty()) {
        std::ofstream(behaviour.gate + ".waiting") << "waiting\n";
        while (!std::filesystem::exists(behaviour.gate))
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (!behaviour.failure.empty())
        return failWith(behaviour.failure, IID_ICADPart2, E_CONVERT_UNDEFINED_SHAPE);
    record("save part " + job + " " + group + " " + mark + " metric " + std::to_string(metric));
    return S_OK;
}

class CFakeMult : public CComObjectRootEx<CComSingleThreadModel>,
                  public ISupportErrorInfoImpl<&IID_ICADMult>,
                  public ICADMult {
public:
    BEGIN_COM_MAP(CFakeMult)
        COM_INTERFACE_ENTRY(ICADMult)
        COM_INTERFACE_ENTRY(ISupportErrorInfo)
    END_COM_MAP()

    std::string job, group, mark;
    LONG metric = -1;

    HRESULT get_JobId(BSTR* pVal) override { return copyOut(job, pVal); }
    HRESULT put_JobId(BSTR v) override
    {
        record("put JobId " + (job = narrowFromBstr(v)));
        return S_OK;
    }
    HRESULT get_Group(BSTR* pVal) override { return copyOut(group, pVal); }
    HRESULT put_Group(BSTR v) override
    {
        record("put Group " + (group = narrowFromBstr(v)));
        return S_OK;
    }
    HRESULT get_Mark(BSTR* pVal) override
    {
        record("get Mark of a mult");
        return copyOut(mark, pVal);
    }
    HRESULT put_Mark(BSTR v) override
    {
        mark = narrowFromBstr(v);
        return S_OK;
    }
    HRESULT SetMetric(INT bTrue) override
    {
        metric = bTrue ? 2 : 0;
        return S_OK;
    }
    HRESULT SaveToTarsis() override
    {
        record("save mult " + job + " " + group + " " + mark + " metric " + std::to_string(metric));
        return S_OK;
    }

    FAKE_NOT_USED(get_Quantity(LONG*))
    FAKE_NOT_USED(put_Quantity(LONG))
    FAKE_NOT_USED(get_Length(double*))
    FAKE_NOT_USED(put_Length(double))
    FAKE_NOT_USED(get_Section(BSTR*))
    FAKE_NOT_USED(put_Section(BSTR))
    FAKE_NOT_USED(get_SectionDescription(BSTR*))
    FAKE_NOT_USED(put_SectionDescription(BSTR))
    FAKE_NOT_USED(get_Grade(BSTR*))
    FAKE_NOT_USED(put_Grade(BSTR))
    FAKE_NOT_USED(get_Machine(BSTR*))
    FAKE_NOT_USED(put_Machine(BSTR))
    FAKE_NOT_USED(get_Kerf(double*))
    FAKE_NOT_USED(put_Kerf(double))
    FAKE_NOT_USED(AddPart(BSTR, BSTR, BSTR, INT))
    FAKE_NOT_USED(GetMultSectionAndDescription(BSTR, BSTR, BSTR, BSTR*, BSTR*))
    FAKE_NOT_USED(CheckMachine(BSTR*))
    FAKE_NOT_USED(CheckParts(LONG*, BSTR**, BSTR**, BSTR**))
    FAKE_NOT_USED(CheckPart(BSTR, BSTR, BSTR))
};

template <class T>
T* create(IUnknown** out)
{
    CComObject<T>* object = nullptr;
    CComObject<T>::CreateInstance(&object);
    object->AddRef();
    *out = object->GetUnknown();
    return object;
}

// The script and the reads of one file.
class Script {
public:
    HRESULT open(BSTR file)
    {
        m_lines.clear();
        m_next = 0;
        std::ifstream in(narrowFromBstr(file));
        if (!in)
            return failWith("File open Failure " + narrowFromBstr(file), IID_IVLMRConvert,
                            E_CONVERT_FILE_OPEN);
        for (std::string line; std::getline(in, line);)
            if (!line.empty())
                m_lines.push_back(line);
        return S_OK;
    }

    // The object goes out before the line is read, and stays on S_FALSE
    // and on failure, as with every converter.
    HRESULT read(IUnknown** out, REFIID errorIid)
    {
        if (m_next >= m_lines.size()) {
            create<CFakePart>(out);
            return S_FALSE;
        }
        std::istringstream line(m_lines[m_next++]);
        std::string kind;
        line >> kind;
        if (kind == "mult") {
            CFakeMult* mult = create<CFakeMult>(out);
            line >> mult->mark;
            return S_OK;
        }
        CFakePart* part = create<CFakePart>(out);
        if (kind == "part") {
            line >> part->job >> part->group >> part->mark;
        } else if (kind == "savefail") {
            line >> part->mark >> std::ws;
            std::getline(line, part->behaviour.failure);
        } else if (kind == "gate") {
            line >> part->behaviour.gate >> part->mark;
        } else {
            std::string text;
            std::getline(line >> std::ws, text);
            return failWith(text, errorIid, E_CONVERT_READ);
        }
        return S_OK;
    }

private:
    std::vector<std::string> m_lines;
    std::size_t m_next = 0;
};

class CFakePartConverter : public CComObjectRootEx<CComSingleThreadModel>,
                           public CComCoClass<CFakePartConverter, &CLSID_FakePartConverter>,
                           public ISupportErrorInfoImpl<&IID_IVLMRConvert>,
                           public IVLMRConvertDispatch {
public:
    static HRESULT UpdateRegistry(BOOL) { return S_OK; }
    BEGIN_COM_MAP(CFakePartConverter)
        COM_INTERFACE_ENTRY(IVLMRConvert)
        COM_INTERFACE_ENTRY(ISupportErrorInfo)
        COM_INTERFACE_ENTRY2(IDispatch, IVLMRConvert)
    END_COM_MAP()

    HRESULT SetFile(BSTR bstrFilename) override { return m_script.open(bstrFilename); }
    HRESULT ReadPart(IUnknown** ppIUnkCADPart, LONG, LONG) override
    {
        return m_script.read(ppIUnkCADPart, IID_IVLMRConvert);
    }
    HRESULT get_ConversionName(BSTR* pVal) override { return copyOut("Fake Part Converter", pVal); }

private:
    Script m_script;
};

class CFakeMultConverter : public CComObjectRootEx<CComSingleThreadModel>,
                           public CComCoClass<CFakeMultConverter, &CLSID_FakeMultConverter>,
                           public ISupportErrorInfoImpl<&IID_IVLMRConvert, &IID_IVLMRMultConvert>,
                           public IVLMRConvertDispatch,
                           public IVLMRMultConvertDispatch {
public:
    static HRESULT UpdateRegistry(BOOL) { return S_OK; }
    BEGIN_COM_MAP(CFakeMultConverter)
        COM_INTERFACE_ENTRY(IVLMRConvert)
        COM_INTERFACE_ENTRY(ISupportErrorInfo)
        COM_INTERFACE_ENTRY2(IDispatch, IVLMRConvert)
        COM_INTERFACE_ENTRY(IVLMRMultConvert)
    END_COM_MAP()

    HRESULT SetFile(BSTR bstrFilename) override { return m_script.open(bstrFilename); }
    // Read through ReadMult only, as a mult converter is.
    HRESULT ReadPart(IUnknown**, LONG, LONG) override { return S_OK; }
    HRESULT get_ConversionName(BSTR* pVal) override { return copyOut("Fake Mult Converter", pVal); }
    HRESULT ReadMult(IUnknown** ppIUnkCADMult) override
    {
        return m_script.read(ppIUnkCADMult, IID_IVLMRMultConvert);
    }

private:
    Script m_script;
};

class CCountedConverter : public CComObjectRootEx<CComSingleThreadModel>,
                          public IVLMRConvertDispatch {
public:
    BEGIN_COM_MAP(CCountedConverter)
        COM_INTERFACE_ENTRY(IVLMRConvert)
        COM_INTERFACE_ENTRY2(IDispatch, IVLMRConvert)
    END_COM_MAP()

    int number = 0;

    HRESULT SetFile(BSTR) override { return S_OK; }
    HRESULT ReadPart(IUnknown**, LONG, LONG) override { return S_FALSE; }
    HRESULT get_ConversionName(BSTR* pVal) override
    {
        char name[32];
        std::snprintf(name, sizeof name, "Counted Converter %02d", number);
        return copyOut(name, pVal);
    }
};

// The class factory of the counting family: one per class ID asked for,
// counted as a module lock while it lives.
class CCountedFactory : public CComObjectRootEx<CComSingleThreadModel>, public IClassFactory {
public:
    BEGIN_COM_MAP(CCountedFactory)
        COM_INTERFACE_ENTRY(IClassFactory)
    END_COM_MAP()

    int number = 0;

    HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
    {
        *ppv = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        IUnknown* unknown = nullptr;
        create<CCountedConverter>(&unknown)->number = number;
        const HRESULT hr = unknown->QueryInterface(riid, ppv);
        unknown->Release();
        return hr;
    }
    HRESULT LockServer(BOOL lock) override
    {
        lock ? CComModule::Lock() : CComModule::Unlock();
        return S_OK;
    }
};

BEGIN_OBJECT_MAP(ObjectMap)
    OBJECT_ENTRY(CLSID_FakePartConverter, CFakePartConverter)
    OBJECT_ENTRY(CLSID_FakeMultConverter, CFakeMultConverter)
END_OBJECT_MAP()

CComModule _Module(ObjectMap);

} // namespace

COMSERVER_STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv)
{
    CLSID family = rclsid;
    family.Data4[7] = 0;
    if (family != countedConverterClsid(0))
        return _Module.GetClassObject(rclsid, riid, ppv);
    if (!ppv)
        return E_POINTER;
    IUnknown* unknown = nullptr;
    create<CCountedFactory>(&unknown)->number = rclsid.Data4[7];
    const HRESULT hr = unknown->QueryInterface(riid, ppv);
    unknown->Release();
    return hr;
}

COMSERVER_STDAPI DllCanUnloadNow()
{
    return _Module.CanUnloadNow();
}

// Tests write the registry entries of the classes they install.
COMSERVER_STDAPI DllRegisterServer()
{
    return S_OK;
}

COMSERVER_STDAPI DllUnregisterServer()
{
    return S_OK;
}
