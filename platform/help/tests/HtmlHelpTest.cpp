// The help viewer on a CHM built by the build's help helper: its default
// topic, links inside the file, and files it must refuse.
#include "help/HtmlHelp.h"
#include "testing/TemporaryFolder.h"

#include "ui/Process.h"
#include "ui/TestHooks.h"
#include "ui/Window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTextBrowser>
#include <QWidget>

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
