// The whole road through a second module: registration, discovery by
// category, creation by CLSID, aggregation, error info, ISupportErrorInfo,
// IDispatch from the type library, and unregistration.
#include "RegistryFixture.h"
#include "TestServerInterfaces.h"

#include "com/Bstr.h"
#include "com/CodePage.h"

#include <dlfcn.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

using ExportFunction = HRESULT (*)();

const std::string widgetKey = "CLSID\\{5C3A9E11-41B2-4C7E-9A11-2F0D6B8E7A01}";
const std::string gadgetKey = "CLSID\\{5C3A9E12-41B2-4C7E-9A11-2F0D6B8E7A01}";
const std::string libraryKey = "TypeLib\\{5C3A9E10-41B2-4C7E-9A11-2F0D6B8E7A01}";

std::string serverPath()
{
    char resolved[PATH_MAX];
    return realpath(TEST_SERVER_PATH, resolved) ? resolved : TEST_SERVER_PATH;
}

class TestServerTest : public RegistryFixture {
protected:
    void SetUp() override
    {
        RegistryFixture::SetUp();
        m_module = dlopen(TEST_SERVER_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(m_module, nullptr) << dlerror();
        m_register = exportOf("DllRegisterServer");
        m_unregister = exportOf("DllUnregisterServer");
        m_canUnloadNow = exportOf("DllCanUnloadNow");
        ASSERT_EQ(m_register(), S_OK) << takeErrorDescription();
    }
    void TearDown() override
    {
        if (m_module != nullptr)
            dlclose(m_module);
        RegistryFixture::TearDown();
    }

    ExportFunction exportOf(const char* name)
    {
        auto function = reinterpret_cast<ExportFunction>(dlsym(m_module, name));
        EXPECT_NE(function, nullptr) << name;
        return function;
    }

    template <class I>
    I* create(REFCLSID clsid)
    {
        I* object = nullptr;
        EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, uuidof<I>(),
                                   reinterpret_cast<void**>(&object)),
                  S_OK);
        return object;
    }

    void* m_module = nullptr;
    ExportFunction m_register = nullptr;
    ExportFunction m_unregister = nullptr;
    ExportFunction m_canUnloadNow = nullptr;
};

// Arguments for Invoke, given in declaration order and kept in reverse.
class Arguments {
public:
    Arguments& add(VARIANT v)
    {
        m_args.insert(m_args.begin(), v);
        return *this;
    }
    Arguments& i4(LONG n)
    {
        VARIANT v{};
        v.vt = VT_I4;
        v.lVal = n;
        return add(v);
    }
    Arguments& i2(SHORT n)
    {
        VARIANT v{};
        v.vt = VT_I2;
        v.iVal = n;
        return add(v);
    }
    Arguments& r8(double d)
    {
        VARIANT v{};
        v.vt = VT_R8;
        v.dblVal = d;
        return add(v);
    }
    Arguments& ui1(BYTE b)
    {
        VARIANT v{};
        v.vt = VT_UI1;
        v.bVal = b;
        return add(v);
    }
    Arguments& text(const char16_t* s)
    {
        VARIANT v{};
        v.vt = VT_BSTR;
        v.bstrVal = SysAllocString(s);
        return add(v);
    }
    Arguments& unknown(IUnknown* p)
    {
        VARIANT v{};
        v.vt = VT_UNKNOWN;
        v.punkVal = p;
        p->AddRef();
        return add(v);
    }
    Arguments& byRef(VARTYPE vt, void* p)
    {
        VARIANT v{};
        v.vt = static_cast<VARTYPE>(VT_BYREF | vt);
        v.byref = p;
        return add(v);
    }
    ~Arguments()
    {
        for (VARIANT& v : m_args)
            VariantClear(&v);
    }
    DISPPARAMS* params()
    {
        m_params = DISPPARAMS{m_args.data(), m_named.empty() ? nullptr : m_named.data(),
                              static_cast<UINT>(m_args.size()), static_cast<UINT>(m_named.size())};
        return &m_params;
    }
    Arguments& named(DISPID id)
    {
        m_named.push_back(id);
        return *this;
    }

private:
    std::vector<VARIANT> m_args;
    std::vector<DISPID> m_named;
    DISPPARAMS m_params{};
};

