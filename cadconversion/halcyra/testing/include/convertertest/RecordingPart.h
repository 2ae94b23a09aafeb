// RecordingPart: a plain C++ ICADPart that logs every call a reader makes
// (CallLog), keeps what the puts stored, and can be told to fail a method.
// Reference counted without deleting itself: the test owns the object,
// holds its first reference and checks that the count comes back to it.
//
//   convertertest::RecordingPart part;
//   reader.ReadPart(...);                      // handed part through its creator
//   EXPECT_EQ(part.operations(), (std::vector<std::string>{"SetWebHole(4, 0.5, 0.25, 0, RD, 0)"}));
//   EXPECT_EQ(part.strings["Mark"], "B12");
//   EXPECT_EQ(part.references(), 1u);
//
// Header-only; the test links the component runtime (comrt).
#pragma once

#include "convertertest/CallLog.h"

#include "halcyra/HalcyraLib.h"

#include "com/Bstr.h"

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace convertertest {

// A hole or mark the part holds, its arguments as numbers (tool sizes,
// shape and orientation for holes only).
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

class RecordingPart final : public ICADPart, public CallLog {
public:
    // "JobId", "Group", "Mark", "Section", "SectionDescription" as last put;
    // the getters answer them.
    std::map<std::string, std::string> strings;
    LONG quantity = 0;
    double length = 0;

    ULONG references() const { return m_refs; }

    // Forgets the calls and what they stored (not the failures).
    void clear()
    {
        log.clear();
        strings.clear();
        quantity = 0;
        length = 0;
    }

    // The holes, marks and stencils the part holds (the calls that added
    // one and did not fail), as text.
    std::vector<std::string> operations() const
    {
        std::vector<std::string> found;
        for (const RecordedCall& call : log)
            if (call.succeeded() && isOperation(call.name))
                found.push_back(call.text());
        return found;
    }
    // The holes and marks the part holds, their arguments as numbers.
    std::vector<RecordedOperation> holesAndMarks() const
    {
        std::vector<RecordedOperation> found;
        for (const RecordedCall& call : log) {
            if (!call.succeeded() || !isOperation(call.name) ||
                call.name.find("Stencil") != std::string::npos)
                continue;
            if (call.arguments.size() == 2)
                found.push_back({call.name, call.number(0), call.number(1), 0, 0, "", 0});
            else
                found.push_back({call.name, call.number(0), call.number(1), call.number(2),
                                 call.number(3), call.text(4), static_cast<int>(call.number(5))});
        }
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
        if (!pctinfo)
            return E_POINTER;
        *pctinfo = 0;
        return S_OK;
    }
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
        const HRESULT hr = record("put_Quantity", {integer(v)});
        if (hr == S_OK)
            quantity = v;
        return hr;
    }
    HRESULT put_Length(double v) override
    {
        const HRESULT hr = record("put_Length", {v});
        if (hr == S_OK)
            length = v;
        return hr;
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
    HRESULT SetWebStencil(double x, double u, BSTR t) override
    {
        return record("SetWebStencil", {x, u, text(t)});
    }
    HRESULT SetTFStencil(double x, double u, BSTR t) override
    {
        return record("SetTFStencil", {x, u, text(t)});
    }
    HRESULT SetBFStencil(double x, double u, BSTR t) override
    {
        return record("SetBFStencil", {x, u, text(t)});
    }
    HRESULT SetMetric(INT v) override { return record("SetMetric", {integer(v)}); }
    HRESULT SetWeb2Hole(double x, double u, double s1, double s2, BSTR shape, INT o) override
    {
        return hole("SetWeb2Hole", x, u, s1, s2, shape, o);
    }
    HRESULT SetWebHoleEx(double x, double u, double s1, double s2, BSTR shape, INT o,
                         INT m) override
    {
        return hole("SetWebHoleEx", x, u, s1, s2, shape, o, {integer(m)});
    }
    HRESULT SetTFNearHoleEx(double x, double u, double s1, double s2, BSTR shape, INT o,
                            INT m) override
    {
        return hole("SetTFNearHoleEx", x, u, s1, s2, shape, o, {integer(m)});
    }
    HRESULT SetTFFarHoleEx(double x, double u, double s1, double s2, BSTR shape, INT o,
                           INT m) override
    {
        return hole("SetTFFarHoleEx", x, u, s1, s2, shape, o, {integer(m)});
    }
    HRESULT SetTFNearFarHoleEx(double x, double u, double s1, double s2, BSTR shape, INT o,
                               INT m) override
    {
        return hole("SetTFNearFarHoleEx", x, u, s1, s2, shape, o, {integer(m)});
    }
    HRESULT SetBFNearHoleEx(double x, double u, double s1, double s2, BSTR shape, INT o,
                            INT m) override
    {
        return hole("SetBFNearHoleEx", x, u, s1, s2, shape, o, {integer(m)});
    }
    HRESULT SetBFFarHoleEx(double x, double u, double s1, double s2, BSTR shape, INT o,
                           INT m) override
    {
        return hole("SetBFFarHoleEx", x, u, s1, s2, shape, o, {integer(m)});
    }
    HRESULT SetBFNearFarHoleEx(double x, double u, double s1, double s2, BSTR shape, INT o,
                               INT m) override
    {
        return hole("SetBFNearFarHoleEx", x, u, s1, s2, shape, o, {integer(m)});
    }
    HRESULT SetWeb2HoleEx(double x, double u, double s1, double s2, BSTR shape, INT o,
                          INT m) override
    {
        return hole("SetWeb2HoleEx", x, u, s1, s2, shape, o, {integer(m)});
    }

private:
    // A hole, mark or stencil setter (SetMetric is none).
    static bool isOperation(const std::string& name)
    {
        return name.rfind("Set", 0) == 0 && name != "SetMetric";
    }

    HRESULT putString(const std::string& name, BSTR value)
    {
        const std::string stored = narrowFromBstr(value);
        const HRESULT hr = record("put_" + name, {stored});
        if (hr == S_OK)
            strings[name] = stored;
        return hr;
    }
    HRESULT getString(const std::string& name, BSTR* pVal)
    {
        if (!pVal)
            return E_POINTER;
        *pVal = bstrFromNarrow(strings[name]);
        return S_OK;
    }
    HRESULT hole(const char* name, double x, double u, double s1, double s2, BSTR shape, INT o,
                 std::vector<Argument> more = {})
    {
        std::vector<Argument> arguments{x, u, s1, s2, text(shape), integer(o)};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return record(name, std::move(arguments));
    }
    HRESULT mark(const char* name, double x, double u) { return record(name, {x, u}); }

    ULONG m_refs = 1;
};

} // namespace convertertest
