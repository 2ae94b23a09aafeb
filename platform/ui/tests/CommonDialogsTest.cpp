// Message boxes and file dialogs answered by the test hook, from the GUI
// thread and from a worker: what they ask, what they answer, and the
// layout of the chosen files.
#include "testing/GuiTest.h"
#include "testing/TemporaryFolder.h"

#include "ui/Afx.h"

#include <QComboBox>
#include <QFileDialog>
#include <QListView>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

class CommonDialogsTest : public GuiTest {
protected:
    std::vector<ui::DialogRequest> asked;
    std::vector<ui::DialogAnswer> answers;
    void answerWith(std::vector<ui::DialogAnswer> list)
    {
        answers = std::move(list);
        asked.clear();
        ui::setDialogAnswerer(
            [this](const ui::DialogRequest& r) -> std::optional<ui::DialogAnswer> {
                EXPECT_EQ(QThread::currentThread(), qApp->thread()) << "asked on the GUI thread";
                asked.push_back(r);
                if (asked.size() > answers.size())
                    return ui::DialogAnswer{IDCANCEL, {}};
                return answers[asked.size() - 1];
            });
    }
};

class App : public CWinApp {
public:
    App() : CWinApp("Quillfen") {}
};

TEST_F(CommonDialogsTest, MessageBoxesAnswerTheChosenButton)
{
    App app;
    answerWith({{IDYES, {}}, {IDNO, {}}, {IDOK, {}}});
    EXPECT_EQ(AfxMessageBox("Are you sure?", MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL), IDYES);
    EXPECT_EQ(MessageBox(nullptr, "Again?", "Caption", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBox(nullptr, "Plain", nullptr, MB_OK), IDOK);
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[0].kind, ui::DialogRequest::Kind::MessageBox);
    EXPECT_EQ(asked[0].text, "Are you sure?");
    EXPECT_EQ(asked[0].caption, "Quillfen") << "AfxMessageBox shows the application's name";
    EXPECT_EQ(asked[0].type, MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL);
    EXPECT_EQ(asked[1].caption, "Caption");
    EXPECT_EQ(asked[2].caption, "Error");
}

DWORD askFromWorker(LPVOID)
{
    return static_cast<DWORD>(AfxMessageBox("Non-Specific", MB_OK | MB_ICONSTOP | MB_SYSTEMMODAL));
}

TEST_F(CommonDialogsTest, WorkerWaitsForTheAnswerOfItsMessageBox)
{
    App app;
    answerWith({{IDOK, {}}});
    const HANDLE thread = CreateThread(nullptr, 0, askFromWorker, nullptr, 0, nullptr);
    DWORD code = STILL_ACTIVE;
    pumpUntil([&] { return GetExitCodeThread(thread, &code) && code != STILL_ACTIVE; });
    CloseHandle(thread);
    EXPECT_EQ(code, static_cast<DWORD>(IDOK));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, "Non-Specific");
}

TEST_F(CommonDialogsTest, OpenDialogWithMultipleSelectionGivesEveryPath)
{
    answerWith({{IDOK, {"/data/parts/a.nc1", "/data/parts/b.nc1", "/data/parts/sub/c.nc1"}}});
    CFileDialog dialog(TRUE, nullptr, nullptr,
                       OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ALLOWMULTISELECT |
                           OFN_HIDEREADONLY,
                       "All Files (*.*) | *.*||");
    std::vector<char> buffer(7760, '\0');
    dialog.m_ofn.lpstrFile = buffer.data();
    dialog.m_ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ASSERT_EQ(dialog.DoModal(), IDOK);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].kind, ui::DialogRequest::Kind::OpenFile);
    EXPECT_EQ(asked[0].filter, "All Files (*.*)|*.*");
    EXPECT_TRUE(asked[0].flags & OFN_ALLOWMULTISELECT);
    EXPECT_EQ(std::string(buffer.data()), "/data/parts") << "the directory comes first";
    std::vector<std::string> paths;
    for (POSITION pos = dialog.GetStartPosition(); pos;)
        paths.push_back(dialog.GetNextPathName(pos));
    EXPECT_EQ(paths, (std::vector<std::string>{"/data/parts/a.nc1", "/data/parts/b.nc1",
                                               "/data/parts/sub/c.nc1"}));
}

TEST_F(CommonDialogsTest, ChoiceThatDoesNotFitTheBufferIsNoChoiceAndSaysWhy)
{
    const ui::DialogAnswer tooLong{IDOK, {"/data/a-rather-long-name.nc1", "/data/another.nc1"}};
    const ui::DialogAnswer fits{IDOK, {"/data/a.nc1"}};
    struct Case {
        ui::DialogAnswer answer;
        INT_PTR result;
        DWORD error;
    } cases[] = {
        {tooLong, IDCANCEL, FNERR_BUFFERTOOSMALL}, {{IDCANCEL, {}}, IDCANCEL, 0}, {fits, IDOK, 0}};
    for (const Case& c : cases) {
        answerWith({c.answer});
        CFileDialog dialog(TRUE, nullptr, nullptr, OFN_ALLOWMULTISELECT, "All Files (*.*)|*.*||");
        char small[32] = "";
        dialog.m_ofn.lpstrFile = small;
        dialog.m_ofn.nMaxFile = sizeof small;
        EXPECT_EQ(dialog.DoModal(), c.result);
        EXPECT_EQ(CommDlgExtendedError(), c.error);
        if (c.result == IDCANCEL) {
            EXPECT_EQ(dialog.GetStartPosition(), nullptr) << "the buffer is left as it was";
        }
    }
}

