// The server module liblunkett.so through the component runtime: its
// registration, the converter category, the interface maps, aggregation,
// the conversion names and the error wrapper.
#include "halcyra/HalcyraLib.h"
#include "lunkett/LunkettLib.h"

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

struct ConverterClass {
    convertertest::ConverterRegistration registration;
    const IID* ownIid;
    const char* conversionName;
    bool answersDispatch;
    bool aggregatable;
};

const ConverterClass kClasses[] = {
    {{&CLSID_DSTVConvert1, "Lunkett.DSTVConvert1", "DSTVConvert1 Class", LUNKETT_MODULE_PATH,
      &LIBID_LUNKETTLib},
     &IID_IDSTVConvert1,
     "DSTV For Tolvin Ver : 1.0",
     true,
     true},
    {{&CLSID_DSTVConvertSDS6_336, "Lunkett.DSTVConvertSDS6_336", "DSTVConvertSDS6_336 Class",
      LUNKETT_MODULE_PATH, &LIBID_LUNKETTLib},
     &IID_IDSTVConvertSDS6_336,
     "DSTV For SDS v6.336",
     false,
     true},
    {{&CLSID_DSTVConvertSDSEarlyVersions, "Lunkett.DSTVConvertSDSEarlyVersions",
      "DSTVConvertSDSEarlyVersions Class", LUNKETT_MODULE_PATH, &LIBID_LUNKETTLib},
     &IID_IDSTVConvertSDSEarlyVersions,
     "DSTV For SDS Early Versions",
     true,
     true},
    {{&CLSID_StrucSoftDSTV, "Velmora.StrucSoftDSTV", "Velmora StrucSoftDSTV Class",
      LUNKETT_MODULE_PATH, &LIBID_LUNKETTLib, false},
     &IID_IStrucSoftDSTV,
     "DSTV Version 7",
     false,
     false},
};

using testsupport::classesHasKey;
using testsupport::classesValue;
using testsupport::ErrorReport;
using testsupport::takeErrorReport;

// An outer object for aggregation: only its IUnknown is ever asked for.
class OuterUnknown final : public IUnknown {
public:
    HRESULT QueryInterface(REFIID, void** ppv) override
    {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }
};

class LunkettServerTest : public convertertest::ServerModuleTest {
protected:
    LunkettServerTest() : ServerModuleTest("lunkett-server", {LUNKETT_MODULE_PATH}) {}

    static IVLMRConvert* create(const ConverterClass& c)
    {
        return ServerModuleTest::create(*c.registration.clsid);
    }

    std::string writeFile(const std::string& content)
    {
        const std::filesystem::path path = m_dir / "part.nc1";
        testsupport::writeFile(path, content);
        return path.string();
    }
};

TEST_F(LunkettServerTest, RegistrationWritesEveryClassWithItsScript)
{
    for (const ConverterClass& c : kClasses)
        convertertest::expectRegistered(c.registration);
    EXPECT_EQ(classesValue("TypeLib\\" + guidToString(LIBID_LUNKETTLib) + "\\1.0"),
              "Lunkett 1.0 Type Library");
    EXPECT_FALSE(classesHasKey("TypeLib\\" + guidToString(LIBID_HALCYRALib)))
        << "the part-model server registers HalcyraLib, not this one";
}

TEST_F(LunkettServerTest, CategoryListsTheConvertersByName)
{
    const std::vector<std::string> expected{"DSTV For SDS Early Versions", "DSTV For SDS v6.336",
                                            "DSTV For Tolvin Ver : 1.0", "DSTV Mult Ver : 1.0",
                                            "DSTV Version 7"};
    EXPECT_EQ(convertertest::conversionNamesOfTheCategory(), expected);
}

TEST_F(LunkettServerTest, InterfaceMapsAndErrorInfoSupport)
{
    for (const ConverterClass& c : kClasses) {
        SCOPED_TRACE(c.registration.progId);
        IVLMRConvert* converter = create(c);
        ASSERT_NE(converter, nullptr);
        convertertest::expectConverterInterfaces(converter, *c.ownIid, c.answersDispatch);
        EXPECT_EQ(converter->Release(), 0u);
    }
}

TEST_F(LunkettServerTest, AllButStrucSoftCanBeAggregated)
{
    OuterUnknown outer;
    for (const ConverterClass& c : kClasses) {
        SCOPED_TRACE(c.registration.progId);
        IUnknown* inner = nullptr;
        const HRESULT hr = CoCreateInstance(*c.registration.clsid, &outer, CLSCTX_INPROC_SERVER,
                                            IID_IUnknown, reinterpret_cast<void**>(&inner));
        EXPECT_EQ(hr, c.aggregatable ? S_OK : CLASS_E_NOAGGREGATION);
        if (inner) {
            EXPECT_EQ(inner->Release(), 0u);
        }
    }
}

