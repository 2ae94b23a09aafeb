// The mult writer through CoCreateInstance and Invoke: mults with their
// pieces, the transaction rules, and the machine and part questions.
#include "ServerFixture.h"

#include "com/Bstr.h"
#include "com/CodePage.h"

namespace tarsis::testing {
namespace {

namespace mw = multwriter;

std::vector<CComVariant> createMultArgs(const char* mark, const char* machine = "SAW1")
{
    return {CComVariant("J1"),     CComVariant("G1"),     CComVariant(mark),
            CComVariant(SHORT(1)), CComVariant(SHORT(4)), CComVariant(480.0),
            CComVariant(0.125),    CComVariant("L"),      CComVariant("43014"),
            CComVariant(""),       CComVariant(machine),  CComVariant(""),
            CComVariant(""),       CComVariant(SHORT(0))};
}

std::vector<CComVariant> pieceArgs(const char* mark, LONG quantity)
{
    return {CComVariant("J1"), CComVariant("G1"), CComVariant(mark), CComVariant(quantity)};
}

std::string text(BSTR b)
{
    return b ? narrowFromBstr(b) : "<null>";
}

class MultWriterTest : public ServerTest {};

TEST_F(MultWriterTest, AMultIsSavedWithItsPiecesInOrderAndReplacedOnResave)
{
    {
        auto writer = multWriter();
        ASSERT_TRUE(writer);
        ASSERT_EQ(call(writer, mw::CreateMult, createMultArgs("BAR1")), 0);
        ASSERT_EQ(call(writer, mw::AddMultPart, pieceArgs("P2", 70000)), 0);
        ASSERT_EQ(call(writer, mw::AddMultPart, pieceArgs("P1", 2)), 0);
        ASSERT_EQ(call(writer, mw::SaveMult, {}), 0);
    }
    auto mult = store()->findMult({"J1", "G1", "BAR1"});
    ASSERT_TRUE(mult);
    const MultHeader& h = mult->header;
    EXPECT_EQ(h.number, 1);
    EXPECT_EQ(h.quantity, 4);
    EXPECT_EQ(h.length, 480);
    EXPECT_EQ(h.kerf, 0.125);
    EXPECT_EQ(h.shape, (ShapeKey{"L", "43014"}));
    EXPECT_EQ(h.machine, "SAW1");
    ASSERT_EQ(mult->pieces.size(), 2u);
    EXPECT_EQ(mult->pieces[0].key, (PartKey{"J1", "G1", "P2"}));
    EXPECT_EQ(mult->pieces[0].quantity, 70000);

    auto writer = multWriter();
    ASSERT_EQ(call(writer, mw::CreateMult, createMultArgs("BAR1")), 0);
    ASSERT_EQ(call(writer, mw::AddMultPart, pieceArgs("P3", 1)), 0);
    ASSERT_EQ(call(writer, mw::SaveMult, {}), 0);
    ASSERT_EQ(store()->listMults().size(), 1u);
    EXPECT_EQ(store()->findMult({"J1", "G1", "BAR1"})->pieces.size(), 1u);
}

TEST_F(MultWriterTest, OnlySaveMultWritesAndOnlyAfterCreateMult)
{
    auto writer = multWriter();
    EXPECT_LT(call(writer, mw::AddMultPart, pieceArgs("P1", 1)), 0);
    EXPECT_LT(call(writer, mw::SaveMult, {}), 0);
    ASSERT_EQ(call(writer, mw::CreateMult, createMultArgs("DROPPED")), 0);
    ASSERT_EQ(call(writer, mw::AddMultPart, pieceArgs("P1", 1)), 0);
    ASSERT_EQ(call(writer, mw::CreateMult, createMultArgs("KEPT")), 0);
    ASSERT_EQ(call(writer, mw::SaveMult, {}), 0);
    EXPECT_LT(call(writer, mw::SaveMult, {}), 0);
    {
        auto unsaved = multWriter();
        ASSERT_EQ(call(unsaved, mw::CreateMult, createMultArgs("LOST")), 0);
    }
    auto mults = store()->listMults();
    ASSERT_EQ(mults.size(), 1u);
    EXPECT_EQ(mults[0].key.mark, "KEPT");
    EXPECT_EQ(mults[0].pieceCount, 0);
    EXPECT_EQ(invoke(writer, mw::AddMultPart, {CComVariant("J1")}).hr, DISP_E_BADPARAMCOUNT);
}

TEST_F(MultWriterTest, MachinesAndPartsAreCheckedAgainstTheDatabase)
{
    PartRecord part;
    part.header.key = {"J1", "G1", "P1"};
    part.header.shape = {"L", "43014"};
    store()->savePart(part);
    auto writer = multWriter();
    struct Case {
        DISPID dispid;
        std::vector<CComVariant> args;
        LONG expected;
    };
    const Case cases[] = {
        {mw::CheckMachine, {CComVariant("SAW1")}, 0},
        {mw::CheckMachine, {CComVariant("saw1")}, 0},
        {mw::CheckMachine, {CComVariant("LASER9")}, 1},
        {mw::CheckMachine, {CComVariant(static_cast<LPCOLESTR>(nullptr))}, 1},
        {mw::CheckPart, {CComVariant("J1"), CComVariant("G1"), CComVariant("P1")}, 0},
        {mw::CheckPart, {CComVariant("J1"), CComVariant("G1"), CComVariant("P2")}, 1},
        {mw::CheckPart, {CComVariant("J2"), CComVariant("G1"), CComVariant("P1")}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dispid);
        EXPECT_EQ(call(writer, c.dispid, c.args), c.expected);
    }

    BSTR section = SysAllocString(u"old");
    BSTR description = nullptr;
    EXPECT_EQ(call(writer, mw::GetMultSectionAndDescription,
                   {CComVariant("J1"), CComVariant("G1"), CComVariant("P1"), byRef(&section),
                    byRef(&description)}),
              0);
    EXPECT_EQ(text(section), "L");
    EXPECT_EQ(text(description), "43014");
    EXPECT_EQ(call(writer, mw::GetMultSectionAndDescription,
                   {CComVariant("J1"), CComVariant("G1"), CComVariant("NONE"), byRef(&section),
                    byRef(&description)}),
              1);
    EXPECT_EQ(text(section), "");
    EXPECT_EQ(text(description), "");
    SysFreeString(section);
    SysFreeString(description);
}

TEST_F(MultWriterTest, ADatabaseFailureAnswersNegative)
{
    std::string damaged = databasePath() + ".damaged";
    writeFile(damaged, std::string(6000, '#'));
    useDatabase(damaged);
    auto writer = multWriter();
    EXPECT_LT(call(writer, mw::CheckMachine, {CComVariant("SAW1")}), 0);
    EXPECT_LT(
        call(writer, mw::CheckPart, {CComVariant("J1"), CComVariant("G1"), CComVariant("P1")}), 0);
    ASSERT_EQ(call(writer, mw::CreateMult, createMultArgs("BAR1")), 0);
    EXPECT_LT(call(writer, mw::SaveMult, {}), 0);
    EXPECT_EQ(readFile(damaged), std::string(6000, '#'));
}

} // namespace
} // namespace tarsis::testing