struct Result {
    Result() { VariantInit(&value); }
    ~Result() { VariantClear(&value); }
    VARIANT value;
};

std::string text(BSTR s)
{
    return narrowFromBstr(s);
}

TEST_F(TestServerTest, RegistrationWritesTheClassTypeLibraryAndInterfaceKeys)
{
    const std::string path = serverPath();
    EXPECT_EQ(stringValue(HKEY_CLASSES_ROOT, "ComServerTest.TestWidget.1\\CLSID"),
              "{5C3A9E11-41B2-4C7E-9A11-2F0D6B8E7A01}");
    EXPECT_EQ(stringValue(HKEY_CLASSES_ROOT, "ComServerTest.TestWidget\\CurVer"),
              "ComServerTest.TestWidget.1");
    EXPECT_EQ(stringValue(HKEY_CLASSES_ROOT, widgetKey + "\\InprocServer32"), path);
    EXPECT_EQ(stringValue(HKEY_CLASSES_ROOT, widgetKey + "\\InprocServer32", "ThreadingModel"),
              "Apartment");
    EXPECT_TRUE(keyExists(HKEY_CLASSES_ROOT, widgetKey + "\\Programmable"));
    EXPECT_EQ(stringValue(HKEY_CLASSES_ROOT, gadgetKey + "\\InprocServer32", "ThreadingModel"),
              "Both");
    EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, gadgetKey + "\\Programmable"));
    EXPECT_TRUE(
        keyExists(HKEY_CLASSES_ROOT,
                  gadgetKey + "\\Implemented Categories\\{5C3A9E17-41B2-4C7E-9A11-2F0D6B8E7A01}"));

    EXPECT_EQ(stringValue(HKEY_CLASSES_ROOT, libraryKey + "\\1.0"), "TestServer 1.0 Type Library");
    EXPECT_EQ(stringValue(HKEY_CLASSES_ROOT, libraryKey + "\\1.0\\0\\win32"), path);
    EXPECT_EQ(stringValue(HKEY_CLASSES_ROOT, libraryKey + "\\1.0\\FLAGS"), "0");
    EXPECT_EQ(stringValue(HKEY_CLASSES_ROOT, libraryKey + "\\1.0\\HELPDIR"),
              std::filesystem::path(path).parent_path().string());

    const std::string widgetInterface = "Interface\\{5C3A9E13-41B2-4C7E-9A11-2F0D6B8E7A01}";
    EXPECT_EQ(stringValue(HKEY_CLASSES_ROOT, widgetInterface), "ITestWidget");
    EXPECT_EQ(stringValue(HKEY_CLASSES_ROOT, widgetInterface + "\\ProxyStubClsid32"),
              "{00020424-0000-0000-C000-000000000046}");
    EXPECT_EQ(stringValue(HKEY_CLASSES_ROOT, widgetInterface + "\\TypeLib"),
              "{5C3A9E10-41B2-4C7E-9A11-2F0D6B8E7A01}");
    EXPECT_EQ(stringValue(HKEY_CLASSES_ROOT, widgetInterface + "\\TypeLib", "Version"), "1.0");
    const std::string gadgetInterface = "Interface\\{5C3A9E16-41B2-4C7E-9A11-2F0D6B8E7A01}";
    EXPECT_EQ(stringValue(HKEY_CLASSES_ROOT, gadgetInterface), "ITestGadget");
    EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, gadgetInterface + "\\ProxyStubClsid32"));
    // Interfaces absent from the library are not registered.
    EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, "Interface\\{5C3A9E15-41B2-4C7E-9A11-2F0D6B8E7A01}"));
}

