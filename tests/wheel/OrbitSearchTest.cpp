// OrbitSearch: shifts and orbits, the coverage of an expanded cyclic design against the proof,
// the orbit search's designs, and the free search started from given blocks.
#include "wheel/OrbitSearch.h"

#include "WheelTestSupport.h"
#include "wheel/CoverSearch.h"
#include "wheel/StoredWheels.h"
#include "wheel/WheelVerifier.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <initializer_list>
#include <set>

namespace zentrix::wheel {
namespace {

PointMask Mask(std::initializer_list<int> points)
{
    PointMask mask = 0;
    for (const int p : points)
        mask |= PointMask{1} << p;
    return mask;
}

/// The blocks as tickets on the picks 1..v, for the proof.
bool Proved(int v, int t, const std::vector<PointMask>& blocks)
{
    return ProveStoredDesign(StoredDesign{v, t, t, 0, 0, blocks});
}

/// Whether some block holds the whole of `set`, read literally.
bool Held(const std::vector<PointMask>& blocks, PointMask set)
{
    return std::any_of(blocks.begin(), blocks.end(), [set](PointMask b) { return (b & set) == set; });
}

// A cyclic C(13, 6, 3) of two base blocks mod 13, 26 blocks.
const std::vector<PointMask> kCyclic13{Mask({0, 1, 3, 4, 7, 9}), Mask({0, 2, 4, 7, 11, 12})};

TEST(OrbitSearch, ShiftsTurnEachCopyAndKeepTheFixedPoints)
{
    const CyclicGroup z7{7, 1, 0};
    EXPECT_EQ(ShiftMask(z7, Mask({0, 1, 3}), 1), Mask({1, 2, 4}));
    EXPECT_EQ(ShiftMask(z7, Mask({0, 1, 3}), 6), Mask({6, 0, 2}));
    EXPECT_EQ(ShiftMask(z7, Mask({0, 1, 3}), 0), Mask({0, 1, 3}));

    // Z_5 on two copies {0..4}, {5..9} and the fixed points 10, 11.
    const CyclicGroup twoCopies{5, 2, 2};
    EXPECT_EQ(twoCopies.points(), 12);
    EXPECT_EQ(ShiftMask(twoCopies, Mask({4, 9, 10, 11}), 1), Mask({0, 5, 10, 11}));
    EXPECT_EQ(ShiftMask(twoCopies, Mask({3, 7}), 3), Mask({1, 5}));
}

TEST(OrbitSearch, ShortOrbitsAreCountedOnce)
{
    // {0, 1, 5, 6, 10, 11} is invariant under the shift by 5 of Z_15: five blocks, not fifteen.
    const CyclicGroup z15{15, 1, 0};
    const PointMask invariant = Mask({0, 1, 5, 6, 10, 11});
    EXPECT_EQ(OrbitLength(z15, invariant), 5);
    EXPECT_EQ(OrbitLength(z15, Mask({0, 1, 2, 3, 4, 6})), 15);
    EXPECT_EQ(ExpandOrbits(z15, {invariant}).size(), 5u);

    // Z_12 with infinity (point 12), which no shift moves.
    const CyclicGroup z12inf{12, 1, 1};
    EXPECT_EQ(OrbitLength(z12inf, Mask({0, 1, 4, 6, 7, 10})), 6);
    EXPECT_EQ(OrbitLength(z12inf, Mask({0, 2, 4, 6, 8, 10})), 2);
    EXPECT_EQ(OrbitLength(z12inf, Mask({0, 3, 6, 9, 12, 1})), 12);
    EXPECT_EQ(ExpandOrbits(z12inf, {Mask({0, 2, 4, 6, 8, 10})}).size(), 2u);

    // Two base blocks of one orbit add its blocks once; distinct orbits add up.
    const std::vector<PointMask> sameOrbit{Mask({0, 1, 2, 3, 4, 6}), Mask({3, 4, 5, 6, 7, 9})};
    EXPECT_EQ(ExpandOrbits(z15, sameOrbit).size(), 15u);
    EXPECT_EQ(ExpandOrbits(z15, {sameOrbit[0], invariant}).size(), 20u);
    const std::vector<PointMask> blocks = ExpandOrbits(z15, {sameOrbit[0], invariant});
    EXPECT_EQ(std::set<PointMask>(blocks.begin(), blocks.end()).size(), blocks.size());
}

TEST(OrbitSearch, ExpandedCyclicDesignCoversByWholeOrbits)
{
    const CyclicGroup z13{13, 1, 0};
    const std::vector<PointMask> design = ExpandOrbits(z13, kCyclic13);
    ASSERT_EQ(design.size(), 26u);
    // Closed under the shift, and every block a shift of a base block.
    for (const PointMask b : design) {
        EXPECT_TRUE(Held(design, ShiftMask(z13, b, 1)));
        EXPECT_EQ(__builtin_popcountll(b), 6);
    }
    EXPECT_TRUE(Proved(13, 3, design));

    // One orbit alone leaves whole orbits of triples uncovered: the proof finds a draw, and no
    // shift of it is served either.
    const std::vector<PointMask> half = ExpandOrbits(z13, {kCyclic13[0]});
    WheelRequest request{test::Range(1, 13), {}, Guarantee{3, 3}};
    std::vector<Ticket> tickets;
    for (const PointMask b : half) {
        Ticket ticket{};
        int i = 0;
        for (int p = 0; p < 13; ++p) {
            if (b >> p & 1)
                ticket[std::size_t(i++)] = p + 1;
        }
        tickets.push_back(ticket);
    }
    const Verification proof = VerifyWheel(request, tickets);
    ASSERT_EQ(proof.failure, Verification::Failure::DrawNotServed);
    PointMask unserved = 0;
    for (const int n : proof.unservedDraw)
        unserved |= PointMask{1} << (n - 1);
    for (int by = 0; by < 13; ++by)
        EXPECT_FALSE(Held(half, ShiftMask(z13, unserved, by))) << by;
}

TEST(OrbitSearch, FoundDesignsAreProvedAndMadeOfOrbits)
{
    struct Case
    {
        int v;
        int t;
        CyclicGroup group;
    };
    for (const Case& c : {Case{13, 3, {13, 1, 0}}, Case{14, 3, {13, 1, 1}}, Case{15, 3, {7, 2, 1}},
                          Case{12, 4, {11, 1, 1}}}) {
        OrbitLimits limits;
        limits.seed = 5;
        limits.time = std::chrono::milliseconds(300);
        const OrbitOutcome outcome = FindOrbitCover(CoverProblem{c.v, 6, c.t, c.t}, c.group, limits);
        ASSERT_FALSE(outcome.blocks.empty()) << c.v;
        EXPECT_EQ(outcome.blocks, ExpandOrbits(c.group, outcome.base)) << c.v;
        EXPECT_TRUE(Proved(c.v, c.t, outcome.blocks)) << c.v << " if " << c.t;
        for (const PointMask b : outcome.base)
            EXPECT_EQ(__builtin_popcountll(b), 6);
    }
    // v = 13, 3 if 3: two base blocks suffice (the design above), so the search gets there.
    OrbitLimits limits;
    limits.time = std::chrono::seconds(5);
    limits.stopAtSize = 26;
    EXPECT_LE(FindOrbitCover(CoverProblem{13, 6, 3, 3}, {13, 1, 0}, limits).blocks.size(), 26u);
}

TEST(OrbitSearch, RefusesProblemsItDoesNotSolve)
{
    OrbitLimits limits;
    limits.time = std::chrono::milliseconds(50);
    // A lotto design, and a group on the wrong number of points.
    EXPECT_TRUE(FindOrbitCover(CoverProblem{13, 6, 3, 4}, {13, 1, 0}, limits).blocks.empty());
    EXPECT_TRUE(FindOrbitCover(CoverProblem{13, 6, 3, 3}, {12, 1, 0}, limits).blocks.empty());
}

TEST(FindCoverFrom, StartsFromTheGivenBlocks)
{
    SearchLimits limits;
    limits.seed = 9;
    limits.time = std::chrono::seconds(5);
    limits.stallMoves = 20'000;

    // A cover with a redundant orbit on top: the search drops at least the redundant blocks.
    std::vector<PointMask> start = ExpandOrbits({13, 1, 0}, kCyclic13);
    for (const PointMask extra : ExpandOrbits({13, 1, 0}, {Mask({0, 1, 2, 3, 4, 5})}))
        start.push_back(extra);
    const SearchOutcome fromCover = FindCoverFrom(CoverProblem{13, 6, 3, 3}, start, limits);
    EXPECT_LE(fromCover.blocks.size(), 26u);
    EXPECT_EQ(fromCover.greedySize, start.size());
    EXPECT_TRUE(Proved(13, 3, fromCover.blocks));

    // Blocks that cover nothing like enough are completed first.
    const std::vector<PointMask> partial{Mask({0, 1, 2, 3, 4, 5})};
    const SearchOutcome completed = FindCoverFrom(CoverProblem{14, 6, 3, 3}, partial, limits);
    EXPECT_GT(completed.greedySize, 1u);
    EXPECT_TRUE(Proved(14, 3, completed.blocks));
}

} // namespace
} // namespace zentrix::wheel
