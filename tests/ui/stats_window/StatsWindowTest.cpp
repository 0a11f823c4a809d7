// The statistics window driven offscreen on the real main window: the menu, every view, the
// range, sorting, following the editor and the settings, PNG export and printing.
#include "ui/stats_window/StatsWindow.h"

#include "analysis/RuleMeter.h"
#include "support/QtTestSupport.h"
#include "ui/main_window/MainWindowFixture.h"
#include "ui/results_window/PrintDialog.h"
#include "ui/stats_window/ChartView.h"
#include "ui/stats_window/StatsMenu.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

namespace zentrix::ui {
namespace {

using test::Child;

class StatsWindowTest : public zentrix::test::MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        reload(zentrix::test::SyntheticHistory(60, 7));
        item = InstallStatsMenu(window);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    void TearDown() override { PrintDialog::setInterceptor({}); }

    StatsWindow* open()
    {
        item->trigger();
        auto* stats = window.findChild<StatsWindow*>(QStringLiteral("frmStats"));
        EXPECT_NE(stats, nullptr);
        if (stats) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(stats));
        }
        return stats;
    }

    DrawTable table() const
    {
        DrawTable t;
        for (const DrawRecord& record : zentrix::test::ReadRecords(dir / "Loto6data.dt")) {
            if (!record.isEmpty())
                t.rows.push_back(MakeDrawRow(record));
        }
        return t;
    }

    QAction* item = nullptr;
    zentrix::test::MessageLog messages;
};

TEST_F(StatsWindowTest, MenuSitsBetweenTheDesignMenusWithItsOwnAccessKey)
{
    // The design's two menus stay first and last; the statistics menu sits between them.
    const QList<QAction*> bar = window.menuBar()->actions();
    ASSERT_GE(bar.size(), 3);
    EXPECT_EQ(bar.front()->menu(), ui.mnuFile);
    EXPECT_EQ(bar.back()->menu(), ui.mnuHelp);
    QMenu* stats = Child<QMenu>(&window, QStringLiteral("mnuStats"));
    EXPECT_TRUE(
        std::any_of(bar.begin() + 1, bar.end() - 1, [stats](QAction* a) { return a->menu() == stats; }));
    EXPECT_EQ(stats->title(), QStringLiteral("統計(&S)"));
    EXPECT_EQ(QKeySequence::mnemonic(stats->title()), QKeySequence(Qt::ALT | Qt::Key_S));
    EXPECT_EQ(item->text(), QStringLiteral("統計と条件メーター(&T)..."));
    // The design's menus keep their items.
    EXPECT_EQ(ui.mnuFile->actions().back(), ui.mnuFileItem[0]);
    EXPECT_EQ(ui.mnuHelp->actions().size(), 4);
}

TEST_F(StatsWindowTest, OpensOnceWithEveryViewTableAndChart)
{
    StatsWindow* stats = open();
    ASSERT_NE(stats, nullptr);
    EXPECT_EQ(open(), stats); // a second choice raises the same window
    EXPECT_EQ(window.findChildren<StatsWindow*>().size(), 1);
    StatsWindowControls& c = stats->controls();
    ASSERT_EQ(c.tabViews->count(), int(analysis::kAllViews.size()) + 1);
    EXPECT_EQ(c.tabViews->tabText(0), QStringLiteral("出現間隔"));
    EXPECT_EQ(c.tabViews->tabText(c.tabViews->count() - 1), QStringLiteral("条件メーター"));
    for (const StatsViewPage& page : c.pages) {
        ASSERT_FALSE(page.tables.empty());
        EXPECT_GT(page.tables[0]->rowCount(), 0);
        EXPECT_FALSE(page.chart->chart().bars.empty());
        EXPECT_FALSE(page.notes->text().isEmpty());
    }
    EXPECT_EQ(c.pages[0].tables[0]->rowCount(), 43);
    EXPECT_EQ(c.lblRange->text(), QStringLiteral("第1回〜第60回（60回分）"));
    EXPECT_EQ(stats->statistics().draws, 60);
}

