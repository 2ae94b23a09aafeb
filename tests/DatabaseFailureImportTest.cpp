// A DSTV file imported through the wizard's conversion run with the real
// servers into a database that fails: damaged, read-only, in a folder that
// cannot be made, full, or locked by another program past the wait. The
// log (and, without a log, the message on screen) carries the database's
// HRESULT message and its own text, never "undefined shape" or
// "Non-Specific", and the file's entry is marked as an error.
#include "ServerModules.h"
#include "StoreTestSupport.h"
#include "WizardFixture.h"
#include "WizardImport.h"

#include "com/ComError.h"
#include "tarsis/SqliteStore.h"
#include "testing/ScopedEnvironment.h"
#include "testing/TemporaryDatabase.h"

#include <memory>
#include <optional>
#include <string>

namespace {

// Enough holes that the part needs pages of its own.
std::string beamFile(int holes)
{
    std::string text = "ST\n** a beam for the database failure tests\n  J100\n  D1\n  G2\n  B12\n"
                       "  A992\n  3\n  W12X26\n  I\n  6000\n  310\n  165\n  9.7\n  5.8\n  0\n"
                       "  38.7\n  1.2\n  0\n  0\n  0\n  0\n  -\n  -\n  -\n  -\nBO\n";
    for (int i = 0; i < holes; ++i)
        text += "  v " + std::to_string(100 + 10 * i) + ".00o 60.00 22.00\n";
    return text + "EN\n";
}

class DatabaseFailureImportTest : public WizardTest {
protected:
    void SetUp() override
    {
        WizardTest::SetUp();
        ASSERT_EQ(m_servers.registerAll(), "");
        m_beam = writeFile("B12.nc1", beamFile(300));
    }

    void createDatabase() const
    {
        tarsis::openSqliteStore(m_database.path(), tarsis::OpenMode::CreateIfMissing);
    }

    // Converts the beam with the DSTV converter, job and group from the
    // file; answers the file's list entry. With a log, what the run wrote
    // there goes into m_log; without, the message box's text.
    std::string convert(bool logged)
    {
        const std::string log = (m_dir / "import.log").string();
        std::string entry;
        CCadConversionPropSheet sheet("Cad Conversion");
        runSheet(sheet, [&](HWND h) {
            EXPECT_TRUE(chooseConverter(sheet, "DSTV For Tolvin Ver : 1.0"));
            press(h, ID_WIZNEXT);
            press(h, ID_WIZNEXT);
            if (logged)
                SetDlgItemText(sheet.m_logFilePage.m_hWnd, IDC_LOG_FILE, log.c_str());
            else if (checked(sheet.m_logFilePage.m_hWnd, IDC_USE_LOG_FILE))
                press(sheet.m_logFilePage.m_hWnd, IDC_USE_LOG_FILE);
            press(h, ID_WIZNEXT);
            answer({IDOK, {m_beam}});
            press(sheet.m_filesPage.m_hWnd, IDC_SELECT_FILES);
            press(h, ID_WIZNEXT);
            if (!logged)
                answer({IDOK, {}});
            press(sheet.m_convertPage.m_hWnd, IDC_CONVERT);
            pumpUntil([&] { return !sheet.m_convertPage.IsConverting(); });
            const auto entries =
                listEntries(GetDlgItem(sheet.m_convertPage.m_hWnd, IDC_CONVERT_FILES));
            entry = entries.empty() ? "" : entries.front();
            press(h, IDCANCEL);
        });
        m_log = logged ? readFile(log) : (asked.size() > 1 ? asked.back().text : "");
        return entry;
    }

    // The run failed the file with the database's HRESULT and text.
    void expectDatabaseFailure(HRESULT hr, const std::string& text, bool logged = true)
    {
        EXPECT_EQ(convert(logged), m_beam + "     Error");
        const std::string expected = hresultMessage(hr) + "\r\nCom Error while SaveToTarsis\r\n" +
                                     "Tarsis database " + m_path + text;
        const std::size_t at = m_log.find(expected);
        EXPECT_NE(at, std::string::npos) << m_log;
        if (logged && at != std::string::npos) {
            EXPECT_NE(m_log.find("\r\n\tConversion On File Aborted\r\n", at), std::string::npos)
                << m_log;
        }
        EXPECT_EQ(m_log.find("undefined shape"), std::string::npos) << m_log;
        EXPECT_EQ(m_log.find("Non-Specific"), std::string::npos) << m_log;
    }

    std::optional<tarsis::PartRecord> storedBeam() const
    {
        return tarsis::openSqliteStore(m_database.path(), tarsis::OpenMode::ExistingOnly)
            ->findPart({"J100", "G2", "B12"});
    }

    const testsupport::TemporaryDatabase m_database;
    std::string m_path = m_database.path();
    ServerModules m_servers;
    std::string m_beam;
    std::string m_log;
};

TEST_F(DatabaseFailureImportTest, TheDatabaseWorks)
{
    createDatabase();
    EXPECT_EQ(convert(true), m_beam + "     Complete");
    ASSERT_TRUE(storedBeam());
    EXPECT_GT(storedBeam()->entries.size(), 300u);
}

TEST_F(DatabaseFailureImportTest, ADamagedDatabaseIsNoUndefinedShape)
{
    writeFile("tarsis.db", std::string(8192, 'z'));
    const testsupport::ScopedEnvironment database("TARSIS_DATABASE",
                                                  (m_dir / "tarsis.db").string());
    m_path = (m_dir / "tarsis.db").string();
    expectDatabaseFailure(HRESULT_FROM_WIN32(1392),
                          ": the file is not a database: it is damaged, or another program's file");
    EXPECT_EQ(readFile(m_path), std::string(8192, 'z'));
}

TEST_F(DatabaseFailureImportTest, AFolderThatCannotBeMadeIsNoUndefinedShape)
{
    writeFile("blocked", "a file where the database's folder belongs");
    m_path = (m_dir / "blocked" / "tarsis" / "tarsis.db").string();
    const testsupport::ScopedEnvironment database("TARSIS_DATABASE", m_path);
    expectDatabaseFailure(HRESULT_FROM_WIN32(82), " cannot be created: the folder " +
                                                      (m_dir / "blocked" / "tarsis").string() +
                                                      " cannot be made: ");
}

TEST_F(DatabaseFailureImportTest, AReadOnlyDatabaseSaysSo)
{
    createDatabase();
    const tarsis::testing::ReadOnlyFile readOnly(m_database.path());
    if (!readOnly.works())
        GTEST_SKIP() << "this process may write a read-only file";
    expectDatabaseFailure(E_ACCESSDENIED, " is read-only: attempt to write a readonly database");
}

TEST_F(DatabaseFailureImportTest, AFullDatabaseSaysSoInTheLogAndOnScreen)
{
    createDatabase();
    const tarsis::testing::DatabaseSizeLimit limit(tarsis::testing::pageCount(m_database.path()));
    expectDatabaseFailure(HRESULT_FROM_WIN32(112), " is full: ");
    expectDatabaseFailure(HRESULT_FROM_WIN32(112), " is full: ", false);
    EXPECT_FALSE(storedBeam());
}

TEST_F(DatabaseFailureImportTest, ADatabaseLockedPastTheWaitSaysBusy)
{
    createDatabase();
    tarsis::testing::WriteLock lock(m_database.path());
    expectDatabaseFailure(HRESULT_FROM_WIN32(33),
                          " is busy: another program has kept it locked for longer than 10 "
                          "seconds");
    lock.release();
    EXPECT_FALSE(storedBeam());
}

} // namespace
