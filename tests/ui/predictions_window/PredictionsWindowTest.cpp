// The 予想履歴 window: batches newest first with their tiers and totals, an opened batch with its
// matched numbers, filter and sort by draw, copy, print, CSV, delete, a long history fetched in
// pages, and a database it cannot read.
#include "ui/predictions_window/PredictionsWindow.h"

#include "predictions/PredictionStore.h"
#include "store/HistoryFile.h"
#include "support/HistoryFixtures.h"
#include "support/QtTestSupport.h"
#include "support/TempDir.h"
#include "ui/predictions_window/BatchListModel.h"
#include "ui/results_window/PdfText.h"
#include "ui/results_window/PrintDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <fstream>
#include <gtest/gtest.h>

namespace zentrix::ui {
namespace {

using test::Draw;

NewBatch MakeBatch(int draw, std::vector<PredictionSet> sets, std::int64_t at)
{
    NewBatch batch;
    batch.createdAt = at;
    batch.draw = draw;
    batch.seed = static_cast<std::uint64_t>(at) * 31;
    batch.settings.setCount = static_cast<int>(sets.size());
    batch.sets = std::move(sets);
    return batch;
}

class PredictionsWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Draw 10 is 03 11 17 25 38 42 with the bonus 07.
        std::vector<DrawRecord> draws = test::SyntheticHistory(9, 3);
        draws.push_back(Draw({3, 11, 17, 25, 38, 42}, 7));
        test::WriteHistory(m_dir / "Loto6data.dt", draws);
        ASSERT_TRUE(m_history.OpenHistory());
    }

    void TearDown() override
    {
        PrintDialog::setInterceptor({});
        PredictionsWindow::setSaveFileNameProvider({});
        PredictionsWindow::setConfirmation({});
    }

    std::filesystem::path database() const { return m_dir / "zentrix-predictions.sqlite3"; }

    void save(const std::vector<NewBatch>& batches)
    {
        PredictionStore store(database());
        ASSERT_TRUE(store.open(PredictionStore::Mode::CreateIfMissing));
        ASSERT_TRUE(store.saveAll(batches));
    }