TEST_F(StatsWindowTest, RangeSelectorRecomputesEveryView)
{
    StatsWindow* stats = open();
    ASSERT_NE(stats, nullptr);
    StatsWindowControls& c = stats->controls();
    EXPECT_FALSE(c.spnLast->isEnabled());
    c.cboRange->setCurrentIndex(1);                                            // 直近10回
    EXPECT_EQ(c.pages[0].tables[0]->item(0, 0)->text(), QStringLiteral("01")); // unsorted: number order
    EXPECT_EQ(c.pages[0].tables[0]->item(42, 0)->text(), QStringLiteral("43"));
    EXPECT_EQ(c.cboRange->currentText(), QStringLiteral("直近10回"));
    EXPECT_EQ(stats->statistics().draws, 10);
    EXPECT_EQ(c.lblRange->text(), QStringLiteral("第51回〜第60回（10回分）"));

    c.cboRange->setCurrentIndex(int(StatsWindow::kRangeChoices.size()) - 1);
    EXPECT_TRUE(c.spnLast->isEnabled());
    c.spnLast->setValue(25);
    EXPECT_EQ(stats->statistics().draws, 25);
    stats->setRange(0);
    EXPECT_EQ(stats->statistics().draws, 60);
    EXPECT_FALSE(c.spnLast->isEnabled());
}

TEST_F(StatsWindowTest, HeaderClicksSortByTheFigureAndTheOrderSurvivesARangeChange)
{
    StatsWindow* stats = open();
    ASSERT_NE(stats, nullptr);
    QTableWidget* gaps = stats->controls().pages[0].tables[0];
    QHeaderView* header = gaps->horizontalHeader();
    const auto clickColumn = [header](int column) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                                 header->height() / 2));
    };
    const auto column = [gaps](int c) {
        std::vector<double> values;
        for (int r = 0; r < gaps->rowCount(); ++r) {
            QString text = gaps->item(r, c)->text();
            text.remove(QStringLiteral("第")).remove(QStringLiteral("回")).remove(QStringLiteral("以上"));
            values.push_back(text == QStringLiteral("-") ? 0 : text.toDouble());
        }
        return values;
    };
    // 最後に出た回 ("第9回" must come before "第10回"), both ways.
    clickColumn(2);
    std::vector<double> last = column(2);
    const bool ascending = std::is_sorted(last.begin(), last.end());
    clickColumn(2);
    last = column(2);
    if (ascending)
        EXPECT_TRUE(std::is_sorted(last.rbegin(), last.rend()));
    else
        EXPECT_TRUE(std::is_sorted(last.begin(), last.end()));
    EXPECT_FALSE(std::is_sorted(column(0).begin(), column(0).end())); // numbers no longer in order
    const Qt::SortOrder order = header->sortIndicatorOrder();

    stats->controls().cboRange->setCurrentIndex(2);
    EXPECT_EQ(header->sortIndicatorSection(), 2);
    EXPECT_EQ(header->sortIndicatorOrder(), order);
    last = column(2);
    if (order == Qt::AscendingOrder)
        EXPECT_TRUE(std::is_sorted(last.begin(), last.end()));
    else
        EXPECT_TRUE(std::is_sorted(last.rbegin(), last.rend()));
}

TEST_F(StatsWindowTest, FollowsDrawsWrittenAndDeletedInTheEditor)
{
    StatsWindow* stats = open();
    ASSERT_NE(stats, nullptr);
    ASSERT_EQ(stats->statistics().range.last, 60);
    const std::int64_t before = stats->statistics().of(43).mainCount;

    writeDraw(QStringLiteral("61"), {38, 39, 40, 41, 42, 43}, 1);
    ASSERT_TRUE(messages.shown.empty()) << messages.shown.front().text.toStdString();
    EXPECT_EQ(stats->statistics().range.last, 61);
    EXPECT_EQ(stats->statistics().of(43).mainCount, before + 1);
    EXPECT_EQ(stats->controls().lblRange->text(), QStringLiteral("第1回〜第61回（61回分）"));
    EXPECT_EQ(stats->meter().latest, 61);

    QTest::mouseClick(ui.Delete, Qt::LeftButton);
    EXPECT_EQ(stats->statistics().range.last, 60);
    EXPECT_EQ(stats->statistics().of(43).mainCount, before);
}

