// Counting passing sets: the number-by-number count against an enumeration of every set.
#include "generator/Feasibility.h"

#include "common/ReferenceRules.h"
#include "support/HistoryFixtures.h"

#include <gtest/gtest.h>

namespace zentrix {
namespace {

using reference::Rules;
using test::Draw;

struct Case
{
    const char* name;
    DrawRecord latest;
    DrawRecord previous;
    GenerationSettings settings;
    NumberMask allowed = kAllNumbers;
};

// Every set of six numbers in ascending order, checked with the literal rules.
std::vector<std::int64_t> EnumerateEverySet(const std::vector<Case>& cases)
{
    struct Prepared
    {
        CarryLists lists;
        DrawRow latest;
    };
    std::vector<Prepared> prepared;
    for (const Case& c : cases)
        prepared.push_back(
            {BuildCarryLists(MakeDrawRow(c.latest), MakeDrawRow(c.previous)), MakeDrawRow(c.latest)});
    std::vector<std::int64_t> counts(cases.size(), 0);
    reference::ForEachSet([&](const PredictionSet& set, NumberMask mask) {
        for (std::size_t i = 0; i < cases.size(); ++i) {
            if ((mask & cases[i].allowed) != mask)
                continue;
            if (reference::CheckSet(set, prepared[i].lists, prepared[i].latest, cases[i].settings) ==
                SetVerdict::Pass)
                ++counts[i];
        }
    });
    return counts;
}

TEST(CountPassingSetsTest, AgreesWithCheckingEverySet)
{
    const DrawRecord latest = Draw({1, 2, 3, 4, 5, 6}, 7);
    const DrawRecord previous = Draw({6, 7, 20, 21, 22, 23}, 24);
    const DrawRecord real2037 = Draw({7, 12, 20, 23, 27, 29}, 10);
    const DrawRecord real2036 = Draw({7, 10, 17, 26, 35, 42}, 33);
    // 1..30 and the even numbers above: a weight table with holes.
    const NumberMask holes = ((NumberMask{1} << 30) - 1) | 0x2AAAAAAAAAAull;
    const std::vector<Case> cases = {
        {"opening settings", latest, previous, Rules(true, 1, true, 4)},
        {"no rules but no carry", latest, previous, Rules(false, 0, false, 4)},
        {"level 1, two carries, pair wanted", real2037, real2036, Rules(true, 2, true, 1)},
        {"level 7, two carries", latest, previous, Rules(false, 2, true, 7)},
        {"level 9 counts as 7", real2037, real2036, Rules(true, 1, true, 9)},
        {"level 2 with holes", real2037, real2036, Rules(true, 1, true, 2), holes},
        {"level 5, no pair, holes", latest, previous, Rules(false, 2, true, 5), holes},
        {"fresh number twice in the draw", Draw({8, 8, 12, 13, 14, 15}, 16), previous,
         Rules(true, 2, false, 4)},
        {"cells outside 1..43", Draw({0, 44, -3, 9, 10, 11}, 12), previous, Rules(true, 1, true, 3)},
        {"contradiction", Draw({2, 3, 5, 7, 9, 11}, 13), previous, Rules(true, 2, true, 1)},
    };
    const std::vector<std::int64_t> expected = EnumerateEverySet(cases);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const CarryLists lists = BuildCarryLists(MakeDrawRow(c.latest), MakeDrawRow(c.previous));
        EXPECT_EQ(CountPassingSets(c.settings, lists, MakeDrawRow(c.latest), c.allowed), expected[i])
            << c.name;
    }
    EXPECT_GT(expected[0], 0);
    EXPECT_EQ(expected.back(), 0);
}

TEST(CountPassingSetsTest, SetsWithoutNeighboursMatchTheClosedForm)
{
    // No number of the latest draw is valid, so nothing is forbidden: sets of 6 out of 43 with no
    // two consecutive numbers number C(38, 6).
    const DrawRow nothing = MakeDrawRow(Draw({0, 0, 0, 0, 0, 0}, 0));
    const CarryLists lists = BuildCarryLists(nothing, nothing);
    EXPECT_EQ(CountPassingSets(Rules(false, 0, false, 4), lists, nothing), 2'760'681);
    // Parity off with exactly one pair plus no pair plus two or more pairs: everything.
    const std::int64_t onePair = CountPassingSets(Rules(true, 0, false, 4), lists, nothing);
    EXPECT_GT(onePair, 0);
    EXPECT_LT(onePair + 2'760'681, kAllSetCount);
    // Level 1 drops the pair rule, so it counts every all-even set: C(21, 6).
    EXPECT_EQ(CountPassingSets(Rules(true, 0, true, 1), lists, nothing), 54'264);
}

WeightTable WeightsOn(NumberMask numbers)
{
    PerNumber<std::int64_t> weights{};
    for (int n = 1; n <= 43; ++n)
        weights[static_cast<std::size_t>(n - 1)] = (numbers & NumberBit(n)) ? n : 0;
    return WeightTable::FromWeights(weights);
}

TEST(AssessFeasibilityTest, NamesWhyNoAttemptCanKeepASet)
{
    const DrawRecord latest = Draw({1, 2, 3, 4, 5, 6}, 7); // fresh 1..5 after the draw below
    const DrawRecord previous = Draw({6, 7, 20, 21, 22, 23}, 24);
    const NumberMask five = NumberBit(1) | NumberBit(10) | NumberBit(11) | NumberBit(20) | NumberBit(30);
    const NumberMask noFresh =
        kAllNumbers & ~(NumberBit(1) | NumberBit(2) | NumberBit(3) | NumberBit(4) | NumberBit(5));
    GenerationSettings off;
    off.weightingOn = false;
    struct Case
    {
        const char* name;
        DrawRecord latest, previous;
        GenerationSettings settings;
        NumberMask weighted; ///< the numbers with a weight; 0 for an empty table
        Infeasibility reason;
        NumberMask reachable;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {"opening settings", latest, previous, {}, kAllNumbers, Infeasibility::None, kAllNumbers},
        {"no weight", latest, previous, {}, 0, Infeasibility::NoDrawableNumber, 0},
        {"five weighted", latest, previous, {}, five, Infeasibility::FewerThanSixDrawable, five},
        // Weighting off reaches every number through the uniform first draws.
        {"no weight, weighting off", latest, previous, off, 0, Infeasibility::None, kAllNumbers},
        // A single fresh number (9): two carries can never be met.
        {"one fresh, two carries", Draw({9, 20, 21, 22, 23, 24}, 6), Draw({6, 20, 21, 22, 23, 24}, 25),
         Rules(true, 2, true, 4), kAllNumbers, Infeasibility::NoSetPasses, kAllNumbers},
        // One carry at level 1 (six even) with only odd fresh numbers: not caught as a contradiction.
        {"odd fresh, level 1", Draw({1, 3, 5, 7, 9, 11}, 13), Draw({30, 31, 32, 33, 34, 35}, 36),
         Rules(true, 1, true, 1), kAllNumbers, Infeasibility::NoSetPasses, kAllNumbers},
        // One carry needs one of 1..5; none of them has weight.
        {"fresh without weight", latest, previous, {}, noFresh, Infeasibility::NoDrawableSetPasses, noFresh},
        {"fresh without weight, weighting off", latest, previous, off, noFresh, Infeasibility::None,
         kAllNumbers},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DrawRow row = MakeDrawRow(c.latest);
        const CarryLists lists = BuildCarryLists(row, MakeDrawRow(c.previous));
        ASSERT_FALSE(SettingsContradict(lists, c.settings));
        const FeasibilityReport report = AssessFeasibility(c.settings, lists, row, WeightsOn(c.weighted));
        EXPECT_EQ(report.reason, c.reason);
        EXPECT_EQ(report.feasible(), c.reason == Infeasibility::None);
        EXPECT_EQ(report.reachable, c.reachable);
        EXPECT_EQ(report.passingSets, CountPassingSets(c.settings, lists, row));
        EXPECT_EQ(report.reachablePassingSets, CountPassingSets(c.settings, lists, row, c.reachable));
        EXPECT_EQ(report.passingSets > 0, c.reason != Infeasibility::NoSetPasses);
        EXPECT_EQ(report.reachablePassingSets > 0, c.reason == Infeasibility::None);
    }
}

TEST(AssessHistoryTest, BuildsTheRunsTablesFromTheHistory)
{
    DrawTable table;
    for (int d = 0; d < 30; ++d)
        table.rows.push_back(MakeDrawRow(Draw({1, 2, 3, 4, 5, 30}, 31)));
    table.rows.push_back(MakeDrawRow(Draw({10, 11, 12, 13, 14, 15}, 16)));
    table.rows.push_back(MakeDrawRow(Draw({1, 2, 3, 4, 5, 30}, 31)));
    GenerationSettings settings;
    settings.weightingOn = false;
    const FeasibilityReport uniform = AssessHistory(settings, table);
    EXPECT_TRUE(uniform.feasible());
    EXPECT_EQ(uniform.passingSets,
              CountPassingSets(settings, BuildCarryLists(table), table.row(table.Latest())));
    // Level 3 leaves the fresh numbers (the most frequent ones) without weight.
    settings.weightingOn = true;
    settings.totalLevel = 3;
    EXPECT_EQ(AssessHistory(settings, table).reason, Infeasibility::NoDrawableSetPasses);

    table.rows.resize(1);
    EXPECT_FALSE(AssessHistory(settings, table).feasible());
    EXPECT_EQ(AssessHistory(settings, table).passingSets, 0);
}

} // namespace
} // namespace zentrix
