// CCADPart::SaveToTarsis against the recording Tarsis double: the calls in
// order with their arguments, the side refusals and planes, the tools'
// normalisation and the Ex choice, and every failure's report.
#include "HalcyraFixture.h"

#include <string>
#include <thread>
#include <vector>

namespace {

using Calls = std::vector<std::string>;

class CADPartSave : public HalcyraTest {
protected:
    void SetUp() override
    {
        HalcyraTest::SetUp();
        m_tarsis->lookupNumbers[2] = 10; // W3
    }

    CComPtr<ICADPart> newPart(const char16_t* section)
    {
        return newIdentifiedPart<ICADPart>(CLSID_CADPart, section);
    }

    static std::string createPart(const std::string& section, const std::string& quantity = "0s",
                                  const std::string& measuringSystem = "0s")
    {
        return "CreatePart(\"J1\", \"G1\", \"M1\", " + quantity + ", 0, \"" + section +
               "\", \"W8X10\", \"\", \"\", 0L, \"\", \"\", " + measuringSystem + ", 0s)";
    }
    static std::string plane(const std::string& y, const char* sign, const char* letter)
    {
        return "SetRefPlane(0, " + y + ", 0, 0, \"+\", \"" + sign + "\", \"" + letter + "\")";
    }
};

TEST_F(CADPartSave, PlateWithWebHolesSkipsTheShapeLookup)
{
    CComPtr<ICADPart> part = newPart(u"PL");
    TestBstr rd(u"RD");
    part->SetWebHole(1, 2, 0.5, 0, rd, 0);
    EXPECT_EQ(part->SaveToTarsis(), S_OK);
    EXPECT_EQ(calls(), (Calls{createPart("PL"), plane("0", "+", "A"),
                              "AddWebHole(1, 2, 0, 0, 1s, 1s, 0.5, 0, \"RD\", 0s)", "SavePart()"}));
}

TEST_F(CADPartSave, PartWithoutOperationsCreatesAndSavesOnly)
{
    CComPtr<ICADPart> part = newPart(u"W");
    EXPECT_EQ(part->SaveToTarsis(), S_OK);
    EXPECT_EQ(calls(), (Calls{lookup("W"), createPart("W"), "SavePart()"}));
}

// One operation in every list: the web first (holes, second-web holes,
// marks, hidden marks), then each flange side with its own plane, then the
// stencils without a plane.
TEST_F(CADPartSave, SendsEveryListInItsOrder)
{
    CComPtr<ICADPart> part = newPart(u"W");
    TestBstr rd(u"RD"), text(u"A1");
    part->SetBFStencil(9, 9, text);
    part->SetTFStencil(8, 8, text);
    part->SetWebStencil(7, 7, text);
    part->SetBFNearFarMark(6, 1);
    part->SetBFNearFarHoleEx(6, 2, 1, 0, rd, 0, 2);
    part->SetBFFarMark(5, 1);
    part->SetBFFarHole(5, 2, 1, 0, rd, 0);
    part->SetBFNearMark(4, 1);
    part->SetBFNearHoleEx(4, 2, 1, 0, rd, 0, 2);
    part->SetTFNearFarMark(3, 1);
    part->SetTFNearFarHole(3, 2, 1, 0, rd, 0);
    part->SetTFFarMark(2, 1);
    part->SetTFFarHoleEx(2, 2, 1, 0, rd, 0, 2);
    part->SetTFNearMark(1, 1);
    part->SetTFNearHole(1, 2, 1, 0, rd, 0);
    part->SetWebHiddenMark(0, 4);
    part->SetWebMark(0, 3);
    part->SetWeb2HoleEx(0, 2, 1, 0, rd, 0, 2);
    part->SetWebHole(0, 1, 1, 0, rd, 0);
    part->SetWebHoleEx(0, 5, 1, 0, rd, 0, 2);
    part->SetWeb2Hole(0, 6, 1, 0, rd, 0);
    EXPECT_EQ(part->SaveToTarsis(), S_OK);

    const std::string tool = ", 0, 0, 1s, 1s, 1, 0, \"RD\", 0s";
    EXPECT_EQ(calls(), (Calls{
                           lookup("W"),
                           createPart("W"),
                           plane("0", "+", "A"),
                           "AddWebHole(0, 1" + tool + ")",
                           "AddWebHoleEx(0, 5" + tool + ", 2s)",
                           "AddWeb2HoleEx(0, 2" + tool + ", 2s)",
                           "AddWeb2Hole(0, 6" + tool + ")",
                           "AddWebMark(0, 3, 0, 0, 1s, 1s)",
                           "AddWebHiddenMark(0, 4, 0, 0, 1s, 1s)",
                           plane("5", "-", "A"),
                           "AddTFNearHole(1, 2" + tool + ")",
                           "AddTFNearMark(1, 1, 0, 0, 1s, 1s)",
                           plane("5", "-", "B"),
                           "AddTFFarHoleEx(2, 2" + tool + ", 2s)",
                           "AddTFFarMark(2, 1, 0, 0, 1s, 1s)",
                           plane("5", "-", "C"),
                           "AddTFNearFarHole(3, 2" + tool + ")",
                           "AddTFNearFarMark(3, 1, 0, 0, 1s, 1s)",
                           plane("5", "-", "A"),
                           "AddBFNearHoleEx(4, 2" + tool + ", 2s)",
                           "AddBFNearMark(4, 1, 0, 0, 1s, 1s)",
                           plane("5", "-", "B"),
                           "AddBFFarHole(5, 2" + tool + ")",
                           "AddBFFarMark(5, 1, 0, 0, 1s, 1s)",
                           plane("5", "-", "C"),
                           "AddBFNearFarHoleEx(6, 2" + tool + ", 2s)",
                           "AddBFNearFarMark(6, 1, 0, 0, 1s, 1s)",
                           "AddWebStencil(7, 7, \"A1\")",
                           "AddTFStencil(8, 8, \"A1\")",
                           "AddBFStencil(9, 9, \"A1\")",
                           "SavePart()",
                       }));
}

enum class Side { TFNear, TFFar, TFNearFar, BFNear, BFFar, BFNearFar };

struct SideCase {
    const char16_t* section;
    Side side;
    const char* refusal; // null: allowed
    const char* y = nullptr;
    const char* sign = nullptr;
    const char* letter = nullptr;
};

// The sides each section refuses, and the plane of an allowed one (W3 is 10).
const SideCase kSideCases[] = {
    {u"C", Side::TFNear, "TF Near not allowed on C"},
    {u"C", Side::TFFar, nullptr, "0", "+", "A"},
    {u"C", Side::TFNearFar, "TF Near/Far not allowed on C"},
    {u"C", Side::BFNear, "BF Near not allowed on C"},
    {u"C", Side::BFFar, nullptr, "0", "+", "A"},
    {u"MC", Side::BFNearFar, "BF Near/Far not allowed on MC"},
    {u"MC", Side::TFFar, nullptr, "0", "+", "A"},
    {u"L", Side::TFNear, nullptr, "0", "+", "A"},
    {u"L", Side::TFFar, "TF Far not allowed on L"},
    {u"L", Side::TFNearFar, "TF Near/Far not allowed on L"},
    {u"L", Side::BFNear, "BF Near not allowed on L"},
    {u"L", Side::BFFar, "BF Far not allowed on L"},
    {u"FB", Side::TFNear, "TF Near not allowed on FB"},
    {u"FB", Side::BFFar, "BF Far not allowed on FB"},
    {u"PL", Side::TFFar, "TF Far not allowed on PL"},
    {u"PL", Side::BFNear, "BF Near not allowed on PL"},
    {u"TS", Side::TFNear, nullptr, "0", "-", "B"},
    {u"TS", Side::TFFar, nullptr, "0", "-", "B"},
    {u"TS", Side::TFNearFar, nullptr, "5", "-", "C"},
    {u"TS", Side::BFNear, nullptr, "0", "-", "B"},
    {u"TS", Side::BFFar, nullptr, "0", "-", "B"},
    {u"W", Side::TFNear, nullptr, "5", "-", "A"},
    {u"W", Side::BFNear, nullptr, "5", "-", "A"},
    {u"W", Side::BFFar, nullptr, "5", "-", "B"},
    {u"W", Side::BFNearFar, nullptr, "5", "-", "C"},
    // Sections compare as the catalog finds them, without regard to case.
    {u"l", Side::TFFar, "TF Far not allowed on l"},
    {u"l", Side::BFNearFar, "BF Near/Far not allowed on l"},
    {u"l", Side::TFNear, nullptr, "0", "+", "A"},
    {u"c", Side::TFNear, "TF Near not allowed on c"},
    {u"c", Side::BFFar, nullptr, "0", "+", "A"},
    {u"Mc", Side::BFNear, "BF Near not allowed on Mc"},
    {u"fb", Side::TFFar, "TF Far not allowed on fb"},
    {u"pl", Side::TFNear, "TF Near not allowed on pl"},
    {u"ts", Side::TFNear, nullptr, "0", "-", "B"},
    {u"w", Side::BFFar, nullptr, "5", "-", "B"},
    {u"", Side::TFNear, nullptr, "5", "-", "A"}, // no section at all: any other
};

TEST_F(CADPartSave, FlangeSidesAreRefusedOrGetTheirPlane)
{
    for (const SideCase& c : kSideCases) {
        const std::string section(c.section,
                                  c.section + std::char_traits<char16_t>::length(c.section));
        SCOPED_TRACE(section + " side " + std::to_string(static_cast<int>(c.side)));
        calls().clear();
        CComPtr<ICADPart> part = newPart(c.section);
        const char* mark = nullptr;
        switch (c.side) {
        case Side::TFNear:
            part->SetTFNearMark(1, 2);
            mark = "AddTFNearMark";
            break;
        case Side::TFFar:
            part->SetTFFarMark(1, 2);
            mark = "AddTFFarMark";
            break;
        case Side::TFNearFar:
            part->SetTFNearFarMark(1, 2);
            mark = "AddTFNearFarMark";
            break;
        case Side::BFNear:
            part->SetBFNearMark(1, 2);
            mark = "AddBFNearMark";
            break;
        case Side::BFFar:
            part->SetBFFarMark(1, 2);
            mark = "AddBFFarMark";
            break;
        case Side::BFNearFar:
            part->SetBFNearFarMark(1, 2);
            mark = "AddBFNearFarMark";
            break;
        }
        const HRESULT hr = part->SaveToTarsis();
        const ErrorReport error = takeErrorReport();
        if (c.refusal) {
            EXPECT_EQ(hr, E_CONVERT_BAD_CODE);
            EXPECT_EQ(error.description, std::string(c.refusal) + "\r\n");
            EXPECT_EQ(error.guid, IID_ICADPart);
            EXPECT_EQ(calls().back(), createPart(section)); // no plane, no SavePart
        } else {
            ASSERT_EQ(hr, S_OK);
            EXPECT_FALSE(error.present);
            ASSERT_GE(calls().size(), 4u);
            const std::size_t n = calls().size();
            EXPECT_EQ(calls()[n - 3], plane(c.y, c.sign, c.letter));
            EXPECT_EQ(calls()[n - 2], std::string(mark) + "(1, 2, 0, 0, 1s, 1s)");
            EXPECT_EQ(calls()[n - 1], "SavePart()");
        }
    }
}

TEST_F(CADPartSave, RefusedSideStopsAfterTheWebWasSent)
{
    CComPtr<ICADPart> part = newPart(u"PL");
    TestBstr rd(u"RD");
    part->SetWebHole(1, 2, 0.5, 0, rd, 0);
    part->SetTFNearHole(3, 4, 0.5, 0, rd, 0);
    EXPECT_EQ(part->SaveToTarsis(), E_CONVERT_BAD_CODE);
    const ErrorReport error = takeErrorReport();
    EXPECT_EQ(error.description, "TF Near not allowed on PL\r\n");
    EXPECT_EQ(error.source, "Velmora.CADPart.1");
    EXPECT_EQ(calls(), (Calls{createPart("PL"), plane("0", "+", "A"),
                              "AddWebHole(1, 2, 0, 0, 1s, 1s, 0.5, 0, \"RD\", 0s)"}));
}

TEST_F(CADPartSave, StencilsAreSentWithoutSideCheck)
{
    CComPtr<ICADPart> part = newPart(u"L");
    TestBstr text(u"S1");
    part->SetTFStencil(1, 2, text);
    part->SetBFStencil(3, 4, nullptr);
    EXPECT_EQ(part->SaveToTarsis(), S_OK);
    EXPECT_EQ(calls(), (Calls{lookup("L"), createPart("L"), "AddTFStencil(1, 2, \"S1\")",
                              "AddBFStencil(3, 4, null)", "SavePart()"}));
}

TEST_F(CADPartSave, ToolsAreNormalisedOnceAndKeptForTheNextSave)
{
    CComPtr<ICADPart> part = newPart(u"PL");
    TestBstr sl(u"SL");
    part->SetWebHole(1, 2, 0.81, 0.8125, sl, 90);
    part->SetWebHoleEx(3, 4, 0.81, 0.5, sl, 90, 2); // metric tool, inch part: still rounded
    ASSERT_EQ(part->SaveToTarsis(), S_OK);
    const Calls first = calls();
    EXPECT_EQ(first, (Calls{createPart("PL"), plane("0", "+", "A"),
                            "AddWebHole(1, 2, 0, 0, 1s, 1s, 0.8125, 0, \"RD\", 0s)",
                            "AddWebHoleEx(3, 4, 0, 0, 1s, 1s, 0.8125, 0.5, \"SL\", 90s, 2s)",
                            "SavePart()"}));
    calls().clear();
    ASSERT_EQ(part->SaveToTarsis(), S_OK);
    EXPECT_EQ(calls(), first);
}

TEST_F(CADPartSave, MetricPartSendsSizesUnrounded)
{
    CComPtr<ICADPart> part = newPart(u"PL");
    TestBstr sl(u"SL");
    part->SetWebHole(1, 2, 0.81, 0.8125, sl, 90);
    part->SetMetric(5);
    ASSERT_EQ(part->SaveToTarsis(), S_OK);
    EXPECT_EQ(calls()[0], createPart("PL", "0s", "2s"));
    EXPECT_EQ(calls()[2], "AddWebHole(1, 2, 0, 0, 1s, 1s, 0.81, 0.8125, \"SL\", 90s)");
}

TEST_F(CADPartSave, MeasuringSystemIsCutTo16Bits)
{
    struct Case {
        SHORT measuringSystem;
        const char* systemSent;
    };
    const Case cases[] = {{7, "7s"}, {-1, "-1s"}, {0, "0s"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.measuringSystem);
        calls().clear();
        CComPtr<ICADPart> part = newPart(u"PL");
        CComQIPtr<ICADPartSupplemental1> supplement(part.p);
        ASSERT_TRUE(supplement);
        part->put_Quantity(-3);
        part->SetMetric(1);
        supplement->put_MeasuringSystem(c.measuringSystem); // the last call wins
        ASSERT_EQ(part->SaveToTarsis(), S_OK);
        EXPECT_EQ(calls()[0], createPart("PL", "-3s", c.systemSent));
    }
}

// The writer takes the quantity in 16 bits: one that does not fit is
// refused before anything is sent, never stored as another number.
TEST_F(CADPartSave, QuantityTheDatabaseCannotHoldIsRefused)
{
    struct Case {
        LONG quantity;
        const char* refusal; // null: stored as it is
    };
    const Case cases[] = {
        {32767, nullptr},
        {-32768, nullptr},
        {32768, "Job J1 Group G1 Mark M1 has a quantity of 32768, more than the database can "
                "hold (32767)"},
        {40000, "Job J1 Group G1 Mark M1 has a quantity of 40000, more than the database can "
                "hold (32767)"},
        {-32769, "Job J1 Group G1 Mark M1 has a quantity of -32769, less than the database can "
                 "hold (-32768)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.quantity);
        calls().clear();
        CComPtr<ICADPart> part = newPart(u"W");
        part->put_Quantity(c.quantity);
        const HRESULT hr = part->SaveToTarsis();
        const ErrorReport error = takeErrorReport();
        if (c.refusal) {
            EXPECT_EQ(hr, DISP_E_OVERFLOW);
            EXPECT_EQ(error.description, c.refusal);
            EXPECT_EQ(error.guid, IID_ICADPart);
            EXPECT_TRUE(calls().empty());
        } else {
            ASSERT_EQ(hr, S_OK);
            EXPECT_EQ(calls()[1], createPart("W", std::to_string(c.quantity) + "s"));
        }
    }
}

// The lookup answers in inches: a metric part gets its flange planes in
// millimetres.
TEST_F(CADPartSave, FlangePlanesAreInThePartsMeasuringSystem)
{
    m_tarsis->lookupNumbers[2] = 3.937; // W3, inches
    for (const bool metric : {false, true}) {
        SCOPED_TRACE(metric);
        calls().clear();
        CComPtr<ICADPart> part = newPart(u"W");
        part->SetMetric(metric ? 1 : 0);
        part->SetBFFarMark(1, 2);
        ASSERT_EQ(part->SaveToTarsis(), S_OK);
        const std::size_t n = calls().size();
        ASSERT_GE(n, 3u);
        double y = 3.937 / 2;
        if (metric)
            y = 3.937 * 25.4 / 2;
        EXPECT_EQ(calls()[n - 3].rfind("SetRefPlane(0, ", 0), 0u) << calls()[n - 3];
        EXPECT_DOUBLE_EQ(std::stod(calls()[n - 3].substr(std::string("SetRefPlane(0, ").size())),
                         y);
    }
}

// The servers of one thread serve every part made while another lives, and
// a failed save makes the next one start with new servers.
TEST_F(CADPartSave, PartsOfOneThreadShareTheirServersUntilASaveFails)
{
    CComPtr<ICADPart> first = newPart(u"W");
    ASSERT_EQ(first->SaveToTarsis(), S_OK);
    EXPECT_EQ(m_tarsis->createdServers, 2); // a writer and a shape server
    for (int i = 0; i < 3; ++i) {
        CComPtr<ICADPart> next = newPart(u"W");
        first = next; // the last part goes only when the next one exists
        ASSERT_EQ(next->SaveToTarsis(), S_OK);
    }
    EXPECT_EQ(m_tarsis->createdServers, 2);

    m_tarsis->results["SavePart"] = E_FAIL;
    CComPtr<ICADPart> failing = newPart(u"W");
    EXPECT_EQ(failing->SaveToTarsis(), E_FAIL);
    m_tarsis->results.clear();
    EXPECT_EQ(failing->SaveToTarsis(), S_OK);
    EXPECT_EQ(m_tarsis->createdServers, 4);

    // Another thread gets servers of its own.
    std::thread([&] {
        CoInitialize(nullptr);
        {
            CComPtr<ICADPart> elsewhere = newPart(u"W");
            EXPECT_EQ(elsewhere->SaveToTarsis(), S_OK);
        }
        CoUninitialize();
    }).join();
    EXPECT_EQ(m_tarsis->createdServers, 6);

    first.Release();
    failing.Release();
    EXPECT_EQ(m_tarsis->liveServers, 0) << "the last part lets the servers go";
}

TEST_F(CADPartSave, UndefinedShapeIsReported)
{
    m_tarsis->results["LookupShape"] = 1;
    CComPtr<ICADPart> part = newPart(u"W");
    part->SetWebMark(1, 2);
    EXPECT_EQ(part->SaveToTarsis(), E_CONVERT_UNDEFINED_SHAPE);
    const ErrorReport error = takeErrorReport();
    EXPECT_EQ(error.description, "Job J1 Group G1 Mark M1 has an undefined shape W:W8X10\r\n"
                                 "Add the Shape thru Tarsis and reconvert the part");
    EXPECT_EQ(error.guid, IID_ICADPart);
    EXPECT_EQ(error.source, "Velmora.CADPart.1");
    EXPECT_EQ(calls(), (Calls{lookup("W")}));
}

// A section never set is taken as the empty string: looked up (it is not
// "PL") and given no refusals.
TEST_F(CADPartSave, SectionNeverSetIsLookedUpAsEmpty)
{
    CComPtr<ICADPart> part = create<ICADPart>(CLSID_CADPart);
    part->SetTFNearMark(1, 2);
    EXPECT_EQ(part->SaveToTarsis(), S_OK);
    EXPECT_EQ(calls(),
              (Calls{"LookupShape(null, null, &r8, &r8, &r8, &r8, &r8, &r8, &bstr)",
                     "CreatePart(null, null, null, 0s, 0, null, null, \"\", \"\", 0L, \"\", \"\", "
                     "0s, 0s)",
                     plane("5", "-", "A"), "AddTFNearMark(1, 2, 0, 0, 1s, 1s)", "SavePart()"}));
}

TEST_F(CADPartSave, OtherLookupAnswersAreAccepted)
{
    m_tarsis->results["LookupShape"] = 2;
    m_tarsis->lookupText.reset();
    CComPtr<ICADPart> part = newPart(u"W");
    EXPECT_EQ(part->SaveToTarsis(), S_OK);
}

// A lookup that fails is the database's failure, reported with its result
// and text, not an undefined shape; nothing is created.
TEST_F(CADPartSave, FailingLookupIsADatabaseFailureNotAnUndefinedShape)
{
    const HRESULT damaged = HRESULT_FROM_WIN32(1392);
    m_tarsis->results["LookupShape"] = damaged;
    m_tarsis->errorTexts["LookupShape"] = u"Tarsis database /x/tarsis.db is damaged: malformed";
    CComPtr<ICADPart> part = newPart(u"W");
    EXPECT_EQ(part->SaveToTarsis(), damaged);
    EXPECT_EQ(takeErrorReport().description,
              hresultMessage(damaged) + "\r\nCom Error while SaveToTarsis\r\n"
                                        "Tarsis database /x/tarsis.db is damaged: malformed");
    EXPECT_EQ(calls(), (Calls{lookup("W")}));
}

TEST_F(CADPartSave, MissingPartWriterIsAComErrorWithEPointer)
{
    unregisterRecorder(kPartWriter);
    CComPtr<ICADPart> part = newPart(u"PL");
    EXPECT_EQ(part->SaveToTarsis(), E_POINTER);
    const ErrorReport error = takeErrorReport();
    EXPECT_EQ(error.description, hresultMessage(E_POINTER) + "\r\nCom Error while SaveToTarsis");
    EXPECT_EQ(error.guid, IID_ICADPart);
    EXPECT_TRUE(calls().empty());
}

TEST_F(CADPartSave, RefusedInvokeIsAComError)
{
    m_tarsis->invokeFailures["AddWebMark"] = DISP_E_TYPEMISMATCH;
    CComPtr<ICADPart> part = newPart(u"PL");
    part->SetWebMark(1, 2);
    EXPECT_EQ(part->SaveToTarsis(), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(takeErrorReport().description,
              hresultMessage(DISP_E_TYPEMISMATCH) + "\r\nCom Error while SaveToTarsis");
    EXPECT_EQ(calls().back(), "AddWebMark(1, 2, 0, 0, 1s, 1s)");
}

// A negative answer ends the save through the maker's log; the save reports
// the server's result and, after the method's text, the server's own.
TEST_F(CADPartSave, NegativeResultEndsTheSaveWithTheServersResultAndText)
{
    const HRESULT full = HRESULT_FROM_WIN32(112);
    struct Case {
        const char* method;
        const char* source; // the file the failure is logged under
    };
    for (const Case& c :
         {Case{"CreatePart", "/CADPart.cpp("}, Case{"SetRefPlane", "/RefPlane.cpp("},
          Case{"AddWebMark", "/CADPart.cpp("}, Case{"SavePart", "/CADPart.cpp("}}) {
        SCOPED_TRACE(c.method);
        calls().clear();
        m_tarsis->results.clear();
        m_tarsis->errorTexts.clear();
        m_tarsis->results[c.method] = full;
        m_tarsis->errorTexts[c.method] = u"Tarsis database T is full";
        std::filesystem::remove_all(m_dir / "data");
        CComPtr<ICADPart> part = newPart(u"PL");
        part->SetWebMark(1, 2);
        EXPECT_EQ(part->SaveToTarsis(), full);
        const ErrorReport error = takeErrorReport();
        EXPECT_EQ(error.description, hresultMessage(full) + "\r\nCom Error while SaveToTarsis\r\n"
                                                            "Tarsis database T is full");
        EXPECT_EQ(error.guid, IID_ICADPart);
        EXPECT_EQ(calls().back().rfind(c.method, 0), 0u) << calls().back();
        EXPECT_NE(logText().find(c.source), std::string::npos) << logText();
    }
    // A server that says nothing of its failure: the Part's text alone.
    m_tarsis->results.clear();
    m_tarsis->errorTexts.clear();
    m_tarsis->results["SavePart"] = -5;
    CComPtr<ICADPart> part = newPart(u"PL");
    EXPECT_EQ(part->SaveToTarsis(), -5);
    EXPECT_EQ(takeErrorReport().description,
              hresultMessage(-5) + "\r\nCom Error while SaveToTarsis");
}

} // namespace
