// Feasibility: counting passing sets number by number.
#include "Feasibility.h"

#include "generator/SetWalkState.h"

#include <algorithm>
#include <array>

namespace zentrix {
namespace {

using namespace setwalk;

// Sums, over every set of six numbers of `usable` that passes `plan`, the product of its
// numbers' weights; a weight of 1 for every number counts the sets.
template <typename Value>
Value SumOverPassingSets(const RulePlan& plan, NumberMask usable, const PerNumber<Value>& weight)
{
    using Table = std::array<Value, kStateCount>;
    Table sums{};
    sums[StateIndex(0, 0, 0, 0, 0)] = Value{1};
    for (int n = kLowestNumber; n <= kHighestNumber; ++n) {
        Table next{};
        const bool takeable = (usable & NumberBit(n)) != 0;
        const Value w = weight[static_cast<std::size_t>(n - 1)];
        const int even = n % 2 == 0 ? 1 : 0;
        const int fresh = plan.freshMatches(n);
        for (int taken = 0; taken < kTakenStates; ++taken) {
            for (int evens = 0; evens <= taken; ++evens) {
                for (int f = 0; f < kFreshStates; ++f) {
                    for (int pairs = 0; pairs < kPairStates; ++pairs) {
                        for (int last = 0; last < kLastStates; ++last) {
                            const Value ways = sums[StateIndex(taken, evens, f, pairs, last)];
                            if (ways == Value{})
                                continue;
                            next[StateIndex(taken, evens, f, pairs, 0)] += ways;
                            if (!takeable || taken == kSetSize)
                                continue;
                            const int nextFresh = std::min(f + fresh, kFreshStates - 1);
                            const int nextPairs = std::min(pairs + last, kPairStates - 1);
                            next[StateIndex(taken + 1, evens + even, nextFresh, nextPairs, 1)] += ways * w;
                        }
                    }
                }
            }
        }
        sums = next;
    }

    Value passing{};
    for (int evens = 0; evens <= kSetSize; ++evens) {
        for (int f = 0; f < kFreshStates; ++f) {
            for (int pairs = 0; pairs < kPairStates; ++pairs) {
                if (!plan.parityPasses(evens) || !plan.carryPasses(f) || !plan.consecutivePasses(pairs))
                    continue;
                for (int last = 0; last < kLastStates; ++last)
                    passing += sums[StateIndex(kSetSize, evens, f, pairs, last)];
            }
        }
    }
    return passing;
}

} // namespace

std::int64_t CountPassingSets(const GenerationSettings& settings, const CarryLists& lists,
                              const DrawRow& latest, NumberMask allowed)
{
    const RulePlan plan(lists, latest, settings);
    if (plan.contradiction())
        return 0;
    PerNumber<std::int64_t> ones;
    ones.fill(1);
    return SumOverPassingSets(plan, allowed & kAllNumbers & ~plan.forbidden(), ones);
}

double WeighPassingSets(const RulePlan& plan, const PerNumber<double>& weight, NumberMask allowed)
{
    if (plan.contradiction())
        return 0.0;
    return SumOverPassingSets(plan, allowed & kAllNumbers & ~plan.forbidden(), weight);
}

FeasibilityReport AssessFeasibility(const GenerationSettings& settings, const CarryLists& lists,
                                    const DrawRow& latest, const WeightTable& weights)
{
    FeasibilityReport report;
    report.reachable = settings.weightingOn ? weights.drawable() : kAllNumbers;
    report.passingSets = CountPassingSets(settings, lists, latest);
    report.reachablePassingSets = report.reachable == kAllNumbers
                                      ? report.passingSets
                                      : CountPassingSets(settings, lists, latest, report.reachable);
    if (settings.weightingOn && weights.total() <= 0)
        report.reason = Infeasibility::NoDrawableNumber;
    else if (MaskSize(report.reachable) < kSetSize)
        report.reason = Infeasibility::FewerThanSixDrawable;
    else if (report.passingSets == 0)
        report.reason = Infeasibility::NoSetPasses;
    else if (report.reachablePassingSets == 0)
        report.reason = Infeasibility::NoDrawableSetPasses;
    return report;
}

FeasibilityReport AssessHistory(const GenerationSettings& settings, const DrawTable& table)
{
    if (table.Latest() < 2) {
        FeasibilityReport none;
        none.reason = Infeasibility::NoSetPasses;
        return none;
    }
    return AssessFeasibility(settings, BuildCarryLists(table), table.row(table.Latest()),
                             BuildWeightTable(table, settings));
}

} // namespace zentrix
