// OrbitSearch: covering designs invariant under a cyclic shift of the points, found by simulated
// annealing over the base blocks of their orbits.
#pragma once

#include "wheel/Combinations.h"
#include "wheel/WheelRequest.h"

#include <chrono>
#include <cstdint>
#include <vector>

namespace zentrix::wheel {

/// A cyclic group of order `cycle` acting on the points: `copies` cycles of `cycle` points each
/// (points j*cycle .. j*cycle + cycle - 1 for copy j), all turned by one step at once
/// (x -> x + 1 mod cycle within each copy), and `fixedPoints` more points after them that stay put.
/// {v, 1, 0} is Z_v on v points, {v - 1, 1, 1} is Z_(v-1) with a point at infinity.
struct CyclicGroup
{
    int cycle = 0;
    int copies = 1;
    int fixedPoints = 0;

    int points() const { return cycle * copies + fixedPoints; }
};

/// `mask` shifted by `by` (0 <= by < cycle): every cyclic point turns `by` steps in its copy.
PointMask ShiftMask(const CyclicGroup& group, PointMask mask, int by);

/// The number of distinct shifts of `mask`: a divisor of the cycle, smaller than it when the
/// mask is invariant under some shift.
int OrbitLength(const CyclicGroup& group, PointMask mask);

/// The design whose blocks are the orbits of `base`: every shift of every base block, each
/// distinct block once (a short orbit, or two base blocks in one orbit, add nothing twice).
std::vector<PointMask> ExpandOrbits(const CyclicGroup& group, const std::vector<PointMask>& base);

struct OrbitLimits
{
    std::chrono::milliseconds time{10000};
    std::uint64_t seed = 1;
    /// Moves at one number of base blocks without a cover before the run starts again from the
    /// last cover with another block dropped.
    std::uint64_t stallMoves = 2'000'000;
    std::uint64_t stopAtSize = 1; ///< a design of this many blocks or fewer ends the search
};

struct OrbitOutcome
{
    std::vector<PointMask> base;   ///< the base blocks of the smallest design; empty when none
    std::vector<PointMask> blocks; ///< that design expanded (ExpandOrbits of `base`)
    std::uint64_t moves = 0;
    double seconds = 0; ///< when the smallest design was found
};

/**
 * Looks for a small covering design C(v, k, t) (every t-set of the v points inside a block; the
 * problem must have served == strength and group.points() == points) made of whole orbits.
 *
 * The t-sets fall into orbits too, and an orbit is covered exactly when its representative lies
 * in some block, which happens exactly when one of the t-subsets of some base block is in the
 * orbit. So the cost of a set of base blocks is the number of t-set orbits none of their
 * t-subsets fall into, counted incrementally. The search: a greedy set of base blocks, then
 * simulated annealing with one base block fewer than the last cover; a move takes a random
 * uncovered orbit, finds a shift of its representative that a random base block holds all but
 * one point of, and swaps in that point for the block's point outside it whose loss costs least
 * (Metropolis rule). A cover found drops the base block whose t-sets no other one gives; after
 * `stallMoves` without a cover the run goes back to the last cover and drops a random block.
 * The smallest design (in expanded blocks) is the result. Deterministic for a seed unless the
 * time limit stops it first.
 */
OrbitOutcome FindOrbitCover(const CoverProblem& problem, const CyclicGroup& group, const OrbitLimits& limits);

} // namespace zentrix::wheel
