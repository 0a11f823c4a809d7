// The 組み合わせ保証 window driven offscreen: pick, run, cancel, print to PDF, copy, and its menu item.
#include "ui/wheel_window/WheelWindow.h"

#include "main_window/MainWindowFixture.h"
#include "results_window/PdfText.h"
#include "support/QtTestSupport.h"
#include "support/SavedBatches.h"
#include "support/TempDir.h"
#include "ui/common/MessageBox.h"
#include "ui/results_window/PrintDialog.h"
#include "wheel/WheelMessages.h"
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
    void TearDown() override { PrintDialog::setInterceptor({}); }

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

    // With no database to save into, saving is not offered; a cancelled print dialog prints nothing.
    EXPECT_FALSE(ui.cmdSave->isEnabled());
    test::MessageLog messages;
    int dialogs = 0;
    PrintDialog::setInterceptor([&](QPrinter&) {
        ++dialogs;
        return false;
    });
    QTest::mouseClick(ui.cmdPrint, Qt::LeftButton);
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(ui.txtTickets->toPlainText().split(QLatin1Char('\n')), shown);
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
    test::MessageLog messages;

    pickRange(1, 12);
    chooseGuarantee(3, 3);
    ASSERT_TRUE(runToEnd());
    QTest::mouseClick(ui.cmdPrint, Qt::LeftButton);
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(messages.shown.empty());
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

TEST_F(WheelWindowTest, SavesTheShownWheelAsOneBatchForTheNextDraw)
{
    test::TempDir dir;
    const std::filesystem::path database = dir / "zentrix-predictions.sqlite3";
    int told = 0;
    window.setSaving({[&] { return database; }, [] { return 2038; }, [&] { ++told; }});
    test::MessageLog messages;

    pickRange(20, 31);
    QTest::mouseClick(ui.cmdNumber[22], Qt::LeftButton); // 22 becomes a key number
    chooseGuarantee(3, 4);
    EXPECT_FALSE(ui.cmdSave->isEnabled()); // nothing to save before a run
    ASSERT_TRUE(runToEnd());
    ASSERT_FALSE(window.tickets().empty());
    ASSERT_TRUE(ui.cmdSave->isEnabled());
    EXPECT_EQ(ui.cmdSave->text(), QStringLiteral("予想として保存(&S)"));
    QSignalSpy saved(&window, &WheelWindow::batchSaved);
    QTest::mouseClick(ui.cmdSave, Qt::LeftButton);

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].icon, MessageBox::Icon::Information);
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("第2038回")))
        << messages.shown[0].text.toStdString();
    EXPECT_EQ(told, 1);
    ASSERT_EQ(saved.size(), 1);

    const std::vector<Batch> batches = test::SavedBatches(database);
    ASSERT_EQ(batches.size(), 1u);
    const Batch& batch = batches[0];
    EXPECT_EQ(batch.id, saved[0][0].toLongLong());
    EXPECT_EQ(batch.draw, 2038);
    EXPECT_EQ(batch.source, BatchSource::Wheel);
    EXPECT_EQ(batch.seed, 0u);
    EXPECT_NE(batch.note.find(wheel::GuaranteeLabel({3, 4})), std::string::npos) << batch.note;
    EXPECT_NE(batch.note.find("軸 22"), std::string::npos) << batch.note;
    ASSERT_EQ(batch.sets.size(), window.tickets().size());
    for (std::size_t i = 0; i < batch.sets.size(); ++i) {
        for (std::size_t k = 0; k < 6; ++k)
            EXPECT_EQ(batch.sets[i][k], window.tickets()[i][k]) << "ticket " << i;
    }
}

TEST_F(WheelWindowTest, AFailedSaveSaysSoAndKeepsTheWheel)
{
    test::TempDir dir;
    // A folder where the database should be: it cannot be opened.
    const std::filesystem::path database = dir / "zentrix-predictions.sqlite3";
    std::filesystem::create_directory(database);
    window.setSaving({[&] { return database; }, [] { return 5; }, {}});
    test::MessageLog messages;

    pickRange(1, 9);
    chooseGuarantee(3, 3);
    ASSERT_TRUE(runToEnd());
    const std::vector<wheel::Ticket> shown = window.tickets();
    const QString text = ui.txtTickets->toPlainText();
    QSignalSpy saved(&window, &WheelWindow::batchSaved);
    QTest::mouseClick(ui.cmdSave, Qt::LeftButton);

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].icon, MessageBox::Icon::Exclamation);
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("保存されていません")))
        << messages.shown[0].text.toStdString();
    EXPECT_EQ(saved.size(), 0);
    EXPECT_EQ(window.tickets(), shown);
    EXPECT_EQ(ui.txtTickets->toPlainText(), text);
    EXPECT_TRUE(ui.cmdSave->isEnabled()); // the player may try again
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

TEST_F(WheelMenu, WheelFromTheMenuIsSavedBesideTheHistoryForTheNextDraw)
{
    test::MessageLog boxes; // the saved-wheel notice
    auto* item = test::Child<QAction>(&window, QStringLiteral("mnuToolsWheel"));
    ASSERT_NE(item, nullptr);
    item->trigger();
    auto* wheelWindow = window.findChild<WheelWindow*>();
    ASSERT_NE(wheelWindow, nullptr);
    WheelWindowControls& controls = wheelWindow->controls();
    for (int n = 1; n <= 8; ++n)
        QTest::mouseClick(controls.cmdNumber[std::size_t(n)], Qt::LeftButton);
    QSignalSpy finished(wheelWindow, &WheelWindow::runFinished);
    QTest::mouseClick(controls.cmdRun, Qt::LeftButton);
    ASSERT_TRUE(finished.wait(30000));
    QSignalSpy changed(&window, &MainWindow::predictionsChanged);
    QTest::mouseClick(controls.cmdSave, Qt::LeftButton);
    EXPECT_EQ(changed.size(), 1); // an open 予想履歴 window lists it at once

    const std::vector<Batch> batches = test::SavedBatches(window.predictionsDatabase());
    ASSERT_EQ(batches.size(), 1u);
    EXPECT_EQ(window.predictionsDatabase().parent_path(), history.Path().parent_path());
    EXPECT_EQ(batches[0].draw, int(history.Latest()) + 1);
    EXPECT_EQ(batches[0].source, BatchSource::Wheel);
    EXPECT_EQ(batches[0].sets.size(), wheelWindow->tickets().size());
    wheelWindow->close();
}

} // namespace
} // namespace zentrix::ui
