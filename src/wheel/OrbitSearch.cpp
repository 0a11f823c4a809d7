// OrbitSearch: annealing over base blocks, with the coverage of t-set orbits kept incrementally.
#include "wheel/OrbitSearch.h"

#include "generator/RandomSource.h"
#include "wheel/Annealing.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <set>

namespace zentrix::wheel {
namespace {

using Clock = std::chrono::steady_clock;

class OrbitDesign
{
public:
    OrbitDesign(const CoverProblem& problem, const CyclicGroup& group, RandomSource& random)
        : m_group(group)
        , m_n(problem.points)
        , m_k(problem.blockSize)
        , m_t(problem.strength)
        , m_random(random)
        , m_subsets(Patterns(m_t, m_k))
        , m_withPoint(Patterns(m_t - 1, m_k - 1))
    {
        m_orbitOf.assign(Choose(m_n, m_t), -1);
        const PointMask last = FirstCombination(m_t) << (m_n - m_t);
        for (PointMask s = FirstCombination(m_t);; s = NextCombination(s)) {
            if (m_orbitOf[ColexRank(s)] < 0) {
                const auto id = std::int32_t(m_reps.size());
                m_reps.push_back(s);
                for (int by = 0; by < m_group.cycle; ++by)
                    m_orbitOf[ColexRank(ShiftMask(m_group, s, by))] = id;
            }
            if (s == last)
                break;
        }
        reset({});
    }

    std::size_t uncovered() const { return m_uncovered.size(); }
    const std::vector<PointMask>& blocks() const { return m_blocks; }

    std::uint64_t below(std::uint64_t bound)
    {
        return std::uint64_t((unsigned __int128)m_random.next() * bound >> 64);
    }
    double unit() { return double(m_random.next() >> 11) * 0x1.0p-53; }

    PointMask randomPointOf(PointMask mask)
    {
        const int count = std::popcount(mask);
        return Scatter(PointMask{1} << below(std::uint64_t(count)), mask);
    }

    void reset(const std::vector<PointMask>& blocks)
    {
        m_count.assign(m_reps.size(), 0);
        m_uncovered.resize(m_reps.size());
        m_where.resize(m_reps.size());
        for (std::size_t i = 0; i < m_reps.size(); ++i) {
            m_uncovered[i] = std::uint32_t(i);
            m_where[i] = std::int32_t(i);
        }
        m_blocks.clear();
        for (const PointMask block : blocks)
            addBlock(block);
    }

    void addBlock(PointMask block)
    {
        for (const PointMask p : m_subsets)
            increment(orbitOf(Scatter(p, block)));
        m_blocks.push_back(block);
    }

    void removeBlock(std::size_t index)
    {
        for (const PointMask p : m_subsets)
            decrement(orbitOf(Scatter(p, m_blocks[index])));
        m_blocks[index] = m_blocks.back();
        m_blocks.pop_back();
    }

    /// Base block `index` gives up point `out` and takes point `in` (single-bit masks).
    void swap(std::size_t index, PointMask out, PointMask in)
    {
        const PointMask rest = m_blocks[index] & ~out;
        for (const PointMask p : m_withPoint)
            decrement(orbitOf(out | Scatter(p, rest)));
        for (const PointMask p : m_withPoint)
            increment(orbitOf(in | Scatter(p, rest)));
        m_blocks[index] = rest | in;
    }

    /// How many orbits would be left uncovered without base block `index`.
    std::size_t lossOf(std::size_t index)
    {
        const std::size_t before = m_uncovered.size();
        for (const PointMask p : m_subsets)
            decrement(orbitOf(Scatter(p, m_blocks[index])));
        const std::size_t loss = m_uncovered.size() - before;
        for (const PointMask p : m_subsets)
            increment(orbitOf(Scatter(p, m_blocks[index])));
        return loss;
    }

    std::size_t leastNeededBlock()
    {
        std::size_t best = 0;
        std::size_t bestLoss = ~std::size_t{0};
        for (std::size_t i = 0; i < m_blocks.size(); ++i) {
            const std::size_t loss = lossOf(i);
            if (loss < bestLoss) {
                bestLoss = loss;
                best = i;
            }
        }
        return best;
    }

