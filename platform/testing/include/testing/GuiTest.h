// The fixture of tests that open windows of the window framework: every
// test must leave no window behind and no dialog hook installed. Part of
// `testsupport_gui`.
#pragma once

#include "ui/TestHooks.h"

#include <gtest/gtest.h>

#include <QApplication>

class GuiTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        ui::setDialogAnswerer({});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(ui::liveWindowCount(), 0u) << "a window was left open";
        EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty()) << "a widget was left behind";
    }
};

// Keeps the GUI thread pumping (as a waiting GUI thread must) until done.
template <class Done>
void pumpUntil(Done done)
{
    MSG msg;
    while (!done())
        if (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
}
