// Copying from the results grid: Ctrl+C and the context menu put the selected rows (or every set
// row) on the clipboard as the printed lines.
#include "support/QtTestSupport.h"
#include "ui/results_window/ResultsWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QItemSelectionModel>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace zentrix::ui {
namespace {

class ResultsCopyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const int sets[3][6] = {{3, 11, 17, 25, 38, 42}, {1, 2, 9, 10, 11, 43}, {5, 6, 7, 8, 9, 12}};
        for (int row = 1; row <= 3; ++row) {
            for (int col = 1; col <= 6; ++col)
                window.setCellText(row, col,
                                   QStringLiteral("%1").arg(sets[row - 1][col - 1], 2, 10, QLatin1Char('0')));
        }
        QApplication::clipboard()->clear();
    }

    void selectRows(std::initializer_list<int> rows)
    {
        QTableWidget* grid = window.controls().MSFlexGrid1;
        grid->clearSelection();
        for (const int row : rows)
            grid->selectionModel()->select(grid->model()->index(row - 1, 2),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    ResultsWindow window{[] { return 3; }};
};

TEST_F(ResultsCopyTest, WithoutASelectionEverySetRowIsCopied)
{
    EXPECT_EQ(window.CopiedLines(), QStringLiteral("001→03 , 11 , 17 , 25 , 38 , 42\n"
                                                   "002→01 , 02 , 09 , 10 , 11 , 43\n"
                                                   "003→05 , 06 , 07 , 08 , 09 , 12\n"));
}

TEST_F(ResultsCopyTest, SelectedRowsAreCopiedInGridOrderAndEmptyRowsLeftOut)
{
    selectRows({3, 1, 57});
    EXPECT_EQ(window.CopiedLines(), QStringLiteral("001→03 , 11 , 17 , 25 , 38 , 42\n"
                                                   "003→05 , 06 , 07 , 08 , 09 , 12\n"));
}

TEST_F(ResultsCopyTest, CtrlCOnTheGridAndTheContextMenuCopy)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTableWidget* grid = window.controls().MSFlexGrid1;
    grid->setFocus();
    selectRows({2});
    QTest::keySequence(grid, QKeySequence::Copy);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("002→01 , 02 , 09 , 10 , 11 , 43\n"));

    EXPECT_EQ(grid->contextMenuPolicy(), Qt::ActionsContextMenu);
    QAction* copy = test::Child<QAction>(grid, QStringLiteral("actCopy"));
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(grid->actions().contains(copy));
    EXPECT_EQ(copy->text(), QStringLiteral("コピー(&C)"));
    selectRows({});
    QApplication::clipboard()->clear();
    copy->trigger();
    EXPECT_EQ(QApplication::clipboard()->text().count(QLatin1Char('\n')), 3);
}

} // namespace
} // namespace zentrix::ui
