// The part writer through CoCreateInstance and Invoke: every call and its
// arguments reach the database in arrival order, only SavePart writes, a
// re-save replaces, and every failure is a negative result that changes
// nothing.
#include "ServerFixture.h"
#include "tarsis/StoreError.h"

#include <sys/wait.h>

#include <cstdio>
#include <unistd.h>

namespace tarsis::testing {
namespace {

namespace pw = partwriter;

std::vector<CComVariant> holeArgs(double x)
{
    return {CComVariant(x),        CComVariant(2.5),      CComVariant(3.0),    CComVariant(0.5),
            CComVariant(SHORT(4)), CComVariant(SHORT(2)), CComVariant(0.8125), CComVariant(1.25),
            CComVariant("SL"),     CComVariant(SHORT(90))};
}

std::vector<CComVariant> markArgs(double x)
{
    return {CComVariant(x),   CComVariant(1.5),      CComVariant(2.0),
            CComVariant(0.0), CComVariant(SHORT(3)), CComVariant(SHORT(1))};
}

std::vector<CComVariant> planeArgs(const char* pattern)
{
    return {CComVariant(0.0), CComVariant(3.245), CComVariant(0.0),    CComVariant(0.0),
            CComVariant("+"), CComVariant("-"),   CComVariant(pattern)};
}

class PartWriterTest : public ServerTest {
protected:
    LONG savePart(IDispatch* writer) { return call(writer, pw::SavePart, {}); }
    void saveSimplePart(const char* mark, int marks)
    {
        auto writer = partWriter();
        ASSERT_EQ(call(writer, pw::CreatePart, createPartArgs("J1", "G1", mark)), 0);
        for (int i = 0; i < marks; ++i)
            ASSERT_EQ(call(writer, pw::AddWebMark, markArgs(i)), 0);
        ASSERT_EQ(savePart(writer), 0);
    }
};

TEST_F(PartWriterTest, EveryCallIsStoredInArrivalOrderWithItsArguments)
{
    struct AddCall {
        DISPID dispid;
        OperationKind kind;
        Face face;
        bool ex;
    };
    const AddCall adds[] = {
        {pw::AddWebHole, OperationKind::Hole, Face::Web, false},
        {pw::AddTFNearHole, OperationKind::Hole, Face::TFNear, false},
        {pw::AddTFFarHole, OperationKind::Hole, Face::TFFar, false},
        {pw::AddTFNearFarHole, OperationKind::Hole, Face::TFNearFar, false},
        {pw::AddBFNearHole, OperationKind::Hole, Face::BFNear, false},
        {pw::AddBFFarHole, OperationKind::Hole, Face::BFFar, false},
        {pw::AddBFNearFarHole, OperationKind::Hole, Face::BFNearFar, false},
        {pw::AddWeb2Hole, OperationKind::Hole, Face::Web2, false},
        {pw::AddWebHoleEx, OperationKind::Hole, Face::Web, true},
        {pw::AddTFNearHoleEx, OperationKind::Hole, Face::TFNear, true},
        {pw::AddTFFarHoleEx, OperationKind::Hole, Face::TFFar, true},
        {pw::AddTFNearFarHoleEx, OperationKind::Hole, Face::TFNearFar, true},
        {pw::AddBFNearHoleEx, OperationKind::Hole, Face::BFNear, true},
        {pw::AddBFFarHoleEx, OperationKind::Hole, Face::BFFar, true},
        {pw::AddBFNearFarHoleEx, OperationKind::Hole, Face::BFNearFar, true},
        {pw::AddWeb2HoleEx, OperationKind::Hole, Face::Web2, true},
        {pw::AddWebMark, OperationKind::Mark, Face::Web, false},
        {pw::AddTFNearMark, OperationKind::Mark, Face::TFNear, false},
        {pw::AddTFFarMark, OperationKind::Mark, Face::TFFar, false},
        {pw::AddTFNearFarMark, OperationKind::Mark, Face::TFNearFar, false},
        {pw::AddBFNearMark, OperationKind::Mark, Face::BFNear, false},
        {pw::AddBFFarMark, OperationKind::Mark, Face::BFFar, false},
        {pw::AddBFNearFarMark, OperationKind::Mark, Face::BFNearFar, false},
        {pw::AddWebHiddenMark, OperationKind::HiddenMark, Face::Web, false},
        {pw::AddWebStencil, OperationKind::Stencil, Face::Web, false},
        {pw::AddTFStencil, OperationKind::Stencil, Face::TF, false},
        {pw::AddBFStencil, OperationKind::Stencil, Face::BF, false},
    };
    auto writer = partWriter();
    ASSERT_TRUE(writer);
    std::vector<CComVariant> header = {
        CComVariant("J-7"),       CComVariant("Träger"), CComVariant("B12"),
        CComVariant(SHORT(4464)), CComVariant(240.5),    CComVariant("W"),
        CComVariant("1226"),      CComVariant("A992"),   CComVariant("t1"),
        CComVariant(LONG(70000)), CComVariant("t2"),     CComVariant("t3"),
        CComVariant(SHORT(2)),    CComVariant(SHORT(1))};
    ASSERT_EQ(call(writer, pw::CreatePart, header), 0);
    ASSERT_EQ(call(writer, pw::SetRefPlane, planeArgs("A")), 0);
    int n = 0;
    for (const AddCall& add : adds) {
        SCOPED_TRACE(add.dispid);
        double x = 10 + n++;
        std::vector<CComVariant> args;
        if (add.kind == OperationKind::Hole) {
            args = holeArgs(x);
            if (add.ex)
                args.emplace_back(SHORT(2));
        } else if (add.kind == OperationKind::Stencil) {
            args = {CComVariant(x), CComVariant(4.0), CComVariant("PIECE 7")};
        } else {
            args = markArgs(x);
        }
        ASSERT_EQ(call(writer, add.dispid, args), 0);
        if (n == 8) {
            ASSERT_EQ(call(writer, pw::SetRefPlane, planeArgs("C")), 0);
        }
    }
    ASSERT_EQ(savePart(writer), 0);

    auto part = store()->findPart({"J-7", "Träger", "B12"});
    ASSERT_TRUE(part);
    const PartHeader& h = part->header;
    EXPECT_EQ(h.quantity, 4464);
    EXPECT_EQ(h.length, 240.5);
    EXPECT_EQ(h.shape, (ShapeKey{"W", "1226"}));
    EXPECT_EQ(h.grade, "A992");
    EXPECT_EQ(h.text1, "t1");
    EXPECT_EQ(h.number, 70000);
    EXPECT_EQ(h.text2, "t2");
    EXPECT_EQ(h.text3, "t3");
    EXPECT_EQ(h.measuringSystem, 2);
    EXPECT_EQ(h.partKind, 1);

    ASSERT_EQ(part->entries.size(), std::size(adds) + 2);
    auto plane = std::get<RefPlane>(part->entries[0]);
    EXPECT_EQ(plane.startU, 3.245);
    EXPECT_EQ(plane.directionU, "-");
    EXPECT_EQ(plane.pattern, "A");
    EXPECT_EQ(std::get<RefPlane>(part->entries[9]).pattern, "C");
    n = 0;
    for (const PartEntry& entry : part->entries) {
        if (std::holds_alternative<RefPlane>(entry))
            continue;
        const AddCall& add = adds[n];
        SCOPED_TRACE(add.dispid);
        const Operation& op = std::get<Operation>(entry);
        EXPECT_EQ(op.kind, add.kind);
        EXPECT_EQ(op.face, add.face);
        EXPECT_EQ(op.x, 10 + n++);
        if (add.kind == OperationKind::Hole) {
            EXPECT_EQ(op.u, 2.5);
            EXPECT_EQ(op.xInc, 3.0);
            EXPECT_EQ(op.uInc, 0.5);
            EXPECT_EQ(op.numX, 4);
            EXPECT_EQ(op.numU, 2);
            EXPECT_EQ(op.toolSize1, 0.8125);
            EXPECT_EQ(op.toolSize2, 1.25);
            EXPECT_EQ(op.toolShape, "SL");
            EXPECT_EQ(op.orientation, 90);
            EXPECT_EQ(op.toolMeasuringSystem, add.ex ? std::optional<int>(2) : std::nullopt);
        } else if (add.kind == OperationKind::Stencil) {
            EXPECT_EQ(op.u, 4.0);
            EXPECT_EQ(op.text, "PIECE 7");
        } else {
            EXPECT_EQ(op.u, 1.5);
            EXPECT_EQ(op.xInc, 2.0);
            EXPECT_EQ(op.numX, 3);
            EXPECT_EQ(op.numU, 1);
        }
    }
}

TEST_F(PartWriterTest, ArgumentsAreCoercedAsAutomationDoes)
{
    auto writer = partWriter();
    std::vector<CComVariant> args = createPartArgs("J1", "G1", "M1");
    args[3] = CComVariant(LONG(5)); // an I4 where an I2 is declared
    args[4] = CComVariant("12.5");  // a number as text
    ASSERT_EQ(call(writer, pw::CreatePart, args), 0);
    ASSERT_EQ(savePart(writer), 0);
    auto part = store()->findPart({"J1", "G1", "M1"});
    ASSERT_TRUE(part);
    EXPECT_EQ(part->header.quantity, 5);
    EXPECT_EQ(part->header.length, 12.5);
}

TEST_F(PartWriterTest, AWrongArgumentCountOrTypeIsRefusedAndStoresNothing)
{
    auto writer = partWriter();
    ASSERT_EQ(call(writer, pw::CreatePart, createPartArgs("J1", "G1", "M1")), 0);
    std::vector<CComVariant> shortCreate = createPartArgs("J1", "G1", "M2");
    shortCreate.pop_back();
    std::vector<CComVariant> longMark = markArgs(1);
    longMark.emplace_back(SHORT(1));
    std::vector<CComVariant> textForNumber = holeArgs(1);
    textForNumber[0] = CComVariant("left");
    std::vector<CComVariant> tooBigForI2 = markArgs(1);
    tooBigForI2[4] = CComVariant(LONG(70000));
    struct Case {
        const char* name;
        DISPID dispid;
        std::vector<CComVariant> args;
        HRESULT expected;
    };
    const Case cases[] = {
        {"CreatePart with 13 arguments", pw::CreatePart, shortCreate, DISP_E_BADPARAMCOUNT},
        {"AddWebMark with 7 arguments", pw::AddWebMark, longMark, DISP_E_BADPARAMCOUNT},
        {"AddWebHoleEx with 10 arguments", pw::AddWebHoleEx, holeArgs(1), DISP_E_BADPARAMCOUNT},
        {"SavePart with an argument", pw::SavePart, {CComVariant(LONG(1))}, DISP_E_BADPARAMCOUNT},
        {"AddWebHole with text for X", pw::AddWebHole, textForNumber, DISP_E_TYPEMISMATCH},
        {"AddWebStencil with a number for the text",
         pw::AddWebStencil,
         {CComVariant(1.0), CComVariant(2.0), CComVariant(static_cast<IUnknown*>(writer.p))},
         DISP_E_TYPEMISMATCH},
        {"AddWebMark with 70000 for an I2", pw::AddWebMark, tooBigForI2, DISP_E_TYPEMISMATCH},
        {"an unknown DISPID", 0x13, {}, DISP_E_MEMBERNOTFOUND},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(invoke(writer, c.dispid, c.args).hr, c.expected);
    }
    ASSERT_EQ(savePart(writer), 0);
    auto parts = store()->listParts(std::nullopt);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(parts[0].key.mark, "M1");
    EXPECT_EQ(parts[0].operationCount, 0);
}

TEST_F(PartWriterTest, AnAddOrSaveWithoutAPendingPartFails)
{
    auto writer = partWriter();
    EXPECT_LT(call(writer, pw::AddWebMark, markArgs(1)), 0);
    EXPECT_NE(errorText().find("CreatePart"), std::string::npos);
    EXPECT_LT(call(writer, pw::SetRefPlane, planeArgs("A")), 0);
    EXPECT_LT(savePart(writer), 0);
    ASSERT_EQ(call(writer, pw::CreatePart, createPartArgs("J1", "G1", "M1")), 0);
    ASSERT_EQ(savePart(writer), 0);
    // The saved part is no longer pending.
    EXPECT_LT(call(writer, pw::AddWebMark, markArgs(1)), 0);
    EXPECT_LT(savePart(writer), 0);
    EXPECT_EQ(store()->listParts(std::nullopt).size(), 1u);
    EXPECT_EQ(store()->findPart({"J1", "G1", "M1"})->entries.size(), 0u);
}

TEST_F(PartWriterTest, APartNeverSavedLeavesNoTrace)
{
    {
        auto writer = partWriter();
        ASSERT_EQ(call(writer, pw::CreatePart, createPartArgs("J1", "G1", "LOST")), 0);
        ASSERT_EQ(call(writer, pw::AddWebMark, markArgs(1)), 0);
    } // released without SavePart
    auto writer = partWriter();
    ASSERT_EQ(call(writer, pw::CreatePart, createPartArgs("J1", "G1", "DROPPED")), 0);
    ASSERT_EQ(call(writer, pw::AddWebMark, markArgs(1)), 0);
    ASSERT_EQ(call(writer, pw::CreatePart, createPartArgs("J1", "G1", "KEPT")), 0);
    ASSERT_EQ(call(writer, pw::AddWebMark, markArgs(2)), 0);
    ASSERT_EQ(savePart(writer), 0);
    auto parts = store()->listParts(std::nullopt);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(parts[0].key.mark, "KEPT");
    EXPECT_EQ(parts[0].operationCount, 1);
    EXPECT_EQ(querySql(databasePath(), "SELECT count(*) FROM operations"), "1");
}

TEST_F(PartWriterTest, ResavingAPartReplacesIt)
{
    saveSimplePart("M1", 3);
    saveSimplePart("M2", 1);
    saveSimplePart("M1", 1);
    auto parts = store()->listParts(std::nullopt);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].operationCount, 1);
    EXPECT_EQ(querySql(databasePath(), "SELECT count(*) FROM operations"), "2");
}

