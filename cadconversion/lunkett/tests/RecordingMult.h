// RecordingMult: a plain C++ ICADMult that records the calls the bar reader
// and its dialogs make, answers the machine and piece checks from sets of
// known names, and can be told to fail a call. The test owns the object
// and checks that its reference count comes back to 1.
#pragma once

#include "halcyra/HalcyraLib.h"

#include "com/Bstr.h"
#include "com/CodePage.h"

#include <map>
#include <set>
#include <string>
#include <vector>

class RecordingMult final : public ICADMult {
public:
    // Calls in order: "put_Machine SAW1", "CheckPart J1/G1/M1", ...
    std::vector<std::string> calls;
    std::set<std::string> knownMachines{"SAW1", "SAW2"};
    std::set<std::string> knownPieces; // "job/group/mark"
    // Every machine and piece known: the reader opens no dialog.
    bool knowsEverything = false;
    // What GetMultSectionAndDescription hands out.
    std::string section = "W";
    std::string description = "1226";
    // A method named here answers its HRESULT.
    std::map<std::string, HRESULT> failures;

    std::string machine;
    LONG quantity = 0;
    double length = 0;
    double kerf = 0;

    ULONG references() const { return m_refs; }

    HRESULT QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_ICADMult)
            return E_NOINTERFACE;
        *ppv = static_cast<ICADMult*>(this);
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override { return --m_refs; }

    HRESULT get_JobId(BSTR*) override { return E_NOTIMPL; }
    HRESULT put_JobId(BSTR v) override { return record("put_JobId", text(v)); }
    HRESULT get_Group(BSTR*) override { return E_NOTIMPL; }
    HRESULT put_Group(BSTR v) override { return record("put_Group", text(v)); }
    HRESULT get_Mark(BSTR*) override { return E_NOTIMPL; }
    HRESULT put_Mark(BSTR v) override { return record("put_Mark", text(v)); }
    HRESULT get_Quantity(LONG*) override { return E_NOTIMPL; }
    HRESULT put_Quantity(LONG v) override
    {
        quantity = v;
        return record("put_Quantity", std::to_string(v));
    }
    HRESULT get_Length(double*) override { return E_NOTIMPL; }
    HRESULT put_Length(double v) override
    {
        length = v;
        return record("put_Length", "");
    }
    HRESULT get_Section(BSTR*) override { return E_NOTIMPL; }
    HRESULT put_Section(BSTR v) override { return record("put_Section", text(v)); }
    HRESULT get_SectionDescription(BSTR*) override { return E_NOTIMPL; }
    HRESULT put_SectionDescription(BSTR v) override
    {
        return record("put_SectionDescription", text(v));
    }
    HRESULT get_Grade(BSTR*) override { return E_NOTIMPL; }
    HRESULT put_Grade(BSTR v) override { return record("put_Grade", text(v)); }
    HRESULT get_Machine(BSTR*) override { return E_NOTIMPL; }
    HRESULT put_Machine(BSTR v) override
    {
        if (HRESULT hr = record("put_Machine", text(v)); hr != S_OK)
            return hr;
        machine = text(v);
        return S_OK;
    }
    HRESULT get_Kerf(double*) override { return E_NOTIMPL; }
    HRESULT put_Kerf(double v) override
    {
        kerf = v;
        return record("put_Kerf", "");
    }
    HRESULT SetMetric(INT) override { return E_NOTIMPL; }
    HRESULT SaveToTarsis() override { return E_NOTIMPL; }
    HRESULT AddPart(BSTR job, BSTR group, BSTR mark, INT n) override
    {
        return record("AddPart",
                      text(job) + "/" + text(group) + "/" + text(mark) + " " + std::to_string(n));
    }
    HRESULT GetMultSectionAndDescription(BSTR job, BSTR group, BSTR mark, BSTR* pbstrSection,
                                         BSTR* pbstrDesctp) override
    {
        if (HRESULT hr = record("GetMultSectionAndDescription",
                                text(job) + "/" + text(group) + "/" + text(mark));
            hr != S_OK)
            return hr;
        *pbstrSection = bstr(section);
        *pbstrDesctp = bstr(description);
        return S_OK;
    }
    // As the real mult: S_FALSE and a copy of the machine when unknown.
    HRESULT CheckMachine(BSTR* pbstrMachineName) override
    {
        SysFreeString(*pbstrMachineName);
        *pbstrMachineName = nullptr;
        if (HRESULT hr = record("CheckMachine", ""); hr != S_OK)
            return hr;
        if (knowsEverything || knownMachines.count(machine))
            return S_OK;
        *pbstrMachineName = bstr(machine);
        return S_FALSE;
    }
    HRESULT CheckParts(LONG*, BSTR**, BSTR**, BSTR**) override { return S_OK; }
    HRESULT CheckPart(BSTR job, BSTR group, BSTR mark) override
    {
        const std::string key = text(job) + "/" + text(group) + "/" + text(mark);
        if (HRESULT hr = record("CheckPart", key); hr != S_OK)
            return hr;
        return knowsEverything || knownPieces.count(key) ? S_OK : S_FALSE;
    }

    // The calls made to one method, by their arguments.
    std::vector<std::string> argumentsOf(const std::string& method) const
    {
        std::vector<std::string> found;
        for (const std::string& call : calls)
            if (call.compare(0, method.size() + 1, method + " ") == 0)
                found.push_back(call.substr(method.size() + 1));
        return found;
    }

private:
    HRESULT record(const std::string& method, const std::string& arguments)
    {
        calls.push_back(method + " " + arguments);
        const auto failure = failures.find(method);
        return failure == failures.end() ? S_OK : failure->second;
    }
    static std::string text(BSTR b) { return narrowFromBstr(b); }
    static BSTR bstr(const std::string& t) { return bstrFromNarrow(t); }

    ULONG m_refs = 1;
};
