// CCADPart2 against the recording Tarsis double: a plane per operation,
// the operation table, the result rule, and the object's properties.
#include "HalcyraFixture.h"

#include <string>
#include <vector>

namespace {

using Calls = std::vector<std::string>;

class CADPart2 : public HalcyraTest {
protected:
    CComPtr<ICADPart2> newPart(const char16_t* section)
    {
        return newIdentifiedPart<ICADPart2>(CLSID_CADPart2, section);
    }

    static std::string createPart(const std::string& section, const std::string& quantity = "0s",
                                  const std::string& grade = "\"\"")
    {
        return "CreatePart(\"J1\", \"G1\", \"M1\", " + quantity + ", 0, \"" + section +
               "\", \"W8X10\", " + grade + ", \"\", 0L, \"\", \"\", 0s, 1s)";
    }
    static constexpr const char* kDefaultPlane = "SetRefPlane(0, 0, 0, 0, \"+\", \"+\", \"A\")";
    static constexpr const char* kRecordPlane = "SetRefPlane(1, 2, 3, 4, \"+\", \"-\", \"P\")";

    enum class Face { Web, Top, Bottom };

    // An operation with the recognisable values the expectations use.
    static HRESULT addOperation(ICADPart2* part, Face face, char frontBack, char type, LONG ms,
                                double x = 5)
    {
        TestBstr tool(u"SL");
        switch (face) {
        case Face::Web:
            return part->SetWebOperationEx(
                1, 2, '+', '-', 'P', 3, 4, x, 6, 7, 8, 9, 10, static_cast<unsigned char>(type),
                static_cast<unsigned char>(frontBack), 0.5, 0.25, tool, 45, ms);
        case Face::Top:
            return part->SetTopFlangeOperationEx(
                1, 2, '+', '-', 'P', 3, 4, x, 6, 7, 8, 9, 10, static_cast<signed char>(type),
                static_cast<signed char>(frontBack), 0.5, 0.25, tool, 45, ms);
        case Face::Bottom:
            return part->SetBottomFlangeOperationEx(
                1, 2, '+', '-', 'P', 3, 4, x, 6, 7, 8, 9, 10, static_cast<signed char>(type),
                static_cast<signed char>(frontBack), 0.5, 0.25, tool, 45, ms);
        }
        return E_FAIL;
    }
    static std::string hole(const std::string& name, bool ex)
    {
        return name + "(5, 6, 8, 10, 7s, 9s, 0.5, 0.25, \"SL\", 45s" + (ex ? ", 2s)" : ")");
    }
    static std::string mark(const std::string& name) { return name + "(5, 6, 8, 10, 7s, 9s)"; }
};

TEST_F(CADPart2, OperationBecomesTheCallOfItsFaceSideAndKind)
{
    struct Case {
        Face face;
        char frontBack;
        const char16_t* section;
        char type;
        LONG toolMeasuringSystem;
        std::string call; // empty: the plane only
    };
    const Case cases[] = {
        {Face::Web, 'F', u"W", 'H', 0, hole("AddWebHole", false)},
        {Face::Web, 'F', u"W", 'H', 2, hole("AddWebHoleEx", true)},
        {Face::Web, 'F', u"W", 'H', 1, hole("AddWebHole", false)},
        {Face::Web, 'F', u"W", 'M', 2, mark("AddWebMark")},
        {Face::Web, 'B', u"ST", 'H', 0, hole("AddWeb2Hole", false)},
        {Face::Web, 'B', u"ST", 'H', 2, hole("AddWeb2HoleEx", true)},
        {Face::Web, 'B', u"TS", 'H', 0, hole("AddWeb2Hole", false)},
        {Face::Web, 'B', u"TS", 'M', 0, mark("AddWebHiddenMark")},
        {Face::Web, 'B', u"W", 'H', 2, mark("AddWebHiddenMark")}, // the tool is dropped
        // Sections compare as the catalog finds them, without regard to case.
        {Face::Web, 'B', u"st", 'H', 0, hole("AddWeb2Hole", false)},
        {Face::Web, 'B', u"Ts", 'H', 2, hole("AddWeb2HoleEx", true)},
        {Face::Web, 'X', u"W", 'H', 0, ""},
        {Face::Web, 'f', u"W", 'H', 0, ""},
        {Face::Top, 'X', u"W", 'H', 0, hole("AddTFNearHole", false)},
        {Face::Top, 'B', u"W", 'H', 2, hole("AddTFNearHoleEx", true)},
        {Face::Top, 'F', u"W", 'h', 0, mark("AddTFNearMark")},
        {Face::Bottom, 'F', u"W", 'H', 1, hole("AddBFNearHole", false)},
        {Face::Bottom, 'F', u"W", 'H', 2, hole("AddBFNearHoleEx", true)},
        {Face::Bottom, 'B', u"TS", 'M', 0, mark("AddBFNearMark")},
    };
    for (const Case& c : cases) {
        const std::string section(c.section,
                                  c.section + std::char_traits<char16_t>::length(c.section));
        SCOPED_TRACE(section + " " + c.frontBack + c.type + " face " +
                     std::to_string(static_cast<int>(c.face)) + " ms " +
                     std::to_string(c.toolMeasuringSystem));
        calls().clear();
        CComPtr<ICADPart2> part = newPart(c.section);
        ASSERT_EQ(addOperation(part, c.face, c.frontBack, c.type, c.toolMeasuringSystem), S_OK);
        ASSERT_EQ(part->SaveToTarsis(), S_OK);
        Calls expected{lookup(section), createPart(section), kDefaultPlane, kRecordPlane};
        if (!c.call.empty())
            expected.push_back(c.call);
        expected.push_back("SavePart()");
        EXPECT_EQ(calls(), expected);
    }
}

TEST_F(CADPart2, EachFaceHasOneDefaultPlaneAndAPlanePerOperation)
{
    CComPtr<ICADPart2> part = newPart(u"PL");
    TestBstr text(u"T");
    part->SetBFStencil(3, 3, text);
    part->SetTFStencil(2, 2, text);
    part->SetWebStencil(1, 1, text);
    addOperation(part, Face::Bottom, 'F', 'M', 0);
    addOperation(part, Face::Web, 'F', 'H', 0);
    addOperation(part, Face::Web, 'X', 'H', 0); // plane only; the next is still sent
    addOperation(part, Face::Web, 'F', 'M', 0);
    ASSERT_EQ(part->SaveToTarsis(), S_OK);
    EXPECT_EQ(calls(),
              (Calls{createPart("PL"), kDefaultPlane, kRecordPlane, hole("AddWebHole", false),
                     kRecordPlane, kRecordPlane, mark("AddWebMark"), kDefaultPlane, kRecordPlane,
                     mark("AddBFNearMark"), "AddWebStencil(1, 1, \"T\")",
                     "AddTFStencil(2, 2, \"T\")", "AddBFStencil(3, 3, \"T\")", "SavePart()"}));
}

TEST_F(CADPart2, PartWithoutOperationsSendsNoPlane)
{
    CComPtr<ICADPart2> part = newPart(u"W");
    ASSERT_EQ(part->SaveToTarsis(), S_OK);
    EXPECT_EQ(calls(), (Calls{lookup("W"), createPart("W"), "SavePart()"}));
}

TEST_F(CADPart2, PlateSavesWithoutAShapeServer)
{
    unregisterRecorder(kShapeServer);
    CComPtr<ICADPart2> part = newPart(u"PL");
    ASSERT_EQ(part->SaveToTarsis(), S_OK);
    EXPECT_EQ(calls(), (Calls{createPart("PL"), "SavePart()"}));
}

TEST_F(CADPart2, UndefinedShapeByAnswerOrByMissingText)
{
    struct Case {
        LONG answer;
        bool text;
    };
    for (const Case& c : {Case{1, true}, Case{0, false}}) {
        SCOPED_TRACE(c.answer);
        calls().clear();
        m_tarsis->results["LookupShape"] = c.answer;
        if (c.text)
            m_tarsis->lookupText = u"formal";
        else
            m_tarsis->lookupText.reset();
        CComPtr<ICADPart2> part = newPart(u"W");
        EXPECT_EQ(part->SaveToTarsis(), E_CONVERT_UNDEFINED_SHAPE);
        const ErrorReport error = takeErrorReport();
        EXPECT_EQ(error.description, "Job J1 Group G1 Mark M1 has an undefined shape W:W8X10"
                                     "\r\n\tAdd the Shape thru Tarsis and reconvert the part");
        EXPECT_EQ(error.guid, IID_ICADPart2);
        EXPECT_EQ(error.source, "Velmora.CADPart2.1");
        EXPECT_EQ(calls(), (Calls{lookup("W")}));
    }
}

TEST_F(CADPart2, RefusedBottomFlangeCallsDoNotStopTheSave)
{
    m_tarsis->results["AddBFNearHole"] = -1;
    m_tarsis->results["AddWebHiddenMark"] = -1;
    CComPtr<ICADPart2> part = newPart(u"PL");
    addOperation(part, Face::Web, 'B', 'M', 0);
    addOperation(part, Face::Bottom, 'F', 'H', 0);
    EXPECT_EQ(part->SaveToTarsis(), S_OK);
    EXPECT_EQ(calls().back(), "SavePart()");
}

TEST_F(CADPart2, RefusedTopFlangeCallEndsTheSave)
{
    m_tarsis->results["AddTFNearMark"] = -1;
    CComPtr<ICADPart2> part = newPart(u"PL");
    addOperation(part, Face::Top, 'F', 'M', 0);
    addOperation(part, Face::Bottom, 'F', 'M', 0);
    EXPECT_EQ(part->SaveToTarsis(), -1);
    EXPECT_EQ(takeErrorReport().description,
              hresultMessage(-1) + "\r\nCom Error while SaveToTarsis");
    EXPECT_EQ(calls().back(), mark("AddTFNearMark"));
}

// The text of a failure the save goes past (a bottom-flange call) does not
// stand for a later failure that comes without one.
TEST_F(CADPart2, AFailureIsReportedWithItsOwnTextOnly)
{
    const HRESULT busy = HRESULT_FROM_WIN32(33);
    m_tarsis->results["AddBFNearMark"] = -1;
    m_tarsis->errorTexts["AddBFNearMark"] = u"earlier failure";
    m_tarsis->results["SavePart"] = busy;
    CComPtr<ICADPart2> part = newPart(u"PL");
    addOperation(part, Face::Bottom, 'F', 'M', 0);
    EXPECT_EQ(part->SaveToTarsis(), busy);
    EXPECT_EQ(takeErrorReport().description,
              hresultMessage(busy) + "\r\nCom Error while SaveToTarsis");

    m_tarsis->errorTexts["SavePart"] = u"Tarsis database T is busy";
    EXPECT_EQ(part->SaveToTarsis(), busy);
    EXPECT_EQ(takeErrorReport().description, hresultMessage(busy) +
                                                 "\r\nCom Error while SaveToTarsis\r\n"
                                                 "Tarsis database T is busy");
}

// A lookup that fails is the database's failure, not an undefined shape.
TEST_F(CADPart2, FailingLookupIsADatabaseFailureNotAnUndefinedShape)
{
    const HRESULT readOnly = E_ACCESSDENIED;
    m_tarsis->results["LookupShape"] = readOnly;
    m_tarsis->errorTexts["LookupShape"] = u"Tarsis database T is read-only";
    m_tarsis->lookupText.reset();
    CComPtr<ICADPart2> part = newPart(u"W");
    EXPECT_EQ(part->SaveToTarsis(), readOnly);
    EXPECT_EQ(takeErrorReport().description, hresultMessage(readOnly) +
                                                 "\r\nCom Error while SaveToTarsis\r\n"
                                                 "Tarsis database T is read-only");
    EXPECT_EQ(calls().size(), 1u);
}

TEST_F(CADPart2, MissingPartWriterIsReportedAgainstICADPart2)
{
    unregisterRecorder(kPartWriter);
    CComPtr<ICADPart2> part = newPart(u"PL");
    EXPECT_EQ(part->SaveToTarsis(), E_POINTER);
    const ErrorReport error = takeErrorReport();
    EXPECT_EQ(error.description, hresultMessage(E_POINTER) + "\r\nCom Error while SaveToTarsis");
    EXPECT_EQ(error.guid, IID_ICADPart2);
}

TEST_F(CADPart2, FirstXIsRoundedTo64thsAndToolsTo16thsOnSave)
{
    CComPtr<ICADPart2> part = newPart(u"PL");
    TestBstr sl(u"SL");
    part->SetWebOperation(0.3, 0.3, '+', '+', 'A', 0, 0, 1.0078125, 0.3, 70000, 0.3, 1, 0.3, 'H',
                          'F', 0.81, 0.8125, sl, 90);
    part->put_Quantity(32767);
    for (int save = 0; save < 2; ++save) {
        SCOPED_TRACE(save);
        calls().clear();
        ASSERT_EQ(part->SaveToTarsis(), S_OK);
        // The sizes become equal, so the slot becomes a round hole.
        EXPECT_EQ(calls(),
                  (Calls{createPart("PL", "32767s"), kDefaultPlane,
                         "SetRefPlane(0.3, 0.3, 0, 0, \"+\", \"+\", \"A\")",
                         "AddWebHole(1.015625, 0.3, 0.3, 0.3, 4464s, 1s, 0.8125, 0, \"RD\", 0s)",
                         "SavePart()"}));
    }
}

TEST_F(CADPart2, QuantityTheDatabaseCannotHoldIsRefused)
{
    CComPtr<ICADPart2> part = newPart(u"PL");
    part->put_Quantity(40000);
    EXPECT_EQ(part->SaveToTarsis(), DISP_E_OVERFLOW);
    const ErrorReport error = takeErrorReport();
    EXPECT_EQ(error.description, "Job J1 Group G1 Mark M1 has a quantity of 40000, more than the "
                                 "database can hold (32767)");
    EXPECT_EQ(error.guid, IID_ICADPart2);
    EXPECT_TRUE(calls().empty());
}

TEST_F(CADPart2, StringPropertiesStartEmptyAndFreeWhatTheyReplace)
{
    CComPtr<ICADPart2> part = create<ICADPart2>(CLSID_CADPart2);
    TestBstr value;
    ASSERT_EQ(part->get_Grade(value.out()), S_OK);
    EXPECT_EQ(value.text(), u""); // empty, not null
    TestBstr grade(u"A36\0x", 5);
    part->put_Grade(grade);
    ASSERT_EQ(part->get_Grade(value.out()), S_OK); // the old string is freed
    EXPECT_EQ(value.text(), u"A36");
    part->put_Grade(nullptr);
    ASSERT_EQ(part->get_Grade(value.out()), S_OK);
    EXPECT_EQ(value.text(), u"(null)");

    LONG quantity = 0;
    double length = 0;
    part->put_Quantity(-4);
    part->put_Length(12.5);
    part->get_Quantity(&quantity);
    part->get_Length(&length);
    EXPECT_EQ(quantity, -4);
    EXPECT_EQ(length, 12.5);
}

TEST_F(CADPart2, IsNotAggregatableAndSupportsErrorInfoForICADPart2)
{
    CComPtr<ICADPart2> part = create<ICADPart2>(CLSID_CADPart2);
    CComQIPtr<ISupportErrorInfo> support(part.p);
    ASSERT_TRUE(support);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_ICADPart2), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_ICADPart), S_FALSE);

    // Any outer object is refused before it is used.
    IUnknown* inner = reinterpret_cast<IUnknown*>(0x1);
    EXPECT_EQ(CoCreateInstance(CLSID_CADPart2, part.p, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&inner)),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(inner, nullptr);
}

} // namespace
