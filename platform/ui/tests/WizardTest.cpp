// Property sheets in wizard mode: pages created when first shown, the page
// flow with refusals, the buttons set by PSM_SETWIZBUTTONS and the routing
// of the sheet's cancel command.
#include "testing/GuiTest.h"

#include "ui/Afx.h"

#include <QKeyEvent>
#include <QWidget>

#include <algorithm>
#include <string>
#include <vector>

namespace {

ui::DialogTemplate pageTemplate(UINT id, const char* caption)
{
    ui::DialogTemplate t;
    t.id = id;
    t.caption = caption;
    t.style = WS_CHILD | WS_CAPTION | DS_SETFONT;
    t.cx = 290;
    t.cy = 170;
    t.controls = {ui::EDITTEXT(1020, 7, 7, 200, 14, ES_AUTOHSCROLL)};
    return t;
}

const ui::DialogTemplate kPage1 = pageTemplate(601, "First - Step 1 of 3");
const ui::DialogTemplate kPage2 = pageTemplate(602, "Second - Step 2 of 3");
const ui::DialogTemplate kPage3 = pageTemplate(603, "Third - Step 3 of 3");
const ui::DialogResource kResources{&kPage1, &kPage2, &kPage3};

class Page : public CPropertyPage {
public:
    Page(UINT id, std::vector<std::string>& log, LPARAM buttons)
        : CPropertyPage(id), buttons(buttons), m_log(log), m_name(std::to_string(id))
    {
    }
    LPARAM buttons; // what OnSetActive offers
    LRESULT nextAnswer = 0;
    BOOL setActiveAnswer = TRUE;
    std::string text;

    BOOL OnInitDialog() override
    {
        m_log.push_back("init " + m_name);
        return CPropertyPage::OnInitDialog();
    }
    BOOL OnSetActive() override
    {
        m_log.push_back("active " + m_name);
        GetParent()->PostMessage(PSM_SETWIZBUTTONS, 0, buttons);
        return CPropertyPage::OnSetActive() && setActiveAnswer;
    }
    LRESULT OnWizardNext() override
    {
        m_log.push_back("next " + m_name);
        return nextAnswer;
    }
    void OnDestroy() override
    {
        m_log.push_back("destroy " + m_name);
        CPropertyPage::OnDestroy();
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, 1020, text); }

private:
    std::vector<std::string>& m_log;
    std::string m_name;
};

class Sheet : public CPropertySheet {
public:
    explicit Sheet(bool handleCancel)
        : CPropertySheet("Wizard"), page1(601, log, PSWIZB_NEXT),
          page2(602, log, PSWIZB_BACK | PSWIZB_NEXT), page3(603, log, PSWIZB_BACK | PSWIZB_FINISH)
    {
        AddPage(&page1);
        AddPage(&page2);
        AddPage(&page3);
        m_psh.dwFlags |= PSH_WIZARD;
        if (handleCancel)
            ON_COMMAND(IDCANCEL, &Sheet::OnCancel);
    }
    std::vector<std::string> log;
    Page page1;
    Page page2;
    Page page3;

    BOOL OnInitDialog() override
    {
        const BOOL result = CPropertySheet::OnInitDialog();
        log.push_back(page1.m_hWnd ? "sheet init, page 1 exists" : "sheet init without page 1");
        return result;
    }

private:
    void OnCancel()
    {
        log.push_back("cancel handler");
        EndDialog(0);
    }
};

class WizardTest : public GuiTest {};

bool enabled(HWND sheet, int id)
{
    return IsWindowEnabled(GetDlgItem(sheet, id)) && IsWindowVisible(GetDlgItem(sheet, id));
}

void press(HWND sheet, int id)
{
    SendMessage(GetDlgItem(sheet, id), BM_CLICK, 0, 0);
}

std::string title(HWND sheet)
{
    char buffer[64];
    GetWindowText(sheet, buffer, sizeof buffer);
    return buffer;
}

