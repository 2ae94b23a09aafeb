// MFC-like dialogs: data exchange both ways, radio groups, command
// handlers, modal runs on the GUI thread and from a worker, subclassed
// controls with their own key handling.
#include "testing/GuiTest.h"

#include "ui/Afx.h"

#include <QKeyEvent>
#include <QThread>
#include <QWidget>

#include <string>

namespace {

enum {
    IDD_SETTINGS = 500,
    IDC_NAME = 1001,
    IDC_CHECK = 1002,
    IDC_A1 = 1003,
    IDC_A2 = 1004,
    IDC_B1 = 1005,
    IDC_B2 = 1006,
    IDC_B3 = 1007,
    IDC_COMBO = 1008,
    IDC_LIST = 1009
};

ui::DialogTemplate settingsTemplate()
{
    using namespace ui;
    DialogTemplate t;
    t.id = IDD_SETTINGS;
    t.caption = "Settings";
    t.cx = 200;
    t.cy = 160;
    t.controls = {
        EDITTEXT(IDC_NAME, 7, 7, 100, 14, ES_AUTOHSCROLL),
        CONTROL("Use it", IDC_CHECK, WC_BUTTON, BS_AUTOCHECKBOX | WS_TABSTOP, 7, 25, 80, 10),
        GROUPBOX("A", IDC_STATIC, 7, 38, 90, 40),
        CONTROL("A one", IDC_A1, WC_BUTTON, BS_AUTORADIOBUTTON | WS_GROUP, 12, 48, 60, 10),
        CONTROL("A two", IDC_A2, WC_BUTTON, BS_AUTORADIOBUTTON, 12, 60, 60, 10),
        GROUPBOX("B", IDC_STATIC, 100, 38, 90, 50, WS_GROUP),
        CONTROL("B one", IDC_B1, WC_BUTTON, BS_AUTORADIOBUTTON | WS_GROUP, 105, 48, 60, 10),
        CONTROL("B two", IDC_B2, WC_BUTTON, BS_AUTORADIOBUTTON, 105, 60, 60, 10),
        CONTROL("B three", IDC_B3, WC_BUTTON, BS_AUTORADIOBUTTON, 105, 72, 60, 10),
        COMBOBOX(IDC_COMBO, 7, 92, 100, 60, CBS_DROPDOWNLIST | WS_GROUP),
        LISTBOX(IDC_LIST, 110, 92, 80, 40, LBS_EXTENDEDSEL),
        DEFPUSHBUTTON("OK", IDOK, 90, 140, 50, 14),
        PUSHBUTTON("Cancel", IDCANCEL, 143, 140, 50, 14),
    };
    return t;
}

const ui::DialogTemplate kSettings = settingsTemplate();
const ui::DialogResource kResources{&kSettings};

// Removes the selected entries on the Delete key, then lets the list
// handle the key as usual.
class DeletingListBox : public CListBox {
protected:
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override
    {
        if (nChar == VK_DELETE)
            for (int i = GetCount() - 1; i >= 0; --i)
                if (GetSel(i) > 0)
                    DeleteString(static_cast<UINT>(i));
        CListBox::OnKeyDown(nChar, nRepCnt, nFlags);
    }
};

class SettingsDialog : public CDialog {
public:
    SettingsDialog() : CDialog(IDD_SETTINGS)
    {
        ON_EN_CHANGE(IDC_NAME, &SettingsDialog::OnNameChange);
        ON_BN_CLICKED(IDC_A2, &SettingsDialog::OnA2);
    }
    std::string name = "initial";
    int check = 1;
    int a = 1;
    int b = 2;
    int combo = -1;
    int nameChanges = 0;
    int a2Clicks = 0;
    DeletingListBox list;
    std::function<void(SettingsDialog&)> onInit;

