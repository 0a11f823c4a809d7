// WeightTable: per-number statistics of the history and the running totals of weights drawn from.
#pragma once

#include "generator/DrawTable.h"
#include "generator/GenerationSettings.h"
#include "generator/LotoNumbers.h"

#include <array>
#include <cstdint>

namespace zentrix {

/// One value per number: index n-1 holds the value of number n.
template <typename T> using PerNumber = std::array<T, kNumberCount>;

/// Rounds to the nearest integer, an exact half going to the even neighbour (312.5 -> 312).
std::int64_t RoundHalfToEven(double value);

/// Half of a non-negative integer, rounded half to even (1429 -> 714, 315 -> 158).
std::int64_t HalveHalfToEven(std::int64_t value);

/**
 * Statistics of the 43 numbers over every cell of the table (six winning numbers and the bonus
 * of every draw). A cell holding a value outside 1..43 is counted nowhere.
 */
struct NumberStatistics
{
    /// Cells holding n.
    PerNumber<std::int64_t> AppearanceCount{};
    /// AppearanceCount(n) / (7 * Latest) * 10000 in double precision, rounded half to even.
    PerNumber<std::int64_t> AppearanceShare{};
    /// Sum of the draw numbers d of the cells holding n: recent draws weigh more.
    PerNumber<std::int64_t> RecencySum{};
};

/// Needs at least one draw for the shares; with none every statistic is 0.
NumberStatistics ComputeStatistics(const DrawTable& table);

/**
 * The running totals W(1)..W(43) of the per-number weights: W(n) = weight(1) + ... + weight(n).
 * Number n owns the band W(n-1) <= x < W(n) (W(0) = 0); a weight of 0 owns no band.
 * The values are 64-bit, so a history of any length fits.
 */
struct WeightTable
{
    PerNumber<std::int64_t> W{};

    std::int64_t total() const { return W[kNumberCount - 1]; }
    std::int64_t weightOf(int n) const { return W[n - 1] - (n > 1 ? W[n - 2] : 0); }
    /// The numbers of non-zero weight: those WeightedDraw can yield.
    NumberMask drawable() const;

    static WeightTable FromWeights(const PerNumber<std::int64_t>& weights);
};

/**
 * The weights a strength level makes of a statistic, M being its largest value (from 0):
 * level 1 keeps it; level 2 takes |s - round(M/2)|; level 3 takes M - s. Any other level acts as 1.
 */
PerNumber<std::int64_t> ApplyLevel(const PerNumber<std::int64_t>& statistic, int level);

/**
 * The run's weight table:
 * - WeightBasis::TotalAppearances: the AppearanceShares, transformed by totalLevel only when
 *   weightingOn;
 * - WeightBasis::TimeAxis: the RecencySums transformed by timeAxisLevel, whether weightingOn
 *   or not.
 */
WeightTable BuildWeightTable(const DrawTable& table, const GenerationSettings& settings);

} // namespace zentrix