TEST_F(WizardTest, PagesAreMadeWhenFirstShownAndButtonsFollowThePages)
{
    Sheet sheet(false);
    sheet.page1.text = "one";
    std::vector<std::string> checks;
    const ui::ModalDialogDriver driver([&](HWND h) {
        QCoreApplication::processEvents(); // the posted button states
        EXPECT_EQ(title(h), "First - Step 1 of 3");
        EXPECT_FALSE(enabled(h, ID_WIZBACK));
        EXPECT_TRUE(enabled(h, ID_WIZNEXT));
        EXPECT_EQ(sheet.page2.m_hWnd, nullptr) << "made when first shown";
        SetDlgItemText(sheet.page1.m_hWnd, 1020, "changed");
        press(h, ID_WIZNEXT);
        QCoreApplication::processEvents();
        EXPECT_EQ(sheet.page1.text, "changed") << "leaving a page takes its values";
        EXPECT_EQ(title(h), "Second - Step 2 of 3");
        EXPECT_TRUE(enabled(h, ID_WIZBACK));
        EXPECT_TRUE(IsWindowVisible(sheet.page2.m_hWnd));
        EXPECT_FALSE(IsWindowVisible(sheet.page1.m_hWnd));
        press(h, ID_WIZNEXT);
        QCoreApplication::processEvents();
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(h, ID_WIZNEXT)));
        EXPECT_TRUE(enabled(h, ID_WIZFINISH));
        press(h, ID_WIZBACK);
        QCoreApplication::processEvents();
        EXPECT_TRUE(enabled(h, ID_WIZNEXT));
        press(h, ID_WIZNEXT);
        QCoreApplication::processEvents();
        press(h, ID_WIZFINISH);
    });
    EXPECT_EQ(sheet.DoModal(), ID_WIZFINISH);
    const std::vector<std::string> expected = {
        "init 601",    "active 601",  "sheet init, page 1 exists",
        "next 601",    "init 602",    "active 602",
        "next 602",    "init 603",    "active 603",
        "active 602",  "next 602",    "active 603",
        "destroy 601", "destroy 602", "destroy 603"};
    EXPECT_EQ(sheet.log, expected);
    EXPECT_EQ(sheet.page1.m_hWnd, nullptr);
}

TEST_F(WizardTest, RefusalsKeepThePageAndSkipsMoveOn)
{
    Sheet sheet(false);
    sheet.page1.nextAnswer = -1;
    sheet.page2.setActiveAnswer = FALSE;
    const ui::ModalDialogDriver driver([&](HWND h) {
        press(h, ID_WIZNEXT);
        EXPECT_EQ(sheet.GetActiveIndex(), 0) << "-1 keeps the page";
        EXPECT_EQ(sheet.page2.m_hWnd, nullptr);
        sheet.page1.nextAnswer = 0;
        press(h, ID_WIZNEXT);
        EXPECT_EQ(sheet.GetActiveIndex(), 2) << "a page that refuses activation is skipped";
        sheet.page3.nextAnswer = 601;
        press(h, ID_WIZNEXT);
        EXPECT_EQ(sheet.GetActivePage(), &sheet.page1) << "a template id jumps to that page";
        press(h, IDCANCEL);
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
}

TEST_F(WizardTest, CancelGoesToTheSheetsHandlerWhichEndsWithItsCode)
{
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        Sheet sheet(true);
        const ui::ModalDialogDriver driver([](HWND h) { press(h, IDCANCEL); });
        EXPECT_EQ(sheet.DoModal(), 0);
        EXPECT_EQ(std::count(sheet.log.begin(), sheet.log.end(), "cancel handler"), 1);
        EXPECT_EQ(sheet.page1.m_hWnd, nullptr) << "the sheet's windows go with it";
    }
}

// The user presses Next, which then goes off on the new page: the focus
// must not pass to Cancel, where Return would end the wizard; Return
// presses Next or Finish, or nothing while they are off.
TEST_F(WizardTest, ReturnPressesNextOrFinishAndNeverCancel)
{
    Sheet sheet(false);
    sheet.page2.buttons = PSWIZB_BACK;
    const ui::ModalDialogDriver driver([&](HWND h) {
        QWidget* frame = ui::windowWidget(h);
        auto pressReturn = [&] {
            QWidget* target = frame->focusWidget() ? frame->focusWidget() : frame;
            QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(target, &key);
            QCoreApplication::processEvents();
        };
        QCoreApplication::processEvents();
        ui::windowWidget(GetDlgItem(h, ID_WIZNEXT))->setFocus();
        press(h, ID_WIZNEXT);
        QCoreApplication::processEvents();
        ASSERT_EQ(sheet.GetActiveIndex(), 1);
        EXPECT_FALSE(enabled(h, ID_WIZNEXT));
        EXPECT_NE(frame->focusWidget(), ui::windowWidget(GetDlgItem(h, IDCANCEL)));
        EXPECT_NE(frame->focusWidget(), ui::windowWidget(GetDlgItem(h, ID_WIZBACK)));
        pressReturn();
        EXPECT_TRUE(IsWindowVisible(h)) << "Return with Next off pressed a button";
        EXPECT_EQ(sheet.GetActiveIndex(), 1);

        sheet.page2.buttons = PSWIZB_BACK | PSWIZB_NEXT;
        SendMessage(h, PSM_SETWIZBUTTONS, 0, PSWIZB_BACK | PSWIZB_NEXT);
        pressReturn();
        EXPECT_EQ(sheet.GetActiveIndex(), 2) << "Return presses Next";
        pressReturn();
        EXPECT_FALSE(IsWindowVisible(h)) << "Return presses Finish";
    });
    EXPECT_EQ(sheet.DoModal(), ID_WIZFINISH);
}

TEST_F(WizardTest, OnlyWizardModeRuns)
{
    Sheet sheet(false);
    sheet.m_psh.dwFlags = 0;
    EXPECT_EQ(sheet.DoModal(), -1);
}

} // namespace
