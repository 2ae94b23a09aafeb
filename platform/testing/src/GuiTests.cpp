// The GUI test programs' start: see GuiTests.h.
#include "testing/GuiTests.h"

#include "testing/ScopedEnvironment.h"
#include "testing/TemporaryDatabase.h"
#include "testing/TemporaryFolder.h"
#include "testing/TemporaryRegistry.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>
#include <exception>
#include <iostream>
#include <optional>

namespace testsupport {

int runGuiTests(int argc, char** argv, const std::function<int()>& run)
{
    ::testing::InitGoogleTest(&argc, argv);
    try {
        std::optional<ScopedEnvironment> platform;
        if (!std::getenv("QT_QPA_PLATFORM"))
            platform.emplace("QT_QPA_PLATFORM", "offscreen");
        // Qt wants the runtime folder private (0700), as a temporary folder is.
        const TemporaryFolder runtime("gui-test-runtime");
        std::optional<ScopedEnvironment> runtimeVariable;
        if (!std::getenv("XDG_RUNTIME_DIR"))
            runtimeVariable.emplace("XDG_RUNTIME_DIR", runtime.path().string());
        const TemporaryRegistry registry("gui-test-registry");
        const TemporaryDatabase database("gui-test-database");
        int qtArgc = 1;
        QApplication application(qtArgc, argv);
        return run();
    } catch (const std::exception& failure) {
        std::cerr << failure.what() << '\n';
        return 2;
    }
}

} // namespace testsupport
