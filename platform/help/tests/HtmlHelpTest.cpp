// The help viewer on a CHM built by the build's help helper: its default
// topic, links inside the file, and files it must refuse.
#include "help/HtmlHelp.h"
#include "testing/TemporaryFolder.h"

#include "ui/Process.h"
#include "ui/TestHooks.h"
#include "ui/Window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTextBrowser>
#include <QWidget>
#include <QWindow>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

class HtmlHelpTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(ui::liveWindowCount(), 0u);
        EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
    }
    std::filesystem::path scratch(const char* name) const { return m_folder / name; }
    const testsupport::TemporaryFolder m_folder{"help-test"};
};

QTextBrowser* browserOf(HWND window)
{
    return ui::windowWidget(window)->findChild<QTextBrowser*>();
}

TEST_F(HtmlHelpTest, OpensTheDefaultTopicAndFollowsLinksInside)
{
    const HWND window = HtmlHelp(nullptr, FIXTURE_CHM, HH_DISPLAY_TOPIC, 0);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    char title[64];
    GetWindowText(window, title, sizeof title);
    EXPECT_STREQ(title, "Fixture Help");
    QTextBrowser* browser = browserOf(window);
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->toPlainText().contains("Fixture index"));
    emit browser->anchorClicked(QUrl("sub/page2.htm"));
    EXPECT_TRUE(browser->toPlainText().contains("Second page body"));
    emit browser->anchorClicked(QUrl("../index.htm"));
    EXPECT_TRUE(browser->toPlainText().contains("Fixture index"));
    emit browser->anchorClicked(QUrl("no-such-page.htm"));
    EXPECT_TRUE(browser->toPlainText().contains("Fixture index")) << "a dead link changes nothing";
    EXPECT_TRUE(DestroyWindow(window));
}

TEST_F(HtmlHelpTest, ClosingTheWindowTakesItsHandle)
{
    const HWND window = HtmlHelp(nullptr, FIXTURE_CHM, HH_DISPLAY_TOPIC, 0);
    ASSERT_NE(window, nullptr);
    ui::windowWidget(window)->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(IsWindow(window));
}

DWORD openFromWorker(LPVOID parameter)
{
    *static_cast<HWND*>(parameter) = HtmlHelp(nullptr, FIXTURE_CHM, HH_DISPLAY_TOPIC, 0);
    return 0;
}

TEST_F(HtmlHelpTest, OpensFromAWorkerOnTheGuiThread)
{
    HWND window = nullptr;
    const HANDLE thread = CreateThread(nullptr, 0, openFromWorker, &window, 0, nullptr);
    DWORD code = STILL_ACTIVE;
    MSG msg;
    while (GetExitCodeThread(thread, &code) && code == STILL_ACTIVE)
        PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE);
    CloseHandle(thread);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ui::windowWidget(window)->thread(), QCoreApplication::instance()->thread());
    DestroyWindow(window);
}

// Help asked for from a modal dialog (F1): the help window must take the
// user's keys and clicks while the dialog stays modal, come to the front,
// and be the same window however often help is asked for.
TEST_F(HtmlHelpTest, AModalOwnersHelpWindowTakesInputComesToTheFrontAndIsReused)
{
    ui::DialogTemplate t;
    t.caption = "Owner";
    t.style = WS_POPUP | WS_CAPTION | DS_SETFONT;
    t.cx = 100;
    t.cy = 50;
    t.controls = {ui::EDITTEXT(1, 5, 5, 80, 14, WS_TABSTOP)};
    bool checked = false;
    const ui::ModalDialogDriver driver([&](HWND dialog) {
        const HWND help = HtmlHelp(dialog, FIXTURE_CHM, HH_DISPLAY_TOPIC, 0);
        ASSERT_NE(help, nullptr);
        QWidget* window = ui::windowWidget(help);
        QCoreApplication::processEvents();
        EXPECT_EQ(QApplication::activeWindow(), window) << "the help window comes to the front";
        EXPECT_EQ(QApplication::activeModalWidget(), ui::windowWidget(dialog))
            << "the owner stays modal";
        QTextBrowser* browser = browserOf(help);
        // Keys as the window system delivers them: a window the modal
        // dialog blocks never sees them.
        QTest::keyClick(window->windowHandle(), Qt::Key_Tab);
        QTest::keyClick(window->windowHandle(), Qt::Key_Return);
        EXPECT_TRUE(browser->toPlainText().contains("Second page body")) << "its link responds";

        EXPECT_EQ(HtmlHelp(dialog, FIXTURE_CHM, HH_DISPLAY_TOPIC, 0), help) << "one window";
        EXPECT_TRUE(browser->toPlainText().contains("Fixture index")) << "at the default topic";
        EXPECT_EQ(QApplication::activeWindow(), window);
        EXPECT_EQ(QApplication::topLevelWidgets().count(window), 1);

        window->close(); // the user closes it: the next help opens a new one
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(IsWindow(help));
        const HWND again = HtmlHelp(dialog, FIXTURE_CHM, HH_DISPLAY_TOPIC, 0);
        ASSERT_NE(again, nullptr);
        EXPECT_TRUE(IsWindowVisible(again));
        checked = true;
        EndDialog(dialog, IDOK);
    });
    EXPECT_EQ(ui::doModal(t, nullptr, nullptr, [](HWND) {}), IDOK);
    EXPECT_TRUE(checked);
    // The help window closed with its owner (the fixture checks that no
    // window is left).
}

TEST_F(HtmlHelpTest, RefusesFilesThatAreMissingNoChmOrCutShort)
{
    std::ifstream in(FIXTURE_CHM, std::ios::binary);
    const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(whole.size(), 1000u);
    const std::filesystem::path text = scratch("text.chm");
    std::ofstream(text) << "<html>not compiled</html>\n";
    const std::filesystem::path cut = scratch("cut.chm");
    std::ofstream(cut, std::ios::binary) << whole.substr(0, whole.size() / 3);
    const std::filesystem::path empty = scratch("empty.chm");
    std::ofstream{empty};
    for (const std::filesystem::path& path : {scratch("missing.chm"), text, cut, empty}) {
        SCOPED_TRACE(path.string());
        EXPECT_EQ(HtmlHelp(nullptr, path.c_str(), HH_DISPLAY_TOPIC, 0), nullptr);
    }
    EXPECT_EQ(HtmlHelp(nullptr, FIXTURE_CHM, 0x0F, 0), nullptr) << "other commands are not served";
}

} // namespace
