// The server module libostrane.so through the component runtime: its
// registration (AppID, class, type library, category), the interface map
// and error-info support, the conversion name, dispatch, the reports of
// the reader's failures and unregistration.
#include "halcyra/HalcyraLib.h"
#include "ostrane/OstraneLib.h"

#include "com/Bstr.h"
#include "com/Runtime.h"
#include "com/Variant.h"
#include "testing/ClassesRoot.h"
#include "testing/ErrorInfo.h"
#include "testing/TemporaryFolder.h"
#include "testing/TemporaryRegistry.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

const std::string kClsid = guidToString(CLSID_VLMROstrane);
const std::string kAppId = guidToString(APPID_Ostrane);

using testsupport::classesHasKey;
using testsupport::classesValue;
using testsupport::ErrorReport;
using testsupport::takeErrorReport;

class OstraneServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        m_module = dlopen(OSTRANE_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(m_module, nullptr) << dlerror();
        ASSERT_EQ(call("DllRegisterServer"), S_OK);
    }
    void TearDown() override
    {
        SetErrorInfo(0, nullptr);
        CoUninitialize();
        CoFreeUnusedLibraries();
        if (m_module)
            dlclose(m_module);
    }

    HRESULT call(const char* exportName)
    {
        auto entry = reinterpret_cast<HRESULT (*)()>(dlsym(m_module, exportName));
        return entry ? entry() : E_FAIL;
    }

    IVLMRConvert* create()
    {
        IVLMRConvert* converter = nullptr;
        EXPECT_EQ(CoCreateInstance(CLSID_VLMROstrane, nullptr, CLSCTX_ALL, IID_IVLMRConvert,
                                   reinterpret_cast<void**>(&converter)),
                  S_OK);
        return converter;
    }

    const testsupport::TemporaryRegistry m_registry{"ostrane-server"};
    const std::filesystem::path m_dir = m_registry.folder();
    void* m_module = nullptr;
};

TEST_F(OstraneServerTest, RegistrationWritesTheAppIdTheClassAndTheTypeLibrary)
{
    EXPECT_EQ(classesValue("AppID\\" + kAppId), "Ostrane");
    EXPECT_EQ(classesValue("AppID\\Ostrane.DLL", "AppID"), kAppId);

    EXPECT_EQ(classesValue("Ostrane.VLMROstrane.1"), "VLMROstrane Class");
    EXPECT_EQ(classesValue("Ostrane.VLMROstrane.1\\CLSID"), kClsid);
    EXPECT_EQ(classesValue("Ostrane.VLMROstrane"), "VLMROstrane Class");
    EXPECT_EQ(classesValue("Ostrane.VLMROstrane\\CLSID"), kClsid);
    EXPECT_EQ(classesValue("Ostrane.VLMROstrane\\CurVer"), "Ostrane.VLMROstrane.1");
    const std::string key = "CLSID\\" + kClsid;
    EXPECT_EQ(classesValue(key), "VLMROstrane Class");
    EXPECT_EQ(classesValue(key + "\\ProgID"), "Ostrane.VLMROstrane.1");
    EXPECT_EQ(classesValue(key + "\\VersionIndependentProgID"), "Ostrane.VLMROstrane");
    EXPECT_TRUE(classesHasKey(key + "\\Programmable"));
    const std::optional<std::string> module = classesValue(key + "\\InprocServer32");
    ASSERT_TRUE(module);
    EXPECT_TRUE(std::filesystem::equivalent(*module, OSTRANE_MODULE_PATH));
    EXPECT_EQ(classesValue(key + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(classesValue(key, "AppID"), kAppId);
    EXPECT_EQ(classesValue(key + "\\TypeLib"), guidToString(LIBID_OstraneLib));
    EXPECT_TRUE(classesHasKey(key + "\\Implemented Categories\\" +
                              guidToString(CATID_VelmoraCadConversion)));

    EXPECT_EQ(classesValue("TypeLib\\" + guidToString(LIBID_OstraneLib) + "\\1.0"),
              "Ostrane 1.0 Type Library");
    // The interface's marshaling: the universal marshaler, as a dual
    // interface of a registered type library has it.
    const std::string own = "Interface\\" + guidToString(IID_IVLMROstrane);
    EXPECT_EQ(classesValue(own), "IVLMROstrane");
    EXPECT_EQ(classesValue(own + "\\ProxyStubClsid32"), "{00020424-0000-0000-C000-000000000046}");
    EXPECT_EQ(classesValue(own + "\\TypeLib"), guidToString(LIBID_OstraneLib));
    EXPECT_FALSE(classesHasKey("TypeLib\\" + guidToString(LIBID_HALCYRALib)))
        << "the part-model server registers HalcyraLib, not this one";
}

TEST_F(OstraneServerTest, TheCategoryListsTheConverterByItsName)
{
    ICatInformation* categories = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER,
                               IID_ICatInformation, reinterpret_cast<void**>(&categories)),
              S_OK);
    IEnumGUID* classes = nullptr;
    ASSERT_EQ(
        categories->EnumClassesOfCategories(1, &CATID_VelmoraCadConversion, 0, nullptr, &classes),
        S_OK);
    GUID found[12];
    ULONG count = 0;
    classes->Next(12, found, &count);
    classes->Release();
    categories->Release();
    ASSERT_EQ(count, 1u);
    EXPECT_EQ(found[0], CLSID_VLMROstrane);

    IVLMRConvert* converter = create();
    ASSERT_NE(converter, nullptr);
    BSTR name = nullptr;
    EXPECT_EQ(converter->get_ConversionName(&name), S_OK);
    EXPECT_EQ(converter->get_ConversionName(&name), S_OK) << "the first name is freed";
    EXPECT_EQ(narrowFromBstr(name), "Ostrane Ver : 1.0");
    SysFreeString(name);
    EXPECT_EQ(converter->get_ConversionName(nullptr), E_POINTER);
    converter->Release();
}