TEST_F(PartWriterTest, AFailedSaveAnswersNegativeAndLeavesTheDatabase)
{
    saveSimplePart("M1", 2);
    execSql(databasePath(),
            "CREATE TRIGGER fail_third BEFORE INSERT ON operations WHEN NEW.seq = 3 "
            "BEGIN SELECT RAISE(ABORT, 'injected failure'); END");
    auto writer = partWriter();
    ASSERT_EQ(call(writer, pw::CreatePart, createPartArgs("J1", "G1", "M1")), 0);
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(call(writer, pw::AddWebMark, markArgs(i)), 0);
    EXPECT_LT(savePart(writer), 0);
    EXPECT_NE(errorText().find("injected failure"), std::string::npos);
    auto kept = store()->findPart({"J1", "G1", "M1"});
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->entries.size(), 2u);
    EXPECT_EQ(querySql(databasePath(), "SELECT count(*) FROM operations"), "2");
}

TEST_F(PartWriterTest, ADamagedDatabaseIsReportedAndNotOverwritten)
{
    std::string damaged = databasePath() + ".damaged";
    writeFile(damaged, std::string(6000, '#'));
    useDatabase(damaged);
    auto writer = partWriter();
    ASSERT_EQ(call(writer, pw::CreatePart, createPartArgs("J1", "G1", "M1")), 0);
    EXPECT_EQ(savePart(writer), HRESULT_FROM_WIN32(1392));
    EXPECT_NE(errorText().find(damaged + ": the file is not a database"), std::string::npos);
    EXPECT_EQ(readFile(damaged), std::string(6000, '#'));
}

