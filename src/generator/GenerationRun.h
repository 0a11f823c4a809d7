// GenerationRun: the engine behind "ジェネレート" and `zentrix-cli generate`. It reads the history,
// builds the weights, draws and filters candidate sets, and reports to its caller through RunObserver.
#pragma once

#include <string>
#include <string_view>

#include "generator/GenerationSettings.h"
#include "store/StoreStatus.h"

namespace zentrix {

class HistoryFile;
class RandomSource;

/// What the caller sees of a run while it works. Calls come in this order: setProgressMaximum,
/// setProgressMinimum, then per kept set writeSet followed by stepProgress, then runCompleted.
class RunObserver
{
public:
    virtual ~RunObserver() = default;
    virtual void setProgressMaximum(int maximum) = 0;
    virtual void setProgressMinimum(int minimum) = 0;
    /// Kept set number `row` (1-based, in the order kept), six ascending numbers.
    virtual void writeSet(int row, const PredictionSet& set) = 0;
    /// One more set kept: the progress value goes up by one.
    virtual void stepProgress() = 0;
    /// Every wanted set has been written.
    virtual void runCompleted() = 0;
};

/// How a run ended. Only Completed has written every set; every other outcome has written none.
enum class RunOutcome
{
    Completed,
    Contradiction, ///< carry 2 and parity level 1/7 against the fresh numbers: the program ends
    TooFewDraws,   ///< fewer than two stored draws
    NoPassingSet,  ///< no set the draw can reach passes the filters (see RunResult::reason)
    TooSlow,       ///< passing sets exist but are too rare to find within the attempt bound
    ReadFailed,    ///< the history could not be read (see RunResult::store)
};

/// The message shown before the program ends on a contradiction, exactly as the user sees it.
inline constexpr std::string_view kContradictionMessage =
    "キャリー個数と偶数 : 奇数の比率との間に矛盾が生じました。設定を変更して下さい。";

struct RunResult
{
    RunOutcome outcome = RunOutcome::Completed;
    int setsWritten = 0;
    StoreStatus store; ///< the failing store operation when outcome is ReadFailed
    // The engine adds the detail it needs for NoPassingSet / TooSlow here.
};

/// Runs one generation: reads draws 1..Latest of `history` record by record, builds the weight
/// table, and keeps settings.setCount sets, reporting each to `observer`. Never hangs: settings no
/// set can pass end before the first attempt, and the number of attempts is bounded.
RunResult GenerateSets(const GenerationSettings& settings, HistoryFile& history, RandomSource& random,
                       RunObserver& observer);

/// The outcome as a Japanese message (UTF-8) for the window and the command line; empty for Completed.
std::string DescribeRunOutcome(const RunResult& result, const std::string& dataFileName);

} // namespace zentrix
