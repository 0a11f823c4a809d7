// HistoryStatistics: the figures LOTO6 players read off a draw history, for the whole history or
// for the latest N draws.
#pragma once

#include "generator/DrawTable.h"
#include "generator/LotoNumbers.h"

#include <array>
#include <cstdint>
#include <vector>

namespace zentrix::analysis {

/// Draws first..last (1-based, inclusive). An empty range has last < first.
struct DrawRange
{
    RecordNo first = 1;
    RecordNo last = 0;

    RecordNo size() const { return last >= first ? last - first + 1 : 0; }
};

/// The latest `count` draws of the table; count <= 0 (or more than it holds) means all of them.
DrawRange LatestDraws(const DrawTable& table, RecordNo count);

inline constexpr int kDigitGroups = 10;
inline constexpr int kSumBinWidth = 10;
/// Sums of six distinct numbers run from 21 (1..6) to 243 (38..43): bins 20-29 .. 240-249.
inline constexpr int kLowestSumBin = 20;
inline constexpr int kSumBins = 23;
inline constexpr int kPairCount = kNumberCount * (kNumberCount - 1) / 2;

/// Figures of one number over the range. "本数字" are the six winning numbers; the bonus number is
/// counted only in bonusCount.
struct NumberFigures
{
    std::int64_t mainCount = 0;  ///< draws of the range where it was one of the six winning numbers
    std::int64_t bonusCount = 0; ///< draws of the range where it was the bonus number
    RecordNo lastSeen = 0;       ///< the latest draw of the range holding it as a winning number, 0 if none
    /// Draws since lastSeen (0 when it came in the range's last draw); with no appearance in the
    /// range, the size of the range (it has been away at least that long).
    std::int64_t currentGap = 0;
    std::int64_t longestGap = 0;   ///< the largest difference of draw numbers between two appearances
    std::int64_t gapSum = 0;       ///< the sum of those differences (lastSeen - first appearance)
    std::int64_t gapCount = 0;     ///< how many differences (appearances - 1, or 0)
    std::int64_t carryChances = 0; ///< judged draws whose previous draw held it as a winning number
    std::int64_t carried = 0;      ///< of those, draws that held it again (引っ張り)

    double averageGap() const { return gapCount > 0 ? double(gapSum) / double(gapCount) : 0.0; }
};

/**
 * Everything the statistics views show, computed in one pass over the range.
 *
 * A draw counts only when its six winning numbers are six distinct numbers 1..43 (otherwise it is
 * counted in skippedDraws and left out); its bonus counts when it is 1..43 and not one of the six.
 * The per-draw comparisons with the previous draw (引っ張り, スライド) judge every counted draw d of
 * the range whose draw d-1 is stored and counted, even when d-1 lies before the range.
 */
struct HistoryStatistics
{
    DrawRange range;
    std::int64_t draws = 0;        ///< counted draws of the range
    std::int64_t skippedDraws = 0; ///< draws of the range whose six numbers are not usable

    std::array<NumberFigures, kNumberCount> numbers{}; ///< [n-1] is number n

    std::int64_t judgedDraws = 0; ///< draws compared with their previous draw
    /// [k]: judged draws holding k winning numbers of the previous draw's six winning numbers.
    std::array<std::int64_t, kSetSize + 1> carry{};
    /// [k]: the same against the previous draw's six winning numbers and its bonus.
    std::array<std::int64_t, kSetSize + 1> carryWithBonus{};
    /// [k]: judged draws holding k winning numbers that are a neighbour (±1) of one of the previous
    /// draw's six winning numbers.
    std::array<std::int64_t, kSetSize + 1> slide{};

    /// [k]: draws whose six sorted numbers hold k pairs differing by 1 (a run of three is two).
    std::array<std::int64_t, kSetSize> consecutive{};
    /// [k]: draws holding k even winning numbers.
    std::array<std::int64_t, kSetSize + 1> evens{};

    /// [g]: winning numbers of the range whose last digit is g.
    std::array<std::int64_t, kDigitGroups> digits{};
    /// Draws in which two or more winning numbers share a last digit.
    std::int64_t sharedDigitDraws = 0;

    std::array<std::int64_t, kSumBins> sumBins{}; ///< [b]: draws whose sum lies in 20+10b .. 29+10b
    std::int64_t sumTotal = 0;
    int sumMin = 0; ///< 0 with no counted draw
    int sumMax = 0;

    /// Draws holding both numbers of a pair as winning numbers; see PairIndex.
    std::array<std::int64_t, kPairCount> pairs{};

    const NumberFigures& of(int n) const { return numbers[static_cast<std::size_t>(n - 1)]; }
    double sumMean() const { return draws > 0 ? double(sumTotal) / double(draws) : 0.0; }
};

/// The index of the pair a < b (both 1..43) in HistoryStatistics::pairs.
int PairIndex(int a, int b);

/// How many of the 43 numbers end in `digit` (0 has 4: 10, 20, 30, 40; 1, 2 and 3 have 5).
int NumbersWithLastDigit(int digit);

HistoryStatistics ComputeHistoryStatistics(const DrawTable& table, DrawRange range);

/// The six winning numbers of a row sorted, when they are six distinct numbers 1..43.
bool UsableDraw(const DrawRow& row, std::array<std::int16_t, kSetSize>& sorted);

} // namespace zentrix::analysis
