// AttemptChances: the exact chance that one attempt of a run (six draws, then the scan that
// replaces repeated numbers) yields a given set of six numbers. docs/direct-sampler.md derives it.
#pragma once

#include "generator/GenerationSettings.h"
#include "generator/LotoNumbers.h"
#include "generator/WeightTable.h"

#include <cstdint>

namespace zentrix {

class RulePlan;

/// RandomSource's unit values are the 2^24 multiples of 2^-24 in [0, 1).
inline constexpr std::int64_t kUnitSteps = std::int64_t{1} << 24;

/// For each number, how many of the 2^24 unit values make a draw yield it: its chance is that
/// count divided by 2^24. It differs from weight / total by less than 2^-24.
using DrawSteps = PerNumber<std::int64_t>;

/// WeightedDraw of `table`; all zeros for a table without bands (total 0).
DrawSteps WeightedDrawSteps(const WeightTable& table);
/// The uniform draw: the integer part of r * 43, plus 1.
DrawSteps UniformDrawSteps();

/**
 * The chances of one attempt. The first six numbers come from the weighted draw with weighting
 * on and from the uniform draw without it; every replacement of a repeated number comes from the
 * weighted draw (uniform for a table without bands). The scan never loses a value it has seen,
 * so an attempt ends with the distinct values of its first six draws, topped up by the first new
 * values among the replacements; the chance of a set follows from that over its 63 non-empty
 * subsets.
 */
class AttemptChances
{
public:
    AttemptChances(const GenerationSettings& settings, const WeightTable& weights);
    /// From the per-number chances themselves; `sameDraw` when the first six numbers come from
    /// the replacements' draw (weighting on).
    AttemptChances(const DrawSteps& first, const DrawSteps& replacement, bool sameDraw);

    /// The chance that one attempt ends with exactly these six numbers; 0 for a mask that does
    /// not hold six numbers. An attempt that can never finish (too few numbers left to draw)
    /// yields nothing and adds to no set.
    double probability(NumberMask set) const;

    /**
     * A lower bound, never above the truth, for the chance that one attempt yields a set that
     * passes `plan`, from one weighted walk over the numbers (microseconds, no enumeration).
     */
    double passChanceFloor(const RulePlan& plan) const;

    /// Numbers some attempt can yield: those the first draw can give.
    NumberMask reachable() const { return m_reachable; }
    const DrawSteps& firstSteps() const { return m_first; }

private:
    bool m_sameDraw; // the first six numbers come from the same draw as the replacements
    DrawSteps m_first;
    DrawSteps m_replacement;
    NumberMask m_reachable = 0;
};

} // namespace zentrix
