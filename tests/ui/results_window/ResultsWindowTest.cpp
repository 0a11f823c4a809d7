// The results window: its geometry, the grid after set-up, cell reads and writes, and closing.
#include "ui/results_window/ResultsWindow.h"

#include "support/QtTestSupport.h"
#include "ui/common/Fonts.h"
#include "ui/results_window/PrintDialog.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace zentrix::ui {
namespace {

using test::Child;

/// Runs `whileOpen` once the modal window is on screen; the window must be closed by it.
void ShowModalAnd(ResultsWindow& window, const std::function<void()>& whileOpen)
{
    EXPECT_TRUE(test::WhileModal([&] { window.showModal(); },
                                 [&](QWidget* modal) {
                                     EXPECT_EQ(modal, &window);
                                     whileOpen();
                                 }));
    EXPECT_FALSE(window.isVisible());
}

TEST(ResultsWindow, WindowAsDesigned)
{
    ResultsWindow window;
    EXPECT_EQ(window.objectName(), QStringLiteral("frmFlexAns"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Zentrix -予想結果"));
    EXPECT_EQ(window.size(), QSize(312, 347));
    EXPECT_EQ(window.parentWidget(), nullptr) << "own task-bar entry: no owner";
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_NE(window.minimumSize(), window.maximumSize()) << "sizable";
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_EQ(window.font().family(), kGothicFace);
    EXPECT_EQ(window.font().pointSizeF(), 9.0);
    EXPECT_FALSE(window.isVisible()) << "created hidden";
}

TEST(ResultsWindow, ControlsAtTheirDesignPositions)
{
    ResultsWindow window;
    auto* grid = Child<QTableWidget>(&window, QStringLiteral("MSFlexGrid1"));
    auto* ok = Child<QPushButton>(&window, QStringLiteral("OK_Button"));
    auto* print = Child<QPushButton>(&window, QStringLiteral("PrintButton"));
    ASSERT_TRUE(grid && ok && print);
    EXPECT_EQ(grid->geometry(), QRect(0, 0, 313, 321));
    EXPECT_EQ(ok->geometry(), QRect(184, 328, 89, 17));
    EXPECT_EQ(print->geometry(), QRect(32, 328, 89, 17));
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_EQ(print->text(), QStringLiteral("印刷"));
    EXPECT_EQ(grid->font().family(), kGothicFace);
    EXPECT_EQ(print->font().family(), kGothicFace);
    for (QPushButton* button : {ok, print}) {
        EXPECT_FALSE(button->isDefault());
        EXPECT_FALSE(button->autoDefault());
    }
}

TEST(ResultsWindow, ResizingMovesNothing)
{
    ResultsWindow window;
    const auto& c = window.controls();
    const QRect grid = c.MSFlexGrid1->geometry();
    const QRect ok = c.OK_Button->geometry();
    const QRect print = c.PrintButton->geometry();
    window.show();
    window.resize(700, 600);
    QApplication::processEvents();
    window.resize(150, 120);
    QApplication::processEvents();
    EXPECT_EQ(c.MSFlexGrid1->geometry(), grid);
    EXPECT_EQ(c.OK_Button->geometry(), ok);
    EXPECT_EQ(c.PrintButton->geometry(), print);
    window.close();
}

TEST(ResultsGrid, SetUpGivesLabelsAndABlankHeaderRow)
{
    ResultsWindow window;
    for (int col = 0; col < ResultsWindow::kColumns; ++col)
        EXPECT_EQ(window.cellText(0, col), QString()) << "row 0, column " << col;
    EXPECT_EQ(window.cellText(1, 0), QStringLiteral("001→"));
    EXPECT_EQ(window.cellText(9, 0), QStringLiteral("009→"));
    EXPECT_EQ(window.cellText(10, 0), QStringLiteral("010→"));
    EXPECT_EQ(window.cellText(99, 0), QStringLiteral("099→"));
    EXPECT_EQ(window.cellText(100, 0), QStringLiteral("100→"));
    for (int row = 1; row < ResultsWindow::kRows; ++row)
        for (int col = 1; col < ResultsWindow::kColumns; ++col)
            ASSERT_EQ(window.cellText(row, col), QString()) << row << "," << col;

    // The header views are the fixed row and column: what they display is what cellText reads.
    const QTableWidget* grid = window.controls().MSFlexGrid1;
    EXPECT_EQ(grid->rowCount() + 1, 101);
    EXPECT_EQ(grid->columnCount() + 1, 7);
    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), QString());
    EXPECT_EQ(grid->model()->headerData(99, Qt::Vertical).toString(), QStringLiteral("100→"));
    EXPECT_FALSE(grid->horizontalHeader()->isHidden());
    EXPECT_FALSE(grid->verticalHeader()->isHidden());
}

TEST(ResultsGrid, ColumnWidthsAndCentredCells)
{
    ResultsWindow window;
    window.show();
    const QTableWidget* grid = window.controls().MSFlexGrid1;
    EXPECT_EQ(grid->verticalHeader()->width(), 53); // 800 twips
    for (int col = 0; col < 6; ++col)
        EXPECT_EQ(grid->columnWidth(col), 39) << col; // 590 twips
    const Qt::Alignment centred = Qt::AlignCenter;
    EXPECT_EQ(grid->horizontalHeader()->defaultAlignment(), centred);
    EXPECT_EQ(grid->verticalHeader()->defaultAlignment(), centred);
    for (int row = 0; row < grid->rowCount(); ++row) {
        ASSERT_EQ(Qt::Alignment(grid->verticalHeaderItem(row)->textAlignment()), centred);
        for (int col = 0; col < grid->columnCount(); ++col)
            ASSERT_EQ(Qt::Alignment(grid->item(row, col)->textAlignment()), centred);
    }
    // All seven columns fit beside the vertical scroll bar.
    EXPECT_FALSE(grid->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(grid->verticalScrollBar()->isVisible());
    EXPECT_GE(grid->viewport()->width(), 6 * 39);
    window.close();
}

TEST(ResultsGrid, CellsAreReadOnly)
{
    ResultsWindow window;
    window.setCellText(1, 1, QStringLiteral("07"));
    window.show();
    QTableWidget* grid = window.controls().MSFlexGrid1;
    grid->setCurrentCell(0, 0);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_F2);
    QTest::keyClicks(grid, QStringLiteral("99"));
    QTest::keyClick(grid, Qt::Key_Return);
    const QRect cell = grid->visualItemRect(grid->item(0, 0));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::keyClicks(grid->viewport(), QStringLiteral("42"));
    EXPECT_EQ(grid->findChild<QLineEdit*>(), nullptr) << "no editor opened";
    EXPECT_EQ(window.cellText(1, 1), QStringLiteral("07"));
    window.close();
}

TEST(ResultsGrid, WritesOutsideTheGridAreIgnored)
{
    ResultsWindow window;
    window.setCellText(101, 1, QStringLiteral("01"));
    window.setCellText(1, 7, QStringLiteral("01"));
    window.setCellText(-1, 0, QStringLiteral("01"));
    window.setCellText(0, 0, QStringLiteral("x"));
    EXPECT_EQ(window.cellText(101, 1), QString());
    EXPECT_EQ(window.cellText(0, 0), QString());
    window.setCellText(0, 2, QStringLiteral("B"));
    window.setCellText(5, 0, QStringLiteral("L"));
    EXPECT_EQ(window.cellText(0, 2), QStringLiteral("B"));
    EXPECT_EQ(window.cellText(5, 0), QStringLiteral("L"));
}

TEST(ResultsWindowShow, ModalAtItsOpeningPlaceWithTheFocusOnTheGrid)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    ResultsWindow window;
    ShowModalAnd(window, [&] {
        EXPECT_EQ(window.geometry(),
                  ResultsWindow::OpeningGeometry(screen->geometry(), screen->availableGeometry()));
        EXPECT_TRUE(window.isModal());
        EXPECT_EQ(window.windowModality(), Qt::ApplicationModal);
        EXPECT_EQ(window.focusWidget(), window.controls().MSFlexGrid1);
        window.controls().OK_Button->click();
    });
}

