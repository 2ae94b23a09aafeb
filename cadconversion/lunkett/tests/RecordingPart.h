// RecordingPart: a plain C++ ICADPart2 that logs every call the reader
// makes by name (the converters' CallLog), keeps what they stored, and can
// be told to fail a call. Reference counted; the test holds the first
// reference and checks that the count comes back to it.
#pragma once

#include "convertertest/CallLog.h"

#include "halcyra/HalcyraLib.h"

#include "com/Bstr.h"
#include "com/CodePage.h"

#include <map>
#include <string>
#include <vector>

struct RecordedOperation {
    char face; // 'W' web, 'T' top flange, 'B' bottom flange
    bool ex;   // the Ex form, with toolMeasuringSystem
    double startX, startU;
    char directionX, directionU, patternType;
    double rise, run, x, u;
    LONG numX;
    double xInc;
    LONG numU;
    double uInc;
    char operationType, frontBack;
    double toolSize1, toolSize2;
    std::string toolType;
    LONG orientation;
    LONG toolMeasuringSystem;
};

struct RecordedStencil {
    char face;
    double x, u;
    std::string text;
};

class RecordingPart final : public ICADPart2, public convertertest::CallLog {
public:
    std::map<std::string, std::string> strings; // "JobId", "Group", ... as last put
    LONG quantity = 0;
    double length = 0;
    std::vector<RecordedOperation> operations;
    std::vector<RecordedStencil> stencils;

    ULONG references() const { return m_refs; }

    HRESULT QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_ICADPart2)
            return E_NOINTERFACE;
        *ppv = static_cast<ICADPart2*>(this);
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override { return --m_refs; } // the test owns the object

    HRESULT get_JobId(BSTR* pVal) override { return getString("JobId", pVal); }
    HRESULT put_JobId(BSTR v) override { return putString("JobId", v); }
    HRESULT get_Group(BSTR* pVal) override { return getString("Group", pVal); }
    HRESULT put_Group(BSTR v) override { return putString("Group", v); }
    HRESULT get_Mark(BSTR* pVal) override { return getString("Mark", pVal); }
    HRESULT put_Mark(BSTR v) override { return putString("Mark", v); }
    HRESULT get_Quantity(LONG* pVal) override
    {
        *pVal = quantity;
        return S_OK;
    }
    HRESULT put_Quantity(LONG v) override
    {
        if (HRESULT hr = record("put_Quantity"); hr != S_OK)
            return hr;
        quantity = v;
        return S_OK;
    }
    HRESULT get_Length(double* pVal) override
    {
        *pVal = length;
        return S_OK;
    }
    HRESULT put_Length(double v) override
    {
        if (HRESULT hr = record("put_Length"); hr != S_OK)
            return hr;
        length = v;
        return S_OK;
    }
    HRESULT get_Section(BSTR* pVal) override { return getString("Section", pVal); }
    HRESULT put_Section(BSTR v) override { return putString("Section", v); }
    HRESULT get_SectionDescription(BSTR* pVal) override
    {
        return getString("SectionDescription", pVal);
    }
    HRESULT put_SectionDescription(BSTR v) override { return putString("SectionDescription", v); }

    HRESULT SetWebOperation(double a, double b, unsigned char c, unsigned char d, unsigned char e,
                            double f, double g, double h, double i, LONG j, double k, LONG l,
                            double m, unsigned char n, unsigned char o, double p, double q, BSTR r,
                            LONG s) override
    {
        return operation("SetWebOperation", 'W', false, a, b, char(c), char(d), char(e), f, g, h, i,
                         j, k, l, m, char(n), char(o), p, q, r, s, 0);
    }
    HRESULT SetTopFlangeOperation(double a, double b, signed char c, signed char d, unsigned char e,
                                  double f, double g, double h, double i, LONG j, double k, LONG l,
                                  double m, signed char n, signed char o, double p, double q,
                                  BSTR r, LONG s) override
    {
        return operation("SetTopFlangeOperation", 'T', false, a, b, char(c), char(d), char(e), f, g,
                         h, i, j, k, l, m, char(n), char(o), p, q, r, s, 0);
    }
    HRESULT SetBottomFlangeOperation(double a, double b, signed char c, signed char d,
                                     unsigned char e, double f, double g, double h, double i,
                                     LONG j, double k, LONG l, double m, signed char n,
                                     signed char o, double p, double q, BSTR r, LONG s) override
    {
        return operation("SetBottomFlangeOperation", 'B', false, a, b, char(c), char(d), char(e), f,
                         g, h, i, j, k, l, m, char(n), char(o), p, q, r, s, 0);
    }
    HRESULT SaveToTarsis() override { return record("SaveToTarsis"); }
    HRESULT get_Grade(BSTR* pVal) override { return getString("Grade", pVal); }
    HRESULT put_Grade(BSTR v) override { return putString("Grade", v); }
    HRESULT SetWebStencil(double x, double u, BSTR t) override
    {
        return stencil("SetWebStencil", 'W', x, u, t);
    }
    HRESULT SetTFStencil(double x, double u, BSTR t) override
    {
        return stencil("SetTFStencil", 'T', x, u, t);
    }
    HRESULT SetBFStencil(double x, double u, BSTR t) override
    {
        return stencil("SetBFStencil", 'B', x, u, t);
    }
    HRESULT SetMetric(INT) override { return record("SetMetric"); }
    HRESULT SetWebOperationEx(double a, double b, unsigned char c, unsigned char d, unsigned char e,
                              double f, double g, double h, double i, LONG j, double k, LONG l,
                              double m, unsigned char n, unsigned char o, double p, double q,
                              BSTR r, LONG s, LONG t) override
    {
        return operation("SetWebOperationEx", 'W', true, a, b, char(c), char(d), char(e), f, g, h,
                         i, j, k, l, m, char(n), char(o), p, q, r, s, t);
    }
    HRESULT SetTopFlangeOperationEx(double a, double b, signed char c, signed char d,
                                    unsigned char e, double f, double g, double h, double i, LONG j,
                                    double k, LONG l, double m, signed char n, signed char o,
                                    double p, double q, BSTR r, LONG s, LONG t) override
    {
        return operation("SetTopFlangeOperationEx", 'T', true, a, b, char(c), char(d), char(e), f,
                         g, h, i, j, k, l, m, char(n), char(o), p, q, r, s, t);
    }
    HRESULT SetBottomFlangeOperationEx(double a, double b, signed char c, signed char d,
                                       unsigned char e, double f, double g, double h, double i,
                                       LONG j, double k, LONG l, double m, signed char n,
                                       signed char o, double p, double q, BSTR r, LONG s,
                                       LONG t) override
    {
        return operation("SetBottomFlangeOperationEx", 'B', true, a, b, char(c), char(d), char(e),
                         f, g, h, i, j, k, l, m, char(n), char(o), p, q, r, s, t);
    }

