// GenerationRunner: GenerateSets reporting into frmMain's progress bar and frmFlexAns's grid.
#include "ui/main_window/GenerationRunner.h"

#include "generator/RandomSource.h"
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

namespace zentrix::ui {
namespace {

const QString kTitle = QStringLiteral("Zentrix");

QString CellText(int number)
{
    return QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
}

} // namespace

GenerationRunner::GenerationRunner(MainWindow& window)
    : QObject(&window)
    , m_window(window)
{
    setObjectName(QStringLiteral("GenerationRunner"));
    connect(window.controls().cmdGen, &QPushButton::clicked, this, &GenerationRunner::cmdGen_Click);
}

GenerationRunner::~GenerationRunner() = default;

void GenerationRunner::cmdGen_Click()
{
    const GenerationSettings settings = m_window.readSettings();
    RandomSource random; // seeded from the clock, mixed again at the start of the run
    const RunResult result = GenerateSets(settings, m_window.history(), random, *this, m_limits);

    if (result.outcome == RunOutcome::Completed) {
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
    QString text = QString::fromStdString(DescribeRunOutcome(result, fileName));
    if (result.outcome == RunOutcome::TooFewDraws)
        text += QStringLiteral(
            "\n当選番号の CSV は、メニューの「ファイル → 当選番号の取り込み…」で取り込めます。");
    MessageBox::show(&m_window, kTitle, text, MessageBox::Icon::Exclamation);
}

void GenerationRunner::finishRun()
{
    m_window.controls().ProgressBar1->setValue(0);
    m_results.reset();
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
    ResultsWindow& results = loadResultsWindow();
    for (int col = 1; col <= 6; ++col)
        results.setCellText(row, col, CellText(set[col - 1]));
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
