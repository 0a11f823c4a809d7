// CoverSearch: greedy start, then simulated annealing one block below the best design.
#include "wheel/CoverSearch.h"

#include "generator/RandomSource.h"
#include "wheel/Annealing.h"

#include <array>
#include <bit>
#include <cmath>

namespace zentrix::wheel {
namespace {

using Clock = std::chrono::steady_clock;

/// The points of `mask`, lowest first.
int PointsOf(PointMask mask, std::array<int, 64>& points)
{
    int count = 0;
    for (; mask != 0; mask &= mask - 1)
        points[std::size_t(count++)] = std::countr_zero(mask);
    return count;
}

/// The design being improved, with its coverage counts.
class Design
{
public:
    Design(const CoverProblem& problem, RandomSource& random)
        : m_n(problem.points)
        , m_k(problem.blockSize)
        , m_t(problem.strength)
        , m_m(problem.served)
        , m_lotto(problem.served > problem.strength)
        , m_random(random)
        , m_blockPatterns(Patterns(m_t, m_k))
        , m_withPointPatterns(Patterns(m_t - 1, m_k - 1))
        , m_strengthOfServed(Patterns(m_t, m_m))
        , m_lowerPatterns(Patterns(m_t - 1, m_k))
        , m_lowerWithPoint(m_t >= 2 ? Patterns(m_t - 2, m_k - 1) : std::vector<PointMask>{})
    {
        if (m_t >= 2)
            m_holders.resize(Choose(m_n, m_t - 1));
        m_strengthCount.assign(Choose(m_n, m_t), 0);
        const std::size_t targets = Choose(m_n, m_m);
        if (m_lotto)
            m_servedCount.assign(targets, 0);
        m_targets.reserve(targets);
        m_uncovered.reserve(targets);
        m_where.reserve(targets);
        const PointMask last = FirstCombination(m_m) << (m_n - m_m);
        for (PointMask s = FirstCombination(m_m);; s = NextCombination(s)) {
            m_where.push_back(std::int32_t(m_uncovered.size()));
            m_uncovered.push_back(std::uint32_t(m_targets.size()));
            m_targets.push_back(s);
            if (s == last)
                break;
        }
    }

    std::size_t uncovered() const { return m_uncovered.size(); }
    const std::vector<PointMask>& blocks() const { return m_blocks; }

    std::uint64_t below(std::uint64_t bound)
    {
        return std::uint64_t((unsigned __int128)m_random.next() * bound >> 64);
    }
    double unit() { return double(m_random.next() >> 11) * 0x1.0p-53; }

    PointMask randomUncovered() { return m_targets[m_uncovered[below(m_uncovered.size())]]; }

    /// A random point of `mask`, which must not be empty.
    PointMask randomPointOf(PointMask mask)
    {
        std::array<int, 64> points;
        const int count = PointsOf(mask, points);
        return PointMask{1} << points[below(std::uint64_t(count))];
    }

    void addBlock(PointMask block)
    {
        for (const PointMask p : m_blockPatterns)
            increment(Scatter(p, block));
        if (m_t >= 2) {
            for (const PointMask p : m_lowerPatterns)
                m_holders[ColexRank(Scatter(p, block))].push_back(std::uint32_t(m_blocks.size()));
        }
        m_blocks.push_back(block);
    }

    /// Makes `blocks` the design.
    void reset(const std::vector<PointMask>& blocks)
    {
        while (!m_blocks.empty())
            removeBlock(m_blocks.size() - 1);
        for (const PointMask block : blocks)
            addBlock(block);
    }

