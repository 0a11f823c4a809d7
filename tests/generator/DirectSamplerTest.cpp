// The direct sampler and the run's switch to it: the same kept sets as the attempt loop, rare
// settings that now answer, numbers of weight 0, and the loop's budget handing over.
#include "generator/DirectSampler.h"

#include "ChiSquare.h"
#include "GeneratorFixtures.h"
#include "generator/AttemptChances.h"
#include "generator/CandidateOrder.h"
#include "generator/RandomSource.h"
#include "generator/WeightTable.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>

namespace zentrix {
namespace {

using test::Draw;
using test::OpenedHistory;
using test::RunRecorder;

/// What a run on `draws` would draw from: its chances and its rule plan.
struct Prepared
{
    Prepared(const std::vector<DrawRecord>& draws, const GenerationSettings& settings)
        : table(test::TableOf(draws))
        , lists(BuildCarryLists(table))
        , weights(BuildWeightTable(table, settings))
        , chances(settings, weights)
        , plan(lists, table.row(table.Latest()), settings)
    {
    }
    DrawTable table;
    CarryLists lists;
    WeightTable weights;
    AttemptChances chances;
    RulePlan plan;
};

RunLimits LoopOnly()
{
    RunLimits limits;
    limits.attemptBound = 1e18;
    return limits;
}

RunLimits DirectOnly()
{
    RunLimits limits;
    limits.attemptBound = 0;
    limits.setCostInAttempts = 0;
    return limits;
}

// Kept sets of `runs` seeded runs of 100 sets each, counted per set.
std::map<NumberMask, std::int64_t> KeptSets(const std::vector<DrawRecord>& draws,
                                            const GenerationSettings& settings, const RunLimits& limits,
                                            int runs, bool expectDirect)
{
    OpenedHistory file(draws);
    std::map<NumberMask, std::int64_t> counts;
    for (int run = 0; run < runs; ++run) {
        RandomSource random(static_cast<std::uint64_t>(1000 + run));
        RunRecorder recorder;
        const RunResult result = GenerateSets(settings, file.history(), random, recorder, limits);
        EXPECT_EQ(result.outcome, RunOutcome::Completed);
        EXPECT_EQ(result.direct, expectDirect);
        for (const PredictionSet& set : recorder.sets)
            ++counts[MaskFromSet(set)];
    }
    return counts;
}

test::ChiSquareResult AgainstExact(const DirectSampler& sampler,
                                   const std::map<NumberMask, std::int64_t>& counts)
{
    std::vector<std::int64_t> observed;
    std::vector<double> chance;
    std::int64_t listed = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(sampler.setCount()); ++i) {
        const auto found = counts.find(sampler.set(i));
        observed.push_back(found == counts.end() ? 0 : found->second);
        listed += observed.back();
        chance.push_back(sampler.keptChance(i));
    }
    std::int64_t all = 0;
    for (const auto& [set, count] : counts)
        all += count;
    observed.push_back(all - listed); // kept sets the sampler never lists: chance 0
    chance.push_back(0.0);
    return test::ChiSquareTest(observed, chance);
}

// Three draws; the latest shares nothing with the one before, so its seven even numbers are all
// fresh. With weighting on, only the 17 numbers of these draws can come out, unevenly weighted.
std::vector<DrawRecord> FewNumbersHistory()
{
    return {Draw({1, 3, 5, 7, 9, 11}, 13), Draw({1, 3, 5, 7, 20, 22}, 24), Draw({2, 4, 6, 8, 10, 12}, 14)};
}

TEST(DirectSamplerTest, KeepsTheSetsTheLoopKeepsWithTheSameChances)
{
    GenerationSettings settings;
    settings.setCount = 100;
    settings.carryCount = 2;
    settings.parityLevel = 5; // two even numbers: both carried, four odd ones
    const Prepared prepared(FewNumbersHistory(), settings);
    const DirectSampler sampler(prepared.chances, prepared.plan, kAllSetCount);
    ASSERT_TRUE(sampler.ready());
    ASSERT_GT(sampler.setCount(), 20);
    ASSERT_LT(sampler.setCount(), 400);
    ASSERT_GT(sampler.passChance(), 1e-3) << "the loop must be quick here";
    double sum = 0.0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(sampler.setCount()); ++i)
        sum += sampler.keptChance(i);
    EXPECT_NEAR(sum, 1.0, 1e-12);

