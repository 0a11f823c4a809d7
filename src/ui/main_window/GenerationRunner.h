// GenerationRunner: the generation run behind cmdGen, between the engine and the two windows.
#pragma once

#include "generator/GenerationRun.h"

#include <QObject>
#include <memory>
#include <optional>
#include <vector>

namespace zentrix {
class PredictionStore;
}

namespace zentrix::ui {

class MainWindow;
class ResultsWindow;

/**
 * Runs GenerateSets when cmdGen is clicked: the settings come from the main window's controls,
 * each kept set goes at once into its row of a results window that the first write creates
 * hidden, the progress bar counts the kept sets, and the results window is then shown modally,
 * without an owner, until the user closes it. Afterwards the progress bar is back at 0 and the
 * results window and TmpForm are gone, so the next run starts afresh.
 *
 * A completed run is saved as a batch in the predictions database before its window opens; if it
 * cannot be saved, a message says so and the sets are shown all the same. Every run draws from a
 * seed of its own, which the batch keeps.
 *
 * A contradiction in the settings shows its message and ends the program; any other outcome
 * without sets shows why in a message box and the program goes on. When the history holds a draw
 * that is no draw at all (numbers outside 1..43), a run without sets names the damaged data file
 * instead of the weights or settings.
 */
class GenerationRunner : public QObject, private RunObserver
{
    Q_OBJECT

public:
    /// Connects to the window's cmdGen; the window holds the runner (MainWindow::generationRunner).
    explicit GenerationRunner(MainWindow& window);
    ~GenerationRunner() override;

    /// The whole run, from reading the settings to the clean-up after the results window closed.
    void cmdGen_Click();

    /// The results window of the run in progress (hidden while it fills, then modal); nullptr
    /// between runs.
    ResultsWindow* resultsWindow() const { return m_results.get(); }

    /// Bounds on the run's work; tests lower them to reach the "too slow" outcome.
    void setRunLimits(const RunLimits& limits) { m_limits = limits; }

    /// The seed of the next run instead of a fresh one from the clock (tests repeat runs with it).
    void setNextSeed(std::uint64_t seed) { m_nextSeed = seed; }

private:
    void setProgressMaximum(int maximum) override;
    void setProgressMinimum(int minimum) override;
    void writeSet(int row, const PredictionSet& set) override;
    void stepProgress() override;
    void runCompleted() override;

    ResultsWindow& loadResultsWindow();
    /// Records the completed run in the predictions database; a failure only adds a message.
    void saveBatch(const GenerationSettings& settings, std::uint64_t seed, int draw);
    void finishRun();

    MainWindow& m_window;
    std::unique_ptr<ResultsWindow> m_results;
    RunLimits m_limits;
    std::optional<std::uint64_t> m_nextSeed;
    std::vector<PredictionSet> m_sets;        ///< the run's sets in order, for saving
    std::unique_ptr<PredictionStore> m_store; ///< open from the save until the results window closes
};

} // namespace zentrix::ui