    void removeBlock(std::size_t index)
    {
        const PointMask block = m_blocks[index];
        for (const PointMask p : m_blockPatterns)
            decrement(Scatter(p, block));
        const auto last = std::uint32_t(m_blocks.size() - 1);
        if (m_t >= 2) {
            for (const PointMask p : m_lowerPatterns)
                dropHolder(ColexRank(Scatter(p, block)), std::uint32_t(index));
            if (index != last) {
                for (const PointMask p : m_lowerPatterns)
                    renameHolder(ColexRank(Scatter(p, m_blocks[last])), last, std::uint32_t(index));
            }
        }
        m_blocks[index] = m_blocks[last];
        m_blocks.pop_back();
    }

    /// Block `index` gives up point `out` and takes point `in` (single-bit masks).
    void swap(std::size_t index, PointMask out, PointMask in)
    {
        const PointMask rest = m_blocks[index] & ~out;
        for (const PointMask p : m_withPointPatterns)
            decrement(out | Scatter(p, rest));
        for (const PointMask p : m_withPointPatterns)
            increment(in | Scatter(p, rest));
        if (m_t >= 2) {
            for (const PointMask p : m_lowerWithPoint)
                dropHolder(ColexRank(out | Scatter(p, rest)), std::uint32_t(index));
            for (const PointMask p : m_lowerWithPoint)
                m_holders[ColexRank(in | Scatter(p, rest))].push_back(std::uint32_t(index));
        }
        m_blocks[index] = rest | in;
    }

    /// How many strength-sets of `block` no block holds yet (for a block not in the design), or
    /// hold only this block (for one in it, with `held` 1).
    int strengthSetsHeld(PointMask block, std::uint16_t held) const
    {
        int count = 0;
        for (const PointMask p : m_blockPatterns)
            count += m_strengthCount[ColexRank(Scatter(p, block))] == held ? 1 : 0;
        return count;
    }

    /// Greedy: while some served-set is uncovered, add the best of a few random blocks that hold
    /// a strength-subset of it. False when cancelled.
    bool buildGreedy(const std::atomic<bool>* cancel)
    {
        constexpr int kTries = 24;
        const PointMask all = FirstCombination(m_n);
        while (!m_uncovered.empty()) {
            if (cancel && (m_blocks.size() & 63) == 0 && cancel->load(std::memory_order_relaxed))
                return false;
            const PointMask target = randomUncovered();
            const PointMask core = Scatter(m_strengthOfServed[below(m_strengthOfServed.size())], target);
            PointMask best = 0;
            int bestScore = -1;
            for (int attempt = 0; attempt < kTries; ++attempt) {
                PointMask block = core;
                while (std::popcount(block) < m_k)
                    block |= randomPointOf(all & ~block);
                const int score = strengthSetsHeld(block, 0);
                if (score > bestScore) {
                    bestScore = score;
                    best = block;
                }
            }
            addBlock(best);
        }
        return true;
    }

    /// The block whose strength-sets are held by no other block the fewest times.
    std::size_t leastNeededBlock() const
    {
        std::size_t best = 0;
        int bestCount = m_k * 100;
        for (std::size_t i = 0; i < m_blocks.size(); ++i) {
            const int count = strengthSetsHeld(m_blocks[i], 1);
            if (count < bestCount) {
                bestCount = count;
                best = i;
            }
        }
        return best;
    }

    /// One annealing move at the temperature whose acceptance chances are `accept[delta]`.
    ///
    /// The block to change comes straight from the lists of blocks holding each
    /// (strength - 1)-set: a random strength-subset U of a random uncovered served-set, a random
    /// point of U to come in, and a random block holding the rest of U. Such a block holds no
    /// other point of the served-set (else the set would be covered), so the point that leaves
    /// is one of the block's points outside it.
    void move(const std::array<double, 32>& accept)
    {
        if (m_uncovered.empty())
            return;
        const PointMask target = randomUncovered();
        const PointMask strengthSet =
            m_lotto ? Scatter(m_strengthOfServed[below(m_strengthOfServed.size())], target) : target;
        PointMask in = randomPointOf(strengthSet);
        const std::vector<std::uint32_t>* holders =
            m_t >= 2 ? &m_holders[ColexRank(strengthSet & ~in)] : nullptr;
        std::size_t index = 0;
        if (holders && !holders->empty()) {
            index = (*holders)[below(holders->size())];
        } else {
            // Strength 1, or no block holds the rest of U: any block, any point of S it lacks.
            index = std::size_t(below(m_blocks.size()));
            in = randomPointOf(target & ~m_blocks[index]);
        }
        const PointMask block = m_blocks[index];
        const PointMask out = leastLossPoint(block, block & ~target);
        const std::size_t before = m_uncovered.size();
        swap(index, out, in);
        const std::size_t after = m_uncovered.size();
        if (after <= before)
            return;
        const std::size_t delta = after - before;
        if (delta < accept.size() && unit() < accept[delta])
            return;
        swap(index, in, out);
    }

