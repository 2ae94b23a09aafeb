// The three record converter server modules through the component runtime:
// their registration (Ambrel's script writes its class ID with a lower-case
// "11d2"), the converter category, the interface maps, the conversion
// names, dispatch, the failures as error info, and unregistration.
#include "ambrel/AmbrelLib.h"
#include "ferrick/FerrickLib.h"
#include "halcyra/HalcyraLib.h"
#include "tolvin/TolvinLib.h"

#include "com/Bstr.h"
#include "com/CodePage.h"
#include "com/ComError.h"
#include "com/Runtime.h"
#include "testing/ClassesRoot.h"
#include "testing/ErrorInfo.h"
#include "testing/TemporaryRegistry.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Server {
    const char* module;
    const CLSID* clsid;
    const char* clsidText; // as the registrar script writes it
    const IID* ownIid;
    const GUID* libid;
    const char* progId; // without ".1"
    const char* description;
    const char* libraryHelp;
    const char* conversionName;
};

const Server kServers[] = {
    {FERRICK_MODULE_PATH, &CLSID_FerrickConvert, "{3EEA29C2-932C-11D6-A8FA-00A0CC26575D}",
     &IID_IFerrickConvert, &LIBID_FERRICKLib, "Velmora.FerrickConvert", "FerrickConvert Class",
     "Ferrick 1.0 Type Library", "Ferrick"},
    {AMBREL_MODULE_PATH, &CLSID_AmbrelConvert, "{5488C4F3-F999-11d2-A400-00A0249F4DED}",
     &IID_IAmbrelConvert, &LIBID_AMBRELLib, "Velmora.AmbrelConvert", "Convert Class",
     "Ambrel 1.0 Type Library", "Ambrel (SDS)"},
    {TOLVIN_MODULE_PATH, &CLSID_TolvinConvert, "{641781E8-F65F-11D2-A3FB-00A0249F4DED}",
     &IID_ITolvinConvert, &LIBID_TOLVINLib, "Velmora.TolvinConvert", "Convert Class",
     "Tolvin 1.0 Type Library", "Tolvin"},
};

using testsupport::classesHasKey;
using testsupport::classesValue;
using testsupport::ErrorReport;
using testsupport::takeErrorReport;

std::vector<CLSID> convertersOfTheCategory()
{
    std::vector<CLSID> found;
    ICatInformation* categories = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER,
                               IID_ICatInformation, reinterpret_cast<void**>(&categories)),
              S_OK);
    if (!categories)
        return found;
    IEnumGUID* classes = nullptr;
    EXPECT_EQ(
        categories->EnumClassesOfCategories(1, &CATID_VelmoraCadConversion, 0, nullptr, &classes),
        S_OK);
    GUID batch[12];
    ULONG count = 0;
    while (classes && classes->Next(12, batch, &count) == S_OK)
        found.insert(found.end(), batch, batch + count);
    found.insert(found.end(), batch, batch + count);
    if (classes)
        classes->Release();
    categories->Release();
    return found;
}

class RecordServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        for (const Server& server : kServers) {
            void* module = dlopen(server.module, RTLD_NOW | RTLD_LOCAL);
            ASSERT_NE(module, nullptr) << dlerror();
            m_modules.push_back(module);
            ASSERT_EQ(call(module, "DllRegisterServer"), S_OK) << server.module;
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

    static HRESULT call(void* module, const char* exportName)
    {
        auto entry = reinterpret_cast<HRESULT (*)()>(dlsym(module, exportName));
        return entry ? entry() : E_FAIL;
    }

    static IVLMRConvert* create(const Server& server)
    {
        IVLMRConvert* converter = nullptr;
        EXPECT_EQ(CoCreateInstance(*server.clsid, nullptr, CLSCTX_ALL, IID_IVLMRConvert,
                                   reinterpret_cast<void**>(&converter)),
                  S_OK);
        return converter;
    }

    const testsupport::TemporaryRegistry m_registry{"record-server"};
    const std::filesystem::path m_dir = m_registry.folder();
    std::vector<void*> m_modules;
};

