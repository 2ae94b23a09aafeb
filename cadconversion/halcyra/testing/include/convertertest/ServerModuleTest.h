// ServerModuleTest: the fixture of a converter server module's tests: a
// temporary registry, COM on the test thread, and the modules loaded and
// registered (DllRegisterServer) as regsvr does; afterwards the thread's
// error info is cleared, COM ended, the factories the runtime caches let go
// and the modules unloaded. And the checks of the converter contract that
// every server's tests make: a class's registration, its interface map and
// error-info support, ConversionName through IDispatch, a file that cannot
// be opened, unloading.
//
//   class MyServerTest : public convertertest::ServerModuleTest {
//   protected:
//       MyServerTest() : ServerModuleTest("my-server", {MY_MODULE_PATH}) {}
//   };
//   TEST_F(MyServerTest, Registration) { convertertest::expectRegistered({...}); }
//
// Header-only, for GoogleTest programs that link converter_test_support.
#pragma once

#include "convertertest/ConverterCategory.h"

#include "halcyra/HalcyraLib.h"

#include "com/Bstr.h"
#include "com/Runtime.h"
#include "testing/ClassesRoot.h"
#include "testing/ErrorInfo.h"
#include "testing/TemporaryRegistry.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace convertertest {

// A converter class as its registrar script registers it.
struct ConverterRegistration {
    const CLSID* clsid;
    const char* progId; // version-independent, without ".1"
    const char* description;
    const char* modulePath;
    const GUID* libid;
    bool programmable = true;
    // The class ID as the script writes it under the ProgIDs; null: as
    // guidToString writes it.
    const char* clsidText = nullptr;
};

class ServerModuleTest : public ::testing::Test {
protected:
    ServerModuleTest(const char* registryName, std::vector<const char*> modulePaths)
        : m_registry(registryName), m_modulePaths(std::move(modulePaths))
    {
    }

    void SetUp() override
    {
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        for (const char* path : m_modulePaths) {
            void* module = dlopen(path, RTLD_NOW | RTLD_LOCAL);
            ASSERT_NE(module, nullptr) << dlerror();
            m_modules.push_back(module);
            ASSERT_EQ(call("DllRegisterServer", m_modules.size() - 1), S_OK) << path;
        }
    }
    void TearDown() override
    {
        SetErrorInfo(0, nullptr);
        CoUninitialize();
        CoFreeUnusedLibraries();
        for (void* module : m_modules)
            dlclose(module);
    }

    // Calls an export of a module (by its place in the list); E_FAIL when
    // the module has no such export.
    HRESULT call(const char* exportName, std::size_t module = 0)
    {
        auto entry = reinterpret_cast<HRESULT (*)()>(dlsym(m_modules.at(module), exportName));
        return entry ? entry() : E_FAIL;
    }

    // The class as IVLMRConvert; a failure to create it fails the test.
    static IVLMRConvert* create(REFCLSID clsid)
    {
        IVLMRConvert* converter = nullptr;
        EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IVLMRConvert,
                                   reinterpret_cast<void**>(&converter)),
                  S_OK);
        return converter;
    }

    // While the converter lives the module cannot unload; once it is
    // released (and the runtime has let go of the class factory) it can.
    void expectUnloadsAfterRelease(IVLMRConvert* converter, std::size_t module = 0)
    {
        EXPECT_EQ(call("DllCanUnloadNow", module), S_FALSE);
        converter->Release();
        CoFreeUnusedLibraries(); // lets go of the class factory the runtime keeps
        EXPECT_EQ(call("DllCanUnloadNow", module), S_OK);
    }

    // Unregistration of a module: it stays loaded while a converter of its
    // first class lives and can unload once that is released; then
    // DllUnregisterServer removes every class and the type library.
    void expectUnregistration(const std::vector<ConverterRegistration>& classes,
                              std::size_t module = 0);

    const testsupport::TemporaryRegistry m_registry;
    const std::filesystem::path m_dir = m_registry.folder();
    const std::vector<const char*> m_modulePaths;
    std::vector<void*> m_modules;
};

