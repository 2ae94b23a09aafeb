// main() of the GUI test binaries: the offscreen platform unless another is
// asked for, a private runtime directory and registry, and one QApplication.
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <sys/stat.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string scratch = (std::filesystem::temp_directory_path() / "ui-test-XXXXXX").string();
    if (!mkdtemp(scratch.data()))
        return 2;
    chmod(scratch.c_str(), 0700);
    if (!std::getenv("XDG_RUNTIME_DIR"))
        setenv("XDG_RUNTIME_DIR", scratch.c_str(), 1);
    setenv("VLMR_REGISTRY", (scratch + "/registry").c_str(), 1);
    int result;
    {
        int qtArgc = 1;
        QApplication app(qtArgc, argv);
        result = RUN_ALL_TESTS();
    }
    std::filesystem::remove_all(scratch);
    return result;
}
