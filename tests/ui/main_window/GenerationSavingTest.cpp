// Generation runs in the window saved as batches: the seed that repeats them, nothing saved for a
// run without sets, a database that cannot be used, and the 予想履歴 window following along as runs
// are saved and the predicted draw is typed in.
#include "generator/GenerationRun.h"
#include "generator/RandomSource.h"
#include "support/QtTestSupport.h"
#include "support/SavedBatches.h"
#include "ui/main_window/MainWindowFixture.h"
#include "ui/predictions_window/BatchListModel.h"
#include "ui/predictions_window/PredictionsWindow.h"
#include "ui/results_window/TmpForm.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

namespace zentrix::test {
namespace {

using ui::BatchListModel;
using ui::ResultsWindow;

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

class GenerationSavingTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        reload(SyntheticHistory(50, 11));
        window.show();
    }

    void TearDown() override { ui::TmpForm::Unload(); }

    std::filesystem::path database() const { return dir / "zentrix-predictions.sqlite3"; }

    /// Clicks cmdGen and closes the results window once it is open; returns the grid's lines.
    std::vector<QString> lines(int sets)
    {
        std::vector<QString> shown;
        generate(sets, [&](ResultsWindow& results) {
            for (int row = 1; row <= sets; ++row)
                shown.push_back(results.PrintLine(row));
        });
        return shown;
    }

    static QString Line(int row, const PredictionSet& set)
    {
        QString line = QStringLiteral("%1→").arg(row, 3, 10, QLatin1Char('0'));
        for (std::size_t i = 0; i < 6; ++i)
            line += (i ? QStringLiteral(" , ") : QString()) +
                    QStringLiteral("%1").arg(set[i], 2, 10, QLatin1Char('0'));
        return line;
    }

    MessageLog messages;
};

TEST_F(GenerationSavingTest, EveryCompletedRunIsSavedAndItsSeedMakesTheSameSets)
{
    ui.chkNum->setChecked(false);
    const std::vector<QString> first = lines(6);
    lines(3);
    ASSERT_EQ(first.size(), 6u);
    EXPECT_TRUE(messages.shown.empty());

    const std::vector<Batch> batches = SavedBatches(database());
    ASSERT_EQ(batches.size(), 2u);
    const Batch& batch = batches[1];
    EXPECT_EQ(batch.draw, 51);
    EXPECT_EQ(batch.source, BatchSource::Window);
    GenerationSettings expected = window.readSettings();
    expected.setCount = 6;
    EXPECT_EQ(batch.settings, expected);
    EXPECT_FALSE(batch.settings.parityOn);
    ASSERT_EQ(batch.sets.size(), 6u);
    for (int row = 1; row <= 6; ++row)
        EXPECT_EQ(Line(row, batch.sets[static_cast<std::size_t>(row - 1)]),
                  first[static_cast<std::size_t>(row - 1)]);
    EXPECT_NE(batches[0].seed, batch.seed); // each run draws a seed of its own

    // The engine with that seed, as `zentrix-cli generate --seed` runs it, makes the same sets.
    HistoryFile copy(dir / "copy.dt");
    std::filesystem::copy_file(dir / "Loto6data.dt", dir / "copy.dt");
    ASSERT_TRUE(copy.OpenHistory());
    RandomSource random(batch.seed);
    SetCollector collector;
    ASSERT_EQ(GenerateSets(batch.settings, copy, random, collector).outcome, RunOutcome::Completed);
    EXPECT_EQ(collector.sets, batch.sets);
}

TEST_F(GenerationSavingTest, ARunWithoutSetsSavesNothing)
{
    reload({Draw({1, 2, 3, 4, 5, 6}, 7)});
    EXPECT_FALSE(generate(5));
    ASSERT_EQ(messages.shown.size(), 1u); // too few draws
    EXPECT_FALSE(std::filesystem::exists(database()));
}

TEST_F(GenerationSavingTest, UnusableDatabaseAddsOneMessageAndTheSetsAreStillShown)
{
    const std::vector<std::uint8_t> junk(1024, 0x41);
    WriteBytes(database(), junk);
    const std::vector<QString> shown = lines(4);
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_FALSE(shown[3].endsWith(QStringLiteral("→")));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("予想の保存先として読めません")));
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("保存されません")));
    EXPECT_EQ(ReadBytes(database()), junk);
    EXPECT_EQ(window.statusText(), QStringLiteral("予想番号が出ました。当たるといいですね。"));
}

TEST_F(GenerationSavingTest, HistoryWindowFollowsRunsAndTheTypedDraw)
{
    ui.mnuPredictionsItem->trigger();
    ui::PredictionsWindow* predictions = window.predictionsWindow();
    ASSERT_NE(predictions, nullptr);
    EXPECT_TRUE(predictions->isVisible());
    EXPECT_EQ(predictions->model().rowCount(), 0);

    window.generationRunner().setNextSeed(5);
    generate(5);
    generate(5);
    ASSERT_EQ(predictions->model().rowCount(), 2);
    EXPECT_EQ(predictions->model().index(0, BatchListModel::Tiers).data().toString(),
              QStringLiteral("未抽選"));

    // Type draw 51 as the first saved set's numbers: that set wins 1等.
    const PredictionSet winner = SavedBatches(database())[1].sets[0];
    int bonus = 1;
    while (std::find(winner.begin(), winner.end(), bonus) != winner.end())
        ++bonus;
    writeDraw(QString(), winner, bonus);
    ASSERT_EQ(window.Latest(), 51) << (messages.shown.empty() ? ""
                                                              : messages.shown.back().text.toStdString());

    EXPECT_EQ(predictions->model().index(1, BatchListModel::Best).data().toString(), QStringLiteral("1等"));
    EXPECT_TRUE(predictions->controls().lblTotals->text().startsWith(
        QStringLiteral("照合済み 2件 10組　購入額 ¥2,000")))
        << predictions->controls().lblTotals->text().toStdString();

    // The menu item raises the same window again.
    ui.mnuPredictionsItem->trigger();
    EXPECT_EQ(window.predictionsWindow(), predictions);
}

} // namespace
} // namespace zentrix::test
