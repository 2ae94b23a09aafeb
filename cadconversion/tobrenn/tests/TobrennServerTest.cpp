// The server module libtobrenn.so through the component runtime: its
// registration, the converter category, the interface maps, the
// conversion names and the reader's failures as error info on
// IVLMRConvert. No part-model server is registered here.
#include "halcyra/HalcyraLib.h"
#include "tobrenn/TobrennLib.h"

#include "com/Bstr.h"
#include "com/ComError.h"
#include "com/Runtime.h"
#include "testing/ClassesRoot.h"
#include "testing/ErrorInfo.h"
#include "testing/TemporaryFolder.h"
#include "testing/TemporaryRegistry.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

using testsupport::classesHasKey;
using testsupport::classesValue;
using testsupport::ErrorReport;

struct ConverterClass {
    const CLSID* clsid;
    const IID* ownIid;
    const char* progId; // without ".1"
    const char* description;
    const char* conversionName;
};

// Only version 3.0 carries the maker's name in its ProgID.
const ConverterClass kClasses[] = {
    {&CLSID_Convert, &IID_IConvert, "Velmora.Tobrenn.Convert", "Convert Class",
     "Tobrenn Ver : 3.0"},
    {&CLSID_OldConvert, &IID_IOldConvert, "Tobrenn.OldConvert", "OldConvert Class",
     "Tobrenn Ver : 2.0"},
    {&CLSID_COldestConver, &IID_ICOldestConver, "Tobrenn.COldestConver", "COldestConver Class",
     "Tobrenn Ver : 1.0"},
};

class TobrennServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        m_module = dlopen(TOBRENN_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
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

    IVLMRConvert* create(const ConverterClass& c)
    {
        IVLMRConvert* converter = nullptr;
        EXPECT_EQ(CoCreateInstance(*c.clsid, nullptr, CLSCTX_ALL, IID_IVLMRConvert,
                                   reinterpret_cast<void**>(&converter)),
                  S_OK);
        return converter;
    }

    const testsupport::TemporaryRegistry m_registry{"tobrenn-server"};
    const std::filesystem::path m_dir = m_registry.folder();
    void* m_module = nullptr;
};

TEST_F(TobrennServerTest, RegistrationWritesEveryClassWithItsScriptAndCategory)
{
    for (const ConverterClass& c : kClasses) {
        SCOPED_TRACE(c.progId);
        const std::string clsid = guidToString(*c.clsid);
        const std::string progId = std::string(c.progId) + ".1";
        EXPECT_EQ(classesValue(progId), c.description);
        EXPECT_EQ(classesValue(progId + "\\CLSID"), clsid);
        EXPECT_EQ(classesValue(c.progId), c.description);
        EXPECT_EQ(classesValue(std::string(c.progId) + "\\CLSID"), clsid);
        EXPECT_EQ(classesValue(std::string(c.progId) + "\\CurVer"), progId);
        const std::string key = "CLSID\\" + clsid;
        EXPECT_EQ(classesValue(key), c.description);
        EXPECT_EQ(classesValue(key + "\\ProgID"), progId);
        EXPECT_EQ(classesValue(key + "\\VersionIndependentProgID"), c.progId);
        EXPECT_TRUE(classesHasKey(key + "\\Programmable"));
        const std::optional<std::string> module = classesValue(key + "\\InprocServer32");
        ASSERT_TRUE(module);
        EXPECT_TRUE(std::filesystem::equivalent(*module, TOBRENN_MODULE_PATH));
        EXPECT_EQ(classesValue(key + "\\InprocServer32", "ThreadingModel"), "Apartment");
        EXPECT_EQ(classesValue(key + "\\TypeLib"), guidToString(LIBID_TOBRENNLib));
        EXPECT_TRUE(classesHasKey(key + "\\Implemented Categories\\" +
                                  guidToString(CATID_VelmoraCadConversion)));
    }
    EXPECT_EQ(classesValue("TypeLib\\" + guidToString(LIBID_TOBRENNLib) + "\\1.0"),
              "Tobrenn 1.0 Type Library");
    EXPECT_FALSE(classesHasKey("TypeLib\\" + guidToString(LIBID_HALCYRALib)))
        << "the part-model server registers HalcyraLib, not this one";
}

TEST_F(TobrennServerTest, CategoryListsTheThreeConvertersByName)
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

    std::vector<std::string> names;
    for (ULONG i = 0; i < count; ++i) {
        IVLMRConvert* converter = nullptr;
        ASSERT_EQ(CoCreateInstance(found[i], nullptr, CLSCTX_ALL, IID_IVLMRConvert,
                                   reinterpret_cast<void**>(&converter)),
                  S_OK);
        BSTR name = nullptr;
        EXPECT_EQ(converter->get_ConversionName(&name), S_OK);
        names.push_back(narrowFromBstr(name));
        SysFreeString(name);
        converter->Release();
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Tobrenn Ver : 1.0", "Tobrenn Ver : 2.0",
                                               "Tobrenn Ver : 3.0"}));
}