TEST_F(RecordServerTest, RegistrationWritesTheClassWithItsScript)
{
    for (const Server& server : kServers) {
        SCOPED_TRACE(server.progId);
        const std::string progId = std::string(server.progId) + ".1";
        EXPECT_EQ(classesValue(progId), server.description);
        EXPECT_EQ(classesValue(progId + "\\CLSID"), server.clsidText);
        EXPECT_EQ(classesValue(server.progId), server.description);
        EXPECT_EQ(classesValue(std::string(server.progId) + "\\CLSID"), server.clsidText);
        EXPECT_EQ(classesValue(std::string(server.progId) + "\\CurVer"), progId);

        const std::string key = "CLSID\\" + guidToString(*server.clsid);
        EXPECT_EQ(classesValue(key), server.description);
        EXPECT_EQ(classesValue(key + "\\ProgID"), progId);
        EXPECT_EQ(classesValue(key + "\\VersionIndependentProgID"), server.progId);
        EXPECT_TRUE(classesHasKey(key + "\\Programmable"));
        const std::optional<std::string> module = classesValue(key + "\\InprocServer32");
        ASSERT_TRUE(module);
        EXPECT_TRUE(std::filesystem::equivalent(*module, server.module));
        EXPECT_EQ(classesValue(key + "\\InprocServer32", "ThreadingModel"), "Apartment");
        EXPECT_EQ(classesValue(key + "\\TypeLib"), guidToString(*server.libid));
        EXPECT_TRUE(classesHasKey(key + "\\Implemented Categories\\" +
                                  guidToString(CATID_VelmoraCadConversion)));
        EXPECT_EQ(classesValue("TypeLib\\" + guidToString(*server.libid) + "\\1.0"),
                  server.libraryHelp);
    }
    EXPECT_FALSE(classesHasKey("TypeLib\\" + guidToString(LIBID_HALCYRALib)))
        << "the part-model server registers HalcyraLib, not these";
}

TEST_F(RecordServerTest, ProgIdsNameTheClasses)
{
    for (const Server& server : kServers) {
        SCOPED_TRACE(server.progId);
        for (const std::string& progId :
             {std::string(server.progId) + ".1", std::string(server.progId)}) {
            CLSID clsid{};
            const std::u16string wide = wideFromNarrow(progId);
            EXPECT_EQ(CLSIDFromProgID(wide.c_str(), &clsid), S_OK);
            EXPECT_EQ(clsid, *server.clsid);
        }
    }
}

TEST_F(RecordServerTest, TheCategoryListsTheThreeConvertersByName)
{
    std::vector<std::string> names;
    for (const CLSID& clsid : convertersOfTheCategory()) {
        IVLMRConvert* converter = nullptr;
        ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IVLMRConvert,
                                   reinterpret_cast<void**>(&converter)),
                  S_OK);
        BSTR name = nullptr;
        EXPECT_EQ(converter->get_ConversionName(&name), S_OK);
        names.push_back(narrowFromBstr(name));
        SysFreeString(name);
        converter->Release();
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Ambrel (SDS)", "Ferrick", "Tolvin"}));
}

TEST_F(RecordServerTest, InterfaceMapsAndErrorInfoSupport)
{
    for (const Server& server : kServers) {
        SCOPED_TRACE(server.progId);
        IVLMRConvert* converter = create(server);
        ASSERT_NE(converter, nullptr);
        IUnknown* own = nullptr;
        ASSERT_EQ(converter->QueryInterface(*server.ownIid, reinterpret_cast<void**>(&own)), S_OK);
        IUnknown* dispatch = nullptr;
        ASSERT_EQ(converter->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)),
                  S_OK);
        EXPECT_EQ(dispatch, own) << "IDispatch is the class's own interface";
        dispatch->Release();
        own->Release();
        IUnknown* none = reinterpret_cast<IUnknown*>(0x1);
        EXPECT_EQ(converter->QueryInterface(IID_IVLMRMultConvert, reinterpret_cast<void**>(&none)),
                  E_NOINTERFACE);
        EXPECT_EQ(none, nullptr);

        ISupportErrorInfo* support = nullptr;
        ASSERT_EQ(
            converter->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support)),
            S_OK);
        EXPECT_EQ(support->InterfaceSupportsErrorInfo(*server.ownIid), S_OK);
        EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IVLMRConvert), S_OK);
        EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IDispatch), S_FALSE);
        EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_ICADPart), S_FALSE);
        support->Release();

        EXPECT_EQ(converter->get_ConversionName(nullptr), E_POINTER);
        EXPECT_EQ(converter->Release(), 0u);
    }
}

