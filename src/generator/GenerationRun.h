// GenerationRun: the engine behind "ジェネレート" and `zentrix-cli generate`. It reads the history,
// builds the weights, draws and filters candidate sets, and reports to its caller through RunObserver.
#pragma once

#include "generator/Feasibility.h"
#include "generator/GenerationSettings.h"
#include "generator/SetFilter.h"
#include "store/StoreStatus.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zentrix {

class HistoryFile;
class RandomSource;

/// What the caller sees of a run while it works. Calls come in this order: setProgressMaximum,
/// setProgressMinimum, then per kept set writeSet followed by stepProgress, then runCompleted.
/// setProgressMaximum and setProgressMinimum open every run, whatever its outcome; writeSet,
/// stepProgress and runCompleted come only in a run that completes.
class RunObserver
{
public:
    virtual ~RunObserver() = default;
    virtual void setProgressMaximum(int maximum) = 0;
    virtual void setProgressMinimum(int minimum) = 0;
    /// Kept set number `row` (1-based, in the order kept), six ascending numbers.
    virtual void writeSet(int row, const PredictionSet& set) = 0;
    /// One more set kept: the progress value goes up by one. A window may repaint its progress
    /// bar here; sets arrive as they are found once the run has shown it will finish in time.
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
    NoPassingSet,  ///< no set the draw can reach passes the filters (see RunResult::feasibility)
    TooSlow,       ///< passing sets exist but neither way of drawing can reach them within its limits
    ReadFailed,    ///< the history could not be read (see RunResult::store)
};

/// The message shown before the program ends on a contradiction, exactly as the user sees it.
inline constexpr std::string_view kContradictionMessage =
    "キャリー個数と偶数 : 奇数の比率との間に矛盾が生じました。設定を変更して下さい。";

struct RunResult
{
    RunOutcome outcome = RunOutcome::Completed;
    int setsWritten = 0;
    StoreStatus store;             ///< the failing store operation when outcome is ReadFailed
    RecordNo storedDraws = 0;      ///< Latest of the history the run read
    CarryLists carry;              ///< the fresh and repeated numbers of the latest draw
    FeasibilityReport feasibility; ///< why no set can pass, when outcome is NoPassingSet
    std::int64_t attempts = 0;     ///< candidates drawn
    std::int64_t draws = 0;        ///< numbers drawn, replacements included
    bool direct = false;           ///< the later sets came from the DirectSampler
    double passChanceFloor = 0.0;  ///< lower bound for one attempt's chance of passing
};

/**
 * Bounds on one run's work. Two ways lead to the same kept sets: the attempt loop (draw a
 * candidate, keep it if it passes) and the DirectSampler, which lists the passing sets with their
 * exact chances and draws from them. The loop is used while its expected attempts, wanted sets
 * divided by a floor under the chance of passing, stay within `attemptBound` or within the
 * sampler's own cost; above both the run goes straight to the sampler (DrawsDirectly).
 *
 * The loop's budget counts drawn numbers, not time, so a seeded run ends the same way on every
 * machine. Sets are held back until `commitSets` of them (or all wanted) are found; if the rate
 * seen by then would need more than `drawBudget` for the whole run, or the budget runs out first,
 * the loop hands over to the sampler, which keeps the held sets and draws the rest. The sampler
 * lists at most `directSetBudget` sets; beyond that, or if no listed set can come out of the
 * draw at all, the run ends TooSlow having written nothing.
 */
struct RunLimits
{
    /// About a second of drawing on an ordinary machine.
    std::int64_t drawBudget = 40'000'000;
    int commitSets = 8;
    /// Every passing set fits: there are only 6,096,454 sets of six.
    std::int64_t directSetBudget = kAllSetCount;
    /// Expected attempts the loop may always take: 4 to 10 ms at 0.04 to 0.1 microseconds an
    /// attempt. Where the loop is quick the run draws as it always did (the same seeded sets).
    double attemptBound = 100'000;
    /// What listing and weighing one passing set costs the sampler (about 0.25 microseconds), in
    /// attempts of the loop.
    double setCostInAttempts = 6.0;
    /// When above 0, the run reads only draws 1..historyLimit (fewer when fewer are stored), as it
    /// would have before the later draws were entered: a saved batch is repeated by its seed.
    RecordNo historyLimit = 0;
};

/**
 * Whether a run draws its sets directly: when the loop's expected attempts, `wanted` divided by
 * `passChanceFloor` (a floor under one attempt's chance of passing, so an upper bound), exceed
 * both `attemptBound` and what the sampler would cost for `passingSets` reachable passing sets.
 */
bool DrawsDirectly(int wanted, double passChanceFloor, std::int64_t passingSets, const RunLimits& limits);

/// Runs one generation: reads draws 1..Latest of the open `history` record by record, builds the
/// weight table, and keeps settings.setCount sets (at most kMaxSetCount), reporting each to
/// `observer`. Never hangs: a contradiction, a history of fewer than two draws and settings no
/// reachable set can pass end the run before its first attempt, and the work is bounded.
/// A seeded `random` reproduces the run whichever way it draws: both take their values from it alone.
RunResult GenerateSets(const GenerationSettings& settings, HistoryFile& history, RandomSource& random,
                       RunObserver& observer, const RunLimits& limits = {});

} // namespace zentrix