    /// The point of `choices` (points of `block`) whose removal leaves the fewest strength-sets
    /// of the block uncovered; ties are broken at random.
    PointMask leastLossPoint(PointMask block, PointMask choices)
    {
        PointMask best = 0;
        int bestLoss = 1 << 30;
        int ties = 0;
        for (; choices != 0; choices &= choices - 1) {
            const PointMask point = choices & -choices;
            const PointMask rest = block & ~point;
            int loss = 0;
            for (const PointMask p : m_withPointPatterns)
                loss += m_strengthCount[ColexRank(point | Scatter(p, rest))] == 1 ? 1 : 0;
            if (loss < bestLoss) {
                bestLoss = loss;
                best = point;
                ties = 1;
            } else if (loss == bestLoss && below(std::uint64_t(++ties)) == 0) {
                best = point;
            }
        }
        return best;
    }

private:
    void dropHolder(std::uint32_t rank, std::uint32_t index)
    {
        std::vector<std::uint32_t>& holders = m_holders[rank];
        for (std::uint32_t& h : holders) {
            if (h == index) {
                h = holders.back();
                holders.pop_back();
                return;
            }
        }
    }

    void renameHolder(std::uint32_t rank, std::uint32_t from, std::uint32_t to)
    {
        for (std::uint32_t& h : m_holders[rank]) {
            if (h == from) {
                h = to;
                return;
            }
        }
    }

    void increment(PointMask set)
    {
        const std::uint32_t rank = ColexRank(set);
        if (m_strengthCount[rank]++ != 0)
            return;
        if (!m_lotto) {
            markCovered(rank);
            return;
        }
        forEachServedSuperset(set, [this](std::uint32_t s) {
            if (m_servedCount[s]++ == 0)
                markCovered(s);
        });
    }

    void decrement(PointMask set)
    {
        const std::uint32_t rank = ColexRank(set);
        if (--m_strengthCount[rank] != 0)
            return;
        if (!m_lotto) {
            markUncovered(rank);
            return;
        }
        forEachServedSuperset(set, [this](std::uint32_t s) {
            if (--m_servedCount[s] == 0)
                markUncovered(s);
        });
    }

    /// Calls `f` with the rank of every served-set that holds the strength-set `set`.
    template <typename F> void forEachServedSuperset(PointMask set, F&& f)
    {
        std::array<int, 64> outside;
        const int count = PointsOf(FirstCombination(m_n) & ~set, outside);
        const int extra = m_m - m_t;
        std::array<int, 8> index{};
        for (int i = 0; i < extra; ++i)
            index[std::size_t(i)] = i;
        while (true) {
            PointMask superset = set;
            for (int i = 0; i < extra; ++i)
                superset |= PointMask{1} << outside[std::size_t(index[std::size_t(i)])];
            f(ColexRank(superset));
            int i = extra - 1;
            while (i >= 0 && index[std::size_t(i)] == count - extra + i)
                --i;
            if (i < 0)
                return;
            ++index[std::size_t(i)];
            for (int j = i + 1; j < extra; ++j)
                index[std::size_t(j)] = index[std::size_t(j - 1)] + 1;
        }
    }