TEST_F(TestServerTest, RegisteringTwiceLeavesOneSetOfKeys)
{
    auto everything = [] {
        return dump(HKEY_CLASSES_ROOT, "CLSID") + dump(HKEY_CLASSES_ROOT, "TypeLib") +
               dump(HKEY_CLASSES_ROOT, "Interface") +
               dump(HKEY_CLASSES_ROOT, "ComServerTest.TestWidget") +
               dump(HKEY_CLASSES_ROOT, "ComServerTest.TestGadget.1");
    };
    const std::string once = everything();
    ASSERT_EQ(m_register(), S_OK);
    EXPECT_EQ(everything(), once);
}

TEST_F(TestServerTest, UnregistrationRemovesWhatWasWrittenAndLeavesTheCategory)
{
    ASSERT_EQ(m_unregister(), S_OK) << takeErrorDescription();
    for (const char* key : {"ComServerTest.TestWidget.1", "ComServerTest.TestWidget",
                            "ComServerTest.TestGadget.1", "ComServerTest.TestGadget"})
        EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, key)) << key;
    const std::string rest = dump(HKEY_CLASSES_ROOT, "CLSID") + dump(HKEY_CLASSES_ROOT, "TypeLib") +
                             dump(HKEY_CLASSES_ROOT, "Interface");
    EXPECT_EQ(rest.find("5C3A9E1"), std::string::npos) << rest;

    ICatInformation* categories = create<ICatInformation>(CLSID_StdComponentCategoriesMgr);
    ASSERT_NE(categories, nullptr);
    LPWSTR description = nullptr;
    EXPECT_EQ(categories->GetCategoryDesc(CATID_TestServers, 0x409, &description), S_OK);
    EXPECT_EQ(narrowFromWide(description ? description : u""), "Test Servers");
    CoTaskMemFree(description);
    categories->Release();
}

TEST_F(TestServerTest, ClassesAreFoundByCategory)
{
    ICatInformation* categories = create<ICatInformation>(CLSID_StdComponentCategoriesMgr);
    ASSERT_NE(categories, nullptr);
    IEnumGUID* classes = nullptr;
    ASSERT_EQ(categories->EnumClassesOfCategories(1, &CATID_TestServers, 0, nullptr, &classes),
              S_OK);
    CLSID found[4];
    ULONG fetched = 0;
    EXPECT_EQ(classes->Next(4, found, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 1u);
    EXPECT_EQ(found[0], CLSID_TestGadget);
    classes->Release();
    categories->Release();
}

TEST_F(TestServerTest, ObjectsAreCreatedByClsidAndHoldTheModuleUntilReleased)
{
    ITestWidget* widget = create<ITestWidget>(CLSID_TestWidget);
    ASSERT_NE(widget, nullptr);
    LONG sum = 0;
    EXPECT_EQ(widget->Add(40, 2, &sum), S_OK);
    EXPECT_EQ(sum, 42);
    ITestGadget* gadget = create<ITestGadget>(CLSID_TestGadget);
    ASSERT_NE(gadget, nullptr);
    EXPECT_EQ(gadget->Ready(), S_OK);
    EXPECT_EQ(m_canUnloadNow(), S_FALSE);

    ISupportErrorInfo* support = nullptr;
    ASSERT_EQ(widget->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support)),
              S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_ITestWidget), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_ITestCounter), S_FALSE);
    support->Release();
    ASSERT_EQ(gadget->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support)),
              S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_ITestGadget), S_OK);
    support->Release();

    EXPECT_EQ(widget->Release(), 0u);
    EXPECT_EQ(gadget->Release(), 0u);
    EXPECT_EQ(m_canUnloadNow(), S_OK);
}