    const auto loop = KeptSets(FewNumbersHistory(), settings, LoopOnly(), 300, false);
    const test::ChiSquareResult loopFit = AgainstExact(sampler, loop);
    EXPECT_TRUE(loopFit.passes()) << "loop: " << loopFit.describe();
    const auto direct = KeptSets(FewNumbersHistory(), settings, DirectOnly(), 300, true);
    const test::ChiSquareResult directFit = AgainstExact(sampler, direct);
    EXPECT_TRUE(directFit.passes()) << "direct: " << directFit.describe();
}

TEST(DirectSamplerTest, ListsExactlyThePassingSetsTheDrawCanReach)
{
    GenerationSettings settings;
    settings.carryCount = 1;
    settings.parityLevel = 3;
    settings.totalLevel = 3; // the most frequent numbers get weight 0
    const std::vector<DrawRecord> draws = test::SyntheticHistory(40, 9);
    const Prepared prepared(draws, settings);
    const DirectSampler sampler(prepared.chances, prepared.plan, kAllSetCount);
    std::int64_t expected = 0;
    const NumberMask reachable = prepared.chances.reachable();
    ASSERT_NE(reachable, kAllNumbers);
    reference::ForEachSet([&](const PredictionSet& set, NumberMask mask) {
        if ((mask & reachable) == mask &&
            reference::CheckSet(set, prepared.lists, prepared.table.row(prepared.table.Latest()), settings) ==
                SetVerdict::Pass)
            ++expected;
    });
    EXPECT_EQ(sampler.setCount(), expected);
    std::vector<NumberMask> sets;
    for (std::size_t i = 0; i < static_cast<std::size_t>(sampler.setCount()); ++i)
        sets.push_back(sampler.set(i));
    std::sort(sets.begin(), sets.end());
    EXPECT_EQ(std::adjacent_find(sets.begin(), sets.end()), sets.end()) << "a set listed twice";
}

// Fresh numbers 42 and 43 appear in the latest draw only and weigh almost nothing on the total
// basis: two carries need both.
std::vector<DrawRecord> RareHistory()
{
    std::vector<DrawRecord> draws;
    for (int d = 0; d < 1500; ++d)
        draws.push_back(Draw({1 + d % 8, 10 + d % 9, 20 + d % 7, 28 + d % 5, 34 + d % 3, 38 + d % 2}, 9));
    draws.push_back(Draw({1, 10, 20, 28, 34, 38}, 9));
    draws.push_back(Draw({1, 10, 20, 28, 42, 43}, 9));
    return draws;
}

TEST(DirectSamplerTest, SetsRarerThanOneInAMillionStillComeAtOnce)
{
    GenerationSettings settings;
    settings.setCount = 100;
    settings.carryCount = 2;
    settings.parityOn = false;
    const Prepared prepared(RareHistory(), settings);
    const DirectSampler sampler(prepared.chances, prepared.plan, kAllSetCount);
    ASSERT_TRUE(sampler.ready());
    EXPECT_LT(sampler.passChance(), 1e-6);
    EXPECT_LE(prepared.chances.passChanceFloor(prepared.plan), sampler.passChance());

    OpenedHistory file(RareHistory());
    RunRecorder recorder;
    RandomSource random(3);
    const RunResult result = GenerateSets(settings, file.history(), random, recorder);
    ASSERT_EQ(result.outcome, RunOutcome::Completed);
    EXPECT_TRUE(result.direct);
    EXPECT_EQ(result.attempts, 0) << "the loop would need millions";
    ASSERT_EQ(recorder.sets.size(), 100u);
    test::ExpectPassingSets(recorder.sets, RareHistory(), settings);
    for (const PredictionSet& set : recorder.sets)
        EXPECT_TRUE(std::count(set.begin(), set.end(), 42) == 1 &&
                    std::count(set.begin(), set.end(), 43) == 1);

    // The same seed gives the same sets.
    RunRecorder again;
    RandomSource sameSeed(3);
    (void)GenerateSets(settings, file.history(), sameSeed, again);
    EXPECT_EQ(again.sets, recorder.sets);
    EXPECT_EQ(again.calls, recorder.calls);
}

