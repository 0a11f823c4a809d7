// HistoryStatistics: one pass over the range, draw by draw.
#include "analysis/HistoryStatistics.h"

#include "generator/SetFilter.h"

#include <algorithm>

namespace zentrix::analysis {
namespace {

NumberMask MaskOf(const std::array<std::int16_t, kSetSize>& numbers)
{
    NumberMask mask = 0;
    for (const std::int16_t n : numbers)
        mask |= NumberBit(n);
    return mask;
}

} // namespace

DrawRange LatestDraws(const DrawTable& table, RecordNo count)
{
    const RecordNo latest = table.Latest();
    if (count <= 0 || count >= latest)
        return {1, latest};
    return {latest - count + 1, latest};
}

int PairIndex(int a, int b)
{
    // Row a (1..42) starts after the pairs of the smaller numbers: sum of (43 - i) for i < a.
    const int before = (a - 1) * kNumberCount - (a - 1) * a / 2;
    return before + (b - a - 1);
}

int NumbersWithLastDigit(int digit)
{
    int count = 0;
    for (int n = kLowestNumber; n <= kHighestNumber; ++n)
        count += n % 10 == digit ? 1 : 0;
    return count;
}

bool UsableDraw(const DrawRow& row, std::array<std::int16_t, kSetSize>& sorted)
{
    std::copy_n(row.begin(), kSetSize, sorted.begin());
    std::sort(sorted.begin(), sorted.end());
    return std::all_of(sorted.begin(), sorted.end(), [](std::int16_t v) { return IsLotoNumber(v); }) &&
           std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end();
}

HistoryStatistics ComputeHistoryStatistics(const DrawTable& table, DrawRange range)
{
    HistoryStatistics stats;
    range.first = std::max<RecordNo>(range.first, 1);
    range.last = std::min(range.last, table.Latest());
    stats.range = range;

    std::array<RecordNo, kNumberCount> previousSeen{};
    std::array<std::int16_t, kSetSize> sorted{};
    // The draw before the range's first one, when it is usable, so that draw can be judged.
    NumberMask previousMain = 0;
    NumberMask previousAll = 0;
    bool previousUsable = false;
    if (range.first >= 2 && range.first - 1 <= table.Latest()) {
        const DrawRow& before = table.row(range.first - 1);
        if (UsableDraw(before, sorted)) {
            previousUsable = true;
            previousMain = MaskOf(sorted);
            previousAll = previousMain | NumberBit(before[kSetSize]);
        }
    }

    for (RecordNo d = range.first; d <= range.last; ++d) {
        const DrawRow& row = table.row(d);
        if (!UsableDraw(row, sorted)) {
            ++stats.skippedDraws;
            previousUsable = false;
            continue;
        }
        ++stats.draws;
        const NumberMask main = MaskOf(sorted);
        const std::int16_t bonus = row[kSetSize];
        if (IsLotoNumber(bonus) && (main & NumberBit(bonus)) == 0)
            ++stats.numbers[static_cast<std::size_t>(bonus - 1)].bonusCount;

        int evens = 0;
        int sum = 0;
        std::array<int, kDigitGroups> digitsHere{};
        for (const std::int16_t n : sorted) {
            NumberFigures& figures = stats.numbers[static_cast<std::size_t>(n - 1)];
            ++figures.mainCount;
            RecordNo& seen = previousSeen[static_cast<std::size_t>(n - 1)];
            if (seen != 0) {
                figures.longestGap = std::max<std::int64_t>(figures.longestGap, d - seen);
                figures.gapSum += d - seen;
                ++figures.gapCount;
            }
            seen = d;
            evens += n % 2 == 0 ? 1 : 0;
            sum += n;
            ++digitsHere[static_cast<std::size_t>(n % 10)];
        }
        for (std::size_t g = 0; g < digitsHere.size(); ++g)
            stats.digits[g] += digitsHere[g];
        if (std::any_of(digitsHere.begin(), digitsHere.end(), [](int c) { return c >= 2; }))
            ++stats.sharedDigitDraws;
        ++stats.evens[static_cast<std::size_t>(evens)];
        NumberMask numbers = 0;
        for (const std::int16_t n : sorted)
            numbers |= NumberBit(n);
        ++stats.consecutive[static_cast<std::size_t>(ConsecutivePairs(numbers))];

        stats.sumTotal += sum;
        stats.sumMin = stats.draws == 1 ? sum : std::min(stats.sumMin, sum);
        stats.sumMax = stats.draws == 1 ? sum : std::max(stats.sumMax, sum);
        ++stats.sumBins[static_cast<std::size_t>((sum - kLowestSumBin) / kSumBinWidth)];

        for (std::size_t i = 0; i < sorted.size(); ++i) {
            for (std::size_t j = i + 1; j < sorted.size(); ++j)
                ++stats.pairs[static_cast<std::size_t>(PairIndex(sorted[i], sorted[j]))];
        }

        if (previousUsable) {
            ++stats.judgedDraws;
            const NumberMask neighbours = ((previousMain << 1) | (previousMain >> 1)) & kAllNumbers;
            ++stats.carry[static_cast<std::size_t>(MaskSize(main & previousMain))];
            ++stats.carryWithBonus[static_cast<std::size_t>(MaskSize(main & previousAll))];
            ++stats.slide[static_cast<std::size_t>(MaskSize(main & neighbours))];
            for (int n = kLowestNumber; n <= kHighestNumber; ++n) {
                if ((previousMain & NumberBit(n)) == 0)
                    continue;
                NumberFigures& figures = stats.numbers[static_cast<std::size_t>(n - 1)];
                ++figures.carryChances;
                figures.carried += (main & NumberBit(n)) != 0 ? 1 : 0;
            }
        }
        previousUsable = true;
        previousMain = main;
        previousAll = main | NumberBit(bonus);
    }

    for (int n = kLowestNumber; n <= kHighestNumber; ++n) {
        NumberFigures& figures = stats.numbers[static_cast<std::size_t>(n - 1)];
        figures.lastSeen = previousSeen[static_cast<std::size_t>(n - 1)];
        figures.currentGap = figures.lastSeen != 0 ? range.last - figures.lastSeen : range.size();
    }
    return stats;
}

} // namespace zentrix::analysis
