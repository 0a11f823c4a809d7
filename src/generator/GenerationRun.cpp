// GenerationRun: one run from the history to the kept sets.
#include "GenerationRun.h"

#include "generator/AttemptChances.h"
#include "generator/CandidateOrder.h"
#include "generator/DirectSampler.h"
#include "generator/DrawTable.h"
#include "generator/RandomSource.h"
#include "generator/WeightTable.h"
#include "generator/WeightedDraw.h"
#include "store/HistoryFile.h"

#include <algorithm>
#include <vector>

namespace zentrix {
namespace {

/// Draws candidates and counts every number drawn against the run's budget.
class CandidateDrawer
{
public:
    CandidateDrawer(const GenerationSettings& settings, const WeightTable& weights, RandomSource& random)
        : m_weightingOn(settings.weightingOn)
        , m_hasBands(weights.total() > 0)
        , m_bands(weights)
        , m_random(random)
    {
    }

    /// Six distinct numbers as bits, the result the ordering scan would give; 0 when the
    /// candidate was given up.
    NumberMask draw()
    {
        PredictionSet candidate;
        for (std::int16_t& number : candidate)
            number = first();
        return DistinctNumbers(candidate, [this] { return replacement(); });
    }

    std::int64_t draws() const { return m_draws; }

private:
    std::int16_t first()
    {
        ++m_draws;
        return m_weightingOn ? m_bands.draw(m_random) : UniformDraw(m_random);
    }

    // Duplicates are always replaced through the weight table; a table without any band (every
    // statistic equal) leaves nothing to weigh, so the replacement is uniform then.
    std::int16_t replacement()
    {
        ++m_draws;
        return m_hasBands ? m_bands.draw(m_random) : UniformDraw(m_random);
    }

    bool m_weightingOn;
    bool m_hasBands;
    BandIndex m_bands; // WeightedDraw of the run's table, prepared once
    RandomSource& m_random;
    std::int64_t m_draws = 0;
};

} // namespace

bool DrawsDirectly(int wanted, double passChanceFloor, std::int64_t passingSets, const RunLimits& limits)
{
    if (wanted <= 0)
        return false;
    if (passChanceFloor <= 0.0)
        return true;
    const double attempts = wanted / passChanceFloor;
    return attempts > limits.attemptBound &&
           attempts > static_cast<double>(passingSets) * limits.setCostInAttempts;
}

RunResult GenerateSets(const GenerationSettings& settings, HistoryFile& history, RandomSource& random,
                       RunObserver& observer, const RunLimits& limits)
{
    const int wanted = std::clamp(settings.setCount, 0, kMaxSetCount);
    observer.setProgressMaximum(wanted);
    observer.setProgressMinimum(0);

    RunResult result;
    if (!history.IsOpen()) {
        result.outcome = RunOutcome::ReadFailed;
        result.store = StoreStatus::Fail(StoreError::NotOpen);
        return result;
    }
    result.storedDraws =
        limits.historyLimit > 0 ? std::min(history.Latest(), limits.historyLimit) : history.Latest();
    if (result.storedDraws < 2) {
        result.outcome = RunOutcome::TooFewDraws;
        return result;
    }

    DrawTable table;
    if (StoreStatus loaded = LoadDrawTable(history, result.storedDraws, table); !loaded) {
        result.outcome = RunOutcome::ReadFailed;
        result.store = loaded;
        return result;
    }
    const WeightTable weights = BuildWeightTable(table, settings);
    result.carry = BuildCarryLists(table);
    const DrawRow& latest = table.row(table.Latest());

    // The contradiction would show on the first attempt whatever the candidate; asking
    // before drawing gives the same answer without depending on a drawable table.
    const RulePlan rules(result.carry, latest, settings);
    if (rules.contradiction()) {
        result.outcome = RunOutcome::Contradiction;
        return result;
    }
    result.feasibility = AssessFeasibility(settings, result.carry, latest, weights);
    if (!result.feasibility.feasible()) {
        result.outcome = RunOutcome::NoPassingSet;
        return result;
    }

    random.beginRun();
    const AttemptChances chances(settings, weights);
    result.passChanceFloor = chances.passChanceFloor(rules);
    bool direct =
        DrawsDirectly(wanted, result.passChanceFloor, result.feasibility.reachablePassingSets, limits);

    CandidateDrawer drawer(settings, weights, random);
    std::vector<PredictionSet> held;
    bool committed = false;
    auto write = [&](const PredictionSet& set) {
        ++result.setsWritten;
        observer.writeSet(result.setsWritten, set);
        observer.stepProgress();
    };

    while (!direct && result.setsWritten + static_cast<int>(held.size()) < wanted) {
        if (!committed && drawer.draws() >= limits.drawBudget) {
            direct = true;
            break;
        }
        ++result.attempts;
        const NumberMask drawn = drawer.draw();
        if (drawn == 0 || !rules.passes(drawn))
            continue;
        const PredictionSet candidate = SetFromMask(drawn);
        if (committed) {
            write(candidate);
            continue;
        }
        held.push_back(candidate);
        const auto found = static_cast<std::int64_t>(held.size());
        if (found < wanted && found < limits.commitSets)
            continue;
        // Sets found so far show the rate; a loop that would overrun the budget hands over
        // before anything is written.
        if (found < wanted && drawer.draws() * wanted / found > limits.drawBudget) {
            direct = true;
            break;
        }
        committed = true;
        for (const PredictionSet& set : held)
            write(set);
        held.clear();
    }

    // When the loop hands over, the sets it found were kept with the same chances as the
    // sampler's (how long each took says nothing about which set it was), so they stay.
    if (direct) {
        result.direct = true;
        const DirectSampler sampler(chances, rules, limits.directSetBudget);
        if (!sampler.ready()) {
            result.outcome = RunOutcome::TooSlow;
        } else {
            for (const PredictionSet& set : held)
                write(set);
            while (result.setsWritten < wanted)
                write(SetFromMask(sampler.draw(random)));
        }
    }
    result.draws = drawer.draws();
    if (result.outcome == RunOutcome::Completed)
        observer.runCompleted();
    return result;
}

} // namespace zentrix