TEST_F(TobrennServerTest, InterfaceMapsAndErrorInfoSupport)
{
    for (const ConverterClass& c : kClasses) {
        SCOPED_TRACE(c.progId);
        IVLMRConvert* converter = create(c);
        ASSERT_NE(converter, nullptr);
        for (const IID* iid :
             {&IID_IUnknown, c.ownIid, &IID_IDispatch, &IID_ISupportErrorInfo, &IID_IVLMRConvert}) {
            IUnknown* answer = nullptr;
            EXPECT_EQ(converter->QueryInterface(*iid, reinterpret_cast<void**>(&answer)), S_OK)
                << guidToString(*iid);
            if (answer)
                answer->Release();
        }
        IUnknown* multConvert = reinterpret_cast<IUnknown*>(0x1);
        EXPECT_EQ(
            converter->QueryInterface(IID_IVLMRMultConvert, reinterpret_cast<void**>(&multConvert)),
            E_NOINTERFACE);
        EXPECT_EQ(multConvert, nullptr);

        ISupportErrorInfo* support = nullptr;
        ASSERT_EQ(
            converter->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support)),
            S_OK);
        EXPECT_EQ(support->InterfaceSupportsErrorInfo(*c.ownIid), S_OK);
        EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IVLMRConvert), S_OK);
        EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IDispatch), S_FALSE);
        support->Release();

        BSTR name = nullptr;
        EXPECT_EQ(converter->get_ConversionName(&name), S_OK);
        EXPECT_EQ(narrowFromBstr(name), c.conversionName);
        SysFreeString(name);
        EXPECT_EQ(converter->get_ConversionName(nullptr), E_POINTER);
        EXPECT_EQ(converter->Release(), 0u);
    }
}

TEST_F(TobrennServerTest, ReaderFailuresBecomeErrorInfoOnIVLMRConvert)
{
    const std::string missing = (m_dir / "missing.txt").string();
    for (const ConverterClass& c : kClasses) {
        SCOPED_TRACE(c.progId);
        IVLMRConvert* converter = create(c);
        ASSERT_NE(converter, nullptr);

        BSTR name = bstrFromNarrow(missing);
        EXPECT_EQ(converter->SetFile(name), E_CONVERT_FILE_OPEN);
        SysFreeString(name);
        ErrorReport report = testsupport::takeErrorReport();
        EXPECT_TRUE(report.present);
        EXPECT_EQ(report.description, "File Open Failure " + missing);
        EXPECT_EQ(report.source, std::string(c.progId) + ".1");
        EXPECT_EQ(report.guid, IID_IVLMRConvert);

        // No part-model server: the part cannot be made, before anything is read.
        const std::string part = (m_dir / "part.txt").string();
        testsupport::writeFile(part, "B1\r\nW12X26\r\n");
        name = bstrFromNarrow(part);
        EXPECT_EQ(converter->SetFile(name), S_OK);
        SysFreeString(name);
        EXPECT_FALSE(testsupport::takeErrorReport().present);
        IUnknown* unknown = nullptr;
        EXPECT_EQ(converter->ReadPart(&unknown, 0, 0), E_POINTER);
        EXPECT_EQ(unknown, nullptr);
        report = testsupport::takeErrorReport();
        EXPECT_EQ(report.guid, IID_IVLMRConvert);
        EXPECT_EQ(report.description, std::string(_com_error(E_POINTER).ErrorMessage()) +
                                          "\r\nCom Error while reading part\r\nFile Name:" + part +
                                          "\r\nLine:1");
        converter->Release();
    }
}

TEST_F(TobrennServerTest, ConverterIsDrivenThroughDispatch)
{
    IVLMRConvert* converter = create(kClasses[1]);
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
    EXPECT_EQ(narrowFromBstr(result.bstrVal), "Tobrenn Ver : 2.0");
    VariantClear(&result);
    converter->Release();
}

TEST_F(TobrennServerTest, UnregistrationRemovesTheClassesAndTheModuleUnloads)
{
    IVLMRConvert* converter = create(kClasses[0]);
    ASSERT_NE(converter, nullptr);
    EXPECT_EQ(call("DllCanUnloadNow"), S_FALSE);
    converter->Release();
    CoFreeUnusedLibraries(); // lets go of the class factory the runtime keeps
    EXPECT_EQ(call("DllCanUnloadNow"), S_OK);

    ASSERT_EQ(call("DllUnregisterServer"), S_OK);
    for (const ConverterClass& c : kClasses) {
        SCOPED_TRACE(c.progId);
        EXPECT_FALSE(classesHasKey("CLSID\\" + guidToString(*c.clsid)));
        EXPECT_FALSE(classesHasKey(std::string(c.progId) + ".1"));
        EXPECT_FALSE(classesHasKey(c.progId));
    }
    EXPECT_FALSE(classesHasKey("TypeLib\\" + guidToString(LIBID_TOBRENNLib)));
}

} // namespace