TEST_F(StatsWindowTest, MeterFollowsTheMainWindowSettings)
{
    StatsWindow* stats = open();
    ASSERT_NE(stats, nullptr);
    const DrawTable draws = table();
    const auto expectMatches = [&] {
        const analysis::RuleMeterReading expected = analysis::ReadRuleMeter(draws, window.readSettings());
        EXPECT_EQ(stats->meter().passingSets, expected.passingSets);
        EXPECT_EQ(stats->meter().backTest.passed, expected.backTest.passed);
        EXPECT_TRUE(stats->controls().lblMeterSummary->text().contains(
            QString::fromStdString(analysis::GroupedDigits(expected.passingSets))));
    };
    expectMatches();
    const std::int64_t opening = stats->meter().passingSets;

    const int openingBar = stats->controls().barSets->value();
    ui.sldNum->setValue(2); // 5 : 1
    expectMatches();
    EXPECT_LT(stats->controls().barSets->value(), openingBar); // 5 : 1 is rarer than 3 : 3
    EXPECT_NE(stats->meter().passingSets, opening);
    EXPECT_TRUE(stats->controls().lblMeterSettings->text().contains(QStringLiteral("5 : 1")));
    ui.CarryNumber[0]->click();
    expectMatches();
    ui.chkConsecut->click();
    expectMatches();
    ui.chkNum->click();
    expectMatches();
    EXPECT_EQ(window.readSettings().parityOn, false);
    EXPECT_NE(stats->controls().lblMeter->text().indexOf(QString::fromUtf8(analysis::kFilterOddsNote)), -1);
}

TEST_F(StatsWindowTest, ExportWritesTheCurrentChartAsPngButNeverOverTheDataFile)
{
    StatsWindow* stats = open();
    ASSERT_NE(stats, nullptr);
    stats->controls().tabViews->setCurrentIndex(6); // 合計値
    const QString file = QString::fromStdString((dir / "sum.png").string());
    ASSERT_TRUE(stats->exportChartPng(file));
    QImage image(file);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(1000, 560));
    bool bars = false;
    for (int y = 0; y < image.height() && !bars; y += 2) {
        for (int x = 0; x < image.width() && !bars; x += 2)
            bars = image.pixelColor(x, y) == QColor(0x46, 0x82, 0xb4);
    }
    EXPECT_TRUE(bars);

    const std::vector<std::uint8_t> before = zentrix::test::ReadBytes(dir / "Loto6data.dt");
    EXPECT_FALSE(stats->exportChartPng(QString::fromStdString((dir / "Loto6data.dt").string())));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("なので、上書きしません")));
    EXPECT_EQ(zentrix::test::ReadBytes(dir / "Loto6data.dt"), before);

    stats->controls().tabViews->setCurrentWidget(stats->controls().meterPage);
    EXPECT_FALSE(stats->controls().cmdSavePng->isEnabled());
    EXPECT_FALSE(stats->controls().cmdPrint->isEnabled());
    EXPECT_EQ(stats->currentChart(), nullptr);
}

TEST_F(StatsWindowTest, PrintsTheCurrentChartAfterTheDialog)
{
    StatsWindow* stats = open();
    ASSERT_NE(stats, nullptr);
    const auto pdf = dir / "chart.pdf";
    int dialogs = 0;
    PrintDialog::setInterceptor([&](QPrinter& printer) {
        ++dialogs;
        EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf.string()));
        return true;
    });
    ASSERT_TRUE(stats->printChart());
    EXPECT_EQ(dialogs, 1);
    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_GT(std::filesystem::file_size(pdf), 1000u);

    PrintDialog::setInterceptor([&](QPrinter&) { return false; });
    std::filesystem::remove(pdf);
    EXPECT_FALSE(stats->printChart());
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

} // namespace
} // namespace zentrix::ui
