// ATL-like dialogs of a server module: templates by IDD, the three
// handlers, a report list view, topmost placement, and modal runs from a
// worker thread.
#include "SampleTemplates.h"
#include "testing/GuiTest.h"

#include "ui/AxDialog.h"
#include "ui/Process.h"

#include <QWidget>

#include <string>
#include <vector>

namespace {

const ui::DialogTemplate kMachineName = machineNameTemplate();
const ui::DialogTemplate kMultParts = multPartsTemplate();
const ui::DialogResource kResources{&kMachineName, &kMultParts};

// Asks for another machine name until a known one is typed.
class MachineNameDialog : public CAxDialogImpl<MachineNameDialog> {
public:
    enum { IDD = 123 };
    std::string machine = "PB-1";
    std::vector<std::string> known{"KNOWN"};

    LRESULT OnInitDialog(UINT msg, WPARAM w, LPARAM l, BOOL& handled)
    {
        CAxDialogImpl<MachineNameDialog>::OnInitDialog(msg, w, l, handled);
        SetDlgItemText(201, machine.c_str());
        SetDlgItemText(204, "bars.nc");
        SetWindowPos(HWND_TOPMOST, 400, 300, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        return 1;
    }
    LRESULT OnOK(WORD, WORD, HWND, BOOL&)
    {
        char typed[1000];
        GetDlgItemText(202, typed, sizeof typed);
        machine = typed;
        if (std::find(known.begin(), known.end(), machine) == known.end()) {
            SetDlgItemText(201, machine.c_str());
            return 0;
        }
        EndDialog(IDOK);
        return 0;
    }
};

class MultPartsDialog : public CAxDialogImpl<MultPartsDialog> {
public:
    enum { IDD = 124 };
    std::vector<std::vector<std::string>> rows{{"J1", "G1", "M1"}, {"J2", "G2", "M2"}};
    std::string job;
    std::string group;

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
    {
        const HWND list = GetDlgItem(202);
        const char* titles[] = {"JOB", "GROUP", "MARK"};
        for (int i = 0; i < 3; ++i) {
            LVCOLUMN col{};
            col.mask = LVCF_TEXT | LVCF_WIDTH;
            col.cx = 150;
            col.pszText = const_cast<char*>(titles[i]);
            ListView_InsertColumn(list, i, &col);
        }
        for (std::size_t i = 0; i < rows.size(); ++i) {
            LVITEM item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(i);
            item.pszText = rows[i][0].data();
            ListView_InsertItem(list, &item);
            ListView_SetItemText(list, static_cast<int>(i), 1, rows[i][1].data());
            ListView_SetItemText(list, static_cast<int>(i), 2, rows[i][2].data());
        }
        return 1;
    }
    LRESULT OnOK(WORD, WORD, HWND, BOOL&)
    {
        char buffer[1000];
        GetDlgItemText(201, buffer, sizeof buffer);
        job = buffer;
        GetDlgItemText(204, buffer, sizeof buffer);
        group = buffer;
        EndDialog(IDOK);
        return 0;
    }
};

template <class Dialog>
DWORD runModal(LPVOID parameter)
{
    return static_cast<DWORD>(static_cast<Dialog*>(parameter)->DoModal());
}

template <class Dialog>
DWORD modalOnWorker(Dialog& dialog)
{
    const HANDLE thread = CreateThread(nullptr, 0, runModal<Dialog>, &dialog, 0, nullptr);
    DWORD code = STILL_ACTIVE;
    pumpUntil([&] { return GetExitCodeThread(thread, &code) && code != STILL_ACTIVE; });
    CloseHandle(thread);
    return code;
}

class AxDialogTest : public GuiTest {};

std::string text(HWND dlg, int id)
{
    char buffer[64];
    GetDlgItemText(dlg, id, buffer, sizeof buffer);
    return buffer;
}

TEST_F(AxDialogTest, UnknownMachineKeepsTheDialogOpenUntilAKnownOne)
{
    MachineNameDialog dialog;
    const ui::ModalDialogDriver driver([](HWND h) {
        EXPECT_EQ(text(h, 201), "PB-1");
        EXPECT_EQ(text(h, 204), "bars.nc");
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(h, 201)));
        RECT r{};
        GetWindowRect(h, &r);
        EXPECT_EQ(r.left, 400);
        EXPECT_EQ(r.top, 300);
        EXPECT_TRUE(ui::windowWidget(h)->windowFlags() & Qt::WindowStaysOnTopHint);
        SetDlgItemText(h, 202, "OTHER");
        SendMessage(GetDlgItem(h, IDOK), BM_CLICK, 0, 0);
        EXPECT_TRUE(IsWindowVisible(h)) << "still open";
        EXPECT_EQ(text(h, 201), "OTHER");
        SetDlgItemText(h, 202, "KNOWN");
        SendMessage(GetDlgItem(h, IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(modalOnWorker(dialog), static_cast<DWORD>(IDOK));
    EXPECT_EQ(dialog.machine, "KNOWN");
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST_F(AxDialogTest, CancelEndsWithIdCancel)
{
    MachineNameDialog dialog;
    const ui::ModalDialogDriver driver(
        [](HWND h) { SendMessage(GetDlgItem(h, IDCANCEL), BM_CLICK, 0, 0); });
    EXPECT_EQ(modalOnWorker(dialog), static_cast<DWORD>(IDCANCEL));
    EXPECT_EQ(dialog.machine, "PB-1");
}

TEST_F(AxDialogTest, PartsDialogListsRowsAndTakesEmptyTexts)
{
    MultPartsDialog dialog;
    dialog.job = "x";
    const ui::ModalDialogDriver driver([](HWND h) {
        const HWND list = GetDlgItem(h, 202);
        ASSERT_EQ(ListView_GetItemCount(list), 2);
        char cell[8];
        ListView_GetItemText(list, 1, 2, cell, sizeof cell);
        EXPECT_STREQ(cell, "M2");
        ListView_GetItemText(list, 0, 1, cell, sizeof cell);
        EXPECT_STREQ(cell, "G1");
        SendMessage(GetDlgItem(h, IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.job, "");
    EXPECT_EQ(dialog.group, "");
}

} // namespace
