// main() of the wizard's tests: the GUI test main (testing/GuiTests.h) with
// the application object and OLE started as the program starts them.
#include "wizard/QuillfenApp.h"

#include "com/Runtime.h"
#include "testing/GuiTests.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    return testsupport::runGuiTests(argc, argv, [] {
        ::testing::GTEST_FLAG(death_test_style) = "threadsafe";
        CQuillfenApp app;
        AfxWinInit();
        AfxOleInit();
        app.SetRegistryKey("Velmora");
        const int result = RUN_ALL_TESTS();
        OleUninitialize();
        return result;
    });
}
