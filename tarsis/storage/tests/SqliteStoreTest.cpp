// The SQLite store: what is saved reads back whole and in order, a re-save
// replaces, a failed save leaves no trace, and the catalog tables.
#include "tarsis/SqliteStore.h"
#include "StoreTestSupport.h"
#include "tarsis/Catalog.h"
#include "tarsis/StoreError.h"
#include "testing/TemporaryDatabase.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace tarsis {

namespace {

using testing::querySql;
using testing::samplePart;

class SqliteStoreTest : public ::testing::Test {
protected:
    testsupport::TemporaryDatabase m_temp;
    std::unique_ptr<TarsisStore> m_store =
        openSqliteStore(m_temp.path(), OpenMode::CreateIfMissing);

    std::string count(const std::string& table)
    {
        return querySql(m_temp.path(), "SELECT count(*) FROM " + table);
    }
};

TEST_F(SqliteStoreTest, NewDatabaseHoldsTheBuiltInCatalog)
{
    EXPECT_EQ(m_store->listShapes().size(), builtInCatalog().shapes.size());
    EXPECT_EQ(m_store->listMachines().size(), builtInCatalog().machines.size());
    auto shape = m_store->findShape({"w", "1226"}); // names compare without case
    ASSERT_TRUE(shape);
    EXPECT_EQ(shape->name, "W12X26");
    EXPECT_DOUBLE_EQ(shape->flangeWidth, 6.49);
    EXPECT_FALSE(m_store->findShape({"W", "W12X26"}));
    EXPECT_EQ(querySql(m_temp.path(), "SELECT version FROM schema_info"),
              std::to_string(kSchemaVersion));
}

TEST_F(SqliteStoreTest, SavedPartReadsBackWithEveryEntryInArrivalOrder)
{
    PartRecord part = samplePart({"J1", "G1", "M1"}, 12);
    m_store->savePart(part);

    auto back = m_store->findPart({"J1", "G1", "M1"});
    ASSERT_TRUE(back);
    const PartHeader& h = back->header;
    EXPECT_EQ(h.quantity, 3);
    EXPECT_EQ(h.length, 240.5);
    EXPECT_EQ(h.shape, (ShapeKey{"W", "1226"}));
    EXPECT_EQ(h.grade, "A992");
    EXPECT_EQ(h.text1, "first");
    EXPECT_EQ(h.number, 70000);
    EXPECT_EQ(h.text2, "second");
    EXPECT_EQ(h.text3, "third");
    EXPECT_EQ(h.partKind, 1);
    EXPECT_EQ(back->savedAt.size(), 20u);
    EXPECT_EQ(back->entries, part.entries);
    EXPECT_EQ(m_store->findPartShape({"J1", "G1", "M1"}), (ShapeKey{"W", "1226"}));
    EXPECT_FALSE(m_store->findPart({"J1", "G1", "m1"})); // part keys are exact

    // Each operation records the plane that was in force when it arrived.
    EXPECT_EQ(querySql(m_temp.path(), "SELECT group_concat(coalesce(plane_seq, '-'), ' ') FROM "
                                      "(SELECT plane_seq FROM operations ORDER BY seq)"),
              "1 1 1 1 1 7 7 7 7 7 13 13");
}

TEST_F(SqliteStoreTest, OperationsBeforeAnyPlaneHaveNone)
{
    PartRecord part = samplePart({"J1", "G1", "M1"}, 2);
    part.entries.erase(part.entries.begin());
    m_store->savePart(part);
    EXPECT_EQ(m_store->findPart({"J1", "G1", "M1"})->entries, part.entries);
    EXPECT_EQ(querySql(m_temp.path(), "SELECT count(*) FROM operations WHERE plane_seq IS NULL"),
              "2");
}

TEST_F(SqliteStoreTest, ResavingAPartReplacesItAndItsOperations)
{
    m_store->savePart(samplePart({"J1", "G1", "M1"}, 10));
    m_store->savePart(samplePart({"J1", "G1", "M2"}, 4));
    PartRecord corrected = samplePart({"J1", "G1", "M1"}, 3);
    corrected.header.quantity = 7;
    m_store->savePart(corrected);

    auto back = m_store->findPart({"J1", "G1", "M1"});
    ASSERT_TRUE(back);
    EXPECT_EQ(back->header.quantity, 7);
    EXPECT_EQ(back->entries, corrected.entries);
    EXPECT_EQ(count("parts"), "2");
    EXPECT_EQ(count("operations"), "7");
    EXPECT_EQ(count("ref_planes"), "2");
}

TEST_F(SqliteStoreTest, AFailureInsideASaveLeavesTheDatabaseAsItWas)
{
    PartRecord first = samplePart({"J1", "G1", "M1"}, 4);
    m_store->savePart(first);
    // Any insert of a fifth entry fails, as a full disk would.
    testing::execSql(m_temp.path(),
                     "CREATE TRIGGER fail_fifth BEFORE INSERT ON operations WHEN NEW.seq = 5 "
                     "BEGIN SELECT RAISE(ABORT, 'injected failure'); END");
    EXPECT_THROW(m_store->savePart(samplePart({"J1", "G1", "M1"}, 8)), StoreError);
    EXPECT_THROW(m_store->savePart(samplePart({"J1", "G1", "M9"}, 8)), StoreError);

    EXPECT_FALSE(m_store->findPart({"J1", "G1", "M9"}));
    auto kept = m_store->findPart({"J1", "G1", "M1"});
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->entries, first.entries);
    EXPECT_EQ(count("parts"), "1");
    EXPECT_EQ(count("operations"), "4");

