// RecordingPart: a plain C++ ICADPart that records every call as one line
// of text ("SetTFFarHole(10, 2, 1, 0, RD, 0)", numbers as %g), and can be
// told to fail a method. Reference counted; the test holds the first
// reference and checks that the count comes back to it.
#pragma once

#include "halcyra/HalcyraLib.h"

#include "com/Bstr.h"
#include "com/CodePage.h"

#include <cstdio>
#include <map>
#include <string>
#include <vector>

class RecordingPart final : public ICADPart {
public:
    std::vector<std::string> calls;
    // A method named here answers its HRESULT (and is still recorded).
    std::map<std::string, HRESULT> failures;

    ULONG references() const { return m_refs; }

    // The calls that add operations (holes, marks, stencils).
    std::vector<std::string> operations() const
    {
        std::vector<std::string> found;
        for (const std::string& call : calls)
            if (call.rfind("Set", 0) == 0 && call.rfind("SetMetric", 0) != 0)
                found.push_back(call);
        return found;
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

    HRESULT GetTypeInfoCount(UINT* pctinfo) override
    {
        *pctinfo = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    HRESULT get_JobId(BSTR*) override { return E_NOTIMPL; }
    HRESULT put_JobId(BSTR v) override { return record("put_JobId", text(v)); }
    HRESULT get_Group(BSTR*) override { return E_NOTIMPL; }
    HRESULT put_Group(BSTR v) override { return record("put_Group", text(v)); }
    HRESULT get_Mark(BSTR*) override { return E_NOTIMPL; }
    HRESULT put_Mark(BSTR v) override { return record("put_Mark", text(v)); }
    HRESULT get_Section(BSTR*) override { return E_NOTIMPL; }
    HRESULT put_Section(BSTR v) override { return record("put_Section", text(v)); }
    HRESULT get_SectionDescription(BSTR*) override { return E_NOTIMPL; }
    HRESULT put_SectionDescription(BSTR v) override
    {
        return record("put_SectionDescription", text(v));
    }
    HRESULT put_Quantity(LONG v) override { return record("put_Quantity", std::to_string(v)); }
    HRESULT put_Length(double v) override { return record("put_Length", number(v)); }

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
    HRESULT SaveToTarsis() override { return record("SaveToTarsis", ""); }
    HRESULT SetWebStencil(double x, double u, BSTR t) override
    {
        return stencil("SetWebStencil", x, u, t);
    }
    HRESULT SetTFStencil(double x, double u, BSTR t) override
    {
        return stencil("SetTFStencil", x, u, t);
    }
    HRESULT SetBFStencil(double x, double u, BSTR t) override
    {
        return stencil("SetBFStencil", x, u, t);
    }
    HRESULT SetMetric(INT bTrue) override { return record("SetMetric", std::to_string(bTrue)); }
    HRESULT SetWeb2Hole(double x, double u, double s1, double s2, BSTR shape, INT o) override
    {
        return hole("SetWeb2Hole", x, u, s1, s2, shape, o);
    }
    // The converter never uses the Ex forms.
    HRESULT SetWebHoleEx(double, double, double, double, BSTR, INT, INT) override
    {
        return record("SetWebHoleEx", "");
    }
    HRESULT SetTFNearHoleEx(double, double, double, double, BSTR, INT, INT) override
    {
        return record("SetTFNearHoleEx", "");
    }
    HRESULT SetTFFarHoleEx(double, double, double, double, BSTR, INT, INT) override
    {
        return record("SetTFFarHoleEx", "");
    }
    HRESULT SetTFNearFarHoleEx(double, double, double, double, BSTR, INT, INT) override
    {
        return record("SetTFNearFarHoleEx", "");
    }
    HRESULT SetBFNearHoleEx(double, double, double, double, BSTR, INT, INT) override
    {
        return record("SetBFNearHoleEx", "");
    }
    HRESULT SetBFFarHoleEx(double, double, double, double, BSTR, INT, INT) override
    {
        return record("SetBFFarHoleEx", "");
    }
    HRESULT SetBFNearFarHoleEx(double, double, double, double, BSTR, INT, INT) override
    {
        return record("SetBFNearFarHoleEx", "");
    }
    HRESULT SetWeb2HoleEx(double, double, double, double, BSTR, INT, INT) override
    {
        return record("SetWeb2HoleEx", "");
    }

    static std::string number(double value)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%g", value);
        return text;
    }

private:
    static std::string text(BSTR value) { return narrowFromBstr(value); }

    HRESULT record(const std::string& name, const std::string& arguments)
    {
        calls.push_back(name + "(" + arguments + ")");
        auto failure = failures.find(name);
        return failure == failures.end() ? S_OK : failure->second;
    }
    HRESULT hole(const char* name, double x, double u, double s1, double s2, BSTR shape, INT o)
    {
        return record(name, number(x) + ", " + number(u) + ", " + number(s1) + ", " + number(s2) +
                                ", " + text(shape) + ", " + std::to_string(o));
    }
    HRESULT mark(const char* name, double x, double u)
    {
        return record(name, number(x) + ", " + number(u));
    }
    HRESULT stencil(const char* name, double x, double u, BSTR t)
    {
        return record(name, number(x) + ", " + number(u) + ", " + text(t));
    }

    ULONG m_refs = 1;
};
