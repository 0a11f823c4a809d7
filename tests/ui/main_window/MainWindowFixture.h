// MainWindowFixture: the real main window, loaded on a history file in a temporary folder.
#pragma once

#include "store/HistoryFile.h"
#include "support/HistoryFixtures.h"
#include "support/TempDir.h"
#include "ui/main_window/GenerationRunner.h"
#include "ui/main_window/MainWindow.h"
#include "ui/results_window/ResultsWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace zentrix::test {

class MainWindowFixture : public ::testing::Test
{
protected:
    /// The data file is reached through `device`: the real file unless a test needs it to fail.
    explicit MainWindowFixture(std::unique_ptr<FileDevice> device = MakeNativeFileDevice())
        : history(dir / "Loto6data.dt", std::move(device))
    {
    }

    void SetUp() override { ASSERT_TRUE(window.load()); }

    /// Shows the window and waits until it can take input.
    void showWindow()
    {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    /// Puts these draws in the data file and loads the window on it afresh.
    void reload(const std::vector<DrawRecord>& draws)
    {
        history.CloseHistory();
        WriteHistory(dir / "Loto6data.dt", draws);
        ASSERT_TRUE(window.load());
    }

    /// A click near the left end, where every check box and option button has its indicator.
    static void click(QAbstractButton* button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    /// Writes a draw through the history editor as the user does: edit mode on, the draw number
    /// (empty: the editor's own choice), six numbers and the bonus typed in, then 書き込み.
    void writeDraw(const QString& draw, const PredictionSet& numbers, int bonus)
    {
        if (!ui.Check1->isChecked())
            click(ui.Check1);
        ui.Text1->setText(draw);
        for (std::size_t i = 0; i < numbers.size(); ++i)
            ui.Text2[i]->setText(QString::number(numbers[i]));
        ui.Text8->setText(QString::number(bonus));
        QTest::mouseClick(ui.Writing, Qt::LeftButton);
    }

    /// Clicks cmdGen with sldCount at `sets`; once the results window is open, runs `whileOpen` on
    /// it and closes it with OK. Returns whether the results window opened.
    bool generate(int sets, const std::function<void(ui::ResultsWindow&)>& whileOpen = {})
    {
        ui.sldCount->setValue(sets);
        bool opened = false;
        QTimer::singleShot(0, &window, [&] {
            ui::ResultsWindow* results = window.generationRunner().resultsWindow();
            if (!results)
                return;
            opened = results->isVisible();
            if (whileOpen)
                whileOpen(*results);
            QTest::mouseClick(results->controls().OK_Button, Qt::LeftButton);
        });
        QTest::mouseClick(ui.cmdGen, Qt::LeftButton);
        QApplication::processEvents(); // let a timer that found no window run out
        return opened;
    }

    TempDir dir;
    HistoryFile history;
    ui::MainWindow window{history};
    ui::MainWindowControls& ui = window.controls();
};

} // namespace zentrix::test
