// DirectSampler: the pruned walk over the passing sets and the draw from their running sums.
#include "DirectSampler.h"

#include "generator/RandomSource.h"
#include "generator/SetFilter.h"
#include "generator/SetWalkState.h"

#include <algorithm>
#include <array>

namespace zentrix {
namespace {

using namespace setwalk;

constexpr int kPositions = kHighestNumber + 2; // numbers 1..43 and the end

struct WalkState
{
    int taken = 0;
    int evens = 0;
    int fresh = 0;
    int pairs = 0;
    int last = 0;

    int index() const { return StateIndex(taken, evens, fresh, pairs, last); }
};

/**
 * Walks the passing sets in ascending order of their numbers. A table, filled from number 43
 * down, says for every number and every state of the walk (numbers taken, evens, fresh matches,
 * pairs, whether the previous number was taken) whether some choice among the numbers still to
 * come passes the plan; the walk enters only such branches, so it never meets a dead end and its
 * work grows with the number of passing sets, not with all sets.
 */
class PassingSetWalk
{
public:
    PassingSetWalk(const RulePlan& plan, NumberMask usable)
        : m_plan(plan)
        , m_usable(usable)
        , m_alive(static_cast<std::size_t>(kPositions) * kStateCount, 0)
    {
        for (int n = kLowestNumber; n <= kHighestNumber; ++n)
            m_fresh[static_cast<std::size_t>(n)] = plan.freshMatches(n);
        WalkState end;
        for (end.taken = 0; end.taken < kTakenStates; ++end.taken)
            for (end.evens = 0; end.evens < kEvenStates; ++end.evens)
                for (end.fresh = 0; end.fresh < kFreshStates; ++end.fresh)
                    for (end.pairs = 0; end.pairs < kPairStates; ++end.pairs)
                        for (end.last = 0; end.last < kLastStates; ++end.last)
                            alive(kHighestNumber + 1, end) =
                                end.taken == kSetSize && plan.parityPasses(end.evens) &&
                                plan.carryPasses(end.fresh) && plan.consecutivePasses(end.pairs);
        for (int n = kHighestNumber; n >= kLowestNumber; --n) {
            WalkState state;
            for (state.taken = 0; state.taken < kTakenStates; ++state.taken)
                for (state.evens = 0; state.evens <= state.taken; ++state.evens)
                    for (state.fresh = 0; state.fresh < kFreshStates; ++state.fresh)
                        for (state.pairs = 0; state.pairs < kPairStates; ++state.pairs)
                            for (state.last = 0; state.last < kLastStates; ++state.last) {
                                bool ok = alive(n + 1, skip(state));
                                if (!ok && canTake(n, state))
                                    ok = alive(n + 1, take(n, state));
                                alive(n, state) = ok;
                            }
        }
    }

    /// Calls visit(set) for every passing set, until a visit calls stop().
    template <typename Visit> void run(Visit&& visit)
    {
        if (alive(kLowestNumber, WalkState{}))
            step(kLowestNumber, WalkState{}, 0, visit);
    }
    void stop() { m_stopped = true; }

private:
    std::uint8_t& alive(int n, const WalkState& state)
    {
        return m_alive[static_cast<std::size_t>(n) * kStateCount + static_cast<std::size_t>(state.index())];
    }
    bool canTake(int n, const WalkState& state) const
    {
        return state.taken < kSetSize && (m_usable & NumberBit(n)) != 0;
    }
    static WalkState skip(WalkState state)
    {
        state.last = 0;
        return state;
    }
    WalkState take(int n, WalkState state) const
    {
        ++state.taken;
        state.evens += n % 2 == 0 ? 1 : 0;
        state.fresh = std::min(state.fresh + m_fresh[static_cast<std::size_t>(n)], kFreshStates - 1);
        state.pairs = std::min(state.pairs + state.last, kPairStates - 1);
        state.last = 1;
        return state;
    }

    template <typename Visit> void step(int n, const WalkState& state, NumberMask set, Visit& visit)
    {
        if (n > kHighestNumber) {
            // The table said this set passes; the plan has the last word all the same.
            if (m_plan.passes(set))
                visit(set);
            return;
        }
        if (canTake(n, state)) {
            const WalkState taken = take(n, state);
            if (alive(n + 1, taken))
                step(n + 1, taken, set | NumberBit(n), visit);
        }
        if (m_stopped)
            return;
        const WalkState skipped = skip(state);
        if (alive(n + 1, skipped))
            step(n + 1, skipped, set, visit);
    }

    const RulePlan& m_plan;
    NumberMask m_usable;
    std::vector<std::uint8_t> m_alive;
    std::array<int, kHighestNumber + 1> m_fresh{};
    bool m_stopped = false;
};

} // namespace

DirectSampler::DirectSampler(const AttemptChances& chances, const RulePlan& plan, std::int64_t maxSets)
{
    if (plan.contradiction())
        return;
    PassingSetWalk walk(plan, chances.reachable() & ~plan.forbidden());
    double sum = 0.0;
    walk.run([&](NumberMask set) {
        const double chance = chances.probability(set);
        if (chance <= 0.0)
            return;
        if (setCount() >= maxSets) {
            m_complete = false;
            walk.stop();
            return;
        }
        sum += chance;
        m_sets.push_back(set);
        m_cumulative.push_back(sum);
    });
    m_passChance = sum;
    if (!m_complete) {
        m_sets.clear();
        m_cumulative.clear();
    }
}

double DirectSampler::keptChance(std::size_t i) const
{
    const double below = i == 0 ? 0.0 : m_cumulative[i - 1];
    return (m_cumulative[i] - below) / m_passChance;
}

NumberMask DirectSampler::draw(RandomSource& random) const
{
    // A uniform point of [0, P(pass)); the set whose stretch of the running sums holds it.
    const double point = static_cast<double>(random.next() >> 11) * 0x1.0p-53 * m_passChance;
    const auto found = std::upper_bound(m_cumulative.begin(), m_cumulative.end(), point);
    const auto index =
        std::min<std::size_t>(static_cast<std::size_t>(found - m_cumulative.begin()), m_sets.size() - 1);
    return m_sets[index];
}

} // namespace zentrix
