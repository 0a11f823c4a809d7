// MainWindowFixture: the real main window, loaded on a history file in a temporary folder.
#pragma once

#include "store/HistoryFile.h"
#include "support/HistoryFixtures.h"
#include "support/TempDir.h"
#include "ui/main_window/MainWindow.h"

#include <QTest>
#include <gtest/gtest.h>

namespace zentrix::test {

class MainWindowFixture : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(window.load()); }

    /// Shows the window and waits until it can take input.
    void showWindow()
    {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    TempDir dir;
    HistoryFile history{dir / "Loto6data.dt"};
    ui::MainWindow window{history};
    ui::MainWindowControls& ui = window.controls();
};

} // namespace zentrix::test
