// The 組み合わせ保証 window driven offscreen: pick, run, cancel, print to PDF, copy, and its menu item.
#include "ui/wheel_window/WheelWindow.h"

#include "main_window/MainWindowFixture.h"
#include "results_window/PdfText.h"
#include "support/QtTestSupport.h"
#include "support/TempDir.h"
#include "ui/common/MessageBox.h"
#include "ui/results_window/PrintDialog.h"
#include "wheel/WheelVerifier.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>
#include <regex>

namespace zentrix::ui {
namespace {

using Mark = WheelWindow::Mark;

class WheelWindowTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        PrintDialog::setInterceptor({});
        MessageBox::setInterceptor({});
    }

    void pick(int number) { QTest::mouseClick(ui.cmdNumber[std::size_t(number)], Qt::LeftButton); }
    void pickRange(int from, int to)
    {
        for (int n = from; n <= to; ++n)
            pick(n);
    }
    void chooseGuarantee(int match, int drawn)
    {
        const int index = ui.cboGuarantee->findData(match * 10 + drawn);
        ASSERT_GE(index, 0);
        ui.cboGuarantee->setCurrentIndex(index);
    }
    /// Runs and waits for the end of the run; false when it did not end in time.
    bool runToEnd(int waitMs = 30000)
    {
        QSignalSpy finished(&window, &WheelWindow::runFinished);
        QTest::mouseClick(ui.cmdRun, Qt::LeftButton);
        return finished.wait(waitMs);
    }

    WheelWindow window;
    WheelWindowControls& ui = window.controls();
};

TEST_F(WheelWindowTest, ButtonsCycleThroughPickedKeyAndNone)
{
    for (int n = 1; n <= 43; ++n)
        ASSERT_NE(test::Child<QPushButton>(&window, QStringLiteral("cmdNumber_%1").arg(n)), nullptr);
    EXPECT_EQ(window.mark(7), Mark::None);
    pick(7);
    EXPECT_EQ(window.mark(7), Mark::Picked);
    pick(7);
    EXPECT_EQ(window.mark(7), Mark::Key);
    pick(7);
    EXPECT_EQ(window.mark(7), Mark::None);

    pickRange(1, 6);
    EXPECT_FALSE(ui.cmdRun->isEnabled());
    EXPECT_TRUE(ui.lblExpected->text().contains(QStringLiteral("7個以上")));
    pick(7);
    pick(7);
    EXPECT_TRUE(ui.cmdRun->isEnabled());
    const wheel::WheelRequest request = window.request();
    EXPECT_EQ(request.picks, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(request.keys, (std::vector<int>{7}));
    EXPECT_EQ(ui.lblPicks->text(), QStringLiteral("選んだ数字: 7個（うち軸数字 1個）"));

    QTest::mouseClick(ui.cmdClear, Qt::LeftButton);
    EXPECT_TRUE(window.request().picks.empty());
}

TEST_F(WheelWindowTest, GuaranteesInPlayersWordsAndTheExpectedSize)
{
    EXPECT_EQ(ui.cboGuarantee->count(), 9);
    EXPECT_EQ(ui.cboGuarantee->itemText(0), QStringLiteral("3個一致で5等を保証（3 if 3）"));
    pickRange(1, 12);
    chooseGuarantee(3, 3);
    EXPECT_TRUE(ui.lblExpected->text().contains(QStringLiteral("目安: 15枚（3,000円）")))
        << ui.lblExpected->text().toStdString();
    EXPECT_TRUE(ui.lblExpected->text().contains(QStringLiteral("下限: 14枚")));
    chooseGuarantee(4, 5);
    EXPECT_FALSE(ui.lblExpected->text().contains(QStringLiteral("目安")));
    EXPECT_EQ(window.request().guarantee.match, 4);
    EXPECT_EQ(window.request().guarantee.drawn, 5);
}

TEST_F(WheelWindowTest, TwelvePicksGiveAProvedWheelOfFifteenTickets)
{
    pickRange(20, 31);
    chooseGuarantee(3, 3);
    EXPECT_FALSE(ui.cmdPrint->isEnabled());
    ASSERT_TRUE(runToEnd());
    EXPECT_FALSE(window.running());
    EXPECT_EQ(window.tickets().size(), 15u);
    EXPECT_TRUE(wheel::reference::ServesEveryDraw(window.request(), window.tickets()));
    EXPECT_TRUE(ui.lblResult->text().contains(QStringLiteral("15枚（3,000円）")));
    EXPECT_TRUE(ui.lblResult->text().contains(QStringLiteral("保証を確認しました")));
    EXPECT_EQ(ui.prgWheel->value(), ui.prgWheel->maximum());

    const QStringList shown = ui.txtTickets->toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(shown.size(), 15);
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("001→")));
    const std::regex format(R"(\d{3}→(\d\d , ){5}\d\d)");
    for (const QString& line : shown)
        EXPECT_TRUE(std::regex_match(line.toStdString(), format)) << line.toStdString();

    EXPECT_TRUE(ui.cmdCopy->isEnabled());
    QTest::mouseClick(ui.cmdCopy, Qt::LeftButton);
    const QStringList copied = QApplication::clipboard()->text().split(QLatin1Char('\n'));
    ASSERT_GE(copied.size(), 17);
    EXPECT_EQ(copied[0], QStringLiteral("Zentrix Predictor Ver.2.11"));
    EXPECT_EQ(copied[1], QString());
    EXPECT_EQ(copied.mid(2, 15), shown);
}