TEST_F(TestServerTest, ClassFactoriesCheckAggregationRequests)
{
    IClassFactory* factory = nullptr;
    ASSERT_EQ(CoGetClassObject(CLSID_TestGadget, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&factory)),
              S_OK);
    EXPECT_EQ(m_canUnloadNow(), S_FALSE); // a factory reference locks the module
    IUnknown* outer = factory;            // any object stands in: it is never called
    void* out = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(factory->CreateInstance(outer, IID_IUnknown, &out), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    factory->Release();
    EXPECT_EQ(m_canUnloadNow(), S_FALSE);
    ASSERT_EQ(CoGetClassObject(CLSID_TestWidget, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&factory)),
              S_OK);
    out = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(factory->CreateInstance(outer, IID_ITestWidget, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    factory->Release();
    EXPECT_EQ(m_canUnloadNow(), S_OK);
}

// An outer object that aggregates the widget and counts its references.
class Outer final : public IUnknown {
public:
    HRESULT QueryInterface(REFIID iid, void** ppv) override
    {
        if (iid == IID_IUnknown) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        return m_inner->QueryInterface(iid, ppv);
    }
    ULONG AddRef() override { return ++m_references; }
    ULONG Release() override
    {
        if (--m_references == 0) {
            m_innerCount = m_inner->Release();
            m_inner = nullptr;
        }
        return m_references;
    }

    ULONG m_references = 1;
    IUnknown* m_inner = nullptr;
    ULONG m_innerCount = 99;
};

TEST_F(TestServerTest, AnAggregatedWidgetDelegatesToItsOuterObject)
{
    Outer outer;
    ASSERT_EQ(CoCreateInstance(CLSID_TestWidget, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&outer.m_inner)),
              S_OK);
    EXPECT_EQ(outer.m_references, 1u);

    ITestWidget* widget = nullptr;
    ASSERT_EQ(outer.QueryInterface(IID_ITestWidget, reinterpret_cast<void**>(&widget)), S_OK);
    EXPECT_EQ(outer.m_references, 2u);
    IUnknown* identity = nullptr;
    ASSERT_EQ(widget->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    EXPECT_EQ(identity, &outer);
    EXPECT_EQ(outer.m_references, 3u);
    identity->Release();
    LONG sum = 0;
    EXPECT_EQ(widget->Add(1, 2, &sum), S_OK);
    EXPECT_EQ(sum, 3);
    EXPECT_EQ(widget->Release(), 1u);
    EXPECT_EQ(m_canUnloadNow(), S_FALSE);

    EXPECT_EQ(outer.Release(), 0u);
    EXPECT_EQ(outer.m_innerCount, 0u);
    EXPECT_EQ(m_canUnloadNow(), S_OK);
}

TEST_F(TestServerTest, ErrorInfoCrossesTheBoundaryWithTheProgIdAsSource)
{
    ITestWidget* widget = create<ITestWidget>(CLSID_TestWidget);
    ASSERT_NE(widget, nullptr);
    BSTR message = SysAllocString(u"File open Failure x.nc");
    EXPECT_EQ(widget->Fail(message, hresult(0x80040005)), hresult(0x80040005));
    IErrorInfo* info = nullptr;
    ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
    GUID guid{};
    BSTR description = nullptr, source = nullptr, helpFile = nullptr;
    info->GetGUID(&guid);
    info->GetDescription(&description);
    info->GetSource(&source);
    info->GetHelpFile(&helpFile);
    EXPECT_EQ(guid, IID_ITestWidget);
    EXPECT_EQ(text(description), "File open Failure x.nc");
    EXPECT_EQ(text(source), "ComServerTest.TestWidget.1");
    EXPECT_EQ(text(helpFile), "");
    for (BSTR s : {description, source, helpFile})
        SysFreeString(s);
    info->Release();

    // A zero result is reported as DISP_E_EXCEPTION; an unregistered class
    // has no ProgID to name as the source.
    ASSERT_EQ(m_unregister(), S_OK);
    EXPECT_EQ(widget->Fail(message, 0), DISP_E_EXCEPTION);
    ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
    info->GetSource(&source);
    EXPECT_EQ(text(source), "");
    SysFreeString(source);
    info->Release();
    SysFreeString(message);
    widget->Release();
}

class DispatchTest : public TestServerTest {
protected:
    void SetUp() override
    {
        TestServerTest::SetUp();
        m_widget = create<ITestWidget>(CLSID_TestWidget);
        ASSERT_NE(m_widget, nullptr);
        ASSERT_EQ(m_widget->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&m_dispatch)),
                  S_OK);
    }
    void TearDown() override
    {
        if (m_dispatch)
            m_dispatch->Release();
        if (m_widget)
            m_widget->Release();
        TestServerTest::TearDown();
    }

    HRESULT invoke(IDispatch* dispatch, DISPID id, WORD flags, Arguments& args,
                   VARIANT* result = nullptr, EXCEPINFO* excepInfo = nullptr,
                   UINT* argErr = nullptr)
    {
        return dispatch->Invoke(id, IID_NULL, 0, flags, args.params(), result, excepInfo, argErr);
    }
    HRESULT invoke(DISPID id, WORD flags, Arguments& args, VARIANT* result = nullptr,
                   EXCEPINFO* excepInfo = nullptr, UINT* argErr = nullptr)
    {
        return invoke(m_dispatch, id, flags, args, result, excepInfo, argErr);
    }

    ITestWidget* m_widget = nullptr;
    IDispatch* m_dispatch = nullptr;
};

