// Statistics and weight tables: shares, strength levels, the time axis, and loading the history.
#include "generator/WeightTable.h"

#include "generator/DrawTable.h"
#include "store/HistoryFile.h"
#include "support/FailingDevice.h"
#include "support/HistoryFixtures.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <numeric>

namespace zentrix {
namespace {

using test::Draw;

using test::TableOf;

DrawTable TwoDraws()
{
    return TableOf({Draw({1, 2, 3, 4, 5, 6}, 7), Draw({1, 8, 9, 10, 11, 12}, 13)});
}

GenerationSettings Settings(bool weightingOn, int basis, int totalLevel, int timeLevel)
{
    GenerationSettings settings;
    settings.weightingOn = weightingOn;
    settings.weightBasis = static_cast<WeightBasis>(basis);
    settings.totalLevel = totalLevel;
    settings.timeAxisLevel = timeLevel;
    return settings;
}

TEST(RoundingTest, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(RoundHalfToEven(312.5), 312);
    EXPECT_EQ(RoundHalfToEven(313.5), 314);
    EXPECT_EQ(RoundHalfToEven(0.5), 0);
    EXPECT_EQ(RoundHalfToEven(2.0 / 14.0 * 10000.0), 1429);
    EXPECT_EQ(RoundHalfToEven(1.0 / 14.0 * 10000.0), 714);
    EXPECT_EQ(RoundHalfToEven(7.49), 7);

    EXPECT_EQ(HalveHalfToEven(1429), 714);
    EXPECT_EQ(HalveHalfToEven(315), 158);
    EXPECT_EQ(HalveHalfToEven(3), 2);
    EXPECT_EQ(HalveHalfToEven(1), 0);
    EXPECT_EQ(HalveHalfToEven(1000), 500);
}

TEST(StatisticsTest, TwoDrawHistoryCountsBonusLikeAWinningNumber)
{
    const NumberStatistics stats = ComputeStatistics(TwoDraws());
    EXPECT_EQ(stats.AppearanceCount[0], 2);
    for (int n = 2; n <= 13; ++n)
        EXPECT_EQ(stats.AppearanceCount[static_cast<std::size_t>(n - 1)], 1) << n;
    for (int n = 14; n <= 43; ++n)
        EXPECT_EQ(stats.AppearanceCount[static_cast<std::size_t>(n - 1)], 0) << n;
    EXPECT_EQ(stats.AppearanceShare[0], 1429);
    EXPECT_EQ(stats.AppearanceShare[12], 714);
    EXPECT_EQ(stats.RecencySum[0], 3);
    EXPECT_EQ(stats.RecencySum[6], 1);
    EXPECT_EQ(stats.RecencySum[7], 2);
}

TEST(StatisticsTest, ShareOfExactlyHalfIsRoundedToEven)
{
    // 32 draws, number 40 in 7 of them: 7 / 224 * 10000 = 312.5.
    std::vector<DrawRecord> draws;
    for (int d = 0; d < 32; ++d)
        draws.push_back(d < 7 ? Draw({1, 2, 3, 4, 5, 40}, 6) : Draw({1, 2, 3, 4, 5, 6}, 7));
    EXPECT_EQ(ComputeStatistics(TableOf(draws)).AppearanceShare[39], 312);
}

TEST(StatisticsTest, CellsOutsideOneToFortyThreeAreCountedNowhere)
{
    const NumberStatistics stats =
        ComputeStatistics(TableOf({Draw({0, -1, 44, 32767, 5, 6}, 0), Draw({5, 6, 7, 8, 9, 10}, -32768)}));
    const auto counted = std::accumulate(stats.AppearanceCount.begin(), stats.AppearanceCount.end(), 0ll);
    EXPECT_EQ(counted, 8);
    EXPECT_EQ(stats.AppearanceCount[4], 2);
    EXPECT_EQ(stats.RecencySum[4], 3);
    // Shares still divide by every cell: 1 of 14 cells.
    EXPECT_EQ(stats.AppearanceShare[6], 714);
}

// The two-draw history: shares 1429 for 1, 714 for 2..13, 0 above; recency sums 3 for 1, 1 for
// 2..7, 2 for 8..13. Each table gives the weights of number 1, 2..7, 8..13 and 14..43.
TEST(WeightTableTest, EveryBasisAndLevelOnTheTwoDrawHistory)
{
    struct Case
    {
        bool on;
        int basis;
        int totalLevel;
        int timeLevel;
        std::array<std::int64_t, 4> weights;
        std::int64_t total;
    };
    const std::vector<Case> cases = {
        {true, 0, 1, 1, {1429, 714, 714, 0}, 9997},
        // M = 1429 halves to 714 (714.5, half to even): |1429-714|, |714-714|, |0-714|.
        {true, 0, 2, 1, {715, 0, 0, 714}, 22135},
        {true, 0, 3, 1, {0, 715, 715, 1429}, 51450},
        // With weighting off the total level has no effect.
        {false, 0, 2, 3, {1429, 714, 714, 0}, 9997},
        {false, 0, 3, 3, {1429, 714, 714, 0}, 9997},
        // The time axis ignores the total level and applies its own, weighting on or off.
        {true, 1, 3, 1, {3, 1, 2, 0}, 21},
        // M2 = 3 halves to 2 (1.5, half to even): |3-2|, |1-2|, |2-2|, |0-2|.
        {true, 1, 1, 2, {1, 1, 0, 2}, 67},
        {false, 1, 3, 2, {1, 1, 0, 2}, 67},
        {true, 1, 1, 3, {0, 2, 1, 3}, 108},
        {false, 1, 1, 3, {0, 2, 1, 3}, 108},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "on " << c.on << " basis " << c.basis << " levels " << c.totalLevel
                                        << "/" << c.timeLevel);
        const WeightTable table =
            BuildWeightTable(TwoDraws(), Settings(c.on, c.basis, c.totalLevel, c.timeLevel));
        std::int64_t running = 0;
        for (int n = 1; n <= 43; ++n) {
            const std::int64_t weight = c.weights[n == 1 ? 0 : n <= 7 ? 1 : n <= 13 ? 2 : 3];
            running += weight;
            ASSERT_EQ(table.weightOf(n), weight) << n;
            ASSERT_EQ(table.W[static_cast<std::size_t>(n - 1)], running) << n;
            ASSERT_EQ((table.drawable() & NumberBit(n)) != 0, weight > 0) << n;
        }
        EXPECT_EQ(table.total(), c.total);
    }
}

TEST(WeightTableTest, LongHistoriesNeedNoSixteenBitLimit)
{
    // 3000 draws of valid numbers: the level-1 time-axis total is 7 * (1 + ... + 3000), far past
    // 32767, and every recency sum is past it too.
    const std::vector<DrawRecord> draws = test::SyntheticHistory(3000, 5);
    const DrawTable table = TableOf(draws);
    const WeightTable time = BuildWeightTable(table, Settings(true, 1, 1, 1));
    EXPECT_EQ(time.total(), 7ll * 3000 * 3001 / 2);
    const NumberStatistics stats = ComputeStatistics(table);
    for (const std::int64_t sum : stats.RecencySum)
        EXPECT_GT(sum, 32767);
    // Level 3 on the total basis: 43 * M minus about 10000, beyond the old 16-bit sum as well.
    const WeightTable level3 = BuildWeightTable(table, Settings(true, 0, 3, 1));
    const std::int64_t maximum =
        *std::max_element(stats.AppearanceShare.begin(), stats.AppearanceShare.end());
    const std::int64_t shares =
        std::accumulate(stats.AppearanceShare.begin(), stats.AppearanceShare.end(), 0ll);
    EXPECT_EQ(level3.total(), 43 * maximum - shares);
}

TEST(WeightTableTest, EqualStatisticsGiveAnEmptyTable)
{
    const DrawTable zeros = TableOf({Draw({0, 0, 0, 0, 0, 0}, 0), Draw({0, 0, 0, 0, 0, 0}, 0)});
    EXPECT_EQ(BuildWeightTable(zeros, Settings(true, 0, 1, 1)).total(), 0);
    EXPECT_EQ(BuildWeightTable(zeros, Settings(true, 1, 3, 3)).total(), 0);
    EXPECT_EQ(BuildWeightTable(zeros, Settings(true, 1, 3, 3)).drawable(), 0u);
}

TEST(LoadDrawTableTest, ReadsEveryRecordInOrderWithoutCapacityLimit)
{
    test::TempDir dir;
    std::vector<DrawRecord> draws = test::SyntheticHistory(1500, 9);
    draws[1200].Reserved = 99;
    test::WriteHistory(dir / "Loto6data.dt", draws);
    HistoryFile history(dir / "Loto6data.dt");
    ASSERT_TRUE(history.OpenHistory());

    DrawTable table;
    ASSERT_TRUE(LoadDrawTable(history, history.Latest(), table));
    ASSERT_EQ(table.Latest(), 1500);
    EXPECT_EQ(table.row(1), MakeDrawRow(draws[0]));
    EXPECT_EQ(table.row(1201), MakeDrawRow(draws[1200]));
    EXPECT_EQ(table.row(1500)[6], draws[1499].Bonus);
    // The store's buffer holds the last record read, as every read goes through it.
    EXPECT_EQ(history.CurrentRecord(), draws[1499]);
}

TEST(LoadDrawTableTest, AFailedReadLeavesNoPartialTable)
{
    test::TempDir dir;
    test::WriteHistory(dir / "Loto6data.dt", test::SyntheticHistory(10, 1));
    auto plan = std::make_shared<test::FailurePlan>();
    HistoryFile history(dir / "Loto6data.dt", std::make_unique<test::FailingDevice>(plan));
    ASSERT_TRUE(history.OpenHistory());
    plan->failReads = true;

    DrawTable table;
    table.rows.resize(3);
    const StoreStatus status = LoadDrawTable(history, history.Latest(), table);
    EXPECT_EQ(status.error, StoreError::ReadFailed);
    EXPECT_EQ(status.record, 1);
    EXPECT_TRUE(table.rows.empty());
}

} // namespace
} // namespace zentrix