    /// Batch 1 for draw 10 (scored: 1等, 2等, 5等, はずれ); batch 2 for draw 11 (not drawn yet).
    void saveTwo()
    {
        save({MakeBatch(10,
                        {{3, 11, 17, 25, 38, 42},
                         {3, 7, 11, 17, 25, 38},
                         {1, 3, 11, 17, 20, 21},
                         {1, 2, 4, 5, 6, 8}},
                        1'800'000'000),
              MakeBatch(11, {{5, 10, 15, 20, 25, 30}}, 1'800'000'100)});
    }

    std::unique_ptr<PredictionsWindow> openWindow()
    {
        auto window = std::make_unique<PredictionsWindow>(m_history, database());
        window->show();
        return window;
    }

    QString cell(const PredictionsWindow& w, int row, int column)
    {
        return w.controls().lstBatches->model()->index(row, column).data().toString();
    }

    test::TempDir m_dir;
    HistoryFile m_history{m_dir / "Loto6data.dt"};
    test::MessageLog m_messages;
};

TEST_F(PredictionsWindowTest, ListsBatchesNewestFirstWithTiersAndTotals)
{
    saveTwo();
    const auto window = openWindow();
    ASSERT_EQ(window->model().rowCount(), 2);
    EXPECT_EQ(cell(*window, 0, BatchListModel::Id), QStringLiteral("2"));
    EXPECT_EQ(cell(*window, 0, BatchListModel::Draw), QStringLiteral("第11回"));
    EXPECT_EQ(cell(*window, 0, BatchListModel::Tiers), QStringLiteral("未抽選"));
    EXPECT_EQ(cell(*window, 1, BatchListModel::Best), QStringLiteral("1等"));
    EXPECT_EQ(cell(*window, 1, BatchListModel::Tiers), QStringLiteral("1等 1, 2等 1, 5等 1"));
    EXPECT_EQ(cell(*window, 1, BatchListModel::Sets), QStringLiteral("4"));
    EXPECT_EQ(cell(*window, 1, BatchListModel::Cost), QStringLiteral("¥800"));
    EXPECT_EQ(cell(*window, 1, BatchListModel::FifthPrize), QStringLiteral("¥1,000"));
    const QString totals = window->controls().lblTotals->text();
    EXPECT_TRUE(totals.startsWith(QStringLiteral("照合済み 1件 4組　購入額 ¥800"))) << totals.toStdString();
    EXPECT_TRUE(totals.contains(QStringLiteral("5等賞金 ¥1,000"))) << totals.toStdString();
    EXPECT_TRUE(totals.contains(QStringLiteral("未抽選 1件 1組"))) << totals.toStdString();
    EXPECT_FALSE(window->controls().lblMessage->isVisible());
}

TEST_F(PredictionsWindowTest, WheelBatchShowsItsSourceAndGuaranteeAndIsScoredLikeAnyOther)
{
    NewBatch wheel = MakeBatch(10, {{3, 11, 17, 20, 21, 22}, {1, 2, 4, 5, 6, 8}}, 1'800'000'000);
    wheel.source = BatchSource::Wheel;
    wheel.seed = 0;
    wheel.note = "組み合わせ保証 3個一致で5等を保証（3 if 3） 数字 01 02 03 04 05 06 07 08";
    NewBatch run = MakeBatch(11, {{5, 10, 15, 20, 25, 30}}, 1'800'000'100);
    save({wheel, run});
    const auto window = openWindow();
    ASSERT_EQ(window->model().rowCount(), 2);
    EXPECT_EQ(cell(*window, 1, BatchListModel::Source), QStringLiteral("保証"));
    EXPECT_EQ(cell(*window, 1, BatchListModel::Settings).toStdString(), wheel.note);
    EXPECT_EQ(cell(*window, 1, BatchListModel::Best), QStringLiteral("5等"));
    EXPECT_EQ(cell(*window, 0, BatchListModel::Source), QStringLiteral("窓"));
    EXPECT_NE(cell(*window, 0, BatchListModel::Settings).toStdString(), wheel.note);
}

TEST_F(PredictionsWindowTest, OpenedBatchMarksMatchedNumbersTheBonusAndEachTier)
{
    saveTwo();
    const auto window = openWindow();
    EXPECT_FALSE(window->controls().cmdDelete->isEnabled()); // nothing opened yet
    window->controls().lstBatches->selectRow(1);
    ASSERT_TRUE(window->openedBatch());
    EXPECT_EQ(window->openedBatch()->id, 1);
    const QTableWidget* grid = window->controls().grdSets;
    ASSERT_EQ(grid->rowCount(), 4);
    EXPECT_EQ(grid->verticalHeaderItem(0)->text(), QStringLiteral("001→"));
    EXPECT_EQ(grid->item(1, 6)->text(), QStringLiteral("2等"));
    EXPECT_EQ(grid->item(2, 6)->text(), QStringLiteral("5等"));
    EXPECT_EQ(grid->item(3, 6)->text(), QStringLiteral("はずれ"));
    // Set 2 is 03 07 11 17 25 38: five matched, the bonus 07 second.
    EXPECT_EQ(grid->item(1, 0)->data(Qt::UserRole).toString(), QStringLiteral("match"));
    EXPECT_EQ(grid->item(1, 1)->data(Qt::UserRole).toString(), QStringLiteral("bonus"));
    EXPECT_TRUE(grid->item(1, 2)->font().bold());
    EXPECT_FALSE(grid->item(3, 0)->font().bold());
    EXPECT_TRUE(
        window->controls().lblBatch->text().contains(QStringLiteral("03 11 17 25 38 42　ボーナス 07")));
    EXPECT_TRUE(window->controls().cmdDelete->isEnabled());

    window->controls().lstBatches->selectRow(0);
    EXPECT_EQ(window->controls().grdSets->item(0, 6)->text(), QStringLiteral("-"));
    EXPECT_TRUE(window->controls().lblBatch->text().contains(QStringLiteral("未抽選")));
}

TEST_F(PredictionsWindowTest, FiltersAndSortsByDraw)
{
    save({MakeBatch(12, {{1, 2, 3, 4, 5, 6}}, 10), MakeBatch(10, {{1, 2, 3, 4, 5, 6}}, 20),
          MakeBatch(11, {{1, 2, 3, 4, 5, 6}}, 30), MakeBatch(10, {{1, 2, 3, 4, 5, 7}}, 40)});
    const auto window = openWindow();
    window->controls().spnDraw->setValue(10);
    ASSERT_EQ(window->model().rowCount(), 2);
    EXPECT_EQ(cell(*window, 0, BatchListModel::Id), QStringLiteral("4"));
    EXPECT_EQ(cell(*window, 1, BatchListModel::Id), QStringLiteral("2"));
    window->controls().spnDraw->setValue(0);
    EXPECT_EQ(window->controls().spnDraw->text(), QStringLiteral("すべて"));
    ASSERT_EQ(window->model().rowCount(), 4);

    window->controls().lstBatches->sortByColumn(BatchListModel::Draw, Qt::AscendingOrder);
    QStringList draws;
    for (int row = 0; row < 4; ++row)
        draws << cell(*window, row, BatchListModel::Draw);
    EXPECT_EQ(draws, (QStringList{"第10回", "第10回", "第11回", "第12回"}));
    window->controls().lstBatches->sortByColumn(BatchListModel::Draw, Qt::DescendingOrder);
    EXPECT_EQ(cell(*window, 0, BatchListModel::Draw), QStringLiteral("第12回"));
}

TEST_F(PredictionsWindowTest, CopiesSelectedSetsOrAllAsPrintedLines)
{
    saveTwo();
    const auto window = openWindow();
    window->controls().lstBatches->selectRow(1);
    window->cmdCopy_Click();
    EXPECT_EQ(QApplication::clipboard()->text(),
              QStringLiteral("001→03 , 11 , 17 , 25 , 38 , 42\n002→03 , 07 , 11 , 17 , 25 , 38\n"
                             "003→01 , 03 , 11 , 17 , 20 , 21\n004→01 , 02 , 04 , 05 , 06 , 08\n"));
    QTableWidget* grid = window->controls().grdSets;
    grid->selectRow(2);
    grid->selectionModel()->select(grid->model()->index(0, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    window->cmdCopy_Click();
    EXPECT_EQ(QApplication::clipboard()->text(),
              QStringLiteral("001→03 , 11 , 17 , 25 , 38 , 42\n003→01 , 03 , 11 , 17 , 20 , 21\n"));
}

TEST_F(PredictionsWindowTest, PrintsTheBatchInTheResultsWindowsFormat)
{
    if (!test::HavePdfToText())
        GTEST_SKIP() << "pdftotext is not installed";
    saveTwo();
    const auto window = openWindow();
    window->controls().lstBatches->selectRow(1);
    const auto pdf = m_dir / "batch.pdf";
    PrintDialog::setInterceptor([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf.string()));
        return true;
    });
    window->cmdPrint_Click();
    const auto pages = test::PdfPages(pdf);
    ASSERT_TRUE(pages);
    ASSERT_EQ(pages->size(), 1u);
    EXPECT_EQ((*pages)[0], (QStringList{"Zentrix Predictor Ver.2.11", "", "001→03 , 11 , 17 , 25 , 38 , 42",
                                        "002→03 , 07 , 11 , 17 , 25 , 38", "003→01 , 03 , 11 , 17 , 20 , 21",
                                        "004→01 , 02 , 04 , 05 , 06 , 08"}));
    EXPECT_TRUE(m_messages.shown.empty());
}

TEST_F(PredictionsWindowTest, ExportsCsvButNeverOverTheDataOrTheDatabase)
{
    saveTwo();
    const auto window = openWindow();
    window->controls().lstBatches->selectRow(1);
    const auto target = m_dir / "out.csv";
    QString suggested;
    PredictionsWindow::setSaveFileNameProvider([&](const QString& name) {
        suggested = name;
        return QString::fromStdString(target.string());
    });
    window->cmdExport_Click();
    EXPECT_EQ(suggested, QStringLiteral("zentrix-predictions-1.csv"));
    std::ifstream in(target, std::ios::binary);
    const std::string csv{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 5);
    EXPECT_NE(csv.find(",2,3,7,11,17,25,38,2等\r\n"), std::string::npos) << csv;
    EXPECT_TRUE(m_messages.shown.empty());

    const auto dataBefore = test::ReadBytes(m_dir / "Loto6data.dt");
    PredictionsWindow::setSaveFileNameProvider(
        [&](const QString&) { return QString::fromStdString((m_dir / "Loto6data.dt").string()); });
    window->cmdExport_Click();
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_TRUE(m_messages.shown[0].text.contains(QStringLiteral("データのファイル")));
    EXPECT_EQ(test::ReadBytes(m_dir / "Loto6data.dt"), dataBefore);

    PredictionsWindow::setSaveFileNameProvider([](const QString&) { return QString(); }); // cancelled
    window->cmdExport_Click();
    EXPECT_EQ(m_messages.shown.size(), 1u);
}

TEST_F(PredictionsWindowTest, DeletesOnlyAfterAYes)
{
    saveTwo();
    const auto window = openWindow();
    window->controls().lstBatches->selectRow(1);
    QString asked;
    PredictionsWindow::setConfirmation([&](const QString& question) {
        asked = question;
        return false;
    });
    window->cmdDelete_Click();
    EXPECT_EQ(asked, QStringLiteral("No.1（第10回の予想、4組）を削除します。よろしいですか？"));
    EXPECT_EQ(window->model().rowCount(), 2);

    PredictionsWindow::setConfirmation([](const QString&) { return true; });
    window->cmdDelete_Click();
    ASSERT_EQ(window->model().rowCount(), 1);
    EXPECT_EQ(cell(*window, 0, BatchListModel::Id), QStringLiteral("2"));
    EXPECT_FALSE(window->openedBatch());
    EXPECT_EQ(window->controls().grdSets->rowCount(), 0);
    PredictionStore store(database());
    ASSERT_TRUE(store.open(PredictionStore::Mode::ExistingOnly));
    Batch gone;
    EXPECT_EQ(store.load(1, gone).error, PredictionsError::NotFound);
}

TEST_F(PredictionsWindowTest, TenThousandBatchesAreFetchedPageByPage)
{
    std::vector<NewBatch> batches;
    std::vector<PredictionSet> sets(100);
    for (int s = 0; s < 100; ++s)
        sets[static_cast<std::size_t>(s)] = {1, 2, 3, 4, static_cast<std::int16_t>(10 + s % 30), 42};
    for (int b = 0; b < 10'000; ++b)
        batches.push_back(MakeBatch(10 + b % 3, sets, b));
    save(batches);
    const auto window = openWindow();
    BatchListModel& model = window->model();
    EXPECT_EQ(model.matchingRows(), 10'000);
    EXPECT_EQ(model.rowCount(), BatchListModel::kPageSize);
    EXPECT_TRUE(model.canFetchMore({}));
    // Asking for the oldest batch fetches the pages up to it.
    const int row = model.rowOf(1);
    EXPECT_EQ(row, 9'999);
    EXPECT_EQ(model.rowCount(), 10'000);
    EXPECT_FALSE(model.canFetchMore({}));
    // The batches for draw 10 (every third) are scored, the others wait for their draw.
    EXPECT_TRUE(window->controls().lblTotals->text().startsWith(QStringLiteral("照合済み 3334件 333400組")))
        << window->controls().lblTotals->text().toStdString();
}

TEST_F(PredictionsWindowTest, UnreadableDatabaseIsReportedInTheWindowAndLeftAlone)
{
    const std::vector<std::uint8_t> junk(4096, 0x33);
    test::WriteBytes(database(), junk);
    const auto window = openWindow();
    EXPECT_EQ(window->model().rowCount(), 0);
    EXPECT_TRUE(window->controls().lblMessage->isVisible());
    EXPECT_TRUE(
        window->controls().lblMessage->text().contains(QStringLiteral("予想の保存先として読めません")));
    window->refresh();
    EXPECT_EQ(test::ReadBytes(database()), junk);
    EXPECT_TRUE(m_messages.shown.empty()); // said once, in the window, not in a box on every refresh
}

} // namespace
} // namespace zentrix::ui
