// The three record converter server modules through the component runtime:
// their registration (Ambrel's script writes its class ID with a lower-case
// "11d2"), the converter category, the interface maps, the conversion
// names, dispatch, the failures as error info, and unregistration.
#include "ambrel/AmbrelLib.h"
#include "ferrick/FerrickLib.h"
#include "halcyra/HalcyraLib.h"
#include "tolvin/TolvinLib.h"

#include "convertertest/ServerModuleTest.h"

#include "com/Bstr.h"
#include "com/CodePage.h"
#include "com/Runtime.h"
#include "testing/ClassesRoot.h"
#include "testing/ErrorInfo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

struct Server {
    convertertest::ConverterRegistration registration;
    const IID* ownIid;
    const char* libraryHelp;
    const char* conversionName;
};

const Server kServers[] = {
    {{&CLSID_FerrickConvert, "Velmora.FerrickConvert", "FerrickConvert Class", FERRICK_MODULE_PATH,
      &LIBID_FERRICKLib, true, "{3EEA29C2-932C-11D6-A8FA-00A0CC26575D}"},
     &IID_IFerrickConvert,
     "Ferrick 1.0 Type Library",
     "Ferrick"},
    {{&CLSID_AmbrelConvert, "Velmora.AmbrelConvert", "Convert Class", AMBREL_MODULE_PATH,
      &LIBID_AMBRELLib, true, "{5488C4F3-F999-11d2-A400-00A0249F4DED}"},
     &IID_IAmbrelConvert,
     "Ambrel 1.0 Type Library",
     "Ambrel (SDS)"},
    {{&CLSID_TolvinConvert, "Velmora.TolvinConvert", "Convert Class", TOLVIN_MODULE_PATH,
      &LIBID_TOLVINLib, true, "{641781E8-F65F-11D2-A3FB-00A0249F4DED}"},
     &IID_ITolvinConvert,
     "Tolvin 1.0 Type Library",
     "Tolvin"},
};

using testsupport::classesHasKey;
using testsupport::classesValue;
using testsupport::takeErrorReport;

class RecordServerTest : public convertertest::ServerModuleTest {
protected:
    RecordServerTest()
        : ServerModuleTest("record-server",
                           {FERRICK_MODULE_PATH, AMBREL_MODULE_PATH, TOLVIN_MODULE_PATH})
    {
    }

    static IVLMRConvert* create(const Server& server)
    {
        return ServerModuleTest::create(*server.registration.clsid);
    }
};

TEST_F(RecordServerTest, RegistrationWritesTheClassWithItsScript)
{
    for (const Server& server : kServers) {
        convertertest::expectRegistered(server.registration);
        EXPECT_EQ(classesValue("TypeLib\\" + guidToString(*server.registration.libid) + "\\1.0"),
                  server.libraryHelp);
    }
    EXPECT_FALSE(classesHasKey("TypeLib\\" + guidToString(LIBID_HALCYRALib)))
        << "the part-model server registers HalcyraLib, not these";
}

TEST_F(RecordServerTest, ProgIdsNameTheClasses)
{
    for (const Server& server : kServers) {
        SCOPED_TRACE(server.registration.progId);
        for (const std::string& progId : {std::string(server.registration.progId) + ".1",
                                          std::string(server.registration.progId)}) {
            CLSID clsid{};
            const std::u16string wide = wideFromNarrow(progId);
            EXPECT_EQ(CLSIDFromProgID(wide.c_str(), &clsid), S_OK);
            EXPECT_EQ(clsid, *server.registration.clsid);
        }
    }
}

TEST_F(RecordServerTest, TheCategoryListsTheThreeConvertersByName)
{
    EXPECT_EQ(convertertest::conversionNamesOfTheCategory(),
              (std::vector<std::string>{"Ambrel (SDS)", "Ferrick", "Tolvin"}));
}

TEST_F(RecordServerTest, InterfaceMapsAndErrorInfoSupport)
{
    for (const Server& server : kServers) {
        SCOPED_TRACE(server.registration.progId);
        IVLMRConvert* converter = create(server);
        ASSERT_NE(converter, nullptr);
        convertertest::expectConverterInterfaces(converter, *server.ownIid);
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
        SCOPED_TRACE(server.registration.progId);
        IVLMRConvert* converter = create(server);
        ASSERT_NE(converter, nullptr);
        convertertest::expectOpenFailureReported(converter, missing, "File Open Failure",
                                                 std::string(server.registration.progId) + ".1");

        // No part-model server is registered here: the part cannot be made.
        EXPECT_EQ(convertertest::setFile(converter, file), S_OK);
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
        SCOPED_TRACE(server.registration.progId);
        IVLMRConvert* converter = create(server);
        ASSERT_NE(converter, nullptr);
        convertertest::expectConversionNameThroughDispatch(converter, server.conversionName);
        converter->Release();
    }
}

TEST_F(RecordServerTest, UnregistrationRemovesTheClassesAndTheModulesUnload)
{
    for (std::size_t i = 0; i < std::size(kServers); ++i) {
        SCOPED_TRACE(kServers[i].registration.progId);
        expectUnregistration({kServers[i].registration}, i);
    }
    EXPECT_TRUE(convertertest::convertersOfTheCategory().empty());
}

} // namespace
