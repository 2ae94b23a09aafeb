// RecordingPart: a plain C++ ICADPart that records every call the reader
// makes, and can be told to fail a call. Reference counted; the test
// holds the first reference and checks that the count comes back to it.
#pragma once

#include "halcyra/HalcyraLib.h"

#include "com/Bstr.h"

#include <map>
#include <ostream>
#include <string>
#include <vector>

// One hole or mark call: the setter's name and its arguments (the tool
// for holes only).
struct RecordedOperation {
    std::string call;
    double x = 0;
    double u = 0;
    double toolSize1 = 0;
    double toolSize2 = 0;
    std::string toolShape;
    int orientation = 0;

    friend std::ostream& operator<<(std::ostream& out, const RecordedOperation& op)
    {
        return out << op.call << "(" << op.x << ", " << op.u << ", " << op.toolSize1 << ", "
                   << op.toolSize2 << ", " << op.toolShape << ", " << op.orientation << ")";
    }
};

class RecordingPart final : public ICADPart {
public:
    std::vector<std::string> calls;             // in order, by method name
    std::map<std::string, std::string> strings; // "Mark", "Section", ... as last put
    LONG quantity = 0;
    double length = 0;
    std::vector<RecordedOperation> operations;
    // A method named here answers its HRESULT and records nothing else.
    std::map<std::string, HRESULT> failures;

    ULONG references() const { return m_refs; }

    // Forgets what was recorded (not the failures).
    void clear()
    {
        calls.clear();
        strings.clear();
        quantity = 0;
        length = 0;
        operations.clear();
    }

