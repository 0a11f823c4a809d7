// The exact chance of one attempt's set, against the per-number draws on RandomSource's grid and
// against a literal run of the ordering scan on small weight tables.
#include "generator/AttemptChances.h"

#include "ChiSquare.h"
#include "GeneratorFixtures.h"
#include "generator/CandidateOrder.h"
#include "generator/RandomSource.h"
#include "generator/WeightedDraw.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace zentrix {
namespace {

using test::WeightsOf;

// Every unit value the source can give, drawn through the real draw: the counts per number.
DrawSteps CountEveryUnitValue(const std::function<std::int16_t(float)>& draw)
{
    DrawSteps counts{};
    for (std::int64_t k = 0; k < kUnitSteps; ++k) {
        const std::int16_t n = draw(static_cast<float>(k) * 0x1.0p-24f);
        ++counts[static_cast<std::size_t>(n - 1)];
    }
    return counts;
}

TEST(DrawStepsTest, CountTheUnitValuesThatYieldEachNumber)
{
    // Uneven weights whose total does not divide 2^24, and numbers of weight 0.
    const WeightTable table = WeightsOf({{1, 3}, {2, 0}, {7, 1}, {20, 12345}, {21, 2}, {43, 77}});
    const BandIndex bands(table);
    EXPECT_EQ(WeightedDrawSteps(table), CountEveryUnitValue([&](float r) { return bands.numberAt(r); }));
    EXPECT_EQ(UniformDrawSteps(), CountEveryUnitValue([](float r) {
                  return static_cast<std::int16_t>(BandPosition(r, kNumberCount) + 1);
              }));
    EXPECT_EQ(WeightedDrawSteps(WeightTable{}), DrawSteps{});
}

TEST(AttemptChancesTest, WithEveryDrawAlikeBothFormsAgree)
{
    // Uniform first draws with uniform replacements is weighting on over equal weights: the
    // inclusion-exclusion form and the ordered-draws form must give the same chances.
    const DrawSteps uniform = UniformDrawSteps();
    const AttemptChances separate(uniform, uniform, false);
    const AttemptChances alike(uniform, uniform, true);
    for (const PredictionSet& set : {PredictionSet{1, 2, 3, 4, 5, 6}, PredictionSet{3, 11, 17, 25, 38, 42},
                                     PredictionSet{38, 39, 40, 41, 42, 43}}) {
        const double expected = alike.probability(MaskFromSet(set));
        EXPECT_NEAR(separate.probability(MaskFromSet(set)) / expected, 1.0, 1e-11);
        // Six distinct draws in some order, or fewer distinct ones topped up: a little above
        // 720 / 43^6.
        EXPECT_GT(expected, 720.0 / std::pow(43.0, 6));
        EXPECT_LT(expected, 1.5 * 720.0 / std::pow(43.0, 6));
    }
    EXPECT_EQ(alike.probability(MaskFromSet({1, 2, 3, 4, 5, 5})), 0.0); // five numbers
}

TEST(AttemptChancesTest, TheSetsOfAFinishingAttemptShareAllTheChance)
{
    // Nine numbers of weight: every attempt ends with six of them.
    const WeightTable table =
        WeightsOf({{3, 5}, {7, 1}, {8, 2}, {12, 7}, {20, 3}, {21, 1}, {30, 4}, {41, 2}, {43, 6}});
    GenerationSettings on;
    const AttemptChances chances(on, table);
    double sum = 0.0;
    const NumberMask drawable = table.drawable();
    for (NumberMask set = drawable; set != 0; set = (set - 1) & drawable)
        sum += chances.probability(set);
    EXPECT_NEAR(sum, 1.0, 1e-12);
    EXPECT_EQ(chances.reachable(), drawable);
    EXPECT_EQ(chances.probability(MaskFromSet({1, 3, 7, 8, 12, 20})), 0.0) << "1 has weight 0";
}

// The design's attempt, literally: six first draws, then the ordering scan with its replacements.
struct LiteralAttempt
{
    std::function<std::int16_t()> first;
    std::function<std::int16_t()> replacement;