    /// While some orbit is uncovered, adds the best of a few random base blocks through its
    /// representative.
    void buildGreedy()
    {
        constexpr int kTries = 24;
        const PointMask all = FirstCombination(m_n);
        while (!m_uncovered.empty()) {
            const PointMask core = m_reps[m_uncovered[below(m_uncovered.size())]];
            PointMask best = 0;
            std::size_t bestGain = 0;
            for (int attempt = 0; attempt < kTries; ++attempt) {
                PointMask block = core;
                while (std::popcount(block) < m_k)
                    block |= randomPointOf(all & ~block);
                const std::size_t before = m_uncovered.size();
                addBlock(block);
                const std::size_t gain = before - m_uncovered.size();
                removeBlock(m_blocks.size() - 1);
                if (best == 0 || gain > bestGain) {
                    bestGain = gain;
                    best = block;
                }
            }
            addBlock(best);
        }
    }

    /// One annealing move (see FindOrbitCover); `accept[d]` is the chance to keep a move that
    /// uncovers d more orbits than it covers.
    void move(const std::array<double, 32>& accept)
    {
        const PointMask target = m_reps[m_uncovered[below(m_uncovered.size())]];
        const std::size_t first = below(m_blocks.size());
        std::array<PointMask, 64> shifts;
        std::size_t found = 0;
        std::size_t index = 0;
        for (std::size_t i = 0; i < m_blocks.size() && found == 0; ++i) {
            index = (first + i) % m_blocks.size();
            for (int by = 0; by < m_group.cycle; ++by) {
                const PointMask shifted = ShiftMask(m_group, target, by);
                if (std::popcount(m_blocks[index] & shifted) == m_t - 1)
                    shifts[found++] = shifted;
            }
        }
        PointMask in = 0;
        PointMask outs = 0;
        if (found == 0) {
            // No base block is one point away from the orbit (few blocks, or t = 1): a free move.
            index = first;
            in = randomPointOf(FirstCombination(m_n) & ~m_blocks[index]);
            outs = m_blocks[index];
        } else {
            const PointMask shifted = shifts[below(found)];
            in = shifted & ~m_blocks[index];
            outs = m_blocks[index] & ~shifted;
        }
        const auto before = std::int64_t(m_uncovered.size());
        PointMask bestOut = 0;
        std::int64_t bestDelta = 0;
        for (PointMask rest = outs; rest != 0; rest &= rest - 1) {
            const PointMask out = rest & -rest;
            swap(index, out, in);
            const std::int64_t delta = std::int64_t(m_uncovered.size()) - before;
            swap(index, in, out);
            if (bestOut == 0 || delta < bestDelta || (delta == bestDelta && below(2) == 0)) {
                bestOut = out;
                bestDelta = delta;
            }
        }
        if (bestDelta > 0 && unit() >= accept[std::size_t(std::min<std::int64_t>(bestDelta, 31))])
            return;
        swap(index, bestOut, in);
    }

private:
    std::int32_t orbitOf(PointMask set) const { return m_orbitOf[ColexRank(set)]; }

    void increment(std::int32_t orbit)
    {
        if (m_count[std::size_t(orbit)]++ == 0) {
            const std::int32_t at = m_where[std::size_t(orbit)];
            const std::uint32_t moved = m_uncovered.back();
            m_uncovered[std::size_t(at)] = moved;
            m_where[moved] = at;
            m_uncovered.pop_back();
            m_where[std::size_t(orbit)] = -1;
        }
    }

    void decrement(std::int32_t orbit)
    {
        if (--m_count[std::size_t(orbit)] == 0) {
            m_where[std::size_t(orbit)] = std::int32_t(m_uncovered.size());
            m_uncovered.push_back(std::uint32_t(orbit));
        }
    }