TEST_F(OstraneServerTest, InterfaceMapAndErrorInfoSupport)
{
    IVLMRConvert* converter = create();
    ASSERT_NE(converter, nullptr);
    for (const IID* iid : {&IID_IUnknown, &IID_IVLMROstrane, &IID_IDispatch, &IID_ISupportErrorInfo,
                           &IID_IVLMRConvert}) {
        IUnknown* answer = nullptr;
        EXPECT_EQ(converter->QueryInterface(*iid, reinterpret_cast<void**>(&answer)), S_OK)
            << guidToString(*iid);
        if (answer)
            answer->Release();
    }
    IUnknown* none = reinterpret_cast<IUnknown*>(0x1);
    EXPECT_EQ(converter->QueryInterface(IID_IVLMRMultConvert, reinterpret_cast<void**>(&none)),
              E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);

    IUnknown* own = nullptr;
    IUnknown* dispatch = nullptr;
    converter->QueryInterface(IID_IVLMROstrane, reinterpret_cast<void**>(&own));
    converter->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    EXPECT_EQ(own, dispatch) << "IDispatch is the class's own dual interface";
    own->Release();
    dispatch->Release();

    ISupportErrorInfo* support = nullptr;
    ASSERT_EQ(converter->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support)),
              S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IVLMROstrane), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IVLMRConvert), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IDispatch), S_FALSE);
    support->Release();
    EXPECT_EQ(converter->Release(), 0u);
}

TEST_F(OstraneServerTest, ReaderFailuresBecomeErrorInfoOnIVLMRConvert)
{
    IVLMRConvert* converter = create();
    ASSERT_NE(converter, nullptr);
    const std::string missing = (m_dir / "missing.dxf").string();
    BSTR name = bstrFromNarrow(missing);
    EXPECT_EQ(converter->SetFile(name), E_CONVERT_FILE_OPEN);
    SysFreeString(name);
    ErrorReport report = takeErrorReport();
    EXPECT_TRUE(report.present);
    EXPECT_EQ(report.description, "File open Failure " + missing);
    EXPECT_EQ(report.source, "Ostrane.VLMROstrane.1");
    EXPECT_EQ(report.guid, IID_IVLMRConvert);

    IUnknown* part = nullptr;
    EXPECT_EQ(converter->ReadPart(&part, 0, 0), S_FALSE) << "nothing open: the end comes first";
    EXPECT_FALSE(takeErrorReport().present);

    const testsupport::TemporaryFolder folder("ostrane-server-files");
    name = bstrFromNarrow(folder.write("part.dxf", "  0\nSECTION\n  2\nENTITIES\n"));
    EXPECT_EQ(converter->SetFile(name), S_OK);
    SysFreeString(name);
    EXPECT_EQ(converter->ReadPart(nullptr, 0, 0), E_POINTER);
    // No part-model server is registered here.
    EXPECT_EQ(converter->ReadPart(&part, 0, 0), E_CONVERT_READ);
    EXPECT_EQ(part, nullptr);
    report = takeErrorReport();
    EXPECT_EQ(report.description, "Failed to create CLSID_CADPart2. It may not be registered");
    EXPECT_EQ(report.guid, IID_IVLMRConvert);
    converter->Release();
}

TEST_F(OstraneServerTest, TheConverterIsDrivenThroughDispatch)
{
    IVLMRConvert* converter = create();
    ASSERT_NE(converter, nullptr);
    IDispatch* dispatch = converter; // IVLMRConvert's own dispatch part
    LPOLESTR names[] = {const_cast<LPOLESTR>(u"ConversionName")};
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
    EXPECT_EQ(narrowFromBstr(result.bstrVal), "Ostrane Ver : 1.0");
    VariantClear(&result);
    converter->Release();
}

TEST_F(OstraneServerTest, UnregistrationRemovesEverythingAndTheModuleUnloads)
{
    IVLMRConvert* converter = create();
    ASSERT_NE(converter, nullptr);
    EXPECT_EQ(call("DllCanUnloadNow"), S_FALSE);
    converter->Release();
    CoFreeUnusedLibraries(); // lets go of the class factory the runtime keeps
    EXPECT_EQ(call("DllCanUnloadNow"), S_OK);

    ASSERT_EQ(call("DllUnregisterServer"), S_OK);
    for (const std::string& key :
         {"CLSID\\" + kClsid, std::string("Ostrane.VLMROstrane.1"),
          std::string("Ostrane.VLMROstrane"), "AppID\\" + kAppId, std::string("AppID\\Ostrane.DLL"),
          "TypeLib\\" + guidToString(LIBID_OstraneLib),
          "Interface\\" + guidToString(IID_IVLMROstrane)})
        EXPECT_FALSE(classesHasKey(key)) << key;
    EXPECT_TRUE(classesHasKey("AppID")) << "the AppID key itself stays";
    ASSERT_EQ(call("DllRegisterServer"), S_OK) << "registered again";
    EXPECT_EQ(classesValue("AppID\\Ostrane.DLL", "AppID"), kAppId);
}

} // namespace
