// HistoryStatistics: every figure on a four-draw history worked out by hand, ranges, unusable
// draws, and the real history's figures counted independently from its CSV.
#include "analysis/HistoryStatistics.h"

#include "AnalysisFixtures.h"

#include <gtest/gtest.h>
#include <numeric>
#include <set>

namespace zentrix::analysis {
namespace {

using test::kFour;
using test::Table;

class HistoryStatisticsTest : public ::testing::Test
{
protected:
    const HistoryStatistics stats = ComputeHistoryStatistics(kFour, {1, 4});
};

// Per number over draws 1..4: the bonus number kept apart; gaps as differences of draw numbers;
// 引っ張り chances are the judged draws whose previous draw held the number.
TEST_F(HistoryStatisticsTest, FiguresOfEachNumber)
{
    struct Row
    {
        int n;
        std::int64_t main, bonus;
        RecordNo lastSeen;
        std::int64_t currentGap, longestGap, gapCount, carryChances, carried;
    };
    const std::vector<Row> rows = {
        {1, 1, 1, 1, 3, 0, 0, 1, 0},  // d1; the bonus of d2
        {2, 3, 1, 4, 0, 2, 2, 2, 1},  // d1, d2, d4: gaps 1 and 2; carried into d2 only
        {3, 3, 1, 3, 1, 1, 2, 3, 2},  // d1, d2, d3, not d4: carried into d2 and d3
        {4, 1, 0, 1, 3, 0, 0, 1, 0},  // once: no gap yet
        {7, 0, 1, 0, 4, 0, 0, 0, 0},  // only a bonus: never a winning number
        {8, 0, 0, 0, 4, 0, 0, 0, 0},  // never came: away for the whole range
        {33, 2, 0, 4, 0, 1, 1, 1, 1}, // d3 and d4
        {43, 1, 0, 3, 1, 0, 0, 1, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.n);
        const NumberFigures& f = stats.of(r.n);
        EXPECT_EQ(f.mainCount, r.main);
        EXPECT_EQ(f.bonusCount, r.bonus);
        EXPECT_EQ(f.lastSeen, r.lastSeen);
        EXPECT_EQ(f.currentGap, r.currentGap);
        EXPECT_EQ(f.longestGap, r.longestGap);
        EXPECT_EQ(f.gapCount, r.gapCount);
        EXPECT_EQ(f.carryChances, r.carryChances);
        EXPECT_EQ(f.carried, r.carried);
    }
    EXPECT_DOUBLE_EQ(stats.of(2).averageGap(), 1.5);
    EXPECT_EQ(stats.draws, 4);
    EXPECT_EQ(stats.skippedDraws, 0);
    std::int64_t main = 0;
    for (const NumberFigures& f : stats.numbers)
        main += f.mainCount;
    EXPECT_EQ(main, 6 * 4);
}

TEST_F(HistoryStatisticsTest, CarryAndSlideCompareEachDrawWithTheOneBefore)
{
    EXPECT_EQ(stats.judgedDraws, 3);
    // d2: 2, 3 again; d3: 3 again; d4: 33 again (and d3's bonus 2).
    const std::array<std::int64_t, 7> carry{0, 2, 1, 0, 0, 0, 0};
    const std::array<std::int64_t, 7> withBonus{0, 1, 2, 0, 0, 0, 0};
    EXPECT_EQ(stats.carry, carry);
    EXPECT_EQ(stats.carryWithBonus, withBonus);
    // Neighbours of the previous draw: d2 holds 2, 3 (next to 1..6); d3 holds 3, 11 (next to 2
    // and 10); d4 holds 2 (next to 3).
    const std::array<std::int64_t, 7> slide{0, 1, 2, 0, 0, 0, 0};
    EXPECT_EQ(stats.slide, slide);
}

TEST_F(HistoryStatisticsTest, ShapeOfEachDraw)
{
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

TEST_F(HistoryStatisticsTest, LatestDrawsJudgeTheFirstAgainstTheDrawBeforeTheRange)
{
    EXPECT_EQ(LatestDraws(kFour, 2).first, 3);
    EXPECT_EQ(LatestDraws(kFour, 0).first, 1);
    EXPECT_EQ(LatestDraws(kFour, 10).first, 1);
    EXPECT_EQ(LatestDraws(kFour, 10).last, 4);

    const HistoryStatistics last2 = ComputeHistoryStatistics(kFour, LatestDraws(kFour, 2));
    EXPECT_EQ(last2.draws, 2);
    EXPECT_EQ(last2.judgedDraws, 2); // d3 against d2, which lies before the range
    EXPECT_EQ(last2.carry[1], 2);
    EXPECT_EQ(last2.of(3).mainCount, 1);
    EXPECT_EQ(last2.of(3).gapCount, 0); // its earlier appearances lie outside the range
    EXPECT_EQ(last2.of(8).currentGap, 2);
    EXPECT_EQ(last2.of(2).currentGap, 0);
}

TEST_F(HistoryStatisticsTest, UnusableDrawsAreSkippedAndBreakTheComparison)
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

TEST_F(HistoryStatisticsTest, EmptyHistoryHasNoFigures)
{
    const HistoryStatistics stats = ComputeHistoryStatistics(DrawTable{}, LatestDraws(DrawTable{}, 0));
    EXPECT_EQ(stats.draws, 0);
    EXPECT_EQ(stats.range.size(), 0);
    EXPECT_EQ(stats.sumMean(), 0.0);
    EXPECT_EQ(stats.of(1).currentGap, 0);
}

TEST_F(HistoryStatisticsTest, PairIndexNumbersEveryPairOnce)
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
TEST_F(HistoryStatisticsTest, RealHistoryKnownFigures)
{
    ZENTRIX_REAL_HISTORY_OR_SKIP(records);
    const DrawTable table = test::TableOf(records);
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
