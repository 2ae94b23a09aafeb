// Object creation from the registry: loading the test server module,
// contexts, surrogates, failures, apartments and unloading.
#include "RuntimeFixture.h"
#include "TestServer.h"

#include "com/ComPtr.h"

#include <dlfcn.h>

#include <fstream>
#include <thread>

namespace {

COM_SMARTPTR_TYPEDEF(ITestObject);

constexpr CLSID kUnregistered = guidOf("0F0F0F0F-0000-4000-8000-000000000001");
constexpr CLSID kOther = guidOf("0F0F0F0F-0000-4000-8000-000000000002");

bool loaded(const char* path)
{
    void* handle = dlopen(path, RTLD_NOW | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle != nullptr;
}

class CreationTest : public RuntimeTest {
protected:
    void SetUp() override
    {
        RuntimeTest::SetUp();
        registerInproc(CLSID_TestObject, TEST_SERVER_PATH);
    }
    // Creates the test object through the given context, or fails.
    static HRESULT create(DWORD context, ITestObject** out)
    {
        return CoCreateInstance(CLSID_TestObject, nullptr, context, IID_ITestObject,
                                reinterpret_cast<void**>(out));
    }
};

TEST_F(CreationTest, CreatesFromTheRegisteredModuleAndUnloadsWhenUnused)
{
    ITestObject* object = nullptr;
    ASSERT_EQ(create(CLSCTX_INPROC_SERVER, &object), S_OK);
    ASSERT_NE(object, nullptr);
    EXPECT_TRUE(loaded(TEST_SERVER_PATH));

    CoFreeUnusedLibraries();
    EXPECT_TRUE(loaded(TEST_SERVER_PATH)) << "an object is still alive";
    EXPECT_EQ(object->Release(), 0u);
    CoFreeUnusedLibraries();
    EXPECT_FALSE(loaded(TEST_SERVER_PATH));

    ASSERT_EQ(create(CLSCTX_ALL, &object), S_OK) << "loaded again after unloading";
    EXPECT_EQ(object->Release(), 0u);
}

TEST_F(CreationTest, RepeatedCreationLoadsTheModuleOnce)
{
    for (int i = 0; i < 20; ++i) {
        ITestObject* object = nullptr;
        ASSERT_EQ(create(CLSCTX_ALL, &object), S_OK);
        EXPECT_EQ(object->Release(), 0u);
    }
    CoFreeUnusedLibraries();
    EXPECT_FALSE(loaded(TEST_SERVER_PATH)) << "no reference left behind by the loads";
}

TEST_F(CreationTest, ClassObjectIsTheFactory)
{
    IClassFactory* factory = nullptr;
    ASSERT_EQ(CoGetClassObject(CLSID_TestObject, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&factory)),
              S_OK);
    ASSERT_EQ(factory->LockServer(TRUE), S_OK);
    factory->Release();
    CoFreeUnusedLibraries();
    EXPECT_TRUE(loaded(TEST_SERVER_PATH)) << "a lock keeps it";
    ASSERT_EQ(CoGetClassObject(CLSID_TestObject, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&factory)),
              S_OK);
    factory->LockServer(FALSE);
    factory->Release();
}

TEST_F(CreationTest, LocalServerRequestServedInProcessThroughSurrogate)
{
    const std::string appId = "{0F0F0F0F-0000-4000-8000-0000000000AA}";
    ITestObject* object = reinterpret_cast<ITestObject*>(1);
    EXPECT_EQ(create(CLSCTX_LOCAL_SERVER, &object), REGDB_E_CLASSNOTREG) << "no AppID yet";
    EXPECT_EQ(object, nullptr);

    setClassesValue("CLSID\\" + guidToString(CLSID_TestObject), "AppID", appId);
    EXPECT_EQ(create(CLSCTX_LOCAL_SERVER, &object), REGDB_E_CLASSNOTREG)
        << "AppID without DllSurrogate";

    setClassesValue("AppID\\" + appId, "DllSurrogate", "");
    ASSERT_EQ(create(CLSCTX_LOCAL_SERVER, &object), S_OK) << "an empty DllSurrogate counts";
    EXPECT_EQ(object->Release(), 0u);
}