TEST_F(DispatchTest, InvokeConvertsArgumentsAndReturnsResultsAndOutputs)
{
    {
        Arguments args;
        args.text(u"40").i2(2); // converted to VT_I4
        Result result;
        ASSERT_EQ(invoke(1, DISPATCH_METHOD, args, &result.value), S_OK);
        EXPECT_EQ(result.value.vt, VT_I4);
        EXPECT_EQ(result.value.lVal, 42);
    }
    {
        double scaled = 0;
        Arguments args;
        args.i4(3).text(u"4").byRef(VT_R8, &scaled);
        Result result;
        ASSERT_EQ(invoke(2, DISPATCH_METHOD, args, &result.value), S_OK);
        EXPECT_EQ(scaled, 12.0);
        EXPECT_EQ(result.value.vt, VT_EMPTY);
    }
    {
        Arguments args;
        args.text(u"W12").i4(26);
        Result result;
        ASSERT_EQ(invoke(3, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, &result.value), S_OK);
        ASSERT_EQ(result.value.vt, VT_BSTR);
        EXPECT_EQ(text(result.value.bstrVal), "W1226");
    }
    {
        Arguments args;
        args.ui1(200).i4(-3);
        Result result;
        ASSERT_EQ(invoke(5, DISPATCH_METHOD, args, &result.value), S_OK);
        EXPECT_EQ(result.value.lVal, 197);
    }
    {
        IUnknown* out = nullptr;
        Arguments args;
        args.unknown(m_widget).byRef(VT_UNKNOWN, &out);
        ASSERT_EQ(invoke(8, DISPATCH_METHOD, args), S_OK);
        EXPECT_EQ(out, static_cast<IUnknown*>(m_widget));
        if (out)
            out->Release();
    }
    {
        Arguments none;
        Result result;
        ASSERT_EQ(invoke(9, DISPATCH_PROPERTYGET, none, &result.value), S_OK);
        EXPECT_EQ(text(result.value.bstrVal), "Test Widget"); // the module's string table
    }
}