    NumberMask operator()() const
    {
        PredictionSet candidate{};
        for (std::int16_t& n : candidate)
            n = first();
        if (!OrderCandidate(candidate, replacement))
            return 0;
        return MaskFromSet(candidate);
    }
};

// Counts the sets of `trials` literal attempts and compares them with the closed form over every
// set of numbers in `numbers`; attempts that never finish form one more cell.
test::ChiSquareResult CompareWithLiteral(const AttemptChances& chances, const LiteralAttempt& attempt,
                                         NumberMask numbers, int trials)
{
    std::map<NumberMask, std::int64_t> seen;
    for (int t = 0; t < trials; ++t)
        ++seen[attempt()];
    std::vector<std::int64_t> observed;
    std::vector<double> chance;
    double finishing = 0.0;
    std::int64_t outside = 0;
    for (const auto& [set, count] : seen)
        if (set != 0 && (set & ~numbers) != 0)
            outside += count;
    for (NumberMask set = numbers; set != 0; set = (set - 1) & numbers) {
        if (MaskSize(set) != kSetSize)
            continue;
        const double p = chances.probability(set);
        finishing += p;
        chance.push_back(p);
        const auto found = seen.find(set);
        observed.push_back(found == seen.end() ? 0 : found->second);
    }
    chance.push_back(std::max(0.0, 1.0 - finishing));
    observed.push_back(seen[0]);
    test::ChiSquareResult result = test::ChiSquareTest(observed, chance);
    if (outside > 0)
        result.statistic = INFINITY; // a set the closed form gives no chance at all
    return result;
}

std::int16_t DrawFromSteps(const DrawSteps& steps, RandomSource& random)
{
    auto k = static_cast<std::int64_t>(random.nextUnit() * 0x1.0p24f);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (k < steps[i])
            return static_cast<std::int16_t>(i + 1);
        k -= steps[i];
    }
    return 0;
}

TEST(AttemptChancesTest, MatchesTheLiteralScanWithWeightingOn)
{
    const WeightTable table =
        WeightsOf({{3, 5}, {7, 1}, {8, 2}, {12, 7}, {20, 3}, {21, 1}, {30, 4}, {41, 2}, {43, 6}});
    GenerationSettings on;
    const AttemptChances chances(on, table);
    RandomSource random(2026);
    const LiteralAttempt attempt{[&] { return WeightedDraw(table, random); },
                                 [&] { return WeightedDraw(table, random); }};
    const test::ChiSquareResult result = CompareWithLiteral(chances, attempt, table.drawable(), 200'000);
    EXPECT_TRUE(result.passes()) << result.describe();
}

TEST(AttemptChancesTest, MatchesTheLiteralScanWithFirstDrawsAndReplacementsApart)
{
    // First draws uniform over 1..8; replacements weighted over 2, 5, 9 and 10 only, so 9 and
    // 10 come only from replacements, 1, 3, 4, 6, 7 and 8 only from the first draws, and an
    // attempt whose first draws hold too few of them can never finish.
    DrawSteps first{};
    for (std::size_t i = 0; i < 8; ++i)
        first[i] = kUnitSteps / 8;
    const WeightTable replacementTable = WeightsOf({{2, 1}, {5, 3}, {9, 2}, {10, 1}});
    const AttemptChances chances(first, WeightedDrawSteps(replacementTable), false);
    RandomSource random(43);
    const LiteralAttempt attempt{[&] { return DrawFromSteps(first, random); },
                                 [&] { return WeightedDraw(replacementTable, random); }};
    const test::ChiSquareResult result =
        CompareWithLiteral(chances, attempt, (NumberMask{1} << 10) - 1, 200'000);
    EXPECT_TRUE(result.passes()) << result.describe();
}

TEST(AttemptChancesTest, MatchesTheLiteralScanWhenTheCandidateMayNeverFinish)
{
    // Weighting on, and only 6 numbers can be drawn: a repeated first draw can be topped up.
    // A table of five numbers leaves every attempt unfinished.
    const WeightTable six = WeightsOf({{1, 1}, {2, 50}, {3, 1}, {4, 1}, {5, 1}, {6, 1}});
    GenerationSettings on;
    const AttemptChances chances(on, six);
    EXPECT_NEAR(chances.probability(six.drawable()), 1.0, 1e-12);
    const WeightTable five = WeightsOf({{1, 1}, {2, 5}, {3, 1}, {4, 1}, {5, 1}});
    const AttemptChances none(on, five);
    const DrawSteps uniform = UniformDrawSteps();
    // Weighting off over the same five: replacements bring only 1..5, so a set without any of
    // them comes from six distinct first draws alone, and one holding them gets more than that.
    const AttemptChances off(uniform, WeightedDrawSteps(five), false);
    auto sixDistinct = [&](const PredictionSet& set) {
        double chance = 720.0;
        for (const std::int16_t n : set)
            chance *= static_cast<double>(uniform[static_cast<std::size_t>(n - 1)]) / kUnitSteps;
        return chance;
    };
    const PredictionSet high{38, 39, 40, 41, 42, 43};
    EXPECT_NEAR(off.probability(MaskFromSet(high)) / sixDistinct(high), 1.0, 1e-12);
    const PredictionSet low{1, 2, 3, 4, 5, 40};
    EXPECT_GT(off.probability(MaskFromSet(low)), 1.5 * sixDistinct(low));
    EXPECT_EQ(none.probability(MaskFromSet(low)), 0.0);
}

} // namespace
} // namespace zentrix
