// GenerationRunner: GenerateSets reporting into frmMain's progress bar and frmFlexAns's grid.
#include "ui/main_window/GenerationRunner.h"

#include "generator/RandomSource.h"
#include "generator/RunMessages.h"
#include "predictions/PredictionStore.h"
#include "store/HistoryFile.h"
#include "ui/common/MessageBox.h"
#include "ui/common/ProgramEnd.h"
#include "ui/main_window/MainWindow.h"
#include "ui/results_window/ResultsWindow.h"
#include "ui/results_window/TmpForm.h"

#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <algorithm>
#include <string>
#include <utility>

namespace zentrix::ui {
namespace {

const QString kTitle = QStringLiteral("Zentrix");

} // namespace

GenerationRunner::GenerationRunner(MainWindow& window)
    : m_window(window)
{
    connect(window.controls().cmdGen, &QPushButton::clicked, this, &GenerationRunner::cmdGen_Click);
}

GenerationRunner::~GenerationRunner() = default;

void GenerationRunner::cmdGen_Click()
{
    const GenerationSettings settings = m_window.readSettings();
    // A seed from the clock (and the system's entropy) for every run, kept with the saved batch so
    // that zentrix-cli generate --seed can make the same sets again.
    const std::uint64_t seed =
        m_nextSeed ? std::exchange(m_nextSeed, std::nullopt).value() : RandomSource::FreshSeed();
    RandomSource random(seed);
    m_sets.clear();
    const RunResult result = GenerateSets(settings, m_window.history(), random, *this, m_limits);

    if (result.outcome == RunOutcome::Completed) {
        saveBatch(settings, seed, result.storedDraws + 1);
        loadResultsWindow().showModal();
        finishRun();
        return;
    }

    finishRun();
    if (result.outcome == RunOutcome::Contradiction) {
        MessageBox::show(&m_window, kTitle, QString::fromUtf8(kContradictionMessage), MessageBox::Icon::None);
        EndProgram(m_window.history());
    }
    const std::string fileName = m_window.history().Path().filename().string();
    const std::string damaged = DescribeDamagedHistory(result, m_window.history(), fileName);
    QString text = QString::fromStdString(damaged.empty() ? DescribeRunOutcome(result, fileName) : damaged);
    if (result.outcome == RunOutcome::TooFewDraws)
        text += QStringLiteral(
            "\n当選番号の CSV は、メニューの「ファイル → 当選番号の取り込み…」で取り込めます。");
    MessageBox::show(&m_window, kTitle, text, MessageBox::Icon::Exclamation);
}

void GenerationRunner::saveBatch(const GenerationSettings& settings, std::uint64_t seed, int draw)
{
    NewBatch batch;
    batch.createdAt = NowSeconds();
    batch.draw = draw;
    batch.source = BatchSource::Window;
    batch.seed = seed;
    batch.settings = settings;
    batch.sets = std::move(m_sets);
    PredictionStore store(m_window.predictionsDatabase());
    PredictionsStatus saved = store.open(PredictionStore::Mode::CreateIfMissing);
    if (saved)
        saved = store.save(batch);
    store.close();
    if (!saved) {
        // The sets are shown all the same; the user only learns that they were not kept.
        MessageBox::show(
            &m_window, kTitle,
            QString::fromStdString(DescribePredictionsError(saved, store.path())) +
                QStringLiteral(
                    "\n今回の予想番号は保存されません。必要なら印刷するかコピーして控えて下さい。"),
            MessageBox::Icon::Exclamation);
        return;
    }
    emit m_window.predictionsChanged();
}

void GenerationRunner::finishRun()
{
    m_window.controls().ProgressBar1->setValue(0);
    m_results.reset();
    m_store.reset();
    TmpForm::Unload();
}

ResultsWindow& GenerationRunner::loadResultsWindow()
{
    if (!m_results) {
        // Printing reads the number of sets from sldCount, which cannot change while the window is open.
        QSlider* count = m_window.controls().sldCount;
        m_results = std::make_unique<ResultsWindow>([count] { return count->value(); });
    }
    return *m_results;
}

void GenerationRunner::setProgressMaximum(int maximum)
{
    m_window.controls().ProgressBar1->setMaximum(maximum);
}

void GenerationRunner::setProgressMinimum(int minimum)
{
    m_window.controls().ProgressBar1->setMinimum(minimum);
}

void GenerationRunner::writeSet(int row, const PredictionSet& set)
{
    m_sets.push_back(set);
    ResultsWindow& results = loadResultsWindow();
    for (int col = 1; col <= 6; ++col)
        results.setCellText(row, col, QString::fromStdString(NumberText(set[col - 1])));
}

void GenerationRunner::stepProgress()
{
    QProgressBar* bar = m_window.controls().ProgressBar1;
    bar->setValue(std::max(bar->value(), bar->minimum()) + 1);
    // The run does not return to the event loop until it ends; paint the bar now so a long run
    // shows its progress (and without letting the user click anything meanwhile).
    bar->repaint();
}

void GenerationRunner::runCompleted()
{
    m_window.setStatusText(QStringLiteral("予想番号が出ました。当たるといいですね。"));
}

} // namespace zentrix::ui
