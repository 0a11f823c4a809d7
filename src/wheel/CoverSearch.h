// CoverSearch: small covering and lotto designs by greedy construction and simulated annealing.
#pragma once

#include "wheel/Combinations.h"
#include "wheel/WheelRequest.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

namespace zentrix::wheel {

/// When a search stops. It always stops at the first of these that is reached.
struct SearchLimits
{
    std::chrono::milliseconds time{10000};  ///< wall-clock limit
    std::uint64_t maxMoves = 4'000'000'000; ///< annealing moves in all
    /// Moves without finding a smaller design before the search gives up. With the time limit
    /// out of reach, this makes a run depend on nothing but its seed.
    std::uint64_t stallMoves = 5'000'000;
    std::uint64_t seed = 1;
    std::uint64_t stopAtSize = 1; ///< a design of this size or smaller ends the search (a lower bound)
};

struct SearchProgress
{
    std::size_t bestSize = 0; ///< blocks in the smallest design so far, 0 before the first
    double fraction = 0;      ///< share of the time limit (or move budget) used, 0..1
};

struct SearchOutcome
{
    std::vector<PointMask> blocks; ///< the smallest design found; empty when cancelled before any
    std::uint64_t moves = 0;
    bool cancelled = false;
    std::size_t greedySize = 0; ///< the size of the first, greedy design
};

/**
 * Finds a small set of blocks of `blockSize` points out of `points` (at most 30) such that every
 * `served`-subset meets a block in at least `strength` points.
 *
 * The method is the one Nurmela and Östergård used for the covering tables ("Upper bounds for
 * covering designs by simulated annealing", 1993), carried over to lotto designs:
 *  - a greedy design first: while some served-set is uncovered, add the block that covers the
 *    most uncovered strength-sets among a few random ones holding a strength-subset of it;
 *  - then, with one block fewer than the best design so far, simulated annealing over the
 *    number of uncovered served-sets. A move takes a random uncovered served-set S, a random
 *    strength-subset U of it, a random point x of U and a random block holding U - x (the blocks
 *    holding each (strength - 1)-set are kept in lists, so the choice costs the same at any
 *    size), and swaps the point of the block outside S whose loss uncovers the fewest
 *    strength-sets for x, so that S becomes covered; the move is kept by the Metropolis rule.
 *    Coverage is counted incrementally (how many blocks hold each strength-set, and for lotto
 *    designs how many covered strength-subsets each served-set has), so a move costs a few
 *    dozen counter updates and never a recount. At cost 0 the design is kept and the block that
 *    covers the fewest strength-sets alone is dropped, and the search goes on one size smaller.
 *  - a run that stalls (6,000 moves per block without a smaller design) starts over from a fresh
 *    greedy design; the smallest design of all runs is the result.
 *
 * Deterministic for a given seed unless the time limit or the cancel flag stops it first.
 * `progress` is called now and then from the searching thread.
 */
SearchOutcome FindCover(const CoverProblem& problem, const SearchLimits& limits,
                        const std::atomic<bool>* cancel = nullptr,
                        const std::function<void(const SearchProgress&)>& progress = {});

/**
 * FindCover starting from the blocks of `initial` instead of a greedy design (say, a design with
 * a symmetry): the greedy step only completes it when it leaves something uncovered, and a run
 * that stalls starts again from it. The first design of the search is `initial` itself (completed),
 * so the result is never larger than that.
 */
SearchOutcome FindCoverFrom(const CoverProblem& problem, const std::vector<PointMask>& initial,
                            const SearchLimits& limits, const std::atomic<bool>* cancel = nullptr,
                            const std::function<void(const SearchProgress&)>& progress = {});

} // namespace zentrix::wheel
