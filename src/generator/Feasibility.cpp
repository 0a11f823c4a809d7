// Feasibility: counting passing sets number by number.
#include "Feasibility.h"

#include <algorithm>
#include <array>

namespace zentrix {
namespace {

constexpr int kTakenStates = kSetSize + 1; // 0..6 numbers taken
constexpr int kEvenStates = kSetSize + 1;  // 0..6 even numbers
constexpr int kFreshStates = 4;            // 0, 1, 2, or more fresh matches
constexpr int kConsecutiveStates = 3;      // 0, 1, or more consecutive pairs
constexpr int kLastStates = 2;             // whether the previous number was taken
constexpr int kStateCount = kTakenStates * kEvenStates * kFreshStates * kConsecutiveStates * kLastStates;

constexpr int StateIndex(int taken, int evens, int fresh, int pairs, int last)
{
    return (((taken * kEvenStates + evens) * kFreshStates + fresh) * kConsecutiveStates + pairs) *
               kLastStates +
           last;
}

using Counts = std::array<std::int64_t, kStateCount>;

} // namespace

std::int64_t CountPassingSets(const GenerationSettings& settings, const CarryLists& lists,
                              const DrawRow& latest, NumberMask allowed)
{
    const RulePlan plan(lists, latest, settings);
    if (plan.contradiction())
        return 0;
    const NumberMask usable = allowed & kAllNumbers & ~plan.forbidden();

    Counts counts{};
    counts[StateIndex(0, 0, 0, 0, 0)] = 1;
    for (int n = kLowestNumber; n <= kHighestNumber; ++n) {
        Counts next{};
        const bool takeable = (usable & NumberBit(n)) != 0;
        const int even = n % 2 == 0 ? 1 : 0;
        const int fresh = plan.freshMatches(n);
        for (int taken = 0; taken < kTakenStates; ++taken) {
            for (int evens = 0; evens <= taken; ++evens) {
                for (int f = 0; f < kFreshStates; ++f) {
                    for (int pairs = 0; pairs < kConsecutiveStates; ++pairs) {
                        for (int last = 0; last < kLastStates; ++last) {
                            const std::int64_t ways = counts[StateIndex(taken, evens, f, pairs, last)];
                            if (ways == 0)
                                continue;
                            next[StateIndex(taken, evens, f, pairs, 0)] += ways;
                            if (!takeable || taken == kSetSize)
                                continue;
                            const int nextFresh = std::min(f + fresh, kFreshStates - 1);
                            const int nextPairs = std::min(pairs + last, kConsecutiveStates - 1);
                            next[StateIndex(taken + 1, evens + even, nextFresh, nextPairs, 1)] += ways;
                        }
                    }
                }
            }
        }
        counts = next;
    }

    std::int64_t passing = 0;
    for (int evens = 0; evens <= kSetSize; ++evens) {
        for (int f = 0; f < kFreshStates; ++f) {
            for (int pairs = 0; pairs < kConsecutiveStates; ++pairs) {
                if (!plan.parityPasses(evens) || !plan.carryPasses(f) || !plan.consecutivePasses(pairs))
                    continue;
                for (int last = 0; last < kLastStates; ++last)
                    passing += counts[StateIndex(kSetSize, evens, f, pairs, last)];
            }
        }
    }
    return passing;
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
