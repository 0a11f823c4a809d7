// AttemptChances: per-number chances on RandomSource's grid, and a set's chance over its subsets.
#include "AttemptChances.h"

#include "generator/Feasibility.h"
#include "generator/SetFilter.h"
#include "generator/WeightedDraw.h"

#include <array>
#include <bit>
#include <cmath>

namespace zentrix {
namespace {

constexpr int kSubsets = 1 << kSetSize;

// How many unit values k * 2^-24 put the band position below `bound`. BandPosition never
// decreases with r, so a binary search over k finds the first one that reaches it; using the
// draw's own arithmetic keeps the count exact for any total.
std::int64_t StepsBelow(std::int64_t bound, std::int64_t total)
{
    std::int64_t low = 0;
    std::int64_t high = kUnitSteps;
    while (low < high) {
        const std::int64_t middle = low + (high - low) / 2;
        if (BandPosition(static_cast<float>(middle) * 0x1.0p-24f, total) < bound)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

DrawSteps StepsOfBands(const PerNumber<std::int64_t>& totals)
{
    DrawSteps steps{};
    const std::int64_t total = totals[kNumberCount - 1];
    if (total <= 0)
        return steps;
    std::int64_t below = 0;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const std::int64_t upTo = StepsBelow(totals[i], total);
        steps[i] = upTo - below;
        below = upTo;
    }
    return steps;
}

double Pow6(double x)
{
    const double cube = x * x * x;
    return cube * cube;
}

} // namespace

DrawSteps WeightedDrawSteps(const WeightTable& table)
{
    return StepsOfBands(table.W);
}

DrawSteps UniformDrawSteps()
{
    PerNumber<std::int64_t> totals{};
    for (std::size_t i = 0; i < totals.size(); ++i)
        totals[i] = static_cast<std::int64_t>(i) + 1;
    return StepsOfBands(totals);
}

AttemptChances::AttemptChances(const GenerationSettings& settings, const WeightTable& weights)
    : m_sameDraw(settings.weightingOn)
    , m_replacement(WeightedDrawSteps(weights))
{
    if (weights.total() <= 0 && !m_sameDraw)
        m_replacement = UniformDrawSteps();
    m_first = m_sameDraw ? m_replacement : UniformDrawSteps();
    for (int n = kLowestNumber; n <= kHighestNumber; ++n)
        if (m_first[static_cast<std::size_t>(n - 1)] > 0)
            m_reachable |= NumberBit(n);
}

AttemptChances::AttemptChances(const DrawSteps& first, const DrawSteps& replacement, bool sameDraw)
    : m_sameDraw(sameDraw)
    , m_first(sameDraw ? replacement : first)
    , m_replacement(replacement)
{
    for (int n = kLowestNumber; n <= kHighestNumber; ++n)
        if (m_first[static_cast<std::size_t>(n - 1)] > 0)
            m_reachable |= NumberBit(n);
}

double AttemptChances::probability(NumberMask set) const
{
    if ((set & ~kAllNumbers) != 0 || MaskSize(set) != kSetSize)
        return 0.0;
    std::array<double, kSetSize> first{};
    std::array<double, kSetSize> replacement{};
    for (std::size_t i = 0; i < kSetSize; ++i) {
        const auto index = static_cast<std::size_t>(std::countr_zero(set));
        first[i] = static_cast<double>(m_first[index]) / kUnitSteps;
        replacement[i] = static_cast<double>(m_replacement[index]);
        set &= set - 1;
    }

    // Subsets S of the six numbers, as bits of their positions; reached: the chance that the
    // attempt's distinct values are S at some moment. Without weighting S is reached either
    // straight from the six first draws (exactly the values S among them) or by a replacement
    // bringing the one new value a to S \ {a}; with it, all draws are alike and the attempt
    // starts from the empty set. leaving[S] = reached[S] / (2^24 - steps of S): from S the next
    // new value is a with chance q(a) / (1 - q(S)), whatever repeats come on the way.
    std::array<double, kSubsets> reached{};
    std::array<double, kSubsets> outside{};
    outside[0] = kUnitSteps;
    for (int s = 1; s < kSubsets; ++s) {
        const int low = std::countr_zero(static_cast<unsigned>(s));
        outside[static_cast<std::size_t>(s)] =
            outside[static_cast<std::size_t>(s & (s - 1))] - replacement[static_cast<std::size_t>(low)];
    }
    if (m_sameDraw) {
        reached[0] = 1.0;
    } else {
        // Six first draws all within S: p(S)^6; exactly the values S by inclusion and exclusion.
        std::array<double, kSubsets> firstSum{};
        for (int s = 1; s < kSubsets; ++s) {
            const int low = std::countr_zero(static_cast<unsigned>(s));
            firstSum[static_cast<std::size_t>(s)] =
                firstSum[static_cast<std::size_t>(s & (s - 1))] + first[static_cast<std::size_t>(low)];
            reached[static_cast<std::size_t>(s)] = Pow6(firstSum[static_cast<std::size_t>(s)]);
        }
        for (int bit = 1; bit < kSubsets; bit <<= 1)
            for (int s = 1; s < kSubsets; ++s)
                if ((s & bit) != 0)
                    reached[static_cast<std::size_t>(s)] -= reached[static_cast<std::size_t>(s ^ bit)];
    }

    std::array<double, kSubsets> leaving{};
    leaving[0] = reached[0] / kUnitSteps;
    for (int s = 1; s < kSubsets; ++s) {
        double chance = reached[static_cast<std::size_t>(s)];
        for (int i = 0; i < kSetSize; ++i)
            if ((s >> i & 1) != 0)
                chance += replacement[static_cast<std::size_t>(i)] *
                          leaving[static_cast<std::size_t>(s ^ (1 << i))];
        reached[static_cast<std::size_t>(s)] = chance;
        // With no weight left outside S the attempt never leaves it.
        const double rest = outside[static_cast<std::size_t>(s)];
        leaving[static_cast<std::size_t>(s)] = rest > 0.0 ? chance / rest : 0.0;
    }
    return reached[kSubsets - 1];
}

double AttemptChances::passChanceFloor(const RulePlan& plan) const
{
    // Without weighting: the six first draws being the set's six numbers in some order, 720
    // times the product of their chances. With it, the set's chance is 720 times the product
    // times the mean over the 720 orders of prod 1/(1 - q(prefix)), which is at least
    // exp(2.5 q(set)) (Jensen's inequality and -ln(1 - x) >= x; a number of a random order lies
    // in 2.5 of the five proper prefixes on average), a product over the numbers again.
    PerNumber<double> weight{};
    for (std::size_t i = 0; i < weight.size(); ++i) {
        const double chance = static_cast<double>(m_first[i]) / kUnitSteps;
        weight[i] = m_sameDraw ? chance * std::exp(2.5 * chance) : chance;
    }
    return 720.0 * WeighPassingSets(plan, weight, m_reachable);
}

} // namespace zentrix