    BOOL OnInitDialog() override
    {
        for (const char* s : {"zero", "one", "two"})
            SendDlgItemMessage(IDC_COMBO, CB_ADDSTRING, s);
        const BOOL result = CDialog::OnInitDialog();
        if (onInit)
            onInit(*this);
        return result;
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_NAME, name);
        DDX_Check(pDX, IDC_CHECK, check);
        DDX_Radio(pDX, IDC_A1, a);
        DDX_Radio(pDX, IDC_B1, b);
        DDX_CBIndex(pDX, IDC_COMBO, combo);
        DDX_Control(pDX, IDC_LIST, list);
    }

private:
    void SendDlgItemMessage(int id, UINT msg, const char* s)
    {
        ::SendMessage(::GetDlgItem(m_hWnd, id), msg, 0, reinterpret_cast<LPARAM>(s));
    }
    void OnNameChange() { ++nameChanges; }
    void OnA2() { ++a2Clicks; }
};

class DialogTest : public GuiTest {};

BOOL checked(HWND dlg, int id)
{
    return SendMessage(GetDlgItem(dlg, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void click(HWND dlg, int id)
{
    SendMessage(GetDlgItem(dlg, id), BM_CLICK, 0, 0);
}

TEST_F(DialogTest, DataGoesIntoTheControlsAndBackOut)
{
    SettingsDialog dialog;
    dialog.combo = 2;
    dialog.onInit = [](SettingsDialog& d) {
        const HWND h = d.m_hWnd;
        std::string text;
        d.GetDlgItemText(IDC_NAME, text);
        EXPECT_EQ(text, "initial");
        EXPECT_TRUE(checked(h, IDC_CHECK));
        EXPECT_FALSE(checked(h, IDC_A1));
        EXPECT_TRUE(checked(h, IDC_A2));
        EXPECT_TRUE(checked(h, IDC_B3));
        EXPECT_EQ(SendMessage(GetDlgItem(h, IDC_COMBO), CB_GETCURSEL, 0, 0), 2);
        EXPECT_EQ(d.nameChanges, 0) << "notifications are held back during UpdateData";
        EXPECT_EQ(d.list.m_hWnd, GetDlgItem(h, IDC_LIST));
    };
    const ui::ModalDialogDriver driver([](HWND h) {
        SetDlgItemText(h, IDC_NAME, "typed");
        click(h, IDC_CHECK);
        click(h, IDC_A1);
        click(h, IDC_B2);
        SendMessage(GetDlgItem(h, IDC_COMBO), CB_SETCURSEL, 0, 0);
        click(h, IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_EQ(dialog.list.m_hWnd, nullptr) << "a subclassed control lets go when destroyed";
    EXPECT_EQ(dialog.name, "typed");
    EXPECT_EQ(dialog.check, 0);
    EXPECT_EQ(dialog.a, 0);
    EXPECT_EQ(dialog.b, 1);
    EXPECT_EQ(dialog.combo, 0);
    EXPECT_EQ(dialog.nameChanges, 1);
    EXPECT_EQ(dialog.a2Clicks, 0);
}

TEST_F(DialogTest, RadioGroupsAreIndependentAndAutoButtonsExclusive)
{
    SettingsDialog dialog;
    dialog.onInit = [](SettingsDialog& d) {
        const HWND h = d.m_hWnd;
        click(h, IDC_B1);
        EXPECT_TRUE(checked(h, IDC_B1));
        EXPECT_FALSE(checked(h, IDC_B3));
        EXPECT_TRUE(checked(h, IDC_A2)) << "another group is untouched";
        click(h, IDC_B1);
        EXPECT_TRUE(checked(h, IDC_B1)) << "clicking a checked radio button keeps it";
        click(h, IDC_A2);
        EXPECT_EQ(d.a2Clicks, 1);
        // No radio checked reads as -1 and -1 unchecks them all.
        SendMessage(GetDlgItem(h, IDC_A2), BM_SETCHECK, BST_UNCHECKED, 0);
        d.UpdateData(TRUE);
        EXPECT_EQ(d.a, -1);
        d.b = -1;
        d.UpdateData(FALSE);
        EXPECT_FALSE(checked(h, IDC_B1) || checked(h, IDC_B2) || checked(h, IDC_B3));
        d.EndDialog(42);
    };
    EXPECT_EQ(dialog.DoModal(), 42) << "ended in OnInitDialog";
}

TEST_F(DialogTest, EscapeAndCloseCancel)
{
    for (const bool escape : {true, false}) {
        SCOPED_TRACE(escape);
        SettingsDialog dialog;
        const ui::ModalDialogDriver driver([escape](HWND h) {
            if (escape) {
                QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QCoreApplication::sendEvent(ui::windowWidget(h), &key);
            } else {
                ui::windowWidget(h)->close();
            }
        });
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_EQ(dialog.name, "initial") << "Cancel takes no values";
    }
}

TEST_F(DialogTest, SubclassedListHandlesDeleteKey)
{
    SettingsDialog dialog;
    dialog.onInit = [](SettingsDialog& d) {
        for (const char* s : {"/x/a.nc1", "/x/a.nc1.bak", "/x/b.nc1", "/x/c.nc1"})
            d.list.AddString(s);
        d.list.SetSel(1);
        d.list.SetSel(3);
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
        QCoreApplication::sendEvent(ui::windowWidget(d.list.m_hWnd), &key);
        ASSERT_EQ(d.list.GetCount(), 2);
        std::string text;
        d.list.GetText(0, text);
        EXPECT_EQ(text, "/x/a.nc1");
        d.list.GetText(1, text);
        EXPECT_EQ(text, "/x/b.nc1");
        d.EndDialog(IDOK);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

DWORD modalFromWorker(LPVOID parameter)
{
    auto* dialog = static_cast<SettingsDialog*>(parameter);
    return static_cast<DWORD>(dialog->DoModal());
}

TEST_F(DialogTest, ModalDialogFromAWorkerRunsOnTheGuiThread)
{
    SettingsDialog dialog;
    Qt::HANDLE initThread = nullptr;
    dialog.onInit = [&](SettingsDialog&) { initThread = QThread::currentThreadId(); };
    const ui::ModalDialogDriver driver([](HWND h) {
        SetDlgItemText(h, IDC_NAME, "from worker");
        click(h, IDOK);
    });
    const HANDLE thread = CreateThread(nullptr, 0, modalFromWorker, &dialog, 0, nullptr);
    DWORD code = STILL_ACTIVE;
    pumpUntil([&] { return GetExitCodeThread(thread, &code) && code != STILL_ACTIVE; });
    CloseHandle(thread);
    EXPECT_EQ(code, static_cast<DWORD>(IDOK));
    EXPECT_EQ(initThread, QThread::currentThreadId());
    EXPECT_EQ(dialog.name, "from worker");
}

TEST_F(DialogTest, FromHandleFindsTheSubclassingObjectOrAWrapper)
{
    SettingsDialog dialog;
    dialog.onInit = [](SettingsDialog& d) {
        EXPECT_EQ(CWnd::FromHandle(d.m_hWnd), &d);
        EXPECT_EQ(d.GetDlgItem(IDC_LIST), &d.list);
        CWnd* edit = d.GetDlgItem(IDC_NAME);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(d.GetDlgItem(IDC_NAME), edit) << "one wrapper per window";
        EXPECT_EQ(edit->GetParent(), &d);
        EXPECT_EQ(d.GetDlgItem(4711), nullptr);
        d.EndDialog(IDOK);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

TEST_F(DialogTest, MissingTemplateOrControlFails)
{
    class Broken : public CDialog {
    public:
        Broken() : CDialog(777) {}
    } broken;
    EXPECT_EQ(broken.DoModal(), -1);

    class MissingControl : public SettingsDialog {
    protected:
        void DoDataExchange(CDataExchange* pDX) override
        {
            std::string text;
            DDX_Text(pDX, 4711, text);
        }
    } dialog;
    dialog.onInit = [](SettingsDialog& d) {
        EXPECT_FALSE(d.UpdateData(TRUE));
        d.EndDialog(IDOK);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

} // namespace