private:
    HRESULT putString(const std::string& name, BSTR value)
    {
        if (HRESULT hr = record("put_" + name); hr != S_OK)
            return hr;
        strings[name] = narrowFromBstr(value);
        return S_OK;
    }
    HRESULT getString(const std::string& name, BSTR* pVal)
    {
        SysFreeString(*pVal);
        *pVal = bstrFromNarrow(strings[name]);
        return S_OK;
    }
    HRESULT operation(const char* name, char face, bool ex, double startX, double startU,
                      char directionX, char directionU, char patternType, double rise, double run,
                      double x, double u, LONG numX, double xInc, LONG numU, double uInc,
                      char operationType, char frontBack, double toolSize1, double toolSize2,
                      BSTR toolType, LONG orientation, LONG toolMeasuringSystem)
    {
        if (HRESULT hr = record(name); hr != S_OK)
            return hr;
        operations.push_back({face,        ex,
                              startX,      startU,
                              directionX,  directionU,
                              patternType, rise,
                              run,         x,
                              u,           numX,
                              xInc,        numU,
                              uInc,        operationType,
                              frontBack,   toolSize1,
                              toolSize2,   narrowFromBstr(toolType),
                              orientation, toolMeasuringSystem});
        return S_OK;
    }
    HRESULT stencil(const char* name, char face, double x, double u, BSTR text)
    {
        if (HRESULT hr = record(name); hr != S_OK)
            return hr;
        stencils.push_back({face, x, u, narrowFromBstr(text)});
        return S_OK;
    }

    ULONG m_refs = 1;
};