// The ProgIDs, the CLSID key with its server, threading model, type library
// and the converter category.
inline void expectRegistered(const ConverterRegistration& c)
{
    using testsupport::classesHasKey;
    using testsupport::classesValue;
    SCOPED_TRACE(c.progId);
    const std::string clsid = guidToString(*c.clsid);
    const std::string clsidText = c.clsidText ? c.clsidText : clsid;
    const std::string progId = std::string(c.progId) + ".1";
    EXPECT_EQ(classesValue(progId), c.description);
    EXPECT_EQ(classesValue(progId + "\\CLSID"), clsidText);
    EXPECT_EQ(classesValue(c.progId), c.description);
    EXPECT_EQ(classesValue(std::string(c.progId) + "\\CLSID"), clsidText);
    EXPECT_EQ(classesValue(std::string(c.progId) + "\\CurVer"), progId);
    const std::string key = "CLSID\\" + clsid;
    EXPECT_EQ(classesValue(key), c.description);
    EXPECT_EQ(classesValue(key + "\\ProgID"), progId);
    EXPECT_EQ(classesValue(key + "\\VersionIndependentProgID"), c.progId);
    EXPECT_EQ(classesHasKey(key + "\\Programmable"), c.programmable);
    const std::optional<std::string> module = classesValue(key + "\\InprocServer32");
    ASSERT_TRUE(module);
    EXPECT_TRUE(std::filesystem::equivalent(*module, c.modulePath));
    EXPECT_EQ(classesValue(key + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(classesValue(key + "\\TypeLib"), guidToString(*c.libid));
    EXPECT_TRUE(classesHasKey(key + "\\Implemented Categories\\" +
                              guidToString(CATID_VelmoraCadConversion)));
}

// The CLSID key and both ProgIDs are gone.
inline void expectUnregistered(const ConverterRegistration& c)
{
    using testsupport::classesHasKey;
    SCOPED_TRACE(c.progId);
    EXPECT_FALSE(classesHasKey("CLSID\\" + guidToString(*c.clsid)));
    EXPECT_FALSE(classesHasKey(std::string(c.progId) + ".1"));
    EXPECT_FALSE(classesHasKey(c.progId));
}

// The object answers each interface.
inline void expectInterfaces(IUnknown* object, std::initializer_list<const IID*> iids)
{
    for (const IID* iid : iids) {
        IUnknown* answer = nullptr;
        EXPECT_EQ(object->QueryInterface(*iid, reinterpret_cast<void**>(&answer)), S_OK)
            << guidToString(*iid);
        if (answer)
            answer->Release();
    }
}

// The interface map of a converter class: IUnknown, its own interface,
// ISupportErrorInfo and IVLMRConvert answer, and IDispatch as the own
// (dual) interface where the class answers it; IVLMRMultConvert is
// refused with the out-parameter set to null. Error info is supported
// for the own interface and IVLMRConvert only.
inline void expectConverterInterfaces(IVLMRConvert* converter, REFIID own,
                                      bool answersDispatch = true)
{
    expectInterfaces(converter, {&IID_IUnknown, &own, &IID_ISupportErrorInfo, &IID_IVLMRConvert});
    IUnknown* ownPart = nullptr;
    converter->QueryInterface(own, reinterpret_cast<void**>(&ownPart));
    IUnknown* dispatch = reinterpret_cast<IUnknown*>(0x1);
    const HRESULT hr =
        converter->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    if (answersDispatch) {
        EXPECT_EQ(hr, S_OK);
        EXPECT_EQ(dispatch, ownPart) << "IDispatch is the class's own dual interface";
    } else {
        EXPECT_EQ(hr, E_NOINTERFACE);
        EXPECT_EQ(dispatch, nullptr);
    }
    if (hr == S_OK && dispatch)
        dispatch->Release();
    if (ownPart)
        ownPart->Release();
    IUnknown* none = reinterpret_cast<IUnknown*>(0x1);
    EXPECT_EQ(converter->QueryInterface(IID_IVLMRMultConvert, reinterpret_cast<void**>(&none)),
              E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);

    ISupportErrorInfo* support = nullptr;
    ASSERT_EQ(converter->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support)),
              S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(own), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IVLMRConvert), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IDispatch), S_FALSE);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_ICADPart), S_FALSE);
    support->Release();
}

// ConversionName as a script reads it: the member looked up by name (as
// given) is DISPID 3, and a property get through IVLMRConvert's dispatch
// answers the text.
inline void expectConversionNameThroughDispatch(IVLMRConvert* converter,
                                                const std::string& expected,
                                                const char16_t* memberName = u"ConversionName")
{
    IDispatch* dispatch = converter; // IVLMRConvert's own dispatch part
    LPOLESTR names[] = {const_cast<LPOLESTR>(memberName)};
    DISPID dispid = 0;
    ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &dispid), S_OK);
    EXPECT_EQ(dispid, 3);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(
        dispatch->Invoke(3, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr),
        S_OK);
    EXPECT_EQ(result.vt, VT_BSTR);
    EXPECT_EQ(narrowFromBstr(result.bstrVal), expected);
    VariantClear(&result);
}

// SetFile with a path; the BSTR is the caller's and freed here.
inline HRESULT setFile(IVLMRConvert* converter, const std::string& path)
{
    BSTR name = bstrFromNarrow(path);
    const HRESULT hr = converter->SetFile(name);
    SysFreeString(name);
    return hr;
}

// SetFile of a file that does not exist: E_CONVERT_FILE_OPEN, reported on
// IVLMRConvert by the class (source its ProgID) with the text
// "<openFailure> <path>".
inline void expectOpenFailureReported(IVLMRConvert* converter, const std::string& missing,
                                      const std::string& openFailure, const std::string& source)
{
    EXPECT_EQ(setFile(converter, missing), E_CONVERT_FILE_OPEN);
    const testsupport::ErrorReport report = testsupport::takeErrorReport();
    EXPECT_TRUE(report.present);
    EXPECT_EQ(report.description, openFailure + " " + missing);
    EXPECT_EQ(report.source, source);
    EXPECT_EQ(report.guid, IID_IVLMRConvert);
}

inline void
ServerModuleTest::expectUnregistration(const std::vector<ConverterRegistration>& classes,
                                       std::size_t module)
{
    ASSERT_FALSE(classes.empty());
    IVLMRConvert* converter = create(*classes.front().clsid);
    ASSERT_NE(converter, nullptr);
    expectUnloadsAfterRelease(converter, module);
    ASSERT_EQ(call("DllUnregisterServer", module), S_OK);
    for (const ConverterRegistration& c : classes) {
        expectUnregistered(c);
        EXPECT_FALSE(testsupport::classesHasKey("TypeLib\\" + guidToString(*c.libid)));
    }
}

} // namespace convertertest
