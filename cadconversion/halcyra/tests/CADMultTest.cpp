// CCADMult against the recording Tarsis double: the save (mark cut, grade
// emptied, pieces in order), the queries and their answers, and failures.
#include "HalcyraFixture.h"

#include <string>
#include <vector>

namespace {

using Calls = std::vector<std::string>;

class CADMult : public HalcyraTest {
protected:
    CComPtr<ICADMult> newMult(const char16_t* markText = u"M1")
    {
        CComPtr<ICADMult> mult = create<ICADMult>(CLSID_CADMult);
        TestBstr job(u"J1"), group(u"G1"), mark(markText), section(u"W"), description(u"W8X10");
        mult->put_JobId(job);
        mult->put_Group(group);
        mult->put_Mark(mark);
        mult->put_Section(section);
        mult->put_SectionDescription(description);
        return mult;
    }

    static std::string createMult(const std::string& mark = "M1",
                                  const std::string& quantity = "0s",
                                  const std::string& machine = "null")
    {
        return "CreateMult(\"J1\", \"G1\", \"" + mark + "\", 1s, " + quantity +
               ", 0, 0, \"W\", \"W8X10\", \"\", " + machine + ", \"\", \"\", 0s)";
    }
};

TEST_F(CADMult, SavesTheBarAndItsPiecesInOrder)
{
    CComPtr<ICADMult> mult = newMult();
    TestBstr grade(u"A36"), machine(u"SAW1"), job(u"J2"), group(u"G2"), a(u"A"), b(u"B");
    mult->put_Grade(grade);
    mult->put_Machine(machine);
    mult->put_Quantity(32767);
    mult->put_Length(240);
    mult->put_Kerf(0.125);
    mult->SetMetric(3);
    mult->AddPart(job, group, a, 70000);
    mult->AddPart(nullptr, group, b, 2);
    ASSERT_EQ(mult->SaveToTarsis(), S_OK);
    EXPECT_EQ(calls(), (Calls{"CreateMult(\"J1\", \"G1\", \"M1\", 1s, 32767s, 240, 0.125, \"W\", "
                              "\"W8X10\", \"\", \"SAW1\", \"\", \"\", 2s)",
                              "AddMultPart(\"J2\", \"G2\", \"A\", 70000L)",
                              "AddMultPart(null, \"G2\", \"B\", 2L)", "SaveMult()"}));
    TestBstr after;
    ASSERT_EQ(mult->get_Grade(after.out()), S_OK);
    EXPECT_EQ(after.text(), u""); // the mult is written, and kept, without a grade
}

TEST_F(CADMult, QuantityTheDatabaseCannotHoldIsRefused)
{
    CComPtr<ICADMult> mult = newMult();
    mult->put_Quantity(-40000);
    EXPECT_EQ(mult->SaveToTarsis(), DISP_E_OVERFLOW);
    const ErrorReport error = takeErrorReport();
    EXPECT_EQ(error.description, "Job J1 Group G1 Mark M1 has a quantity of -40000, less than "
                                 "the database can hold (-32768)");
    EXPECT_EQ(error.guid, IID_ICADMult);
    EXPECT_TRUE(calls().empty());
}

TEST_F(CADMult, MarkReachesTarsisWithAtMostNineCharacters)
{
    struct Case {
        const char16_t* mark;
        const char* sent;
    };
    for (const Case& c :
         {Case{u"123456789", "123456789"}, Case{u"12345678901", "123456789"}, Case{u"", ""}}) {
        SCOPED_TRACE(c.sent);
        calls().clear();
        CComPtr<ICADMult> mult = newMult(c.mark);
        ASSERT_EQ(mult->SaveToTarsis(), S_OK);
        EXPECT_EQ(calls(), (Calls{createMult(c.sent), "SaveMult()"}));
        TestBstr mark;
        mult->get_Mark(mark.out());
        const std::string sent(c.sent);
        EXPECT_EQ(mark.text(), std::u16string(sent.begin(), sent.end()));
    }
}

TEST_F(CADMult, RefusedPieceStopsTheSave)
{
    m_tarsis->results["AddMultPart"] = -2;
    CComPtr<ICADMult> mult = newMult();
    TestBstr a(u"A"), b(u"B");
    mult->AddPart(a, a, a, 1);
    mult->AddPart(b, b, b, 1);
    m_tarsis->errorTexts["AddMultPart"] = u"Tarsis database T is full";
    EXPECT_EQ(mult->SaveToTarsis(), -2);
    const std::string text = takeErrorReport().description;
    EXPECT_EQ(text.rfind(hresultMessage(-2) + "\r\n", 0), 0u);
    EXPECT_EQ(text.substr(text.size() - 27), "\r\nTarsis database T is full");
    EXPECT_EQ(calls(), (Calls{createMult(), "AddMultPart(\"A\", \"A\", \"A\", 1L)"}));
}

TEST_F(CADMult, CheckMachineAnswersWhetherTarsisKnowsIt)
{
    struct Case {
        bool setMachine;
        LONG answer;
        HRESULT hr;
        const char16_t* name; // what the caller gets back
    };
    const Case cases[] = {
        {false, 1, S_FALSE, u"(null)"}, // a null machine is sent
        {true, 0, S_OK, u"(null)"},
        {true, 1, S_FALSE, u"SAW1"},
        {true, -5, S_FALSE, u"SAW1"}, // negative means not known too
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        calls().clear();
        m_tarsis->results["CheckMachine"] = c.answer;
        CComPtr<ICADMult> mult = newMult();
        TestBstr machine(u"SAW1");
        if (c.setMachine)
            mult->put_Machine(machine);
        TestBstr name(u"stale"); // freed by the call
        EXPECT_EQ(mult->CheckMachine(name.out()), c.hr);
        EXPECT_EQ(name.text(), c.name);
        EXPECT_EQ(calls(), (Calls{c.setMachine ? "CheckMachine(\"SAW1\")" : "CheckMachine(null)"}));
    }
}

TEST_F(CADMult, CheckPartAnswersWhetherThePieceIsKnown)
{
    CComPtr<ICADMult> mult = newMult();
    TestBstr job(u"J"), group(u"G"), mark(u"P");
    for (LONG answer : {0, 1, -1}) {
        SCOPED_TRACE(answer);
        m_tarsis->results["CheckPart"] = answer;
        EXPECT_EQ(mult->CheckPart(job, group, mark), answer == 0 ? S_OK : S_FALSE);
    }
    EXPECT_EQ(calls(), Calls(3, "CheckPart(\"J\", \"G\", \"P\")"));
}

TEST_F(CADMult, GetMultSectionAndDescriptionAsksTheWriter)
{
    CComPtr<ICADMult> mult = newMult();
    TestBstr job(u"J"), group(u"G"), mark(u"P"), section, description;
    EXPECT_EQ(
        mult->GetMultSectionAndDescription(job, group, mark, section.out(), description.out()),
        S_OK);
    EXPECT_EQ(section.text(), u"W");
    EXPECT_EQ(description.text(), u"W8X10");
    EXPECT_EQ(calls(), (Calls{"GetMultSectionAndDescription(\"J\", \"G\", \"P\", &bstr, &bstr)"}));

    m_tarsis->results["GetMultSectionAndDescription"] = -3;
    TestBstr s2, d2;
    EXPECT_EQ(mult->GetMultSectionAndDescription(job, group, mark, s2.out(), d2.out()), -3);
}

TEST_F(CADMult, CheckPartsLeavesItsOutParametersAlone)
{
    CComPtr<ICADMult> mult = newMult();
    LONG count = 77;
    BSTR* jobs = reinterpret_cast<BSTR*>(0x10);
    BSTR* groups = reinterpret_cast<BSTR*>(0x20);
    BSTR* marks = reinterpret_cast<BSTR*>(0x30);
    EXPECT_EQ(mult->CheckParts(&count, &jobs, &groups, &marks), S_OK);
    EXPECT_EQ(count, 77);
    EXPECT_EQ(jobs, reinterpret_cast<BSTR*>(0x10));
    EXPECT_EQ(groups, reinterpret_cast<BSTR*>(0x20));
    EXPECT_EQ(marks, reinterpret_cast<BSTR*>(0x30));
    EXPECT_TRUE(calls().empty());
}

TEST_F(CADMult, MissingWriterIsAComErrorInEveryMethodThatCallsIt)
{
    unregisterRecorder(kMultWriter);
    CComPtr<ICADMult> mult = newMult();
    TestBstr job(u"J"), name, section, description;
    const std::string text = hresultMessage(E_POINTER) + "\r\nCom Error while SaveToTarsis";
    const HRESULT results[] = {
        mult->CheckPart(job, job, job),
        mult->CheckMachine(name.out()),
        mult->GetMultSectionAndDescription(job, job, job, section.out(), description.out()),
        mult->SaveToTarsis(),
    };
    for (HRESULT hr : results)
        EXPECT_EQ(hr, E_POINTER);
    // Each report replaces the one before; the last is read here.
    const ErrorReport error = takeErrorReport();
    EXPECT_EQ(error.description, text);
    EXPECT_EQ(error.guid, IID_ICADMult);
    EXPECT_EQ(error.source, "Halcyra.CADMult.1");

    EXPECT_EQ(mult->CheckPart(job, job, job), E_POINTER);
    EXPECT_EQ(takeErrorReport().description, text);
}

TEST_F(CADMult, PropertiesReadBackAndMachineStartsNull)
{
    CComPtr<ICADMult> mult = create<ICADMult>(CLSID_CADMult);
    TestBstr machine, job;
    mult->get_Machine(machine.out());
    mult->get_JobId(job.out());
    EXPECT_EQ(machine.text(), u"(null)");
    EXPECT_EQ(job.text(), u"");
    double kerf = 0;
    mult->put_Kerf(0.25);
    mult->get_Kerf(&kerf);
    EXPECT_EQ(kerf, 0.25);

    CComQIPtr<ISupportErrorInfo> support(mult.p);
    ASSERT_TRUE(support);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_ICADMult), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_ICADPart), S_FALSE);
}

TEST_F(CADMult, CanBeAggregated)
{
    Outer outer;
    ASSERT_EQ(CoCreateInstance(CLSID_CADMult, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&outer.inner)),
              S_OK);
    ICADMult* mult = nullptr;
    ASSERT_EQ(outer.QueryInterface(IID_ICADMult, reinterpret_cast<void**>(&mult)), S_OK);
    EXPECT_EQ(outer.refs, 2u);
    mult->Release();
    outer.inner->Release();
}

} // namespace