    HRESULT QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_ICADPart && riid != IID_IDispatch)
            return E_NOINTERFACE;
        *ppv = static_cast<ICADPart*>(this);
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override { return --m_refs; } // the test owns the object

    HRESULT GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    HRESULT get_JobId(BSTR* pVal) override { return getString("JobId", pVal); }
    HRESULT put_JobId(BSTR v) override { return putString("JobId", v); }
    HRESULT get_Group(BSTR* pVal) override { return getString("Group", pVal); }
    HRESULT put_Group(BSTR v) override { return putString("Group", v); }
    HRESULT get_Mark(BSTR* pVal) override { return getString("Mark", pVal); }
    HRESULT put_Mark(BSTR v) override { return putString("Mark", v); }
    HRESULT get_Section(BSTR* pVal) override { return getString("Section", pVal); }
    HRESULT put_Section(BSTR v) override { return putString("Section", v); }
    HRESULT get_SectionDescription(BSTR* pVal) override
    {
        return getString("SectionDescription", pVal);
    }
    HRESULT put_SectionDescription(BSTR v) override { return putString("SectionDescription", v); }
    HRESULT put_Quantity(LONG v) override
    {
        if (HRESULT hr = record("put_Quantity"); hr != S_OK)
            return hr;
        quantity = v;
        return S_OK;
    }
    HRESULT put_Length(double v) override
    {
        if (HRESULT hr = record("put_Length"); hr != S_OK)
            return hr;
        length = v;
        return S_OK;
    }

    HRESULT SetWebHole(double x, double u, double s1, double s2, BSTR shape, INT o) override
    {
        return hole("SetWebHole", x, u, s1, s2, shape, o);
    }
    HRESULT SetWebMark(double x, double u) override { return mark("SetWebMark", x, u); }
    HRESULT SetWebHiddenMark(double x, double u) override { return mark("SetWebHiddenMark", x, u); }
    HRESULT SetTFNearHole(double x, double u, double s1, double s2, BSTR shape, INT o) override
    {
        return hole("SetTFNearHole", x, u, s1, s2, shape, o);
    }
    HRESULT SetTFFarHole(double x, double u, double s1, double s2, BSTR shape, INT o) override
    {
        return hole("SetTFFarHole", x, u, s1, s2, shape, o);
    }
    HRESULT SetTFNearFarHole(double x, double u, double s1, double s2, BSTR shape, INT o) override
    {
        return hole("SetTFNearFarHole", x, u, s1, s2, shape, o);
    }
    HRESULT SetTFNearMark(double x, double u) override { return mark("SetTFNearMark", x, u); }
    HRESULT SetTFFarMark(double x, double u) override { return mark("SetTFFarMark", x, u); }
    HRESULT SetTFNearFarMark(double x, double u) override { return mark("SetTFNearFarMark", x, u); }
    HRESULT SetBFNearHole(double x, double u, double s1, double s2, BSTR shape, INT o) override
    {
        return hole("SetBFNearHole", x, u, s1, s2, shape, o);
    }
    HRESULT SetBFFarHole(double x, double u, double s1, double s2, BSTR shape, INT o) override
    {
        return hole("SetBFFarHole", x, u, s1, s2, shape, o);
    }
    HRESULT SetBFNearFarHole(double x, double u, double s1, double s2, BSTR shape, INT o) override
    {
        return hole("SetBFNearFarHole", x, u, s1, s2, shape, o);
    }
    HRESULT SetBFNearMark(double x, double u) override { return mark("SetBFNearMark", x, u); }
    HRESULT SetBFFarMark(double x, double u) override { return mark("SetBFFarMark", x, u); }
    HRESULT SetBFNearFarMark(double x, double u) override { return mark("SetBFNearFarMark", x, u); }
    HRESULT SaveToTarsis() override { return record("SaveToTarsis"); }
    HRESULT SetWebStencil(double, double, BSTR) override { return record("SetWebStencil"); }
    HRESULT SetTFStencil(double, double, BSTR) override { return record("SetTFStencil"); }
    HRESULT SetBFStencil(double, double, BSTR) override { return record("SetBFStencil"); }
    HRESULT SetMetric(INT) override { return record("SetMetric"); }
    HRESULT SetWeb2Hole(double x, double u, double s1, double s2, BSTR shape, INT o) override
    {
        return hole("SetWeb2Hole", x, u, s1, s2, shape, o);
    }
    HRESULT SetWebHoleEx(double x, double u, double s1, double s2, BSTR shape, INT o, INT) override
    {
        return hole("SetWebHoleEx", x, u, s1, s2, shape, o);
    }
    HRESULT SetTFNearHoleEx(double x, double u, double s1, double s2, BSTR shape, INT o,
                            INT) override
    {
        return hole("SetTFNearHoleEx", x, u, s1, s2, shape, o);
    }
    HRESULT SetTFFarHoleEx(double x, double u, double s1, double s2, BSTR shape, INT o,
                           INT) override
    {
        return hole("SetTFFarHoleEx", x, u, s1, s2, shape, o);
    }
    HRESULT SetTFNearFarHoleEx(double x, double u, double s1, double s2, BSTR shape, INT o,
                               INT) override
    {
        return hole("SetTFNearFarHoleEx", x, u, s1, s2, shape, o);
    }
    HRESULT SetBFNearHoleEx(double x, double u, double s1, double s2, BSTR shape, INT o,
                            INT) override
    {
        return hole("SetBFNearHoleEx", x, u, s1, s2, shape, o);
    }
    HRESULT SetBFFarHoleEx(double x, double u, double s1, double s2, BSTR shape, INT o,
                           INT) override
    {
        return hole("SetBFFarHoleEx", x, u, s1, s2, shape, o);
    }
    HRESULT SetBFNearFarHoleEx(double x, double u, double s1, double s2, BSTR shape, INT o,
                               INT) override
    {
        return hole("SetBFNearFarHoleEx", x, u, s1, s2, shape, o);
    }
    HRESULT SetWeb2HoleEx(double x, double u, double s1, double s2, BSTR shape, INT o, INT) override
    {
        return hole("SetWeb2HoleEx", x, u, s1, s2, shape, o);
    }

private:
    HRESULT record(const std::string& name)
    {
        calls.push_back(name);
        auto failure = failures.find(name);
        return failure == failures.end() ? S_OK : failure->second;
    }
    HRESULT putString(const std::string& name, BSTR value)
    {
        if (HRESULT hr = record("put_" + name); hr != S_OK)
            return hr;
        strings[name] = narrowFromBstr(value);
        return S_OK;
    }
    HRESULT getString(const std::string& name, BSTR* pVal)
    {
        *pVal = bstrFromNarrow(strings[name]);
        return S_OK;
    }
    HRESULT hole(const char* name, double x, double u, double s1, double s2, BSTR shape, INT o)
    {
        if (HRESULT hr = record(name); hr != S_OK)
            return hr;
        operations.push_back({name, x, u, s1, s2, narrowFromBstr(shape), o});
        return S_OK;
    }
    HRESULT mark(const char* name, double x, double u)
    {
        if (HRESULT hr = record(name); hr != S_OK)
            return hr;
        operations.push_back({name, x, u, 0, 0, "", 0});
        return S_OK;
    }

    ULONG m_refs = 1;
};
