// The whole wizard with the real servers: the part-model server, the DSTV
// converters and the Tarsis stand-in, registered from their modules into
// the test's registry, and the example files imported into the test's
// database. With WIZARD_SCREENSHOTS naming a folder (the screenshot test
// runs it under Xvfb) every page is photographed on the way.
#include "ServerModules.h"
#include "WizardFixture.h"
#include "WizardImport.h"

#include "tarsis/SqliteStore.h"
#include "testing/TemporaryDatabase.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cstdlib>

class EndToEndTest : public WizardTest {
protected:
    void SetUp() override
    {
        WizardTest::SetUp();
        tarsis::openSqliteStore(m_database.path(), tarsis::OpenMode::CreateIfMissing);
        ASSERT_EQ(m_servers.registerAll(), "");
    }
    void TearDown() override { WizardTest::TearDown(); }

    // The page's picture, when pictures are asked for.
    void shoot(HWND sheet, const char* name)
    {
        const char* folder = std::getenv("WIZARD_SCREENSHOTS");
        if (!folder)
            return;
        settle();
        QWidget* window = ui::windowWidget(sheet);
        ASSERT_NE(window, nullptr);
        const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(window->winId());
        std::filesystem::create_directories(folder);
        const std::string path = std::string(folder) + "/" + name + ".png";
        EXPECT_TRUE(shot.save(QString::fromStdString(path))) << path;
        EXPECT_GT(std::filesystem::file_size(path), 1000u) << path;
    }

    const testsupport::TemporaryDatabase m_database;
    ServerModules m_servers;
};

TEST_F(EndToEndTest, ExampleFilesGoIntoTheDatabaseWhileAFileThatCannotBeOpenedFails)
{
    const std::string examples = EXAMPLES_DIR;
    const std::string beam = examples + "/B101.nc1";
    const std::string missing = (m_dir / "gone.nc1").string();
    const std::string angle = examples + "/A201.nc1";
    const std::string channel = examples + "/C301.nc1";
    const std::string log = (m_dir / "import.log").string();
    CCadConversionPropSheet sheet("Cad Conversion");
    runSheet(sheet, [&](HWND h) {
        ASSERT_TRUE(chooseConverter(sheet, "DSTV For Tolvin Ver : 1.0"))
            << "the DSTV converters are listed";
        shoot(h, "1-format");
        press(h, ID_WIZNEXT);
        shoot(h, "2-job-group");
        press(h, ID_WIZNEXT);
        SetDlgItemText(sheet.m_logFilePage.m_hWnd, IDC_LOG_FILE, log.c_str());
        shoot(h, "3-log-file");
        press(h, ID_WIZNEXT);
        answer({IDOK, {beam, missing, angle, channel}});
        press(sheet.m_filesPage.m_hWnd, IDC_SELECT_FILES);
        shoot(h, "4-files");
        press(h, ID_WIZNEXT);
        press(sheet.m_convertPage.m_hWnd, IDC_CONVERT);
        pumpUntil([&] { return !sheet.m_convertPage.IsConverting(); });
        shoot(h, "5-converting");
        EXPECT_EQ(listEntries(GetDlgItem(sheet.m_convertPage.m_hWnd, IDC_CONVERT_FILES)),
                  (std::vector<std::string>{beam + "     Complete", missing + "     Error",
                                            angle + "     Complete", channel + "     Complete"}));
        press(h, IDCANCEL);
    });
    const std::string text = withoutTimes(readFile(log));
    const std::string head = "CAD Conversion Begin <time>\r\n"
                             "Converting File " +
                             beam +
                             "\r\n"
                             "Converted EX1  G1  B101\r\n"
                             "File Completed\r\n";
    const std::string tail = "\tConversion On File Aborted\r\n\r\n"
                             "Converting File " +
                             angle +
                             "\r\n"
                             "Converted EX1  G1  A201\r\n"
                             "File Completed\r\n"
                             "Converting File " +
                             channel +
                             "\r\n"
                             "Converted EX1  G2  C301\r\n"
                             "File Completed\r\n"
                             "CAD Conversion Completed\r\n";
    ASSERT_GT(text.size(), head.size() + tail.size());
    EXPECT_EQ(text.substr(0, head.size()), head);
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    // The converter's own message for the file that cannot be opened.
    const std::string message = text.substr(head.size(), text.size() - head.size() - tail.size());
    EXPECT_NE(message.find(missing), std::string::npos) << message;

    const auto parts = tarsis::openSqliteStore(m_database.path(), tarsis::OpenMode::ExistingOnly)
                           ->listParts(std::nullopt);
    std::vector<std::string> keys;
    for (const tarsis::PartSummary& part : parts)
        keys.push_back(part.key.job + " " + part.key.group + " " + part.key.mark);
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(keys, (std::vector<std::string>{"EX1 G1 A201", "EX1 G1 B101", "EX1 G2 C301"}));
}