TEST_F(LunkettServerTest, ConversionNameFreesWhatItReplaces)
{
    IVLMRConvert* converter = create(kClasses[0]);
    ASSERT_NE(converter, nullptr);
    BSTR name = nullptr;
    EXPECT_EQ(converter->get_ConversionName(&name), S_OK);
    EXPECT_EQ(converter->get_ConversionName(&name), S_OK); // the sanitizer build sees a leak here
    EXPECT_EQ(narrowFromBstr(name), "DSTV For Tolvin Ver : 1.0");
    SysFreeString(name);
    EXPECT_EQ(converter->get_ConversionName(nullptr), E_POINTER);
    converter->Release();
}

TEST_F(LunkettServerTest, ReaderFailuresBecomeErrorInfoOnIVLMRConvert)
{
    const std::string missing = (m_dir / "missing.nc1").string();
    for (const ConverterClass& c : kClasses) {
        SCOPED_TRACE(c.registration.progId);
        IVLMRConvert* converter = create(c);
        ASSERT_NE(converter, nullptr);

        convertertest::expectOpenFailureReported(converter, missing, "File open Failure",
                                                 std::string(c.registration.progId) + ".1");

        // A failure the reader leaves without a text.
        EXPECT_EQ(converter->ReadPart(nullptr, 0, 0), S_FALSE)
            << "nothing open: the end comes first";
        EXPECT_EQ(convertertest::setFile(converter, writeFile("ST\n")), S_OK);
        EXPECT_EQ(converter->ReadPart(nullptr, 0, 0), E_POINTER);
        EXPECT_EQ(takeErrorReport().description, "Unknown Error");

        // No part-model server is registered here.
        IUnknown* part = nullptr;
        EXPECT_EQ(converter->ReadPart(&part, 0, 0), E_CONVERT_READ);
        EXPECT_EQ(part, nullptr);
        EXPECT_EQ(takeErrorReport().description,
                  "Failed to create CLSID_CADPart2. It may not be registered");
        converter->Release();
    }
}

TEST_F(LunkettServerTest, EndOfFileIsSFalseWithoutErrorInfo)
{
    IVLMRConvert* converter = create(kClasses[1]);
    ASSERT_NE(converter, nullptr);
    EXPECT_EQ(convertertest::setFile(converter, writeFile("")), S_OK);
    IUnknown* part = nullptr;
    EXPECT_EQ(converter->ReadPart(&part, 0, 0), S_FALSE);
    EXPECT_EQ(part, nullptr);
    EXPECT_FALSE(takeErrorReport().present);
    converter->Release();
}

TEST_F(LunkettServerTest, ConverterIsDrivenThroughDispatch)
{
    IVLMRConvert* converter = create(kClasses[0]);
    ASSERT_NE(converter, nullptr);
    // The member's name is looked up without regard to case.
    convertertest::expectConversionNameThroughDispatch(converter, "DSTV For Tolvin Ver : 1.0",
                                                       u"conversionname");
    IDispatch* dispatch = converter; // IVLMRConvert's own dispatch part

    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_BSTR;
    argument.bstrVal = bstrFromNarrow((m_dir / "missing.nc1").string());
    DISPPARAMS one{&argument, nullptr, 1, 0};
    EXCEPINFO exception{};
    EXPECT_EQ(dispatch->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &one, nullptr, &exception, nullptr),
              DISP_E_EXCEPTION);
    EXPECT_EQ(exception.scode, E_CONVERT_FILE_OPEN);
    EXPECT_EQ(narrowFromBstr(exception.bstrDescription),
              "File open Failure " + (m_dir / "missing.nc1").string());
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrHelpFile);
    VariantClear(&argument);
    converter->Release();
}

TEST_F(LunkettServerTest, UnregistrationRemovesClassesAndModuleUnloads)
{
    std::vector<convertertest::ConverterRegistration> classes;
    for (const ConverterClass& c : kClasses)
        classes.push_back(c.registration);
    expectUnregistration(classes);
}

// ---- the bar converter -----------------------------------------------------------

IVLMRMultConvert* createBarConverter()
{
    IVLMRMultConvert* converter = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_DSTVMultConvert, nullptr, CLSCTX_ALL, IID_IVLMRMultConvert,
                               reinterpret_cast<void**>(&converter)),
              S_OK);
    return converter;
}