TEST_F(PartWriterTest, ADatabaseFileReplacedMeanwhileIsOpenedAnew)
{
    saveSimplePart("OLD", 1);
    for (const char* suffix : {"", "-wal", "-shm"})
        std::remove((databasePath() + suffix).c_str());
    saveSimplePart("NEW", 1);
    auto parts = store()->listParts(std::nullopt);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(parts[0].key.mark, "NEW");
}

// Each child saves its own parts and one shared mark through its own
// writer; no save may be lost or fail.
TEST_F(PartWriterTest, TwoProcessesSavingAtOnceLoseNoPart)
{
    constexpr int kParts = 40;
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            auto writer = create(CLSID_TarsisPartWriter, CLSCTX_LOCAL_SERVER);
            int failures = writer ? 0 : 1;
            // A failure is told on stderr, which the test's log keeps.
            auto check = [&](DISPID dispid, std::vector<CComVariant> args) {
                CallResult r = invoke(writer, dispid, std::move(args));
                if (r.hr == S_OK && r.result == 0)
                    return;
                ++failures;
                std::fprintf(stderr, "child %d: DISPID %d: hr %08x result %08x: %s\n", c,
                             static_cast<int>(dispid), static_cast<unsigned>(r.hr),
                             static_cast<unsigned>(r.result), errorText().c_str());
            };
            for (int i = 0; i < kParts && writer; ++i) {
                std::string mark = c == 0 ? "A" : "B";
                mark += std::to_string(i);
                check(pw::CreatePart,
                      createPartArgs("J1", "G1", i == kParts / 2 ? "SHARED" : mark.c_str()));
                for (int m = 0; m <= c; ++m)
                    check(pw::AddWebMark, markArgs(m));
                check(pw::SavePart, {});
            }
            writer.Release();
            _exit(failures == 0 ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    }
    auto parts = store()->listParts(std::nullopt);
    EXPECT_EQ(parts.size(), 2u * (kParts - 1) + 1);
    for (const PartSummary& p : parts) {
        SCOPED_TRACE(p.key.mark);
        if (p.key.mark == "SHARED")
            continue;
        EXPECT_EQ(p.operationCount, p.key.mark[0] == 'A' ? 1 : 2);
    }
    EXPECT_EQ(
        querySql(databasePath(),
                 "SELECT count(*) FROM operations WHERE part_id NOT IN (SELECT id FROM parts)"),
        "0");
}

} // namespace
} // namespace tarsis::testing