TEST_F(RecordServerTest, FailuresBecomeErrorInfoOnIVLMRConvert)
{
    const std::string missing = (m_dir / "missing.txt").string();
    const std::string file = (m_dir / "export.txt").string();
    testsupport::writeFile(file, "J1 G1 B1 240 W");
    for (const Server& server : kServers) {
        SCOPED_TRACE(server.progId);
        IVLMRConvert* converter = create(server);
        ASSERT_NE(converter, nullptr);

        BSTR name = bstrFromNarrow(missing);
        EXPECT_EQ(converter->SetFile(name), E_CONVERT_FILE_OPEN);
        SysFreeString(name);
        ErrorReport report = takeErrorReport();
        EXPECT_TRUE(report.present);
        EXPECT_EQ(report.description, "File Open Failure " + missing);
        EXPECT_EQ(report.source, std::string(server.progId) + ".1");
        EXPECT_EQ(report.guid, IID_IVLMRConvert);

        // No part-model server is registered here: the part cannot be made.
        name = bstrFromNarrow(file);
        EXPECT_EQ(converter->SetFile(name), S_OK);
        SysFreeString(name);
        EXPECT_FALSE(takeErrorReport().present);
        IUnknown* part = reinterpret_cast<IUnknown*>(0x1);
        EXPECT_EQ(converter->ReadPart(&part, 0, 0), E_POINTER);
        EXPECT_EQ(part, nullptr);
        EXPECT_EQ(takeErrorReport().description, hresultMessage(E_POINTER) +
                                                     "\r\nCom Error while reading part\r\n"
                                                     "File Name:" +
                                                     file + "\r\nLine:1");
        converter->Release();
    }
}

TEST_F(RecordServerTest, ConvertersAreDrivenThroughDispatch)
{
    for (const Server& server : kServers) {
        SCOPED_TRACE(server.progId);
        IVLMRConvert* converter = create(server);
        ASSERT_NE(converter, nullptr);
        IDispatch* dispatch = converter; // IVLMRConvert's own dispatch part
        LPOLESTR names[] = {const_cast<LPOLESTR>(u"ConversionName")};
        DISPID dispid = 0;
        ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &dispid), S_OK);
        EXPECT_EQ(dispid, 3);
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        VARIANT result;
        VariantInit(&result);
        ASSERT_EQ(dispatch->Invoke(3, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr,
                                   nullptr),
                  S_OK);
        EXPECT_EQ(result.vt, VT_BSTR);
        EXPECT_EQ(narrowFromBstr(result.bstrVal), server.conversionName);
        VariantClear(&result);
        converter->Release();
    }
}

TEST_F(RecordServerTest, UnregistrationRemovesTheClassesAndTheModulesUnload)
{
    for (std::size_t i = 0; i < std::size(kServers); ++i) {
        const Server& server = kServers[i];
        SCOPED_TRACE(server.progId);
        IVLMRConvert* converter = create(server);
        ASSERT_NE(converter, nullptr);
        EXPECT_EQ(call(m_modules[i], "DllCanUnloadNow"), S_FALSE);
        converter->Release();
        CoFreeUnusedLibraries(); // lets go of the class factory the runtime keeps
        EXPECT_EQ(call(m_modules[i], "DllCanUnloadNow"), S_OK);

        ASSERT_EQ(call(m_modules[i], "DllUnregisterServer"), S_OK);
        EXPECT_FALSE(classesHasKey("CLSID\\" + guidToString(*server.clsid)));
        EXPECT_FALSE(classesHasKey(std::string(server.progId) + ".1"));
        EXPECT_FALSE(classesHasKey(server.progId));
        EXPECT_FALSE(classesHasKey("TypeLib\\" + guidToString(*server.libid)));
    }
    EXPECT_TRUE(convertersOfTheCategory().empty());
}

} // namespace
