// Object creation from the registry: loading the test server module,
// contexts, surrogates, failures, apartments and unloading.
#include "RuntimeFixture.h"
#include "TestServer.h"

#include "com/ComPtr.h"

#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
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

// A damaged HKEY_CLASSES_ROOT is told as such, with its file and line,
// wherever the runtime reads it; never as "class not registered" or as an
// empty category.
TEST_F(CreationTest, DamagedRegistryIsReportedWithFileAndLine)
{
    const std::string hiveFile = (m_registry.directory() / "HKLM.reg").string();
    const std::string whole = testsupport::readFile(hiveFile);
    ASSERT_NE(whole.find("InprocServer32"), std::string::npos);
    // The end line is the last one: a cut before it, or a line that is no
    // registry line in its place, are both reported on that line.
    const std::size_t endLine =
        static_cast<std::size_t>(std::count(whole.begin(), whole.end(), '\n'));
    const std::size_t endLineStart = whole.rfind('\n', whole.size() - 2) + 1;
    struct Damage {
        const char* what;
        std::string text;
        const char* inMessage;
    };
    const Damage damages[] = {
        {"cut at a line end", whole.substr(0, endLineStart), "the end line"},
        {"a garbage line", whole.substr(0, endLineStart) + "garbage\n" + whole.substr(endLineStart),
         "expected a [key] line"},
    };
    struct Call {
        const char* name;
        HRESULT (*call)();
    };
    const Call calls[] = {
        {"CoCreateInstance",
         [] {
             void* out = nullptr;
             return CoCreateInstance(CLSID_TestObject, nullptr, CLSCTX_ALL, IID_IUnknown, &out);
         }},
        {"CoGetClassObject",
         [] {
             void* out = nullptr;
             return CoGetClassObject(CLSID_TestObject, CLSCTX_ALL, nullptr, IID_IClassFactory,
                                     &out);
         }},
        {"CLSIDFromProgID",
         [] {
             CLSID clsid;
             return CLSIDFromProgID(u"Test.Object", &clsid);
         }},
        {"EnumClassesOfCategories",
         [] {
             ICatInformation* categories = nullptr;
             CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER,
                              IID_ICatInformation, reinterpret_cast<void**>(&categories));
             CATID any[] = {CLSID_TestObject};
             IEnumGUID* found = reinterpret_cast<IEnumGUID*>(1);
             const HRESULT hr = categories->EnumClassesOfCategories(1, any, 0, nullptr, &found);
             EXPECT_EQ(found, nullptr);
             categories->Release();
             return hr;
         }},
    };
    ITestObject* object = nullptr;
    ASSERT_EQ(create(CLSCTX_ALL, &object), S_OK) << "creations before the damage are cached";
    object->Release();
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        testsupport::writeFile(hiveFile, damage.text);
        for (const Call& call : calls) {
            SCOPED_TRACE(call.name);
            EXPECT_EQ(call.call(), HRESULT_FROM_WIN32(ERROR_BADDB));
            const std::string description = takeErrorDescription();
            const std::string where = "The registry is damaged: registry file " + hiveFile +
                                      ", line " + std::to_string(endLine) + ": ";
            EXPECT_EQ(description.substr(0, where.size()), where);
            EXPECT_NE(description.find(damage.inMessage), std::string::npos) << description;
        }
    }
    testsupport::writeFile(hiveFile, whole);
    ASSERT_EQ(create(CLSCTX_ALL, &object), S_OK) << "mended, the hive is used again";
    object->Release();
}

TEST_F(CreationTest, HiveWrittenBeforeTheEndLineStillServesItsClasses)
{
    const std::string hiveFile = (m_registry.directory() / "HKLM.reg").string();
    testsupport::writeFile(hiveFile, "vlmr-registry version 1 generation 4\n"
                                     "[Software\\Classes\\CLSID\\" +
                                         guidToString(CLSID_TestObject) +
                                         "\\InprocServer32]\n"
                                         "@=s:\"" TEST_SERVER_PATH "\"\n");
    ITestObject* object = nullptr;
    ASSERT_EQ(create(CLSCTX_ALL, &object), S_OK) << takeErrorDescription();
    object->Release();
}

// What creation keeps from the registry is dropped as soon as the hive
// changes, by this process or another.
TEST_F(CreationTest, RegistrationsOfAnotherProcessAreSeenAtOnce)
{
    auto inChild = [](auto body) {
        pid_t child = fork();
        if (child == 0)
            _exit(body() ? 0 : 1);
        int status = 0;
        return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    };
    const std::string classKey = "CLSID\\" + guidToString(CLSID_TestObject);
    ITestObject* object = nullptr;
    ASSERT_EQ(create(CLSCTX_ALL, &object), S_OK);
    object->Release();

    ASSERT_TRUE(inChild(
        [&] { return RegDeleteTree(HKEY_CLASSES_ROOT, classKey.c_str()) == ERROR_SUCCESS; }));
    EXPECT_EQ(create(CLSCTX_ALL, &object), REGDB_E_CLASSNOTREG) << "unregistered elsewhere";

    const std::string missing = (m_dir / "moved.so").string();
    ASSERT_TRUE(inChild([&] {
        HKEY key = nullptr;
        if (RegCreateKeyEx(HKEY_CLASSES_ROOT, (classKey + "\\InprocServer32").c_str(), 0, nullptr,
                           0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
            return false;
        const LSTATUS status =
            RegSetValueEx(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(missing.c_str()),
                          static_cast<DWORD>(missing.size() + 1));
        RegCloseKey(key);
        return status == ERROR_SUCCESS;
    }));
    EXPECT_EQ(create(CLSCTX_ALL, &object), CO_E_DLLNOTFOUND) << "registered with another module";
    EXPECT_NE(takeErrorDescription().find(missing), std::string::npos);

    registerInproc(CLSID_TestObject, TEST_SERVER_PATH);
    ASSERT_EQ(create(CLSCTX_ALL, &object), S_OK) << "registered again by this process";
    object->Release();
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
