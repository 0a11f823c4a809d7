// DirectSampler: draws kept sets straight from the passing sets, each with the exact chance that
// the attempt loop would keep it, so settings whose sets are rare answer as fast as common ones.
#pragma once

#include "generator/AttemptChances.h"
#include "generator/LotoNumbers.h"

#include <cstdint>
#include <vector>

namespace zentrix {

class RandomSource;
class RulePlan;

/**
 * The attempt loop keeps a set A with chance P(A) / P(pass), P(A) the chance that one attempt
 * yields A and P(pass) the sum of P over the passing sets. The sampler lists every passing set
 * the draw can reach (a walk over the numbers that the rule plan prunes), with its P(A), and
 * then draws from that list: the same distribution as the loop, however rare the sets are.
 */
class DirectSampler
{
public:
    /// Lists the passing sets, giving up (not ready) after more than `maxSets` of them.
    DirectSampler(const AttemptChances& chances, const RulePlan& plan, std::int64_t maxSets);

    /// Sets can be drawn: the list is complete and some set has a chance above 0.
    bool ready() const { return m_complete && m_passChance > 0.0; }
    /// The passing sets listed (those of chance 0 left out).
    std::int64_t setCount() const { return static_cast<std::int64_t>(m_sets.size()); }
    /// P(pass): the chance that one attempt yields a passing set.
    double passChance() const { return m_passChance; }
    /// The chance of the i-th listed set given that the attempt passes, for tests.
    NumberMask set(std::size_t i) const { return m_sets[i]; }
    double keptChance(std::size_t i) const;

    /// One kept set, as bits: takes 53 bits from `random` (one value) per set. Needs ready().
    NumberMask draw(RandomSource& random) const;

private:
    std::vector<NumberMask> m_sets;
    std::vector<double> m_cumulative; // running sums of P(A) in list order
    double m_passChance = 0.0;
    bool m_complete = true;
};

} // namespace zentrix
