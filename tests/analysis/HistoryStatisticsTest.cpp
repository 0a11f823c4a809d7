// HistoryStatistics: every figure on a four-draw history worked out by hand, ranges, unusable
// draws, and the real history's figures counted independently from its CSV.
#include "analysis/HistoryStatistics.h"

#include "AnalysisFixtures.h"

#include <gtest/gtest.h>
#include <numeric>
#include <set>

namespace zentrix::analysis {
namespace {

using test::Table;

// d1: a run of six; d2 repeats 2 and 3; d3 repeats 3 and holds 11-12-13; d4 repeats 33 and d3's
// bonus 2.
const DrawTable kFour = Table({
    {1, 2, 3, 4, 5, 6, 7},
    {40, 2, 30, 3, 20, 10, 1},
    {3, 11, 12, 13, 33, 43, 2},
    {2, 9, 15, 21, 27, 33, 3},
});

TEST(HistoryStatistics, CountsAndBonusCountsKeepTheBonusApart)
{
    const HistoryStatistics stats = ComputeHistoryStatistics(kFour, {1, 4});
    EXPECT_EQ(stats.draws, 4);
    EXPECT_EQ(stats.skippedDraws, 0);
    EXPECT_EQ(stats.of(2).mainCount, 3);
    EXPECT_EQ(stats.of(3).mainCount, 3);
    EXPECT_EQ(stats.of(33).mainCount, 2);
    EXPECT_EQ(stats.of(8).mainCount, 0);
    // Bonus numbers: 7, 1, 2, 3, each once; none is also a winning number of its own draw.
    EXPECT_EQ(stats.of(7).bonusCount, 1);
    EXPECT_EQ(stats.of(7).mainCount, 0);
    EXPECT_EQ(stats.of(1).bonusCount, 1);
    EXPECT_EQ(stats.of(3).bonusCount, 1);
    std::int64_t main = 0;
    for (const NumberFigures& f : stats.numbers)
        main += f.mainCount;
    EXPECT_EQ(main, 6 * 4);
}

TEST(HistoryStatistics, GapsAreDifferencesOfDrawNumbers)
{
    const HistoryStatistics stats = ComputeHistoryStatistics(kFour, {1, 4});
    // 2 came in draws 1, 2 and 4: gaps 1 and 2.
    EXPECT_EQ(stats.of(2).lastSeen, 4);
    EXPECT_EQ(stats.of(2).currentGap, 0);
    EXPECT_EQ(stats.of(2).longestGap, 2);
    EXPECT_DOUBLE_EQ(stats.of(2).averageGap(), 1.5);
    // 3 came in draws 1, 2 and 3, not in 4.
    EXPECT_EQ(stats.of(3).currentGap, 1);
    EXPECT_EQ(stats.of(3).longestGap, 1);
    // 4 came once: no gap between appearances yet.
    EXPECT_EQ(stats.of(4).currentGap, 3);
    EXPECT_EQ(stats.of(4).gapCount, 0);
    EXPECT_EQ(stats.of(4).longestGap, 0);
    // 8 never came: away for the whole range.
    EXPECT_EQ(stats.of(8).lastSeen, 0);
    EXPECT_EQ(stats.of(8).currentGap, 4);
}

TEST(HistoryStatistics, CarryAndSlideCompareEachDrawWithTheOneBefore)
{
    const HistoryStatistics stats = ComputeHistoryStatistics(kFour, {1, 4});
    EXPECT_EQ(stats.judgedDraws, 3);
    // d2: 2, 3 again; d3: 3 again; d4: 33 again (and d3's bonus 2).
    EXPECT_EQ(stats.carry[0], 0);
    EXPECT_EQ(stats.carry[1], 2);
    EXPECT_EQ(stats.carry[2], 1);
    EXPECT_EQ(stats.carryWithBonus[1], 1);
    EXPECT_EQ(stats.carryWithBonus[2], 2);
    // 3 was in d1, d2, d3 (three chances) and came again in d2 and d3.
    EXPECT_EQ(stats.of(3).carryChances, 3);
    EXPECT_EQ(stats.of(3).carried, 2);
    EXPECT_EQ(stats.of(2).carryChances, 2);
    EXPECT_EQ(stats.of(2).carried, 1);
    // Neighbours of the previous draw: d2 holds 2, 3 (next to 1..6); d3 holds 3, 11 (next to 2
    // and 10); d4 holds 2 (next to 3).
    EXPECT_EQ(stats.slide[1], 1);
    EXPECT_EQ(stats.slide[2], 2);
    EXPECT_EQ(std::accumulate(stats.slide.begin(), stats.slide.end(), std::int64_t{0}), 3);
}

TEST(HistoryStatistics, ShapeOfEachDraw)
{
    const HistoryStatistics stats = ComputeHistoryStatistics(kFour, {1, 4});
    // Consecutive pairs: 1..6 holds five, 2-3 one, 11-12-13 two, d4 none.
    EXPECT_EQ(stats.consecutive[0], 1);
    EXPECT_EQ(stats.consecutive[1], 1);
    EXPECT_EQ(stats.consecutive[2], 1);
    EXPECT_EQ(stats.consecutive[5], 1);
    // Even numbers: 3, 5, 1, 1.
    EXPECT_EQ(stats.evens[1], 2);
    EXPECT_EQ(stats.evens[3], 1);
    EXPECT_EQ(stats.evens[5], 1);
    // Last digits.
    const std::array<std::int64_t, 10> digits{4, 3, 4, 7, 1, 2, 1, 1, 0, 1};
    EXPECT_EQ(stats.digits, digits);
    EXPECT_EQ(stats.sharedDigitDraws, 2); // four tens in d2, four threes in d3
    // Sums 21, 105, 115, 107.
    EXPECT_EQ(stats.sumMin, 21);
    EXPECT_EQ(stats.sumMax, 115);
    EXPECT_DOUBLE_EQ(stats.sumMean(), 87.0);
    EXPECT_EQ(stats.sumBins[0], 1);
    EXPECT_EQ(stats.sumBins[8], 2);
    EXPECT_EQ(stats.sumBins[9], 1);
    // Pairs.
    EXPECT_EQ(stats.pairs[std::size_t(PairIndex(2, 3))], 2);
    EXPECT_EQ(stats.pairs[std::size_t(PairIndex(2, 33))], 1);
    EXPECT_EQ(stats.pairs[std::size_t(PairIndex(1, 43))], 0);
    EXPECT_EQ(std::accumulate(stats.pairs.begin(), stats.pairs.end(), std::int64_t{0}), 15 * 4);
}

TEST(HistoryStatistics, LatestDrawsJudgeTheFirstAgainstTheDrawBeforeTheRange)
{
    EXPECT_EQ(LatestDraws(kFour, 2).first, 3);
    EXPECT_EQ(LatestDraws(kFour, 0).first, 1);
    EXPECT_EQ(LatestDraws(kFour, 10).first, 1);
    EXPECT_EQ(LatestDraws(kFour, 10).last, 4);

    const HistoryStatistics stats = ComputeHistoryStatistics(kFour, LatestDraws(kFour, 2));
    EXPECT_EQ(stats.draws, 2);
    EXPECT_EQ(stats.judgedDraws, 2); // d3 against d2, which lies before the range
    EXPECT_EQ(stats.carry[1], 2);
    EXPECT_EQ(stats.of(3).mainCount, 1);
    EXPECT_EQ(stats.of(3).gapCount, 0); // its earlier appearances lie outside the range
    EXPECT_EQ(stats.of(8).currentGap, 2);
    EXPECT_EQ(stats.of(2).currentGap, 0);
}

TEST(HistoryStatistics, UnusableDrawsAreSkippedAndBreakTheComparison)
{
    const DrawTable table = Table({
        {1, 2, 3, 4, 5, 6, 7},
        {1, 1, 2, 3, 4, 5, 6}, // a number twice
        {1, 2, 3, 4, 5, 6, 7},
        {0, 0, 0, 0, 0, 0, 0},        // an empty slot
        {1, 2, 3, 4, 5, 44, 7},       // out of range
        {10, 11, 12, 13, 14, 15, 15}, // bonus equal to a winning number is not counted
    });
    const HistoryStatistics stats = ComputeHistoryStatistics(table, {1, 6});
    EXPECT_EQ(stats.draws, 3);
    EXPECT_EQ(stats.skippedDraws, 3);
    EXPECT_EQ(stats.judgedDraws, 0); // every usable draw follows an unusable one (or none)
    EXPECT_EQ(stats.of(1).mainCount, 2);
    EXPECT_EQ(stats.of(15).bonusCount, 0);
    EXPECT_EQ(stats.of(7).bonusCount, 2);
    EXPECT_EQ(stats.of(1).longestGap, 2);
}

TEST(HistoryStatistics, EmptyHistoryHasNoFigures)
{
    const HistoryStatistics stats = ComputeHistoryStatistics(DrawTable{}, LatestDraws(DrawTable{}, 0));
    EXPECT_EQ(stats.draws, 0);
    EXPECT_EQ(stats.range.size(), 0);
    EXPECT_EQ(stats.sumMean(), 0.0);
    EXPECT_EQ(stats.of(1).currentGap, 0);
}

TEST(HistoryStatistics, PairIndexNumbersEveryPairOnce)
{
    std::set<int> seen;
    for (int a = 1; a <= 43; ++a) {
        for (int b = a + 1; b <= 43; ++b) {
            const int index = PairIndex(a, b);
            EXPECT_GE(index, 0);
            EXPECT_LT(index, kPairCount);
            seen.insert(index);
        }
    }
    EXPECT_EQ(int(seen.size()), kPairCount);
    int numbers = 0;
    for (int digit = 0; digit < 10; ++digit)
        numbers += NumbersWithLastDigit(digit);
    EXPECT_EQ(numbers, 43);
    EXPECT_EQ(NumbersWithLastDigit(0), 4);
    EXPECT_EQ(NumbersWithLastDigit(3), 5);
    EXPECT_EQ(NumbersWithLastDigit(4), 4);
}

// Figures of draws 1..2037 counted separately from the CSV with a few lines of script.
TEST(HistoryStatistics, RealHistoryKnownFigures)
{
    ZENTRIX_REAL_HISTORY_OR_SKIP(records);
    const DrawTable table = Table(records);
    const HistoryStatistics all = ComputeHistoryStatistics(table, LatestDraws(table, 0));
    ASSERT_EQ(all.draws, 2037);
    EXPECT_EQ(all.draws - all.consecutive[0], 1117); // 54.8 % hold at least one consecutive pair
    EXPECT_EQ(all.sumMin, 45);
    EXPECT_EQ(all.sumMax, 212);
    EXPECT_EQ(all.sumTotal, 269556);
    const std::array<std::int64_t, 7> carry{738, 927, 328, 38, 5, 0, 0};
    EXPECT_EQ(all.carry, carry);
    const std::array<std::int64_t, 7> evens{32, 161, 504, 666, 499, 167, 8};
    EXPECT_EQ(all.evens, evens);
    const std::array<std::int64_t, 7> slide{298, 720, 686, 261, 65, 6, 0};
    EXPECT_EQ(all.slide, slide);
    EXPECT_EQ(all.of(6).mainCount, 312);
    EXPECT_EQ(all.of(9).mainCount, 251);
    EXPECT_EQ(all.of(9).longestGap, 51);
    EXPECT_EQ(all.of(9).currentGap, 27);
    EXPECT_EQ(all.pairs[std::size_t(PairIndex(5, 39))], 50);

    const HistoryStatistics last100 = ComputeHistoryStatistics(table, LatestDraws(table, 100));
    EXPECT_EQ(last100.draws, 100);
    EXPECT_EQ(last100.of(6).mainCount, 13);
    EXPECT_EQ(last100.draws - last100.consecutive[0], 57);
}

} // namespace
} // namespace zentrix::analysis
