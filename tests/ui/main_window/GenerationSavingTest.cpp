// Generation runs in the window saved as batches: the seed that repeats them, nothing saved for a
// run without sets, a database that cannot be used, and the 予想履歴 window following along as runs
// are saved and the predicted draw is typed in.
#include "generator/GenerationRun.h"
#include "generator/RandomSource.h"
#include "predictions/PredictionStore.h"
#include "store/HistoryFile.h"
#include "support/HistoryFixtures.h"
#include "support/QtTestSupport.h"
#include "support/TempDir.h"
#include "ui/common/MessageBox.h"
#include "ui/main_window/GenerationRunner.h"
#include "ui/main_window/MainWindow.h"
#include "ui/predictions_window/BatchListModel.h"
#include "ui/predictions_window/PredictionsWindow.h"
#include "ui/results_window/ResultsWindow.h"
#include "ui/results_window/TmpForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <gtest/gtest.h>

namespace zentrix::ui {
namespace {

using test::Draw;

/// Collects the sets of a run as GenerateSets reports them.
class SetCollector final : public RunObserver
{
public:
    void setProgressMaximum(int) override {}
    void setProgressMinimum(int) override {}
    void writeSet(int, const PredictionSet& set) override { sets.push_back(set); }
    void stepProgress() override {}
    void runCompleted() override {}
    std::vector<PredictionSet> sets;
};

class GenerationSavingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::WriteHistory(m_dir / "Loto6data.dt", test::SyntheticHistory(50, 11));
        m_history = std::make_unique<HistoryFile>(m_dir / "Loto6data.dt");
        m_window = std::make_unique<MainWindow>(*m_history);
        ASSERT_TRUE(m_window->load());
        m_ui = &m_window->controls();
        m_runner = &m_window->generationRunner();
        ASSERT_NE(m_runner, nullptr);
        MessageBox::setInterceptor([this](const MessageBox::Shown& shown) {
            m_messages.push_back(shown);
            m_resultsOpenAtMessage.push_back(m_runner->resultsWindow() &&
                                             m_runner->resultsWindow()->isVisible());
        });
        m_window->show();
    }

    void TearDown() override
    {
        MessageBox::setInterceptor({});
        TmpForm::Unload();
    }

    std::filesystem::path database() const { return m_dir / "zentrix-predictions.sqlite3"; }

    /// Clicks cmdGen and closes the results window once it is open; returns the grid's sets.
    std::vector<QString> generate(int sets)
    {
        m_ui->sldCount->setValue(sets);
        std::vector<QString> lines;
        QTimer::singleShot(0, m_window.get(), [&] {
            ResultsWindow* results = m_runner->resultsWindow();
            if (!results)
                return;
            for (int row = 1; row <= sets; ++row)
                lines.push_back(results->PrintLine(row));
            QTest::mouseClick(results->controls().OK_Button, Qt::LeftButton);
        });
        QTest::mouseClick(m_ui->cmdGen, Qt::LeftButton);
        QApplication::processEvents();
        return lines;
    }

    std::vector<Batch> saved()
    {
        PredictionStore store(database());
        EXPECT_TRUE(store.open(PredictionStore::Mode::ExistingOnly));
        std::vector<Batch> batches;
        store.forEach([&](const BatchHeader& h, const auto& sets) {
            Batch b;
            static_cast<NewBatch&>(b) = {h.createdAt, h.draw, h.source, h.seed, h.settings, sets, h.note};
            b.id = h.id;
            batches.push_back(b);
        });
        return batches;
    }

    static QString Line(int row, const PredictionSet& set)
    {
        QString line = QStringLiteral("%1→").arg(row, 3, 10, QLatin1Char('0'));
        for (std::size_t i = 0; i < 6; ++i)
            line += (i ? QStringLiteral(" , ") : QString()) +
                    QStringLiteral("%1").arg(set[i], 2, 10, QLatin1Char('0'));
        return line;
    }

    test::TempDir m_dir;
    std::unique_ptr<HistoryFile> m_history;
    std::unique_ptr<MainWindow> m_window;
    MainWindowControls* m_ui = nullptr;
    GenerationRunner* m_runner = nullptr;
    std::vector<MessageBox::Shown> m_messages;
    std::vector<bool> m_resultsOpenAtMessage;
};