TEST(DirectSamplerTest, NumbersOfWeightZeroNeverComeWithWeightingOn)
{
    GenerationSettings settings;
    settings.setCount = 100;
    settings.totalLevel = 3; // the most frequent numbers weigh 0
    settings.parityLevel = 6;
    const std::vector<DrawRecord> draws = test::SyntheticHistory(30, 4);
    const Prepared prepared(draws, settings);
    const NumberMask weightless = kAllNumbers & ~prepared.weights.drawable();
    ASSERT_NE(weightless, 0u);
    for (const RunLimits& limits : {LoopOnly(), DirectOnly()}) {
        const auto kept = KeptSets(draws, settings, limits, 8, limits.attemptBound == 0);
        for (const auto& [set, count] : kept)
            EXPECT_EQ(set & weightless, 0u) << "a number of weight 0 came out";
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(kNumberCount); ++i)
        if ((weightless & NumberBit(static_cast<int>(i) + 1)) != 0) {
            EXPECT_EQ(prepared.chances.firstSteps()[i], 0);
        }
}

TEST(DirectSamplerTest, TheChoiceWeighsTheLoopAgainstTheSampler)
{
    const RunLimits limits;
    EXPECT_FALSE(DrawsDirectly(100, 1e-3, 10, limits)); // 100,000 attempts: still the loop
    EXPECT_TRUE(DrawsDirectly(100, 9e-4, 10, limits));
    // Many passing sets make the sampler dear: the loop may then take up to their cost.
    EXPECT_FALSE(DrawsDirectly(100, 1e-4, 200'000, limits));
    EXPECT_TRUE(DrawsDirectly(100, 1e-4, 150'000, limits));
    EXPECT_TRUE(DrawsDirectly(1, 0.0, 5, limits));
    EXPECT_FALSE(DrawsDirectly(0, 0.0, 5, limits));
}

TEST(DirectSamplerTest, ALoopThatRunsOutOfBudgetHandsOverAndKeepsWhatItFound)
{
    GenerationSettings settings;
    settings.setCount = 100;
    const std::vector<DrawRecord> draws = test::SyntheticHistory(200, 3);
    OpenedHistory file(draws);
    RunLimits limits = LoopOnly();
    limits.drawBudget = 2'000; // a few sets' worth
    RunRecorder recorder;
    RandomSource random(8);
    const RunResult result = GenerateSets(settings, file.history(), random, recorder, limits);
    ASSERT_EQ(result.outcome, RunOutcome::Completed);
    EXPECT_TRUE(result.direct);
    EXPECT_GT(result.attempts, 0);
    ASSERT_EQ(recorder.sets.size(), 100u);
    test::ExpectPassingSets(recorder.sets, draws, settings);
    EXPECT_EQ(recorder.calls.size(), 2u + 2u * 100u + 1u);
}

TEST(DirectSamplerTest, ABandNarrowerThanOneStepOfTheDrawIsNeverDrawn)
{
    // Above a total of 2^24 a band of width 1 can fall between two unit values: its number has a
    // weight but never comes out, and a set that needs it cannot be drawn either way.
    PerNumber<std::int64_t> weight{};
    weight.fill(std::int64_t{1} << 26);
    weight[0] += 50; // moves the band of 22 off the unit value 2^-1
    weight[21] = 1;  // number 22
    const WeightTable table = WeightTable::FromWeights(weight);
    ASSERT_NE(table.drawable() & NumberBit(22), 0u);
    GenerationSettings settings;
    settings.carryCount = 1;
    settings.parityOn = false;
    settings.consecutiveOn = false;
    const AttemptChances chances(settings, table);
    ASSERT_EQ(chances.firstSteps()[21], 0);
    CarryLists lists;
    lists.FreshNumbers = {22};
    const RulePlan plan(lists, DrawRow{22, 30, 31, 32, 33, 34, 35}, settings);
    const DirectSampler sampler(chances, plan, kAllSetCount);
    EXPECT_FALSE(sampler.ready());
    EXPECT_EQ(sampler.passChance(), 0.0);
}

} // namespace
} // namespace zentrix
