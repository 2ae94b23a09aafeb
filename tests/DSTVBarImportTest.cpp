// A DSTV bar file imported through the wizard's conversion page with the
// real servers: the bar converter asks for the unknown machine and for the
// pieces it cannot find, the dialogs are answered as a user would, and the
// mult ends in the database with its pieces.
#include "ServerModules.h"
#include "WizardFixture.h"

#include "halcyra/HalcyraLib.h"
#include "lunkett/LunkettLib.h"

#include "com/CodePage.h"
#include "com/Guid.h"
#include "tarsis/SqliteStore.h"
#include "testing/TemporaryDatabase.h"
#include "ui/CommCtrl.h"

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string caption(HWND window)
{
    char text[128] = "";
    GetWindowText(window, text, sizeof text);
    return text;
}

class DSTVBarImportTest : public WizardTest {
protected:
    void SetUp() override
    {
        WizardTest::SetUp();
        ASSERT_EQ(m_servers.registerAll(), "");
    }
    void TearDown() override { WizardTest::TearDown(); }

    std::unique_ptr<tarsis::TarsisStore> store() const
    {
        return tarsis::openSqliteStore(m_database.path(), tarsis::OpenMode::CreateIfMissing);
    }

    void storePiece(const tarsis::PartKey& key)
    {
        tarsis::PartRecord part;
        part.header.key = key;
        part.header.quantity = 1;
        part.header.length = 120;
        part.header.shape = {"W", "1226"};
        store()->savePart(part);
    }

    const testsupport::TemporaryDatabase m_database;
    ServerModules m_servers;
};

TEST_F(DSTVBarImportTest, BarWithAnUnknownMachineAndAMovedPieceEndsInTheDatabase)
{
    storePiece({"J1", "G1", "P1"});
    storePiece({"J1", "G1", "P2"});
    const std::string bar =
        writeFile("bar-1.nc", "BA\n"
                              "  BAR-1\n  2\n  BANDSAW9\n  A992\n  2\n  W12X26\n  I\n  6000\n"
                              "  310\n  165\n  9.7\n  5.8\n  8.9\n  38.7\n  -\n  -\n  -\n  -\n"
                              "  3.175\n\n  v;100;200;0\n"
                              "PI\n"
                              "  1;A;J1;x;G1;P1;2\n"
                              "  2;A;OLD;x;G7;P2;1\n");

    // The user names a known saw, then says where the pieces are.
    std::vector<std::string> dialogs;
    const ui::ModalDialogDriver user([&](HWND dialog) {
        const std::string title = caption(dialog);
        if (title == "Change Mult Machine Name") {
            dialogs.push_back(title);
            EXPECT_EQ(itemText(dialog, 201), "BANDSAW9");
            SetDlgItemText(dialog, 202, "SAW1");
            press(dialog, IDOK);
        } else if (title == "Mult Parts") {
            dialogs.push_back(title);
            const HWND list = GetDlgItem(dialog, 202);
            EXPECT_EQ(ListView_GetItemCount(list), 1);
            char mark[16] = "";
            ListView_GetItemText(list, 0, 2, mark, sizeof mark);
            EXPECT_STREQ(mark, "P2");
            SetDlgItemText(dialog, 201, "J1");
            SetDlgItemText(dialog, 204, "G1");
            press(dialog, IDOK);
        }
    });

    CCadConversionPropSheet sheet("Cad Conversion");
    runSheet(sheet, [&](HWND h) {
        sheet.m_formatPage.SetSelectedCLSIDString(guidToString(CLSID_DSTVMultConvert));
        press(h, ID_WIZNEXT);
        const HWND page2 = sheet.m_jobGroupPage.m_hWnd;
        press(page2, IDC_JOB_SPECIFY);
        SetDlgItemText(page2, IDC_JOB, "J1");
        press(page2, IDC_GROUP_SPECIFY);
        SetDlgItemText(page2, IDC_GROUP, "G1");
        settle();
        press(h, ID_WIZNEXT);
        press(h, ID_WIZNEXT); // no log file
        answer({IDOK, {bar}});
        press(sheet.m_filesPage.m_hWnd, IDC_SELECT_FILES);
        press(h, ID_WIZNEXT);
        ASSERT_EQ(sheet.GetActivePage(), &sheet.m_convertPage);
        press(sheet.m_convertPage.m_hWnd, IDC_CONVERT);
        pumpUntil([&] { return !sheet.m_convertPage.IsConverting(); });
        EXPECT_EQ(listEntries(GetDlgItem(sheet.m_convertPage.m_hWnd, IDC_CONVERT_FILES)),
                  std::vector<std::string>{bar + "     Complete"});
        press(h, IDCANCEL);
    });
    EXPECT_EQ(dialogs, (std::vector<std::string>{"Change Mult Machine Name", "Mult Parts"}));

    const std::optional<tarsis::MultRecord> mult = store()->findMult({"J1", "G1", "BAR-1"});
    ASSERT_TRUE(mult);
    EXPECT_EQ(mult->header.machine, "SAW1");
    EXPECT_EQ(mult->header.quantity, 2);
    EXPECT_DOUBLE_EQ(mult->header.length, 6000 / 25.4);
    EXPECT_DOUBLE_EQ(mult->header.kerf, 0.125);
    EXPECT_EQ(mult->header.shape, (tarsis::ShapeKey{"W", "1226"}));
    EXPECT_EQ(mult->header.grade, "");
    EXPECT_EQ(mult->header.measuringSystem, 0);
    ASSERT_EQ(mult->pieces.size(), 2u);
    EXPECT_EQ(mult->pieces[0].key, (tarsis::PartKey{"J1", "G1", "P1"}));
    EXPECT_EQ(mult->pieces[0].quantity, 2);
    EXPECT_EQ(mult->pieces[1].key, (tarsis::PartKey{"J1", "G1", "P2"}));
    EXPECT_EQ(mult->pieces[1].quantity, 1);
}

} // namespace
