// SetFilter: the three rules a candidate set must pass (consecutive pairs, numbers carried over
// from the latest draw, even/odd split) and the one contradiction between the settings.
#pragma once

#include "generator/DrawTable.h"
#include "generator/GenerationSettings.h"
#include "generator/LotoNumbers.h"

#include <cstdint>
#include <vector>

namespace zentrix {

/**
 * The numbers of the latest draw (six winning numbers and the bonus, in position order), split by
 * whether they also appear among the seven numbers of the draw before it:
 * RepeatedNumbers gets v once for every number of the previous draw equal to v, FreshNumbers gets
 * v when none is.
 */
struct CarryLists
{
    std::vector<std::int16_t> FreshNumbers;
    std::vector<std::int16_t> RepeatedNumbers;
};

/// Builds the lists from draws Latest and Latest-1; empty lists for a table of fewer than two draws.
CarryLists BuildCarryLists(const DrawTable& table);
/// The same from the two rows themselves.
CarryLists BuildCarryLists(const DrawRow& latest, const DrawRow& previous);

/// carryCount as the options give it: 0, 1, or otherwise 2.
int EffectiveCarryCount(int carryCount);

/// Even numbers a set must hold with the parity rule on: 7 - parityLevel; a level outside 1..6
/// counts as 7 (no even number).
int RequiredEvenCount(int parityLevel);

/// True at levels 1 and 7 (and those counted as 7), where one parity only is wanted and a set
/// that passes the parity rule also passes the consecutive rule.
bool IsSingleParityLevel(int parityLevel);

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

/**
 * The contradiction between carry and parity: with parityOn and two carries, parity level 1 while
 * fewer than two fresh numbers are even, or level 7 while fewer than two are odd (tested in that
 * order). It does not depend on the candidate, so it shows on the first attempt of a run.
 */
bool SettingsContradict(const CarryLists& lists, const GenerationSettings& settings);

/// Without parityOn it passes; with it the set holds exactly RequiredEvenCount even numbers.
bool ParityRulePasses(const PredictionSet& set, const GenerationSettings& settings);

enum class SetVerdict
{
    Pass,
    Fail,
    Contradiction, ///< the settings contradict each other: no set can ever be kept
};

/**
 * Tests an ascending candidate of six distinct numbers: the consecutive mark, the carry mark, then
 * the contradiction check, then the parity mark. At the single-parity levels a parity pass also
 * sets the consecutive mark to pass. The set passes when all three marks pass.
 */
SetVerdict CheckSet(const PredictionSet& set, const CarryLists& lists, const DrawRow& latest,
                    const GenerationSettings& settings);

/**
 * CheckSet prepared once per run for sets given as bits: the same verdict on every set of six
 * distinct numbers, in a few instructions, for the attempt loop.
 */
class SetRules
{
public:
    SetRules(const CarryLists& lists, const DrawRow& latest, const GenerationSettings& settings);

    bool contradiction() const { return m_contradiction; }
    /// True when CheckSet would pass the set; never true for contradicting settings.
    bool passes(NumberMask set) const;

private:
    bool m_contradiction = false;
    NumberMask m_forbidden = 0;
    /// m_freshAtLeast[k] holds the numbers that appear more than k times in FreshNumbers.
    std::vector<NumberMask> m_freshAtLeast;
    int m_carry = 0;
    bool m_parityOn = false;
    int m_evens = 0;
    int m_pairs = 0;
    bool m_pairsWaived = false;
};

} // namespace zentrix