TEST(ResultsWindowShow, TabOrderIsGridOkPrint)
{
    ResultsWindow window;
    const auto& c = window.controls();
    ShowModalAnd(window, [&] {
        QApplication::setActiveWindow(&window);
        c.MSFlexGrid1->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), c.OK_Button);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), c.PrintButton);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), c.MSFlexGrid1);
        window.close();
    });
}

TEST(ResultsWindowShow, CloseBoxDoesWhatOkDoes)
{
    ResultsWindow viaOk;
    ShowModalAnd(viaOk, [&] { QTest::mouseClick(viaOk.controls().OK_Button, Qt::LeftButton); });
    ResultsWindow viaCloseBox;
    viaCloseBox.setCellText(1, 1, QStringLiteral("05"));
    ShowModalAnd(viaCloseBox, [&] {
        QCloseEvent closeBox; // what the window system sends for the title-bar button
        QApplication::sendEvent(&viaCloseBox, &closeBox);
        EXPECT_TRUE(closeBox.isAccepted()) << "closes without a question";
        if (viaCloseBox.isVisible())
            viaCloseBox.hide();
    });
}

TEST(ResultsWindowShow, NoButtonAnswersEnterOrEscape)
{
    int dialogs = 0;
    PrintDialog::setInterceptor([&](QPrinter&) {
        ++dialogs;
        return false;
    });
    ResultsWindow window;
    const auto& c = window.controls();
    ShowModalAnd(window, [&] {
        QApplication::setActiveWindow(&window);
        for (QWidget* target : {static_cast<QWidget*>(c.MSFlexGrid1), static_cast<QWidget*>(c.OK_Button),
                                static_cast<QWidget*>(c.PrintButton)}) {
            target->setFocus();
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
                QTest::keyClick(target, key);
            EXPECT_TRUE(window.isVisible()) << target->objectName().toStdString();
        }
        EXPECT_EQ(dialogs, 0);
        // The keys did reach the buttons: Space still presses the focused one.
        c.PrintButton->setFocus();
        QTest::keyClick(c.PrintButton, Qt::Key_Space);
        EXPECT_EQ(dialogs, 1);
        c.OK_Button->setFocus();
        QTest::keyClick(c.OK_Button, Qt::Key_Space);
        EXPECT_FALSE(window.isVisible());
    });
    PrintDialog::setInterceptor({});
}

TEST(ResultsWindowShow, OpeningPositionIsFixedOnAScreenThatHoldsIt)
{
    EXPECT_EQ(ResultsWindow::OpeningGeometry(QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1040)),
              QRect(934, 131, 312, 347));
    // Measured from the screen's top-left, not from the main window or the desktop's centre.
    EXPECT_EQ(ResultsWindow::OpeningGeometry(QRect(1920, 0, 1280, 1024), QRect(1920, 0, 1280, 984)),
              QRect(2854, 131, 312, 347));
    // A screen too small for it: the window moves only as far as needed to be seen whole.
    EXPECT_EQ(ResultsWindow::OpeningGeometry(QRect(0, 0, 1024, 768), QRect(0, 0, 1024, 728)),
              QRect(712, 131, 312, 347));
    EXPECT_EQ(ResultsWindow::OpeningGeometry(QRect(0, 0, 800, 400), QRect(0, 0, 800, 400)),
              QRect(488, 53, 312, 347));
}

} // namespace
} // namespace zentrix::ui
