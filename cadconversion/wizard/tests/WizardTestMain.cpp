// main() of the wizard's tests: the offscreen platform unless another is
// asked for, a private runtime directory, one QApplication, and the
// application object with OLE started as the program starts them.
#include "wizard/QuillfenApp.h"

#include "com/Runtime.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <sys/stat.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::GTEST_FLAG(death_test_style) = "threadsafe";
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string scratch = (std::filesystem::temp_directory_path() / "wizard-test-XXXXXX").string();
    if (!mkdtemp(scratch.data()))
        return 2;
    chmod(scratch.c_str(), 0700);
    if (!std::getenv("XDG_RUNTIME_DIR"))
        setenv("XDG_RUNTIME_DIR", scratch.c_str(), 1);
    setenv("VLMR_REGISTRY", (scratch + "/registry").c_str(), 1);
    setenv("TARSIS_DATABASE", (scratch + "/tarsis.db").c_str(), 1);
    int result;
    {
        CQuillfenApp app;
        int qtArgc = 1;
        QApplication qt(qtArgc, argv);
        AfxWinInit();
        AfxOleInit();
        app.SetRegistryKey("Velmora");
        result = RUN_ALL_TESTS();
        OleUninitialize();
    }
    std::filesystem::remove_all(scratch);
    return result;
}
