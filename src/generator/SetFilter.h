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

/**
 * The contradiction between carry and parity: with parityOn and two carries, parity level 1 while
 * fewer than two fresh numbers are even, or level 7 while fewer than two are odd (tested in that
 * order). It does not depend on the candidate, so it shows on the first attempt of a run.
 */
bool SettingsContradict(const CarryLists& lists, const GenerationSettings& settings);

enum class SetVerdict
{
    Pass,
    Fail,
    Contradiction, ///< the settings contradict each other: no set can ever be kept
};

/**
 * The three set rules, prepared once from the carry lists, the latest draw and the settings. The
 * attempt loop, the exact count and the back-test all judge sets through it:
 * - carry: no number of the set is forbidden (with carry 0 the seven numbers of the latest draw,
 *   otherwise the numbers the latest draw repeated), and with carry 1 or 2 the set makes exactly
 *   that many (number, FreshNumbers entry) matches;
 * - parity: without parityOn it passes; with it the set holds exactly RequiredEvenCount evens;
 * - consecutive: exactly one neighbouring pair with consecutiveOn, none without; waived at the
 *   single-parity levels, where a set that passes the parity rule cannot hold a pair anyway.
 */
class RulePlan
{
public:
    RulePlan(const CarryLists& lists, const DrawRow& latest, const GenerationSettings& settings);

    /// The settings contradict each other: no set passes.
    bool contradiction() const { return m_contradiction; }
    /// Numbers no passing set holds.
    NumberMask forbidden() const { return m_forbidden; }
    /// How many FreshNumbers entries equal n (0 with carry 0, where they do not count).
    int freshMatches(int n) const;

    /// Each rule on the figures of a set of six that holds no forbidden number.
    bool carryPasses(int freshMatchCount) const { return m_carry == 0 || freshMatchCount == m_carry; }
    bool parityPasses(int evenCount) const { return !m_parityOn || evenCount == m_evens; }
    bool consecutivePasses(int pairCount) const { return m_pairsWaived || pairCount == m_pairs; }

    /// The verdict on a set of six distinct numbers given as bits.
    bool passes(NumberMask set) const;
    SetVerdict verdict(NumberMask set) const;

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