TEST_F(CreationTest, FailuresLeaveNullOutPointer)
{
    struct Case {
        const char* what;
        HRESULT (*call)(void**);
        HRESULT hr;
    };
    const Case cases[] = {
        {"unregistered",
         [](void** out) {
             return CoCreateInstance(kUnregistered, nullptr, CLSCTX_ALL, IID_IUnknown, out);
         },
         REGDB_E_CLASSNOTREG},
        {"unregistered factory",
         [](void** out) {
             return CoGetClassObject(kUnregistered, CLSCTX_ALL, nullptr, IID_IClassFactory, out);
         },
         REGDB_E_CLASSNOTREG},
        {"no interface",
         [](void** out) {
             return CoCreateInstance(CLSID_TestObject, nullptr, CLSCTX_ALL, IID_IDispatch, out);
         },
         E_NOINTERFACE},
        {"aggregation",
         [](void** out) {
             ITestObject* outer = nullptr;
             create(CLSCTX_ALL, &outer);
             const HRESULT hr =
                 CoCreateInstance(CLSID_TestObject, outer, CLSCTX_ALL, IID_IUnknown, out);
             outer->Release();
             return hr;
         },
         CLASS_E_NOAGGREGATION},
        {"class the module lacks",
         [](void** out) {
             return CoCreateInstance(kOther, nullptr, CLSCTX_ALL, IID_IUnknown, out);
         },
         CLASS_E_CLASSNOTAVAILABLE},
        {"no context",
         [](void** out) {
             return CoCreateInstance(CLSID_TestObject, nullptr, 0, IID_IUnknown, out);
         },
         E_INVALIDARG},
        {"remote only",
         [](void** out) {
             return CoCreateInstance(CLSID_TestObject, nullptr, CLSCTX_REMOTE_SERVER, IID_IUnknown,
                                     out);
         },
         REGDB_E_CLASSNOTREG},
    };
    registerInproc(kOther, TEST_SERVER_PATH);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        void* out = reinterpret_cast<void*>(1);
        EXPECT_EQ(c.call(&out), c.hr);
        EXPECT_EQ(out, nullptr);
    }
    EXPECT_EQ(CoCreateInstance(CLSID_TestObject, nullptr, CLSCTX_ALL, IID_IUnknown, nullptr),
              E_POINTER);
    EXPECT_EQ(CoGetClassObject(CLSID_TestObject, CLSCTX_ALL, nullptr, IID_IClassFactory, nullptr),
              E_POINTER);
    CoFreeUnusedLibraries();
    EXPECT_FALSE(loaded(TEST_SERVER_PATH)) << "failed creations leave no object behind";
}