    // The store stays usable after the failure.
    m_store->savePart(samplePart({"J1", "G1", "M3"}, 3));
    EXPECT_TRUE(m_store->findPart({"J1", "G1", "M3"}));
}

TEST_F(SqliteStoreTest, ASaveWaitsForAnotherConnectionsWriteInsteadOfFailing)
{
    testing::WriteLock lock(m_temp.path());
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        lock.release();
    });
    m_store->savePart(samplePart({"J1", "G1", "M1"}, 2));
    release.join();
    EXPECT_TRUE(m_store->findPart({"J1", "G1", "M1"}));
}

TEST_F(SqliteStoreTest, PartsAreListedInKeyOrderAndByJob)
{
    m_store->savePart(samplePart({"J2", "G1", "A"}, 1));
    m_store->savePart(samplePart({"J1", "G2", "A"}, 2));
    m_store->savePart(samplePart({"J1", "G1", "B"}, 3));
    auto all = m_store->listParts(std::nullopt);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].key, (PartKey{"J1", "G1", "B"}));
    EXPECT_EQ(all[0].operationCount, 3);
    EXPECT_EQ(all[1].key, (PartKey{"J1", "G2", "A"}));
    EXPECT_EQ(all[2].key, (PartKey{"J2", "G1", "A"}));
    auto j2 = m_store->listParts(std::string("J2"));
    ASSERT_EQ(j2.size(), 1u);
    EXPECT_EQ(j2[0].shape, (ShapeKey{"W", "1226"}));
    EXPECT_TRUE(m_store->listParts(std::string("J3")).empty());
}

TEST_F(SqliteStoreTest, MultsSaveWithTheirPiecesAndReplace)
{
    MultRecord mult;
    mult.header = {{"J1", "G1", "BAR1"}, 1, 4, 480, 0.125, {"L", "43014"}, "", "SAW1", "", "", 0};
    mult.pieces = {{{"J1", "G1", "P2"}, 70000}, {{"J1", "G1", "P1"}, 2}};
    m_store->saveMult(mult);
    auto back = m_store->findMult({"J1", "G1", "BAR1"});
    ASSERT_TRUE(back);
    EXPECT_EQ(back->header.quantity, 4);
    EXPECT_EQ(back->header.kerf, 0.125);
    EXPECT_EQ(back->header.machine, "SAW1");
    EXPECT_EQ(back->header.shape, (ShapeKey{"L", "43014"}));
    ASSERT_EQ(back->pieces.size(), 2u);
    EXPECT_EQ(back->pieces[0].key.mark, "P2");
    EXPECT_EQ(back->pieces[0].quantity, 70000);

    mult.pieces.pop_back();
    m_store->saveMult(mult);
    EXPECT_EQ(m_store->findMult({"J1", "G1", "BAR1"})->pieces.size(), 1u);
    ASSERT_EQ(m_store->listMults().size(), 1u);
    EXPECT_EQ(m_store->listMults()[0].pieceCount, 1);
    EXPECT_EQ(count("mult_pieces"), "1");
}

TEST_F(SqliteStoreTest, ShapesAndMachinesAreAddedAndRemovedOnce)
{
    ShapeRecord shape{{"W", "4431"}, "W44X31", Units::Inch, 44, 0.5, 12, 1, 10, 31};
    m_store->addShape(shape);
    EXPECT_EQ(m_store->findShape({"W", "4431"})->name, "W44X31");
    try {
        m_store->addShape(shape);
        ADD_FAILURE() << "added twice";
    } catch (const StoreError& e) {
        EXPECT_EQ(e.kind(), StoreError::Kind::Conflict);
        EXPECT_NE(std::string(e.what()).find("W 4431"), std::string::npos);
    }
    m_store->removeShape({"w", "4431"});
    EXPECT_FALSE(m_store->findShape({"W", "4431"}));
    try {
        m_store->removeShape({"W", "4431"});
        ADD_FAILURE() << "removed twice";
    } catch (const StoreError& e) {
        EXPECT_EQ(e.kind(), StoreError::Kind::NotFound);
    }

    m_store->addMachine({"Plasma1", "Plasma table"});
    EXPECT_TRUE(m_store->machineExists("PLASMA1"));
    EXPECT_THROW(m_store->addMachine({"plasma1", ""}), StoreError);
    m_store->removeMachine("plasma1");
    EXPECT_FALSE(m_store->machineExists("Plasma1"));
    EXPECT_THROW(m_store->removeMachine("Plasma1"), StoreError);
}

} // namespace
} // namespace tarsis
