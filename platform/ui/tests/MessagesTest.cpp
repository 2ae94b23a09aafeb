// Control messages, notifications, sends from a worker thread while the GUI
// thread waits in PeekMessage, posted messages, threads and text measuring.
#include "testing/GuiTest.h"

#include "ui/CommCtrl.h"
#include "ui/Process.h"
#include "ui/Window.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QProxyStyle>
#include <QScrollBar>
#include <QThread>
#include <QWidget>

#include <atomic>
#include <string>
#include <vector>

namespace {

// Records the wParam of every message of one kind that a window gets.
struct MessageRecorder : ui::MessageHandler {
    explicit MessageRecorder(UINT kind) : kind(kind) {}
    const UINT kind;
    std::vector<WPARAM> seen;
    LRESULT handleMessage(HWND h, UINT msg, WPARAM w, LPARAM l) override
    {
        if (msg == kind)
            seen.push_back(w);
        return DefWindowProc(h, msg, w, l);
    }
};

class MessagesTest : public GuiTest {
protected:
    void SetUp() override
    {
        using namespace ui;
        DialogTemplate t;
        t.cx = 200;
        t.cy = 200;
        t.controls = {
            LISTBOX(1, 0, 0, 100, 50, WS_HSCROLL),
            LISTBOX(2, 0, 50, 100, 50, LBS_EXTENDEDSEL),
            COMBOBOX(3, 0, 100, 100, 60, CBS_DROPDOWNLIST),
            EDITTEXT(4, 0, 120, 100, 14),
            CONTROL("", 5, WC_LISTVIEW, LVS_REPORT, 100, 0, 100, 100),
            LTEXT("Mark", 6, 100, 110, 50, 8),
        };
        m_dialog = createDialog(t, nullptr, &m_recorder);
        ASSERT_NE(m_dialog, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(m_dialog);
        GuiTest::TearDown();
    }
    HWND item(int id) const { return GetDlgItem(m_dialog, id); }
    std::string listText(int id, int index) const
    {
        char buffer[256] = "";
        SendMessage(item(id), LB_GETTEXT, static_cast<WPARAM>(index),
                    reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }

    // Records the commands the dialog gets.
    MessageRecorder m_recorder{WM_COMMAND};
    HWND m_dialog = nullptr;
};

LPARAM text(const char* s)
{
    return reinterpret_cast<LPARAM>(s);
}

TEST_F(MessagesTest, ListBoxKeepsOrderAndAnswersWindowsCodes)
{
    const HWND list = item(1);
    EXPECT_EQ(SendMessage(list, LB_ADDSTRING, 0, text("b")), 0);
    EXPECT_EQ(SendMessage(list, LB_ADDSTRING, 0, text("c")), 1);
    EXPECT_EQ(SendMessage(list, LB_INSERTSTRING, 0, text("a")), 0);
    EXPECT_EQ(SendMessage(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), text("d")), 3);
    EXPECT_EQ(SendMessage(list, LB_INSERTSTRING, 9, text("x")), LB_ERR);
    EXPECT_EQ(SendMessage(list, LB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(listText(1, 0) + listText(1, 1) + listText(1, 2) + listText(1, 3), "abcd");
    EXPECT_EQ(SendMessage(list, LB_GETTEXT, 4, text("")), LB_ERR);
    EXPECT_EQ(SendMessage(list, LB_DELETESTRING, 1, 0), 3);
    EXPECT_EQ(SendMessage(list, LB_DELETESTRING, 3, 0), LB_ERR);
    EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessage(list, LB_SETCURSEL, 2, 0), 2);
    EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendMessage(list, LB_GETHORIZONTALEXTENT, 0, 0), 0);
    SendMessage(list, LB_SETHORIZONTALEXTENT, 321, 0);
    EXPECT_EQ(SendMessage(list, LB_GETHORIZONTALEXTENT, 0, 0), 321);
    SendMessage(list, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessage(list, LB_GETCOUNT, 0, 0), 0);
    EXPECT_TRUE(m_recorder.seen.empty()) << "programmatic changes notify nothing";
}

// As on Windows the horizontal extent, not the entries, sets how far a list
// scrolls sideways; and no entry is measured to lay the list out, so that
// changing an entry costs the same in a list of 10 entries or 10,000.
TEST_F(MessagesTest, ListBoxScrollsAsFarAsItsExtentAndMeasuresNoEntry)
{
    struct CountingStyle : QProxyStyle {
        mutable int measured = 0;
        QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                               const QWidget* widget) const override
        {
            measured += type == CT_ItemViewItem;
            return QProxyStyle::sizeFromContents(type, option, size, widget);
        }
    };
    const HWND list = item(1);
    auto* widget = static_cast<QListWidget*>(ui::windowWidget(list));
    ShowWindow(m_dialog, SW_SHOW);
    const std::string longEntry(300, 'x');
    SendMessage(list, LB_ADDSTRING, 0, text(longEntry.c_str()));
    QCoreApplication::processEvents();
    EXPECT_EQ(widget->horizontalScrollBar()->maximum(), 0) << "no extent, no sideways scrolling";
    SendMessage(list, LB_SETHORIZONTALEXTENT, 2000, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(widget->horizontalScrollBar()->maximum(), 2000 - widget->viewport()->width());

    auto* style = new CountingStyle;
    style->setParent(widget);
    widget->setStyle(style);
    std::vector<int> measured;
    for (int entries : {10, 10000}) {
        SendMessage(list, LB_RESETCONTENT, 0, 0);
        for (int i = static_cast<int>(SendMessage(list, LB_GETCOUNT, 0, 0)); i < entries; ++i)
            SendMessage(list, LB_ADDSTRING, 0, text(("/exports/P" + std::to_string(i)).c_str()));
        QCoreApplication::processEvents();
        style->measured = 0;
        const int index = entries - 5;
        SendMessage(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessage(list, LB_INSERTSTRING, static_cast<WPARAM>(index),
                    text("/exports/P     Complete"));
        SendMessage(list, LB_DELETESTRING, static_cast<WPARAM>(index + 1), 0);
        QCoreApplication::processEvents();
        measured.push_back(style->measured);
    }
    EXPECT_EQ(measured[0], measured[1]) << "entries measured in a list of 10 and of 10,000";
    EXPECT_LT(measured[1], 100);
    widget->setStyle(nullptr);
}

TEST_F(MessagesTest, TimersSendWmTimerUntilKilledOrTheWindowGoes)
{
    MessageRecorder counter{WM_TIMER};
    const HWND edit = item(4);
    ui::setMessageHandler(edit, &counter);
    EXPECT_EQ(SetTimer(edit, 7, 1, nullptr), 7u);
    pumpUntil([&] { return counter.seen.size() >= 3; });
    EXPECT_EQ(counter.seen[0], 7u);
    EXPECT_TRUE(KillTimer(edit, 7));
    const std::size_t ticked = counter.seen.size();
    for (int i = 0; i < 5; ++i) {
        QThread::msleep(2);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(counter.seen.size(), ticked) << "no tick after KillTimer";
    EXPECT_FALSE(KillTimer(edit, 7));
    EXPECT_EQ(SetTimer(item(99), 1, 1, nullptr), 0u) << "no window, no timer";

    EXPECT_EQ(SetTimer(edit, 8, 1000, nullptr), 8u);
    ui::setMessageHandler(edit, nullptr);
    DestroyWindow(m_dialog);
    m_dialog = nullptr;
    EXPECT_FALSE(KillTimer(edit, 8)) << "the window took its timer with it";
}

TEST_F(MessagesTest, ExtendedSelectionListReportsItsSelection)
{
    const HWND list = item(2);
    for (const char* s : {"p", "q", "r", "s"})
        SendMessage(list, LB_ADDSTRING, 0, text(s));
    EXPECT_EQ(SendMessage(list, LB_SETCURSEL, 1, 0), LB_ERR) << "single-selection call";
    SendMessage(list, LB_SETSEL, TRUE, 1);
    SendMessage(list, LB_SETSEL, TRUE, 3);
    EXPECT_EQ(SendMessage(list, LB_GETSELCOUNT, 0, 0), 2);
    INT rows[4] = {-1, -1, -1, -1};
    EXPECT_EQ(SendMessage(list, LB_GETSELITEMS, 4, reinterpret_cast<LPARAM>(rows)), 2);
    EXPECT_EQ(rows[0], 1);
    EXPECT_EQ(rows[1], 3);
    EXPECT_EQ(SendMessage(list, LB_GETSEL, 3, 0), 1);
    EXPECT_EQ(SendMessage(list, LB_GETSEL, 0, 0), 0);
    SendMessage(list, LB_SETSEL, FALSE, -1);
    EXPECT_EQ(SendMessage(list, LB_GETSELCOUNT, 0, 0), 0);
}

TEST_F(MessagesTest, ComboBoxStartsWithoutChoiceAndKeepsItemData)
{
    const HWND combo = item(3);
    int first = 7;
    int second = 8;
    EXPECT_EQ(SendMessage(combo, CB_ADDSTRING, 0, text("Alpha")), 0);
    EXPECT_EQ(SendMessage(combo, CB_ADDSTRING, 0, text("Beta")), 1);
    SendMessage(combo, CB_SETITEMDATA, 0, reinterpret_cast<LPARAM>(&first));
    SendMessage(combo, CB_SETITEMDATA, 1, reinterpret_cast<LPARAM>(&second));
    EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(SendMessage(combo, CB_SETCURSEL, 1, 0), 1);
    EXPECT_EQ(reinterpret_cast<int*>(SendMessage(combo, CB_GETITEMDATA, 1, 0)), &second);
    EXPECT_EQ(SendMessage(combo, CB_GETITEMDATA, 2, 0), CB_ERR);
    char buffer[16];
    EXPECT_EQ(SendMessage(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 5);
    EXPECT_STREQ(buffer, "Alpha");
    EXPECT_EQ(SendMessage(combo, CB_DELETESTRING, 0, 0), 1);
    EXPECT_EQ(reinterpret_cast<int*>(SendMessage(combo, CB_GETITEMDATA, 0, 0)), &second);
}

TEST_F(MessagesTest, TextsAndTheirChangeNotification)
{
    SetDlgItemText(m_dialog, 4, "Job 17 \xc3\xa4");
    char buffer[8];
    EXPECT_EQ(GetDlgItemText(m_dialog, 4, buffer, sizeof buffer), 7u) << "cut to the buffer";
    EXPECT_STREQ(buffer, "Job 17 ");
    EXPECT_EQ(GetWindowTextLength(item(4)), 9);
    ASSERT_EQ(m_recorder.seen.size(), 1u);
    EXPECT_EQ(m_recorder.seen[0], MAKEWPARAM(4, EN_CHANGE));
    SetWindowText(item(6), "M-1");
    char mark[8];
    GetWindowText(item(6), mark, sizeof mark);
    EXPECT_STREQ(mark, "M-1");
}

TEST_F(MessagesTest, ReportListViewHoldsColumnsRowsAndSubitems)
{
    const HWND view = item(5);
    const char* titles[] = {"JOB", "GROUP", "MARK"};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMN col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.cx = 150;
        col.pszText = const_cast<char*>(titles[i]);
        EXPECT_EQ(ListView_InsertColumn(view, i, &col), i);
    }
    for (int row = 0; row < 2; ++row) {
        std::string job = "J" + std::to_string(row);
        LVITEM lv{};
        lv.mask = LVIF_TEXT;
        lv.iItem = row;
        lv.pszText = job.data();
        EXPECT_EQ(ListView_InsertItem(view, &lv), row);
        std::string group = "G" + std::to_string(row);
        std::string mark = "M" + std::to_string(row);
        ListView_SetItemText(view, row, 1, group.data());
        ListView_SetItemText(view, row, 2, mark.data());
    }
    EXPECT_EQ(ListView_GetItemCount(view), 2);
    EXPECT_EQ(ListView_GetColumnWidth(view, 2), 150);
    char buffer[8];
    ListView_GetItemText(view, 1, 0, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "J1");
    ListView_GetItemText(view, 1, 2, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "M1");
    ListView_DeleteAllItems(view);
    EXPECT_EQ(ListView_GetItemCount(view), 0);
}

TEST_F(MessagesTest, TextIsMeasuredWithTheWindowsFont)
{
    const HDC dc = GetDC(item(1));
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessage(item(1), WM_GETFONT, 0, 0)));
    SIZE one{};
    SIZE two{};
    ASSERT_TRUE(GetTextExtentPoint32(dc, "WWWW", 4, &one));
    ASSERT_TRUE(GetTextExtentPoint32(dc, "WWWWWWWW", 8, &two));
    TEXTMETRIC tm{};
    ASSERT_TRUE(GetTextMetrics(dc, &tm));
    EXPECT_GT(one.cx, 0);
    EXPECT_NEAR(two.cx, 2 * one.cx, 1);
    EXPECT_GT(tm.tmAveCharWidth, 0);
    EXPECT_EQ(tm.tmHeight, one.cy);
    SelectObject(dc, old);
    ReleaseDC(item(1), dc);
}

// The worker of a conversion: sends list-box and text messages to windows
// of the GUI thread, which waits for its end dispatching messages.
struct WorkerInput {
    HWND list;
    HWND mark;
};

DWORD listWorker(LPVOID parameter)
{
    const auto* in = static_cast<WorkerInput*>(parameter);
    const int count = static_cast<int>(SendMessage(in->list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        SendMessage(in->list, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
        char entry[64];
        SendMessage(in->list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
        const std::string done = std::string(entry) + "     Complete";
        SendMessage(in->list, LB_INSERTSTRING, static_cast<WPARAM>(i),
                    reinterpret_cast<LPARAM>(done.c_str()));
        SendMessage(in->list, LB_DELETESTRING, static_cast<WPARAM>(i + 1), 0);
        const LRESULT extent = SendMessage(in->list, LB_GETHORIZONTALEXTENT, 0, 0);
        SendMessage(in->list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent + 1), 0);
        SetWindowText(in->mark, entry);
    }
    return 7;
}

TEST_F(MessagesTest, WorkerSendsWhileGuiThreadWaitsInPeekMessage)
{
    for (int run = 0; run < 100; ++run) {
        SCOPED_TRACE(run);
        SendMessage(item(1), LB_RESETCONTENT, 0, 0);
        SendMessage(item(1), LB_SETHORIZONTALEXTENT, 0, 0);
        for (const char* s : {"/a.nc1", "/b.nc1", "/c.nc1"})
            SendMessage(item(1), LB_ADDSTRING, 0, text(s));
        WorkerInput in{item(1), item(6)};
        DWORD id = 0;
        const HANDLE thread = CreateThread(nullptr, 0, listWorker, &in, CREATE_SUSPENDED, &id);
        ASSERT_NE(thread, nullptr);
        EXPECT_NE(id, GetCurrentThreadId());
        DWORD code = 0;
        ASSERT_TRUE(GetExitCodeThread(thread, &code));
        EXPECT_EQ(code, STILL_ACTIVE);
        EXPECT_EQ(ResumeThread(thread), 1u);
        pumpUntil([&] { return GetExitCodeThread(thread, &code) && code != STILL_ACTIVE; });
        EXPECT_EQ(code, 7u);
        EXPECT_TRUE(CloseHandle(thread));
        EXPECT_EQ(listText(1, 2), "/c.nc1     Complete");
        EXPECT_EQ(SendMessage(item(1), LB_GETCOUNT, 0, 0), 3);
        EXPECT_EQ(SendMessage(item(1), LB_GETHORIZONTALEXTENT, 0, 0), 3);
    }
}

TEST_F(MessagesTest, PostedMessagesArriveInOrderThroughPeekMessage)
{
    PostMessage(item(4), WM_SETTEXT, 0, text("first"));
    PostMessage(item(6), WM_SETTEXT, 0, text("second"));
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.hwnd, item(4));
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(DispatchMessage(&msg), TRUE);
    char buffer[16];
    GetWindowText(item(4), buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "first");
    // The rest is delivered by the event loop.
    QCoreApplication::processEvents();
    GetWindowText(item(6), buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "second");
    EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessagesTest, KeyDownReachesTheHandlerWhichMayPassItOn)
{
    MessageRecorder handler{WM_KEYDOWN};
    const HWND list = item(1);
    ui::setMessageHandler(list, &handler);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QCoreApplication::sendEvent(ui::windowWidget(list), &press);
    ui::setMessageHandler(list, nullptr);
    ASSERT_EQ(handler.seen.size(), 1u);
    EXPECT_EQ(handler.seen[0], VK_DELETE);
}

TEST_F(MessagesTest, CallsOnAMissingWindowFailQuietly)
{
    const HWND gone = item(99);
    EXPECT_EQ(gone, nullptr);
    EXPECT_EQ(SendMessage(gone, LB_GETCOUNT, 0, 0), 0);
    EXPECT_FALSE(PostMessage(gone, WM_NULL, 0, 0));
    EXPECT_FALSE(IsWindow(gone));
    EXPECT_FALSE(DestroyWindow(gone));
    char buffer[4] = "x";
    EXPECT_EQ(GetWindowText(gone, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
}

TEST(Process, ModuleFileNameIsThisProgramAndCutsToTheBuffer)
{
    char path[4096];
    const DWORD n = GetModuleFileName(nullptr, path, sizeof path);
    ASSERT_GT(n, 0u);
    EXPECT_NE(std::string(path).find("ui_tests"), std::string::npos);
    char small[5];
    EXPECT_EQ(GetModuleFileName(nullptr, small, sizeof small), 5u);
    EXPECT_EQ(std::string(small), std::string(path, 4));
}

} // namespace