TEST_F(WheelWindowTest, CancelStopsALongRunAndKeepsTheWindowResponsive)
{
    pickRange(1, 20);
    chooseGuarantee(4, 4);
    ui.spnSeconds->setValue(600);
    QSignalSpy finished(&window, &WheelWindow::runFinished);
    QTest::mouseClick(ui.cmdRun, Qt::LeftButton);
    ASSERT_TRUE(window.running());
    EXPECT_TRUE(ui.cmdCancel->isEnabled());
    EXPECT_FALSE(ui.cmdRun->isEnabled());
    EXPECT_FALSE(ui.cboGuarantee->isEnabled());
    // The event loop keeps turning while the search runs: progress reaches the window.
    QTRY_VERIFY_WITH_TIMEOUT(ui.lblResult->text().contains(QStringLiteral("いまの最小")), 20000);
    pick(30); // ignored while running
    EXPECT_EQ(window.mark(30), Mark::None);
    QTest::mouseClick(ui.cmdCancel, Qt::LeftButton);
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_FALSE(window.running());
    EXPECT_TRUE(ui.lblResult->text().startsWith(QStringLiteral("中止しました")));
    // The best wheel found before the cancel is shown, and it is proved.
    ASSERT_FALSE(window.tickets().empty());
    EXPECT_TRUE(wheel::reference::ServesEveryDraw(window.request(), window.tickets()));
    EXPECT_TRUE(ui.cmdRun->isEnabled());
}

TEST_F(WheelWindowTest, ClosingDuringARunStopsTheWorker)
{
    auto* owned = new WheelWindow;
    owned->controls().spnSeconds->setValue(600);
    for (int n = 1; n <= 20; ++n)
        QTest::mouseClick(owned->controls().cmdNumber[std::size_t(n)], Qt::LeftButton);
    QTest::mouseClick(owned->controls().cmdRun, Qt::LeftButton);
    ASSERT_TRUE(owned->running());
    owned->close();
    EXPECT_FALSE(owned->running());
    delete owned;
}

TEST_F(WheelWindowTest, PrintsTheHeaderAnEmptyLineAndEveryTicketToPdf)
{
    if (!test::HavePdfToText())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    test::TempDir dir;
    const std::filesystem::path pdf = dir / "wheel.pdf";
    int dialogs = 0;
    PrintDialog::setInterceptor([&](QPrinter& printer) {
        ++dialogs;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf.string()));
        return true;
    });
    std::vector<MessageBox::Shown> messages;
    MessageBox::setInterceptor([&](const MessageBox::Shown& shown) { messages.push_back(shown); });

    pickRange(1, 12);
    chooseGuarantee(3, 3);
    ASSERT_TRUE(runToEnd());
    QTest::mouseClick(ui.cmdPrint, Qt::LeftButton);
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(messages.empty());
    const auto pages = test::PdfPages(pdf);
    ASSERT_TRUE(pages.has_value());
    QStringList lines;
    for (const QStringList& page : *pages)
        lines += page;
    EXPECT_EQ(lines, window.printedLines());
    ASSERT_EQ(lines.size(), 17);
    EXPECT_EQ(lines[0], QStringLiteral("Zentrix Predictor Ver.2.11"));
    EXPECT_EQ(lines[1], QString());
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("001→01 , ")));
}

TEST_F(WheelWindowTest, CancelledPrintDialogPrintsNothing)
{
    int dialogs = 0;
    PrintDialog::setInterceptor([&](QPrinter&) {
        ++dialogs;
        return false;
    });
    pickRange(1, 7);
    ASSERT_TRUE(runToEnd());
    QTest::mouseClick(ui.cmdPrint, Qt::LeftButton);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(window.tickets().size(), 4u);
}

using WheelMenu = test::MainWindowFixture;

TEST_F(WheelMenu, ToolsMenuOpensOneWheelWindow)
{
    auto* tools = test::Child<QMenu>(&window, QStringLiteral("mnuTools"));
    ASSERT_NE(tools, nullptr);
    EXPECT_EQ(tools->title(), QStringLiteral("ツール(&T)"));
    EXPECT_EQ(QKeySequence::mnemonic(tools->title()), QKeySequence(Qt::ALT | Qt::Key_T));
    auto* item = test::Child<QAction>(&window, QStringLiteral("mnuToolsWheel"));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("組み合わせ保証(&W)..."));
    item->trigger();
    auto* opened = window.findChild<WheelWindow*>();
    ASSERT_NE(opened, nullptr);
    EXPECT_TRUE(opened->isVisible());
    EXPECT_EQ(opened->windowTitle(), QStringLiteral("組み合わせ保証"));
    item->trigger();
    EXPECT_EQ(window.findChildren<WheelWindow*>().size(), 1);
    opened->close();
}

} // namespace
} // namespace zentrix::ui