TEST_F(DispatchTest, PropertiesArePutAndGotUnderOneDispid)
{
    Arguments put;
    put.text(u"H-beam").named(DISPID_PROPERTYPUT);
    ASSERT_EQ(invoke(4, DISPATCH_PROPERTYPUT, put), S_OK);
    Arguments none;
    Result result;
    ASSERT_EQ(invoke(4, DISPATCH_PROPERTYGET, none, &result.value), S_OK);
    EXPECT_EQ(text(result.value.bstrVal), "H-beam");
    // A put without the named argument is accepted as well.
    Arguments plain;
    plain.i4(7);
    ASSERT_EQ(invoke(4, DISPATCH_PROPERTYPUT, plain), S_OK);
    BSTR name = nullptr;
    m_widget->get_Name(&name);
    EXPECT_EQ(text(name), "7");
    SysFreeString(name);
}

TEST_F(DispatchTest, InvokeAnswersEachErrorCode)
{
    double scaled = 0;
    struct Case {
        const char* what;
        DISPID id;
        WORD flags;
        std::function<void(Arguments&)> fill;
        HRESULT expected;
        UINT argErr;
    };
    const Case cases[] = {
        {"unknown DISPID", 99, DISPATCH_METHOD, [](Arguments&) {}, DISP_E_MEMBERNOTFOUND, 0},
        {"a property called as a method only", 4, DISPATCH_METHOD, [](Arguments&) {},
         DISP_E_MEMBERNOTFOUND, 0},
        {"a method put as a property", 1, DISPATCH_PROPERTYPUT, [](Arguments& a) { a.i4(1); },
         DISP_E_MEMBERNOTFOUND, 0},
        {"too few arguments", 1, DISPATCH_METHOD, [](Arguments& a) { a.i4(1); },
         DISP_E_BADPARAMCOUNT, 0},
        {"too many arguments", 9, DISPATCH_PROPERTYGET, [](Arguments& a) { a.i4(1); },
         DISP_E_BADPARAMCOUNT, 0},
        {"an argument that does not convert", 1, DISPATCH_METHOD,
         [](Arguments& a) { a.i4(1).text(u"two"); }, DISP_E_TYPEMISMATCH, 0},
        {"the first argument does not convert", 1, DISPATCH_METHOD,
         [](Arguments& a) { a.text(u"one").i4(2); }, DISP_E_TYPEMISMATCH, 1},
        {"an output passed by value", 2, DISPATCH_METHOD, [](Arguments& a) { a.r8(1).i2(2).r8(0); },
         DISP_E_TYPEMISMATCH, 0},
        {"an output of the wrong type", 2, DISPATCH_METHOD,
         [&scaled](Arguments& a) { a.r8(1).i2(2).byRef(VT_I4, &scaled); }, DISP_E_TYPEMISMATCH, 0},
        {"a named argument", 1, DISPATCH_METHOD, [](Arguments& a) { a.i4(1).i4(2).named(0); },
         DISP_E_NONAMEDARGS, 0},
        {"a failure without error info", 7, DISPATCH_METHOD,
         [](Arguments& a) { a.i4(E_ACCESSDENIED); }, E_ACCESSDENIED, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Arguments args;
        c.fill(args);
        UINT argErr = 77;
        Result result;
        EXPECT_EQ(invoke(c.id, c.flags, args, &result.value, nullptr, &argErr), c.expected);
        if (c.expected == DISP_E_TYPEMISMATCH) {
            EXPECT_EQ(argErr, c.argErr);
        }
        EXPECT_EQ(result.value.vt, VT_EMPTY);
    }
    Arguments args;
    EXPECT_EQ(m_dispatch->Invoke(1, IID_ITestWidget, 0, DISPATCH_METHOD, args.params(), nullptr,
                                 nullptr, nullptr),
              DISP_E_UNKNOWNINTERFACE);
}

TEST_F(DispatchTest, AFailureWithErrorInfoBecomesAnException)
{
    Arguments args;
    args.text(u"Undefined shape W99").i4(hresult(0x80040003));
    EXCEPINFO excepInfo;
    ASSERT_EQ(invoke(6, DISPATCH_METHOD, args, nullptr, &excepInfo), DISP_E_EXCEPTION);
    EXPECT_EQ(excepInfo.scode, hresult(0x80040003));
    EXPECT_EQ(text(excepInfo.bstrDescription), "Undefined shape W99");
    EXPECT_EQ(text(excepInfo.bstrSource), "ComServerTest.TestWidget.1");
    for (BSTR s : {excepInfo.bstrDescription, excepInfo.bstrSource, excepInfo.bstrHelpFile})
        SysFreeString(s);
    IErrorInfo* info = nullptr;
    EXPECT_EQ(GetErrorInfo(0, &info), S_FALSE); // handed over into EXCEPINFO

    // Without an EXCEPINFO the failure and its error info stay as they are.
    Arguments again;
    again.text(u"again").i4(E_FAIL);
    EXPECT_EQ(invoke(6, DISPATCH_METHOD, again), E_FAIL);
    EXPECT_EQ(takeErrorDescription(), "again");

    // Error info left from before is not taken for a plain failure's.
    Arguments first;
    first.text(u"stale").i4(E_FAIL);
    invoke(6, DISPATCH_METHOD, first);
    Arguments plain;
    plain.i4(E_ACCESSDENIED);
    EXPECT_EQ(invoke(7, DISPATCH_METHOD, plain, nullptr, &excepInfo), E_ACCESSDENIED);
}

TEST_F(DispatchTest, EachDualInterfaceServesItsOwnMembers)
{
    ITestCounter* counter = nullptr;
    ASSERT_EQ(m_widget->QueryInterface(IID_ITestCounter, reinterpret_cast<void**>(&counter)), S_OK);
    IDispatch* counterDispatch = counter;
    Arguments by;
    by.i4(5);
    ASSERT_EQ(invoke(counterDispatch, 1, DISPATCH_METHOD, by), S_OK);
    Arguments none;
    Result result;
    ASSERT_EQ(invoke(counterDispatch, 2, DISPATCH_PROPERTYGET, none, &result.value), S_OK);
    EXPECT_EQ(result.value.lVal, 5);
    counter->Release();

    ITestHidden* hidden = nullptr;
    ASSERT_EQ(m_widget->QueryInterface(IID_ITestHidden, reinterpret_cast<void**>(&hidden)), S_OK);
    UINT count = 9;
    EXPECT_EQ(hidden->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 0u);
    Arguments empty;
    EXPECT_EQ(invoke(hidden, 1, DISPATCH_METHOD, empty), TYPE_E_ELEMENTNOTFOUND);
    EXPECT_EQ(hidden->Ping(), S_OK);
    hidden->Release();

    EXPECT_EQ(m_dispatch->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    ITypeInfo* typeInfo = reinterpret_cast<ITypeInfo*>(0x1);
    EXPECT_EQ(m_dispatch->GetTypeInfo(0, 0, &typeInfo), E_NOTIMPL);
    EXPECT_EQ(typeInfo, nullptr);
}

TEST_F(DispatchTest, GetIDsOfNamesIgnoresCase)
{
    struct Case {
        const char16_t* name;
        HRESULT expected;
        DISPID dispid;
    };
    const Case cases[] = {
        {u"Add", S_OK, 1},
        {u"JOIN", S_OK, 3},
        {u"name", S_OK, 4},
        {u"title", S_OK, 9},
        {u"Increment", DISP_E_UNKNOWNNAME, DISPID_UNKNOWN}, // ITestCounter's, not ITestWidget's
        {u"Nope", DISP_E_UNKNOWNNAME, DISPID_UNKNOWN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(narrowFromWide(c.name));
        std::u16string name = c.name;
        LPOLESTR names[] = {name.data()};
        DISPID dispid = 1234;
        EXPECT_EQ(m_dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &dispid), c.expected);
        EXPECT_EQ(dispid, c.dispid);
    }
}

} // namespace
