// RecordingPart: a plain C++ ICADPart that records every call a record
// reader makes, as text ("SetTFNearHole(12.5,1.5,0.8125,0,RD,0)"), and can
// be told to fail a call. Reference counted; the test owns the object and
// checks that the count comes back to its own reference.
#pragma once

#include "halcyra/HalcyraLib.h"

#include "com/Bstr.h"

#include <cstdio>
#include <map>
#include <string>
#include <vector>

class RecordingPart final : public ICADPart {
public:
    // Calls in order, with their arguments.
    std::vector<std::string> calls;
    // A method named here answers its HRESULT and records nothing.
    std::map<std::string, HRESULT> failures;

    ULONG references() const { return m_refs; }
    // The calls after the seven puts of a record: its holes, marks and
    // stencils.
    std::vector<std::string> operations() const
    {
        std::vector<std::string> result;
        for (const std::string& call : calls)
            if (call.rfind("put_", 0) != 0)
                result.push_back(call);
        return result;
    }

    HRESULT QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IDispatch && riid != IID_ICADPart)
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

    HRESULT get_JobId(BSTR*) override { return E_NOTIMPL; }
    HRESULT put_JobId(BSTR v) override { return record("put_JobId", {text(v)}); }
    HRESULT get_Group(BSTR*) override { return E_NOTIMPL; }
    HRESULT put_Group(BSTR v) override { return record("put_Group", {text(v)}); }
    HRESULT get_Mark(BSTR*) override { return E_NOTIMPL; }
    HRESULT put_Mark(BSTR v) override { return record("put_Mark", {text(v)}); }
    HRESULT get_Section(BSTR*) override { return E_NOTIMPL; }
    HRESULT put_Section(BSTR v) override { return record("put_Section", {text(v)}); }
    HRESULT get_SectionDescription(BSTR*) override { return E_NOTIMPL; }
    HRESULT put_SectionDescription(BSTR v) override
    {
        return record("put_SectionDescription", {text(v)});
    }
    HRESULT put_Quantity(LONG v) override { return record("put_Quantity", {std::to_string(v)}); }
    HRESULT put_Length(double v) override { return record("put_Length", {number(v)}); }

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
    HRESULT SaveToTarsis() override { return record("SaveToTarsis", {}); }
    HRESULT SetWebStencil(double x, double u, BSTR t) override
    {
        return record("SetWebStencil", {number(x), number(u), text(t)});
    }
    HRESULT SetTFStencil(double x, double u, BSTR t) override
    {
        return record("SetTFStencil", {number(x), number(u), text(t)});
    }
    HRESULT SetBFStencil(double x, double u, BSTR t) override
    {
        return record("SetBFStencil", {number(x), number(u), text(t)});
    }
    HRESULT SetMetric(INT v) override { return record("SetMetric", {std::to_string(v)}); }
    HRESULT SetWeb2Hole(double x, double u, double s1, double s2, BSTR shape, INT o) override
    {
        return hole("SetWeb2Hole", x, u, s1, s2, shape, o);
    }
    HRESULT SetWebHoleEx(double x, double u, double s1, double s2, BSTR shape, INT o,
                         INT m) override
    {
        return holeEx("SetWebHoleEx", x, u, s1, s2, shape, o, m);
    }
    HRESULT SetTFNearHoleEx(double x, double u, double s1, double s2, BSTR shape, INT o,
                            INT m) override
    {
        return holeEx("SetTFNearHoleEx", x, u, s1, s2, shape, o, m);
    }
    HRESULT SetTFFarHoleEx(double x, double u, double s1, double s2, BSTR shape, INT o,
                           INT m) override
    {
        return holeEx("SetTFFarHoleEx", x, u, s1, s2, shape, o, m);
    }
    HRESULT SetTFNearFarHoleEx(double x, double u, double s1, double s2, BSTR shape, INT o,
                               INT m) override
    {
        return holeEx("SetTFNearFarHoleEx", x, u, s1, s2, shape, o, m);
    }
    HRESULT SetBFNearHoleEx(double x, double u, double s1, double s2, BSTR shape, INT o,
                            INT m) override
    {
        return holeEx("SetBFNearHoleEx", x, u, s1, s2, shape, o, m);
    }
    HRESULT SetBFFarHoleEx(double x, double u, double s1, double s2, BSTR shape, INT o,
                           INT m) override
    {
        return holeEx("SetBFFarHoleEx", x, u, s1, s2, shape, o, m);
    }
    HRESULT SetBFNearFarHoleEx(double x, double u, double s1, double s2, BSTR shape, INT o,
                               INT m) override
    {
        return holeEx("SetBFNearFarHoleEx", x, u, s1, s2, shape, o, m);
    }
    HRESULT SetWeb2HoleEx(double x, double u, double s1, double s2, BSTR shape, INT o,
                          INT m) override
    {
        return holeEx("SetWeb2HoleEx", x, u, s1, s2, shape, o, m);
    }

private:
    static std::string text(BSTR value) { return narrowFromBstr(value); }
    static std::string number(double value)
    {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.10g", value);
        return buffer;
    }

    HRESULT record(const std::string& name, const std::vector<std::string>& arguments)
    {
        auto failure = failures.find(name);
        if (failure != failures.end())
            return failure->second;
        std::string call = name + "(";
        for (std::size_t i = 0; i < arguments.size(); ++i)
            call += (i ? "," : "") + arguments[i];
        calls.push_back(call + ")");
        return S_OK;
    }
    HRESULT hole(const char* name, double x, double u, double s1, double s2, BSTR shape, INT o)
    {
        return record(
            name, {number(x), number(u), number(s1), number(s2), text(shape), std::to_string(o)});
    }
    HRESULT holeEx(const char* name, double x, double u, double s1, double s2, BSTR shape, INT o,
                   INT m)
    {
        return record(name, {number(x), number(u), number(s1), number(s2), text(shape),
                             std::to_string(o), std::to_string(m)});
    }
    HRESULT mark(const char* name, double x, double u)
    {
        return record(name, {number(x), number(u)});
    }

    ULONG m_refs = 1;
};