TEST_F(LunkettServerTest, BarConverterIsRegisteredAndAnswersBothConverterInterfaces)
{
    const convertertest::ConverterRegistration registration{
        &CLSID_DSTVMultConvert, "Lunkett.DSTVMultConvert", "DSTVMultConvert Class",
        LUNKETT_MODULE_PATH, &LIBID_LUNKETTLib};
    convertertest::expectRegistered(registration);

    IVLMRMultConvert* multConvert = createBarConverter();
    ASSERT_NE(multConvert, nullptr);
    convertertest::expectInterfaces(multConvert, {&IID_IUnknown, &IID_IDSTVMultConvert,
                                                  &IID_IDispatch, &IID_ISupportErrorInfo,
                                                  &IID_IVLMRConvert, &IID_IVLMRMultConvert});
    ISupportErrorInfo* support = nullptr;
    ASSERT_EQ(
        multConvert->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support)),
        S_OK);
    for (const IID* iid : {&IID_IDSTVMultConvert, &IID_IVLMRConvert, &IID_IVLMRMultConvert})
        EXPECT_EQ(support->InterfaceSupportsErrorInfo(*iid), S_OK) << guidToString(*iid);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IDispatch), S_FALSE);
    support->Release();

    IVLMRConvert* convert = nullptr;
    ASSERT_EQ(multConvert->QueryInterface(IID_IVLMRConvert, reinterpret_cast<void**>(&convert)),
              S_OK);
    BSTR name = nullptr;
    EXPECT_EQ(convert->get_ConversionName(&name), S_OK);
    EXPECT_EQ(narrowFromBstr(name), "DSTV Mult Ver : 1.0");
    SysFreeString(name);
    IUnknown* untouched = reinterpret_cast<IUnknown*>(0x1);
    EXPECT_EQ(convert->ReadPart(&untouched, 0, 0), S_OK) << "bars are read with ReadMult";
    EXPECT_EQ(untouched, reinterpret_cast<IUnknown*>(0x1));
    convert->Release();

    IDispatch* dispatch = multConvert; // IVLMRMultConvert's own dispatch part
    LPOLESTR names[] = {const_cast<LPOLESTR>(u"ReadMult")};
    DISPID dispid = 0;
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &dispid), S_OK);
    EXPECT_EQ(dispid, 1);
    EXPECT_EQ(multConvert->Release(), 0u);

    ASSERT_EQ(call("DllUnregisterServer"), S_OK);
    convertertest::expectUnregistered(registration);
}

TEST_F(LunkettServerTest, BarConverterFailuresCarryTheReaderTextForEitherInterface)
{
    IVLMRMultConvert* multConvert = createBarConverter();
    ASSERT_NE(multConvert, nullptr);
    IVLMRConvert* convert = nullptr;
    ASSERT_EQ(multConvert->QueryInterface(IID_IVLMRConvert, reinterpret_cast<void**>(&convert)),
              S_OK);

    const std::string missing = (m_dir / "missing.nc").string();
    BSTR name = bstrFromNarrow(missing);
    EXPECT_EQ(convert->SetFile(name), E_CONVERT_FILE_OPEN);
    SysFreeString(name);
    const ErrorReport report = takeErrorReport();
    EXPECT_EQ(report.description, "File open Failure " + missing);
    EXPECT_EQ(report.source, "Lunkett.DSTVMultConvert.1");
    EXPECT_EQ(report.guid, IID_IVLMRConvert);

    name = bstrFromNarrow(writeFile("BA\n"));
    EXPECT_EQ(convert->SetFile(name), S_OK);
    SysFreeString(name);
    EXPECT_EQ(multConvert->ReadMult(nullptr), E_POINTER);
    EXPECT_EQ(takeErrorReport().description, "Unknown Error");

    // No part-model server is registered here. The wizard raises the
    // failure with the error info the converter set for IVLMRMultConvert.
    IUnknown* mult = nullptr;
    const HRESULT hr = multConvert->ReadMult(&mult);
    EXPECT_EQ(hr, E_CONVERT_READ);
    EXPECT_EQ(mult, nullptr);
    try {
        _com_issue_errorex(hr, multConvert, IID_IVLMRMultConvert);
    } catch (const _com_error& error) {
        EXPECT_EQ(std::string(static_cast<const char*>(error.Description())),
                  "Failed to create CLSID_CADMult. It may not be registered");
    }

    name = bstrFromNarrow(writeFile(""));
    EXPECT_EQ(convert->SetFile(name), S_OK);
    SysFreeString(name);
    EXPECT_EQ(multConvert->ReadMult(&mult), S_FALSE);
    EXPECT_EQ(mult, nullptr);
    EXPECT_FALSE(takeErrorReport().present);
    convert->Release();
    multConvert->Release();
}

} // namespace
