// The server module libostrane.so through the component runtime: its
// registration (AppID, class, type library, category), the interface map
// and error-info support, the conversion name, dispatch, the reports of
// the reader's failures and unregistration.
#include "halcyra/HalcyraLib.h"
#include "ostrane/OstraneLib.h"

#include "convertertest/ServerModuleTest.h"

#include "com/Bstr.h"
#include "com/Runtime.h"
#include "testing/ClassesRoot.h"
#include "testing/ErrorInfo.h"
#include "testing/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

const std::string kClsid = guidToString(CLSID_VLMROstrane);
const std::string kAppId = guidToString(APPID_Ostrane);

using testsupport::classesHasKey;
using testsupport::classesValue;
using testsupport::ErrorReport;
using testsupport::takeErrorReport;

const convertertest::ConverterRegistration kRegistration{&CLSID_VLMROstrane, "Ostrane.VLMROstrane",
                                                         "VLMROstrane Class", OSTRANE_MODULE_PATH,
                                                         &LIBID_OstraneLib};

class OstraneServerTest : public convertertest::ServerModuleTest {
protected:
    OstraneServerTest() : ServerModuleTest("ostrane-server", {OSTRANE_MODULE_PATH}) {}

    static IVLMRConvert* create() { return ServerModuleTest::create(CLSID_VLMROstrane); }
};

TEST_F(OstraneServerTest, RegistrationWritesTheAppIdTheClassAndTheTypeLibrary)
{
    EXPECT_EQ(classesValue("AppID\\" + kAppId), "Ostrane");
    EXPECT_EQ(classesValue("AppID\\Ostrane.DLL", "AppID"), kAppId);

    convertertest::expectRegistered(kRegistration);
    const std::string key = "CLSID\\" + kClsid;
    EXPECT_EQ(classesValue(key, "AppID"), kAppId);

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
    EXPECT_EQ(convertertest::convertersOfTheCategory(), std::vector<CLSID>{CLSID_VLMROstrane});

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
    convertertest::expectConverterInterfaces(converter, IID_IVLMROstrane);
    EXPECT_EQ(converter->Release(), 0u);
}

TEST_F(OstraneServerTest, ReaderFailuresBecomeErrorInfoOnIVLMRConvert)
{
    IVLMRConvert* converter = create();
    ASSERT_NE(converter, nullptr);
    convertertest::expectOpenFailureReported(converter, (m_dir / "missing.dxf").string(),
                                             "File open Failure", "Ostrane.VLMROstrane.1");

    IUnknown* part = nullptr;
    EXPECT_EQ(converter->ReadPart(&part, 0, 0), S_FALSE) << "nothing open: the end comes first";
    EXPECT_FALSE(takeErrorReport().present);

    const testsupport::TemporaryFolder folder("ostrane-server-files");
    EXPECT_EQ(convertertest::setFile(converter,
                                     folder.write("part.dxf", "  0\nSECTION\n  2\nENTITIES\n")),
              S_OK);
    EXPECT_EQ(converter->ReadPart(nullptr, 0, 0), E_POINTER);
    // No part-model server is registered here.
    EXPECT_EQ(converter->ReadPart(&part, 0, 0), E_CONVERT_READ);
    EXPECT_EQ(part, nullptr);
    const ErrorReport report = takeErrorReport();
    EXPECT_EQ(report.description, "Failed to create CLSID_CADPart2. It may not be registered");
    EXPECT_EQ(report.guid, IID_IVLMRConvert);
    converter->Release();
}

TEST_F(OstraneServerTest, TheConverterIsDrivenThroughDispatch)
{
    IVLMRConvert* converter = create();
    ASSERT_NE(converter, nullptr);
    convertertest::expectConversionNameThroughDispatch(converter, "Ostrane Ver : 1.0");
    converter->Release();
}

TEST_F(OstraneServerTest, UnregistrationRemovesEverythingAndTheModuleUnloads)
{
    expectUnregistration({kRegistration});
    for (const std::string& key : {"AppID\\" + kAppId, std::string("AppID\\Ostrane.DLL"),
                                   "Interface\\" + guidToString(IID_IVLMROstrane)})
        EXPECT_FALSE(classesHasKey(key)) << key;
    EXPECT_TRUE(classesHasKey("AppID")) << "the AppID key itself stays";
    ASSERT_EQ(call("DllRegisterServer"), S_OK) << "registered again";
    EXPECT_EQ(classesValue("AppID\\Ostrane.DLL", "AppID"), kAppId);
}

} // namespace