    void markCovered(std::uint32_t target)
    {
        const std::int32_t at = m_where[target];
        const std::uint32_t moved = m_uncovered.back();
        m_uncovered[std::size_t(at)] = moved;
        m_where[moved] = at;
        m_uncovered.pop_back();
        m_where[target] = -1;
    }

    void markUncovered(std::uint32_t target)
    {
        m_where[target] = std::int32_t(m_uncovered.size());
        m_uncovered.push_back(target);
    }

    const int m_n;
    const int m_k;
    const int m_t;
    const int m_m;
    const bool m_lotto;
    RandomSource& m_random;
    const std::vector<PointMask> m_blockPatterns;      ///< strength-subsets of a block's positions
    const std::vector<PointMask> m_withPointPatterns;  ///< (strength-1)-subsets of the other positions
    const std::vector<PointMask> m_strengthOfServed;   ///< strength-subsets of a served-set's positions
    std::vector<std::uint16_t> m_strengthCount;        ///< blocks holding each strength-set
    std::vector<std::uint8_t> m_servedCount;           ///< lotto: covered strength-subsets of each served-set
    std::vector<PointMask> m_targets;                  ///< every served-set, by colex rank
    std::vector<std::uint32_t> m_uncovered;            ///< the uncovered served-sets, in no order
    std::vector<std::int32_t> m_where;                 ///< each served-set's place in m_uncovered, or -1
    const std::vector<PointMask> m_lowerPatterns;      ///< (strength-1)-subsets of a block's positions
    const std::vector<PointMask> m_lowerWithPoint;     ///< (strength-2)-subsets of the other positions
    std::vector<std::vector<std::uint32_t>> m_holders; ///< blocks holding each (strength-1)-set
    std::vector<PointMask> m_blocks;
};

/// The search behind FindCover and FindCoverFrom: each run starts from a greedy design, or from
/// `initial` completed greedily when it is given.
SearchOutcome Search(const CoverProblem& problem, const SearchLimits& limits,
                     const std::vector<PointMask>* initial, const std::atomic<bool>* cancel,
                     const std::function<void(const SearchProgress&)>& progress)
{
    SearchOutcome outcome;
    const auto start = Clock::now();
    const auto cancelled = [cancel] { return cancel && cancel->load(std::memory_order_relaxed); };

    RandomSource random(limits.seed);
    Design design(problem, random);
    if (initial)
        design.reset(*initial);
    if (!design.buildGreedy(cancel)) {
        outcome.cancelled = true;
        return outcome;
    }
    outcome.blocks = design.blocks();
    outcome.greedySize = outcome.blocks.size();

    const auto report = [&](double fraction) {
        if (progress)
            progress(SearchProgress{outcome.blocks.size(), std::min(1.0, fraction)});
    };
    report(0);

    // Annealing schedule: geometric cooling, back to the start temperature once frozen.
    // Measured on 16 to 20 picks: a narrow band of temperatures finds far smaller designs than
    // cooling down to nearly 0 and reheating.
    TemperatureBand band(0.4, 0.2, 0.99);
    const std::uint64_t movesPerTemperature = 200 + 20 * outcome.blocks.size();

    constexpr std::uint64_t kQuickMovesPerBlock = 50;
    constexpr std::uint64_t kJumpMovesPerBlock = 400;
    // A run that finds no smaller design in this many moves per block starts again from a fresh
    // greedy design. Measured with the same seeds and move budgets: 3 if 3 with 18 picks 54.3 ->
    // 51.0 blocks on average, 4 if 4 with 14 picks 88.0 -> 82.7; 2,000 and 15,000 did worse.
    constexpr std::uint64_t kRestartMovesPerBlock = 6000;
    std::vector<PointMask> runBest = outcome.blocks; // the smallest design of this run
    std::uint64_t sinceBest = 0;                     // moves since the smallest design overall
    std::uint64_t sinceRunBest = 0;                  // moves since this run's smallest design
    std::uint64_t atTemperature = 0;
    std::size_t step = 1;
    bool jumped = false;
    // A lotto-design move can cost a thousand times a covering move: look at the clock (and the
    // cancel flag) accordingly often.
    const std::uint64_t checkMask = problem.served > problem.strength ? 7 : 1023;
    constexpr auto kReportEvery = std::chrono::milliseconds(100);
    auto lastReport = start;
    const auto timeLimit = limits.time;
    const auto elapsedShare = [&] {
        return double(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count()) /
               double(std::max<std::int64_t>(1, timeLimit.count()));
    };
    while (outcome.blocks.size() > limits.stopAtSize && outcome.blocks.size() > 1) {
        if (design.uncovered() == 0) {
            runBest = design.blocks();
            const std::size_t size = runBest.size();
            if (size < outcome.blocks.size()) {
                outcome.blocks = runBest;
                sinceBest = 0;
                report(elapsedShare());
                if (size <= limits.stopAtSize)
                    break;
            }
            // Far above the optimum (a greedy start) a design comes easily: drop more blocks at
            // a time while that lasts, one at a time once it gets hard.
            step = sinceRunBest < kQuickMovesPerBlock * size
                       ? std::min(step * 2, std::max<std::size_t>(1, size / 16))
                       : 1;
            const std::size_t drop =
                std::min<std::size_t>(step, size - std::max<std::uint64_t>(1, limits.stopAtSize));
            for (std::size_t i = 0; i < std::max<std::size_t>(1, drop); ++i)
                design.removeBlock(design.leastNeededBlock());
            jumped = drop > 1;
            sinceRunBest = 0;
            continue;
        }
        if (jumped && sinceRunBest >= kJumpMovesPerBlock * runBest.size()) {
            // The jump went too far: back to the run's best design, one block fewer.
            design.reset(runBest);
            design.removeBlock(design.leastNeededBlock());
            jumped = false;
            step = 1;
            continue; // the dropped block may have been redundant: nothing left to cover
        }
        if (sinceRunBest >= kRestartMovesPerBlock * runBest.size()) {
            // This run is stuck: a new one from a fresh greedy design.
            design.reset(initial ? *initial : std::vector<PointMask>{});
            if (!design.buildGreedy(cancel)) {
                outcome.cancelled = true;
                break;
            }
            sinceRunBest = 0;
            step = 1;
            jumped = false;
            band.restart();
            continue;
        }
        if (outcome.moves >= limits.maxMoves || sinceBest >= limits.stallMoves)
            break;
        if ((outcome.moves & checkMask) == 0) {
            if (cancelled()) {
                outcome.cancelled = true;
                break;
            }
            const auto now = Clock::now();
            if (now - start >= timeLimit)
                break;
            if (now - lastReport >= kReportEvery) {
                lastReport = now;
                const double byMoves = double(outcome.moves) / double(limits.maxMoves);
                report(std::max(elapsedShare(), byMoves));
            }
        }
        design.move(band.accept());
        ++outcome.moves;
        ++sinceBest;
        ++sinceRunBest;
        if (++atTemperature >= movesPerTemperature) {
            atTemperature = 0;
            band.cool();
        }
    }
    return outcome;
}

} // namespace

SearchOutcome FindCover(const CoverProblem& problem, const SearchLimits& limits,
                        const std::atomic<bool>* cancel,
                        const std::function<void(const SearchProgress&)>& progress)
{
    return Search(problem, limits, nullptr, cancel, progress);
}

SearchOutcome FindCoverFrom(const CoverProblem& problem, const std::vector<PointMask>& initial,
                            const SearchLimits& limits, const std::atomic<bool>* cancel,
                            const std::function<void(const SearchProgress&)>& progress)
{
    return Search(problem, limits, &initial, cancel, progress);
}

} // namespace zentrix::wheel
