// ReferenceRules: the set rules written out literally, one number at a time, as the player states
// them. The live code judges sets through RulePlan; tests and fuzz targets use these to prove that
// RulePlan and the exact count agree with the rules on every kind of set. Nothing in src/ calls them.
#pragma once

#include "generator/GenerationSettings.h"
#include "generator/LotoNumbers.h"
#include "generator/SetFilter.h"

namespace zentrix::reference {

/// Settings with the three rules as given and every other option at its opening value.
GenerationSettings Rules(bool consecutiveOn, int carry, bool parityOn, int parityLevel);

/// Calls visit(set, mask) for each of the 6,096,454 ascending sets of six numbers 1..43.
template <typename Visit> void ForEachSet(Visit&& visit)
{
    PredictionSet set{};
    for (int a = 1; a <= 38; ++a)
        for (int b = a + 1; b <= 39; ++b)
            for (int c = b + 1; c <= 40; ++c)
                for (int d = c + 1; d <= 41; ++d)
                    for (int e = d + 1; e <= 42; ++e)
                        for (int f = e + 1; f <= 43; ++f) {
                            set = {static_cast<std::int16_t>(a), static_cast<std::int16_t>(b),
                                   static_cast<std::int16_t>(c), static_cast<std::int16_t>(d),
                                   static_cast<std::int16_t>(e), static_cast<std::int16_t>(f)};
                            visit(set, NumberBit(a) | NumberBit(b) | NumberBit(c) | NumberBit(d) |
                                           NumberBit(e) | NumberBit(f));
                        }
}

/// Pairs of neighbours in the ascending set that differ by exactly 1 (a run of three is two pairs).
int ConsecutivePairs(const PredictionSet& set);

/// With consecutiveOn exactly one pair passes, without it none.
bool ConsecutiveRulePasses(const PredictionSet& set, bool consecutiveOn);

/**
 * Carry rule. 0: no number of the set is one of the seven numbers of the latest draw.
 * 1 or 2: exactly that many (candidate, FreshNumbers entry) matches and no number of the set in
 * RepeatedNumbers: a number the latest draw repeated is never carried again.
 */
bool CarryRulePasses(const PredictionSet& set, const CarryLists& lists, const DrawRow& latest,
                     int carryCount);

/// Without parityOn it passes; with it the set holds exactly RequiredEvenCount even numbers.
bool ParityRulePasses(const PredictionSet& set, const GenerationSettings& settings);

/**
 * Tests an ascending candidate of six distinct numbers: the consecutive mark, the carry mark, then
 * the contradiction check, then the parity mark. At the single-parity levels a parity pass also
 * sets the consecutive mark to pass. The set passes when all three marks pass.
 */
SetVerdict CheckSet(const PredictionSet& set, const CarryLists& lists, const DrawRow& latest,
                    const GenerationSettings& settings);

} // namespace zentrix::reference