// The dialog itself (no answer from the hook) on a folder of machine
// exports: Windows patterns ending in ".*" match names without a dot too.
TEST_F(CommonDialogsTest, AllFilesShowsEveryFileAlsoOneWithoutADot)
{
    const testsupport::TemporaryFolder folder("ui-filter-test");
    for (const char* name : {"A100", "B101", "B101.nc1", "notes.txt"})
        std::ofstream(folder.path() / name) << "x";
    struct Case {
        const char* filter;
        const char* name; // as the dialog shows the first filter
        std::vector<std::string> shown;
    } cases[] = {
        {"All Files (*.*) | *.*||", "All Files (*.*)", {"A100", "B101", "B101.nc1", "notes.txt"}},
        {"Piece B (B*.*)|B*.*||", "Piece B (B*.*)", {"B101", "B101.nc1"}},
        {"Parts|*.nc1|All Files (*.*)|*.*||", "Parts", {"B101.nc1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter);
        std::vector<std::string> shown;
        QString filterShown;
        QTimer poll;
        const auto started = std::chrono::steady_clock::now();
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            auto* view = dialog ? dialog->findChild<QListView*>("listView") : nullptr;
            if (!view || !view->model())
                return;
            const QModelIndex root = view->rootIndex();
            const bool waited =
                std::chrono::steady_clock::now() - started > std::chrono::seconds(5);
            if (view->model()->rowCount(root) < static_cast<int>(c.shown.size()) && !waited)
                return;
            poll.stop();
            for (int row = 0; row < view->model()->rowCount(root); ++row)
                shown.push_back(view->model()->index(row, 0, root).data().toString().toStdString());
            filterShown = dialog->findChild<QComboBox*>("fileTypeCombo")->currentText();
            dialog->reject();
        });
        poll.start(10);
        CFileDialog dialog(TRUE, nullptr, nullptr, OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT,
                           c.filter);
        const std::string directory = folder.path().string();
        dialog.m_ofn.lpstrInitialDir = directory.c_str();
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        std::sort(shown.begin(), shown.end());
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(filterShown.toStdString(), c.name);
    }
}

TEST_F(CommonDialogsTest, SingleChoiceTakesTheDefaultExtension)
{
    struct Case {
        const char* defExt;
        const char* chosen;
        const char* expected;
    } cases[] = {
        {"LOG", "/tmp/run", "/tmp/run.LOG"},
        {".chm", "/tmp/Help", "/tmp/Help.chm"},
        {"LOG", "/tmp/run.txt", "/tmp/run.txt"},
        {nullptr, "/tmp/run", "/tmp/run"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        answerWith({{IDOK, {c.chosen}}});
        CFileDialog dialog(TRUE, c.defExt, nullptr, OFN_HIDEREADONLY,
                           "Log Files (*.LOG)|*.LOG|All Files (*.*)|*.*||");
        ASSERT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.GetPathName(), c.expected);
        EXPECT_EQ(asked.back().filter, "Log Files (*.LOG)|*.LOG|All Files (*.*)|*.*");
    }
}

TEST_F(CommonDialogsTest, CreateAndOverwriteQuestionsDecide)
{
    const testsupport::TemporaryFolder folder("ui-dialogs-test");
    const std::filesystem::path& dir = folder.path();
    const std::string existing = (dir / "old.log").string();
    std::ofstream(existing) << "x";
    const std::string missing = (dir / "new.log").string();

    struct Case {
        BOOL open;
        DWORD flags;
        std::string path;
        int answer; // to the question, 0 = no question expected
        INT_PTR result;
    } cases[] = {
        {TRUE, OFN_CREATEPROMPT, missing, IDYES, IDOK},
        {TRUE, OFN_CREATEPROMPT, missing, IDNO, IDCANCEL},
        {TRUE, OFN_CREATEPROMPT | OFN_OVERWRITEPROMPT, existing, 0, IDOK},
        {FALSE, OFN_OVERWRITEPROMPT, existing, IDNO, IDCANCEL},
        {FALSE, OFN_OVERWRITEPROMPT, missing, 0, IDOK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path + (c.open ? " open" : " save"));
        answerWith({{IDOK, {c.path}}, {c.answer, {}}});
        CFileDialog dialog(c.open, "LOG", nullptr, c.flags, "Log Files (*.LOG)|*.LOG||");
        EXPECT_EQ(dialog.DoModal(), c.result);
        EXPECT_EQ(asked.size(), c.answer ? 2u : 1u);
    }
}

} // namespace
