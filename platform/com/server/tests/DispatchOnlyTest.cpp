// A dispatch-only object: a dispinterface whose members are the class's own
// member functions, called by DISPID with by-reference outputs and a 32-bit
// result, as the database servers are called.
#include "com/server/Server.h"

#include "com/Bstr.h"
#include "com/CodePage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

inline constexpr GUID LIBID_RecorderLib = guidOf("7A0C1E30-5B3D-4F6A-8C21-9D0E1F2A3B01");
inline constexpr IID DIID_IRecorder = guidOf("7A0C1E31-5B3D-4F6A-8C21-9D0E1F2A3B01");

class CRecorder : public CComObjectRootEx<CComSingleThreadModel>,
                  public IDispatchOnlyImpl<CRecorder, &DIID_IRecorder, &LIBID_RecorderLib> {
public:
    BEGIN_COM_MAP(CRecorder)
        COM_INTERFACE_ENTRY(IDispatch)
        COM_INTERFACE_ENTRY_IID(DIID_IRecorder, IDispatch)
    END_COM_MAP()

    HRESULT Store(SHORT nKind, LONG nCount, double dValue, BSTR bstrName, LONG* pnResult)
    {
        m_text = std::to_string(nKind) + "/" + std::to_string(nCount) + "/" +
                 std::to_string(dValue) + "/" + narrowFromBstr(bstrName);
        *pnResult = 17;
        return S_OK;
    }
    HRESULT Fetch(BSTR* pbstrText, double* pdValue, LONG* pnResult)
    {
        SysFreeString(*pbstrText);
        *pbstrText = SysAllocString(wideFromNarrow(m_text).c_str());
        *pdValue = 2.5;
        *pnResult = -1;
        return S_OK;
    }

    std::string m_text;
};

const comserver::TypeLibrary& recorderLibrary()
{
    using namespace comserver;
    static const TypeLibrary library{
        LIBID_RecorderLib,
        1,
        0,
        "RecorderLib",
        "Recorder 1.0 Type Library",
        {dispInterface<CRecorder>(
            DIID_IRecorder, "IRecorder", "IRecorder Interface",
            {dispMethod<&CRecorder::Store>(
                 1, "Store", {"nKind", "nCount", "dValue", "bstrName", "pnResult"}, retval),
             dispMethod<&CRecorder::Fetch>(2, "Fetch", {"pbstrText", "pdValue", "pnResult"},
                                           retval)})},
        {}};
    return library;
}

} // namespace

TYPELIB_RESOURCE(7, recorderLibrary)

namespace {

TEST(DispatchOnlyTest, MembersOfTheClassAnswerInvokeByDispid)
{
    CComObject<CRecorder>* recorder = nullptr;
    ASSERT_EQ(CComObject<CRecorder>::CreateInstance(&recorder), S_OK);
    recorder->AddRef();
    IDispatch* dispatch = nullptr;
    ASSERT_EQ(recorder->QueryInterface(DIID_IRecorder, reinterpret_cast<void**>(&dispatch)), S_OK);

    // Store(2, 40, 1.25, "W12X26"), arguments in reverse order.
    VARIANT args[4];
    for (VARIANT& v : args)
        VariantInit(&v);
    args[3].vt = VT_I2;
    args[3].iVal = 2;
    args[2].vt = VT_I4;
    args[2].lVal = 40;
    args[1].vt = VT_R8;
    args[1].dblVal = 1.25;
    args[0].vt = VT_BSTR;
    args[0].bstrVal = SysAllocString(u"W12X26");
    DISPPARAMS params{args, nullptr, 4, 0};
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(dispatch->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(result.vt, VT_I4);
    EXPECT_EQ(result.lVal, 17);
    EXPECT_EQ(recorder->m_text, "2/40/1.250000/W12X26");
    VariantClear(&args[0]);

    // Fetch(&text, &value): by-reference outputs.
    BSTR text = nullptr;
    double value = 0;
    VARIANT outs[2];
    outs[1].vt = VT_BYREF | VT_BSTR;
    outs[1].pbstrVal = &text;
    outs[0].vt = VT_BYREF | VT_R8;
    outs[0].pdblVal = &value;
    DISPPARAMS fetch{outs, nullptr, 2, 0};
    ASSERT_EQ(dispatch->Invoke(2, IID_NULL, 0, DISPATCH_METHOD, &fetch, &result, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(narrowFromBstr(text), "2/40/1.250000/W12X26");
    EXPECT_EQ(value, 2.5);
    EXPECT_EQ(result.lVal, -1);
    SysFreeString(text);

    dispatch->Release();
    EXPECT_EQ(recorder->Release(), 0u);
}

} // namespace