TEST_F(CreationTest, UnloadableModulesFailWithTheLoadersMessage)
{
    const std::string notAModule = (m_dir / "not-a-module.so").string();
    std::ofstream(notAModule) << "plain text\n";
    struct Case {
        std::string path;
        HRESULT hr;
        std::string inMessage;
    };
    const Case cases[] = {
        {notAModule, CO_E_DLLNOTFOUND, notAModule},
        {(m_dir / "missing.so").string(), CO_E_DLLNOTFOUND, "missing.so"},
        {NOEXPORT_MODULE_PATH, CO_E_ERRORINDLL, "DllGetClassObject"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        registerInproc(kUnregistered, c.path);
        void* out = reinterpret_cast<void*>(1);
        EXPECT_EQ(CoCreateInstance(kUnregistered, nullptr, CLSCTX_ALL, IID_IUnknown, &out), c.hr);
        EXPECT_EQ(out, nullptr);
        const std::string message = takeErrorDescription();
        EXPECT_NE(message.find(c.inMessage), std::string::npos) << message;
    }
    EXPECT_FALSE(loaded(NOEXPORT_MODULE_PATH)) << "a module without the export is unloaded again";
}

TEST_F(CreationTest, RaisingPointerCreatesRunsAndQueries)
{
    {
        ITestObjectPtr object;
        ASSERT_EQ(object.CreateInstance(CLSID_TestObject), S_OK);
        ULONG runs = 0;
        object->GetRunCount(&runs);
        EXPECT_EQ(runs, 1u) << "OleRun ran it";
        EXPECT_EQ(object->RaiseAndCatch(hresult(0x80040008)), hresult(0x80040008))
            << "a hidden-visibility module catches the runtime's _com_error";

        const HRESULT failure = hresult(0x80040004);
        const HRESULT hr = object->Fail(failure, const_cast<LPOLESTR>(u"Side not allowed"));
        try {
            _com_issue_errorex(hr, object, IID_ITestObject);
        } catch (const _com_error& error) {
            EXPECT_EQ(error.Error(), failure);
            EXPECT_STREQ(error.ErrorMessage(), "Unknown error 0x80040004");
            EXPECT_STREQ(static_cast<const char*>(error.Description()), "Side not allowed");
            EXPECT_STREQ(static_cast<const char*>(error.Source()), "TestObject");
        }

        ITestObjectPtr missing;
        EXPECT_EQ(missing.CreateInstance(kUnregistered), REGDB_E_CLASSNOTREG);
        EXPECT_THROW(ITestObjectPtr raising(kUnregistered, nullptr, CLSCTX_ALL), _com_error);
        ComPtrT<ICatInformation> wrongInterface(CLSID_TestObject);
        EXPECT_TRUE(!wrongInterface) << "E_NOINTERFACE leaves it empty";
    }
    CoFreeUnusedLibraries();
    EXPECT_FALSE(loaded(TEST_SERVER_PATH));
}

TEST_F(CreationTest, OleRunNeedsAnObject)
{
    EXPECT_EQ(OleRun(nullptr), E_INVALIDARG);
    CComPtr<ITestObject> object;
    ASSERT_EQ(object.CoCreateInstance(CLSID_TestObject), S_OK);
    EXPECT_EQ(OleRun(object), S_OK);
    ULONG runs = 0;
    object->GetRunCount(&runs);
    EXPECT_EQ(runs, 1u);
}

TEST_F(CreationTest, ObjectsReleasedOnAnotherThread)
{
    ITestObject* object = nullptr;
    ASSERT_EQ(create(CLSCTX_ALL, &object), S_OK);
    std::thread([object] { object->Release(); }).join();
    CoFreeUnusedLibraries();
    EXPECT_FALSE(loaded(TEST_SERVER_PATH));
}

TEST(Apartment, InitialisationIsCountedPerThread)
{
    std::thread([] {
        void* out = reinterpret_cast<void*>(1);
        EXPECT_EQ(CoCreateInstance(CLSID_TestObject, nullptr, CLSCTX_ALL, IID_IUnknown, &out),
                  CO_E_NOTINITIALIZED);
        EXPECT_EQ(out, nullptr);
        EXPECT_EQ(CoGetClassObject(CLSID_StdComponentCategoriesMgr, CLSCTX_ALL, nullptr,
                                   IID_IClassFactory, &out),
                  CO_E_NOTINITIALIZED);

        EXPECT_EQ(CoInitialize(nullptr), S_OK);
        EXPECT_EQ(OleInitialize(nullptr), S_FALSE) << "already initialised";
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
        OleUninitialize();
        CoUninitialize();
        EXPECT_EQ(CoGetClassObject(CLSID_StdComponentCategoriesMgr, CLSCTX_ALL, nullptr,
                                   IID_IClassFactory, &out),
                  CO_E_NOTINITIALIZED)
            << "as many uninitialisations as initialisations";

        EXPECT_EQ(OleInitialize(nullptr), S_OK);
        std::thread([] {
            void* other = nullptr;
            EXPECT_EQ(CoGetClassObject(CLSID_StdComponentCategoriesMgr, CLSCTX_ALL, nullptr,
                                       IID_IClassFactory, &other),
                      CO_E_NOTINITIALIZED)
                << "another thread is not initialised by this one";
        }).join();
        OleUninitialize();
    }).join();
}

} // namespace