    const CyclicGroup m_group;
    const int m_n;
    const int m_k;
    const int m_t;
    RandomSource& m_random;
    const std::vector<PointMask> m_subsets;   ///< t-subsets of a block's positions
    const std::vector<PointMask> m_withPoint; ///< (t-1)-subsets of the other positions
    std::vector<std::int32_t> m_orbitOf;      ///< each t-set's orbit, by colex rank
    std::vector<PointMask> m_reps;            ///< each orbit's smallest t-set in colex order
    std::vector<std::uint32_t> m_count;       ///< t-subsets of base blocks in each orbit
    std::vector<std::uint32_t> m_uncovered;   ///< the orbits with count 0, in no order
    std::vector<std::int32_t> m_where;        ///< each orbit's place in m_uncovered, or -1
    std::vector<PointMask> m_blocks;          ///< the base blocks
};

} // namespace

PointMask ShiftMask(const CyclicGroup& group, PointMask mask, int by)
{
    const int n = group.cycle;
    const PointMask cycleMask = FirstCombination(n);
    PointMask result = mask & ~FirstCombination(n * group.copies);
    for (int copy = 0; copy < group.copies; ++copy) {
        const PointMask low = (mask >> (copy * n)) & cycleMask;
        const PointMask turned = by == 0 ? low : ((low << by) | (low >> (n - by))) & cycleMask;
        result |= turned << (copy * n);
    }
    return result;
}

int OrbitLength(const CyclicGroup& group, PointMask mask)
{
    for (int by = 1; by < group.cycle; ++by) {
        if (group.cycle % by == 0 && ShiftMask(group, mask, by) == mask)
            return by;
    }
    return group.cycle;
}

std::vector<PointMask> ExpandOrbits(const CyclicGroup& group, const std::vector<PointMask>& base)
{
    std::set<PointMask> seen;
    std::vector<PointMask> blocks;
    for (const PointMask block : base) {
        for (int by = 0; by < group.cycle; ++by) {
            const PointMask shifted = ShiftMask(group, block, by);
            if (seen.insert(shifted).second)
                blocks.push_back(shifted);
        }
    }
    return blocks;
}

OrbitOutcome FindOrbitCover(const CoverProblem& problem, const CyclicGroup& group, const OrbitLimits& limits)
{
    OrbitOutcome outcome;
    if (problem.served != problem.strength || group.points() != problem.points || group.cycle < 1 ||
        group.copies < 1 || group.fixedPoints < 0 || problem.strength < 1 ||
        problem.strength > problem.blockSize || problem.blockSize > problem.points || problem.points > 30 ||
        problem.blockSize >= kMaxChoose)
        return outcome;

    const auto start = Clock::now();
    RandomSource random(limits.seed);
    OrbitDesign design(problem, group, random);
    design.buildGreedy();

    // Annealing schedule as in FindCover: a narrow band of temperatures, reheated once frozen.
    TemperatureBand band(0.5, 0.2, 0.99);
    std::uint64_t atTemperature = 0;

    std::vector<PointMask> lastCover;
    std::uint64_t sinceCover = 0;
    for (;;) {
        if (design.uncovered() == 0) {
            lastCover = design.blocks();
            std::vector<PointMask> expanded = ExpandOrbits(group, lastCover);
            if (outcome.blocks.empty() || expanded.size() < outcome.blocks.size()) {
                outcome.base = lastCover;
                outcome.blocks = std::move(expanded);
                outcome.seconds = std::chrono::duration<double>(Clock::now() - start).count();
                if (outcome.blocks.size() <= limits.stopAtSize)
                    break;
            }
            if (lastCover.size() <= 1)
                break;
            design.removeBlock(design.leastNeededBlock());
            sinceCover = 0;
            continue;
        }
        if (sinceCover >= limits.stallMoves) {
            // Stuck at this size: from the last cover again, another block dropped.
            design.reset(lastCover);
            design.removeBlock(design.below(lastCover.size()));
            sinceCover = 0;
            band.restart();
            continue;
        }
        if ((outcome.moves & 1023) == 0 && Clock::now() - start >= limits.time)
            break;
        design.move(band.accept());
        ++outcome.moves;
        ++sinceCover;
        if (++atTemperature >= 200 + 20 * design.blocks().size()) {
            atTemperature = 0;
            band.cool();
        }
    }
    return outcome;
}

} // namespace zentrix::wheel
