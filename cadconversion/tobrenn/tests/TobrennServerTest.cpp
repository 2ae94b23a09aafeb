// The server module libtobrenn.so through the component runtime: its
// registration, the converter category, the interface maps, the
// conversion names and the reader's failures as error info on
// IVLMRConvert. No part-model server is registered here.
#include "halcyra/HalcyraLib.h"
#include "tobrenn/TobrennLib.h"

#include "convertertest/ServerModuleTest.h"

#include "com/Bstr.h"
#include "com/ComError.h"
#include "com/Runtime.h"
#include "testing/ClassesRoot.h"
#include "testing/ErrorInfo.h"
#include "testing/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using testsupport::classesHasKey;
using testsupport::classesValue;
using testsupport::ErrorReport;

struct ConverterClass {
    convertertest::ConverterRegistration registration;
    const IID* ownIid;
    const char* conversionName;
};

// Only version 3.0 carries the maker's name in its ProgID.
const ConverterClass kClasses[] = {
    {{&CLSID_Convert, "Velmora.Tobrenn.Convert", "Convert Class", TOBRENN_MODULE_PATH,
      &LIBID_TOBRENNLib},
     &IID_IConvert,
     "Tobrenn Ver : 3.0"},
    {{&CLSID_OldConvert, "Tobrenn.OldConvert", "OldConvert Class", TOBRENN_MODULE_PATH,
      &LIBID_TOBRENNLib},
     &IID_IOldConvert,
     "Tobrenn Ver : 2.0"},
    {{&CLSID_COldestConver, "Tobrenn.COldestConver", "COldestConver Class", TOBRENN_MODULE_PATH,
      &LIBID_TOBRENNLib},
     &IID_ICOldestConver,
     "Tobrenn Ver : 1.0"},
};

class TobrennServerTest : public convertertest::ServerModuleTest {
protected:
    TobrennServerTest() : ServerModuleTest("tobrenn-server", {TOBRENN_MODULE_PATH}) {}

    static IVLMRConvert* create(const ConverterClass& c)
    {
        return ServerModuleTest::create(*c.registration.clsid);
    }
};

TEST_F(TobrennServerTest, RegistrationWritesEveryClassWithItsScriptAndCategory)
{
    for (const ConverterClass& c : kClasses)
        convertertest::expectRegistered(c.registration);
    EXPECT_EQ(classesValue("TypeLib\\" + guidToString(LIBID_TOBRENNLib) + "\\1.0"),
              "Tobrenn 1.0 Type Library");
    EXPECT_FALSE(classesHasKey("TypeLib\\" + guidToString(LIBID_HALCYRALib)))
        << "the part-model server registers HalcyraLib, not this one";
}

TEST_F(TobrennServerTest, CategoryListsTheThreeConvertersByName)
{
    EXPECT_EQ(
        convertertest::conversionNamesOfTheCategory(),
        (std::vector<std::string>{"Tobrenn Ver : 1.0", "Tobrenn Ver : 2.0", "Tobrenn Ver : 3.0"}));
}

TEST_F(TobrennServerTest, InterfaceMapsAndErrorInfoSupport)
{
    for (const ConverterClass& c : kClasses) {
        SCOPED_TRACE(c.registration.progId);
        IVLMRConvert* converter = create(c);
        ASSERT_NE(converter, nullptr);
        convertertest::expectConverterInterfaces(converter, *c.ownIid);
        EXPECT_EQ(convertertest::conversionName(converter), c.conversionName);
        EXPECT_EQ(converter->get_ConversionName(nullptr), E_POINTER);
        EXPECT_EQ(converter->Release(), 0u);
    }
}

TEST_F(TobrennServerTest, ReaderFailuresBecomeErrorInfoOnIVLMRConvert)
{
    const std::string missing = (m_dir / "missing.txt").string();
    for (const ConverterClass& c : kClasses) {
        SCOPED_TRACE(c.registration.progId);
        IVLMRConvert* converter = create(c);
        ASSERT_NE(converter, nullptr);
        convertertest::expectOpenFailureReported(converter, missing, "File Open Failure",
                                                 std::string(c.registration.progId) + ".1");

        // No part-model server: the part cannot be made, before anything is read.
        const std::string part = (m_dir / "part.txt").string();
        testsupport::writeFile(part, "B1\r\nW12X26\r\n");
        EXPECT_EQ(convertertest::setFile(converter, part), S_OK);
        EXPECT_FALSE(testsupport::takeErrorReport().present);
        IUnknown* unknown = nullptr;
        EXPECT_EQ(converter->ReadPart(&unknown, 0, 0), E_POINTER);
        EXPECT_EQ(unknown, nullptr);
        const ErrorReport report = testsupport::takeErrorReport();
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
    convertertest::expectConversionNameThroughDispatch(converter, "Tobrenn Ver : 2.0");
    converter->Release();
}

TEST_F(TobrennServerTest, UnregistrationRemovesTheClassesAndTheModuleUnloads)
{
    std::vector<convertertest::ConverterRegistration> classes;
    for (const ConverterClass& c : kClasses)
        classes.push_back(c.registration);
    expectUnregistration(classes);
}

} // namespace
