// The server test fixture; see ServerFixture.h.
#include "ServerFixture.h"

#include "testing/ErrorInfo.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>

namespace tarsis::testing {

CComVariant byRef(double* value)
{
    CComVariant v;
    v.vt = VT_BYREF | VT_R8;
    v.pdblVal = value;
    return v;
}

CComVariant byRef(BSTR* value)
{
    CComVariant v;
    v.vt = VT_BYREF | VT_BSTR;
    v.pbstrVal = value;
    return v;
}

void ServerTest::SetUp()
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    m_module = dlopen(TARSIS_SERVERS_PATH, RTLD_NOW);
    ASSERT_NE(m_module, nullptr) << dlerror();
    auto registerServer = reinterpret_cast<HRESULT (*)()>(dlsym(m_module, "DllRegisterServer"));
    ASSERT_NE(registerServer, nullptr);
    ASSERT_EQ(registerServer(), S_OK);
}

void ServerTest::TearDown()
{
    if (m_module)
        dlclose(m_module);
    CoFreeUnusedLibraries();
    CoUninitialize();
}

// The temporary database puts the variable back.
void ServerTest::useDatabase(const std::string& path)
{
    setenv("TARSIS_DATABASE", path.c_str(), 1);
}

CComPtr<IDispatch> ServerTest::create(REFCLSID clsid, DWORD context)
{
    CComPtr<IUnknown> unknown;
    HRESULT hr =
        CoCreateInstance(clsid, nullptr, context, IID_IUnknown, reinterpret_cast<void**>(&unknown));
    EXPECT_EQ(hr, S_OK) << "creating " << guidToString(clsid);
    CComPtr<IDispatch> dispatch;
    if (unknown) {
        EXPECT_EQ(OleRun(unknown), S_OK);
        EXPECT_EQ(unknown.QueryInterface(&dispatch), S_OK);
    }
    return dispatch;
}

CallResult ServerTest::invoke(IDispatch* object, DISPID dispid, std::vector<CComVariant> args)
{
    static_assert(sizeof(CComVariant) == sizeof(VARIANT));
    std::reverse(args.begin(), args.end());
    DISPPARAMS params{args.empty() ? nullptr : args.data(), nullptr, static_cast<UINT>(args.size()),
                      0};
    CComVariant result;
    EXCEPINFO info{};
    UINT argError = 0;
    HRESULT hr =
        object->Invoke(dispid, IID_NULL, 0, DISPATCH_METHOD, &params, &result, &info, &argError);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    return {hr, result.vt == VT_I4 ? result.lVal : 0, result.vt};
}

LONG ServerTest::call(IDispatch* object, DISPID dispid, std::vector<CComVariant> args)
{
    CallResult r = invoke(object, dispid, std::move(args));
    EXPECT_EQ(r.hr, S_OK) << "DISPID " << dispid;
    EXPECT_EQ(r.resultType, VT_I4) << "DISPID " << dispid;
    return r.result;
}

std::string ServerTest::errorText()
{
    return testsupport::takeErrorDescription();
}

std::vector<CComVariant> createPartArgs(const char* job, const char* group, const char* mark)
{
    return {CComVariant(job),      CComVariant(group),   CComVariant(mark),   CComVariant(SHORT(2)),
            CComVariant(120.25),   CComVariant("W"),     CComVariant("1226"), CComVariant("A992"),
            CComVariant(""),       CComVariant(LONG(0)), CComVariant(""),     CComVariant(""),
            CComVariant(SHORT(0)), CComVariant(SHORT(1))};
}

} // namespace tarsis::testing