TEST_F(GenerationSavingTest, EveryCompletedRunIsSavedAndItsSeedMakesTheSameSets)
{
    m_ui->chkNum->setChecked(false);
    const std::vector<QString> first = generate(6);
    const std::vector<QString> second = generate(3);
    ASSERT_EQ(first.size(), 6u);
    EXPECT_TRUE(m_messages.empty());

    const std::vector<Batch> batches = saved();
    ASSERT_EQ(batches.size(), 2u);
    const Batch& batch = batches[1];
    EXPECT_EQ(batch.draw, 51);
    EXPECT_EQ(batch.source, BatchSource::Window);
    GenerationSettings expected = m_window->readSettings();
    expected.setCount = 6;
    EXPECT_EQ(batch.settings, expected);
    EXPECT_FALSE(batch.settings.parityOn);
    ASSERT_EQ(batch.sets.size(), 6u);
    for (int row = 1; row <= 6; ++row)
        EXPECT_EQ(Line(row, batch.sets[static_cast<std::size_t>(row - 1)]),
                  first[static_cast<std::size_t>(row - 1)]);
    EXPECT_NE(batches[0].seed, batch.seed); // each run draws a seed of its own

    // The engine with that seed, as `zentrix-cli generate --seed` runs it, makes the same sets.
    HistoryFile copy(m_dir / "copy.dt");
    std::filesystem::copy_file(m_dir / "Loto6data.dt", m_dir / "copy.dt");
    ASSERT_TRUE(copy.OpenHistory());
    RandomSource random(batch.seed);
    SetCollector collector;
    ASSERT_EQ(GenerateSets(batch.settings, copy, random, collector).outcome, RunOutcome::Completed);
    EXPECT_EQ(collector.sets, batch.sets);
}

TEST_F(GenerationSavingTest, ARunWithoutSetsSavesNothing)
{
    test::WriteHistory(m_dir / "short.dt", {Draw({1, 2, 3, 4, 5, 6}, 7)});
    HistoryFile shortHistory(m_dir / "short.dt");
    MainWindow window(shortHistory);
    ASSERT_TRUE(window.load());
    GenerationRunner* runner = &window.generationRunner();
    ASSERT_NE(runner, nullptr);
    runner->cmdGen_Click();
    ASSERT_EQ(m_messages.size(), 1u); // too few draws
    EXPECT_FALSE(std::filesystem::exists(database()));
}

TEST_F(GenerationSavingTest, UnusableDatabaseAddsOneMessageAndTheSetsAreStillShown)
{
    const std::vector<std::uint8_t> junk(1024, 0x41);
    test::WriteBytes(database(), junk);
    const std::vector<QString> lines = generate(4);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_FALSE(lines[3].endsWith(QStringLiteral("→")));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_TRUE(m_messages[0].text.contains(QStringLiteral("予想の保存先として読めません")));
    EXPECT_TRUE(m_messages[0].text.contains(QStringLiteral("保存されません")));
    EXPECT_EQ(test::ReadBytes(database()), junk);
    EXPECT_EQ(m_window->statusText(), QStringLiteral("予想番号が出ました。当たるといいですね。"));
}

TEST_F(GenerationSavingTest, HistoryWindowFollowsRunsAndTheTypedDraw)
{
    m_ui->mnuPredictionsItem->trigger();
    PredictionsWindow* history = m_window->predictionsWindow();
    ASSERT_NE(history, nullptr);
    EXPECT_TRUE(history->isVisible());
    EXPECT_EQ(history->model().rowCount(), 0);

    m_runner->setNextSeed(5);
    generate(5);
    generate(5);
    ASSERT_EQ(history->model().rowCount(), 2);
    EXPECT_EQ(history->model().index(0, BatchListModel::Tiers).data().toString(), QStringLiteral("未抽選"));

    // Type draw 51 as the first saved set's numbers: that set wins 1等.
    const PredictionSet winner = saved()[1].sets[0];
    QTest::mouseClick(m_ui->Check1, Qt::LeftButton, {}, QPoint(6, m_ui->Check1->height() / 2));
    ASSERT_TRUE(m_ui->Check1->isChecked());
    for (std::size_t i = 0; i < 6; ++i) {
        m_ui->Text2[i]->clear();
        QTest::keyClicks(m_ui->Text2[i], QString::number(winner[i]));
    }
    int bonus = 1;
    while (std::find(winner.begin(), winner.end(), bonus) != winner.end())
        ++bonus;
    m_ui->Text8->clear();
    QTest::keyClicks(m_ui->Text8, QString::number(bonus));
    QTest::mouseClick(m_ui->Writing, Qt::LeftButton);
    ASSERT_EQ(m_window->Latest(), 51) << (m_messages.empty() ? "" : m_messages.back().text.toStdString());

    EXPECT_EQ(history->model().index(1, BatchListModel::Best).data().toString(), QStringLiteral("1等"));
    EXPECT_TRUE(
        history->controls().lblTotals->text().startsWith(QStringLiteral("照合済み 2件 10組　購入額 ¥2,000")))
        << history->controls().lblTotals->text().toStdString();

    // The menu item raises the same window again.
    m_ui->mnuPredictionsItem->trigger();
    EXPECT_EQ(m_window->predictionsWindow(), history);
}

} // namespace
} // namespace zentrix::ui
