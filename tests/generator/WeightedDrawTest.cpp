// The weighted draw and the random source: band search, proportions, reproducibility.
#include "generator/WeightedDraw.h"

#include "GeneratorFixtures.h"
#include "generator/RandomSource.h"

#include <cmath>
#include <gtest/gtest.h>
#include <set>

namespace zentrix {
namespace {

using test::WeightsOf;

TEST(NumberForBandTest, EachPositionFallsInTheBandOfItsNumber)
{
    const WeightTable table = WeightsOf({{5, 1}, {9, 3}});
    ASSERT_EQ(table.total(), 4);
    EXPECT_EQ(NumberForBand(table, 0), 5);
    EXPECT_EQ(NumberForBand(table, 1), 9);
    EXPECT_EQ(NumberForBand(table, 2), 9);
    EXPECT_EQ(NumberForBand(table, 3), 9);
    EXPECT_EQ(NumberForBand(table, 4), 0);
    EXPECT_EQ(NumberForBand(table, -1), 0);
    // The ends of the range give the lowest and the highest numbers with a weight.
    const WeightTable holes = WeightsOf({{3, 10}, {4, 0}, {20, 7}, {41, 2}});
    EXPECT_EQ(NumberForBand(holes, 0), 3);
    EXPECT_EQ(NumberForBand(holes, holes.total() - 1), 41);
    EXPECT_EQ(NumberForBand(WeightsOf({{43, 5}}), 0), 43);
    EXPECT_EQ(NumberForBand(WeightsOf({{1, 5}}), 4), 1);
}

TEST(BandPositionTest, IsTheIntegerPartOfRTimesTheTotal)
{
    EXPECT_EQ(BandPosition(0.0f, 4), 0);
    EXPECT_EQ(BandPosition(0.25f, 4), 1);
    EXPECT_EQ(BandPosition(0.2499999f, 4), 0);
    EXPECT_EQ(BandPosition(0.99999994f, 43), 42);
    // A total past float precision still stays below the total.
    EXPECT_EQ(BandPosition(0.99999994f, 1ll << 40), (1ll << 40) - 65536);
    EXPECT_LT(BandPosition(0.99999994f, std::int64_t{1} << 62), std::int64_t{1} << 62);
}

TEST(WeightedDrawTest, OnlyNumberWithWeightIsAlwaysDrawnAndAnEmptyTableYieldsNone)
{
    RandomSource random(1);
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(WeightedDraw(WeightsOf({{43, 17}}), random), 43);
        EXPECT_EQ(WeightedDraw(WeightsOf({{1, 2}}), random), 1);
    }
    EXPECT_EQ(WeightedDraw(WeightTable{}, random), 0);
}

// Chi-square over the numbers with weight: with a fixed seed the result is fixed, and a wrong band
// (off by one, wrong end, uniform instead of weighted) pushes it far past the bound.
TEST(WeightedDrawTest, NumbersComeOutInProportionToTheirWeights)
{
    PerNumber<std::int64_t> weights{};
    for (int n = 1; n <= 43; ++n)
        weights[static_cast<std::size_t>(n - 1)] = n % 5 == 0 ? 0 : n; // 0 for every fifth number
    const WeightTable table = WeightTable::FromWeights(weights);
    RandomSource random(20260101);
    constexpr int kDraws = 400'000;
    PerNumber<int> seen{};
    for (int i = 0; i < kDraws; ++i) {
        const int n = WeightedDraw(table, random);
        ASSERT_TRUE(IsLotoNumber(n));
        ++seen[static_cast<std::size_t>(n - 1)];
    }
    double chiSquare = 0;
    int cells = 0;
    for (int n = 1; n <= 43; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        if (weights[i] == 0) {
            EXPECT_EQ(seen[i], 0) << "number " << n << " has weight 0";
            continue;
        }
        const double expected = kDraws * static_cast<double>(weights[i]) / static_cast<double>(table.total());
        chiSquare += (seen[i] - expected) * (seen[i] - expected) / expected;
        ++cells;
    }
    // 34 degrees of freedom: the 99.99th percentile is about 73.
    EXPECT_LT(chiSquare, 73.0) << cells << " numbers";
}

// The run draws through BandIndex; for every r it must give what WeightedDraw's search gives.
TEST(BandIndexTest, FindsTheSameBandAsTheSearchForEveryValue)
{
    PerNumber<std::int64_t> lumpy{};
    for (int n = 1; n <= 43; ++n)
        lumpy[static_cast<std::size_t>(n - 1)] = n % 7 == 0 ? 0 : (n % 3 == 0 ? 100'000 : n);
    PerNumber<std::int64_t> huge{};
    huge[0] = 1;
    huge[20] = std::int64_t{1} << 40;
    huge[42] = 3;
    const std::vector<WeightTable> tables = {
        WeightsOf({{5, 1}, {9, 3}}),     WeightsOf({{43, 1}}),           WeightsOf({{1, 1}}),
        WeightTable::FromWeights(lumpy), WeightTable::FromWeights(huge),
    };
    RandomSource random(8);
    for (const WeightTable& table : tables) {
        const BandIndex index(table);
        for (int i = 0; i < 200'000; ++i) {
            // Every fourth value sits on a guide boundary, where an off-by-one would show.
            const float r = i % 4 == 0 ? static_cast<float>(i / 4 % 256) / 256.0f : random.nextUnit();
            ASSERT_EQ(index.numberAt(r), NumberForBand(table, BandPosition(r, table.total()))) << r;
        }
        ASSERT_EQ(index.numberAt(0.99999994f),
                  NumberForBand(table, BandPosition(0.99999994f, table.total())));
    }
    EXPECT_EQ(BandIndex(WeightTable{}).numberAt(0.5f), 0);
}

TEST(UniformDrawTest, CoversOneToFortyThreeEvenly)
{
    RandomSource random(3);
    PerNumber<int> seen{};
    constexpr int kDraws = 430'000;
    for (int i = 0; i < kDraws; ++i) {
        const int n = UniformDraw(random);
        ASSERT_TRUE(IsLotoNumber(n)) << n;
        ++seen[static_cast<std::size_t>(n - 1)];
    }
    double chiSquare = 0;
    for (const int count : seen)
        chiSquare += (count - 10000.0) * (count - 10000.0) / 10000.0;
    // 42 degrees of freedom: the 99.99th percentile is about 85.
    EXPECT_LT(chiSquare, 85.0);
}

TEST(RandomSourceTest, SeededSourcesRepeatAndDiffer)
{
    RandomSource a(42);
    RandomSource b(42);
    RandomSource c(43);
    a.beginRun();
    b.beginRun(); // seeded: the clock is never mixed in
    int same = 0;
    for (int i = 0; i < 1000; ++i) {
        const std::uint64_t x = a.next();
        EXPECT_EQ(x, b.next());
        same += x == c.next() ? 1 : 0;
    }
    EXPECT_EQ(same, 0);
}

TEST(RandomSourceTest, ClockSeededSourcesDifferAndBeginRunChangesTheStream)
{
    RandomSource a;
    RandomSource b;
    EXPECT_FALSE(a.isSeeded());
    EXPECT_NE(a.next(), b.next());

    RandomSource copy = a;
    a.beginRun();
    EXPECT_NE(a.next(), copy.next());
}

TEST(RandomSourceTest, UnitValuesLieInZeroToOneAndAreSpread)
{
    RandomSource random(11);
    std::set<float> distinct;
    double sum = 0;
    for (int i = 0; i < 100'000; ++i) {
        const float r = random.nextUnit();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        sum += r;
        distinct.insert(r);
    }
    EXPECT_NEAR(sum / 100'000, 0.5, 0.005);
    EXPECT_GT(distinct.size(), 99'000u);
}

} // namespace
} // namespace zentrix
