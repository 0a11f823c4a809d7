// WeightTable: statistics and weights of one run.
#include "WeightTable.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zentrix {

std::int64_t RoundHalfToEven(double value)
{
    const double floor = std::floor(value);
    const double fraction = value - floor;
    auto result = static_cast<std::int64_t>(floor);
    if (fraction > 0.5 || (fraction == 0.5 && result % 2 != 0))
        ++result;
    return result;
}

std::int64_t HalveHalfToEven(std::int64_t value)
{
    std::int64_t half = value / 2;
    if (value % 2 != 0 && half % 2 != 0)
        ++half;
    return half;
}

NumberStatistics ComputeStatistics(const DrawTable& table)
{
    NumberStatistics stats;
    for (RecordNo d = 1; d <= table.Latest(); ++d) {
        for (const std::int16_t cell : table.row(d)) {
            if (!IsLotoNumber(cell))
                continue;
            ++stats.AppearanceCount[static_cast<std::size_t>(cell - 1)];
            stats.RecencySum[static_cast<std::size_t>(cell - 1)] += d;
        }
    }
    if (table.Latest() > 0) {
        const double allNumbers = 7.0 * static_cast<double>(table.Latest());
        for (std::size_t i = 0; i < stats.AppearanceShare.size(); ++i) {
            // The division first, then the multiplication, as the shares have always been computed.
            const double share = static_cast<double>(stats.AppearanceCount[i]) / allNumbers * 10000.0;
            stats.AppearanceShare[i] = RoundHalfToEven(share);
        }
    }
    return stats;
}

NumberMask WeightTable::drawable() const
{
    NumberMask mask = 0;
    for (int n = kLowestNumber; n <= kHighestNumber; ++n) {
        if (weightOf(n) > 0)
            mask |= NumberBit(n);
    }
    return mask;
}

WeightTable WeightTable::FromWeights(const PerNumber<std::int64_t>& weights)
{
    WeightTable table;
    std::int64_t running = 0;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        running += weights[i];
        table.W[i] = running;
    }
    return table;
}

PerNumber<std::int64_t> ApplyLevel(const PerNumber<std::int64_t>& statistic, int level)
{
    if (level != 2 && level != 3)
        return statistic;
    std::int64_t maximum = 0;
    for (const std::int64_t value : statistic)
        maximum = std::max(maximum, value);
    if (level == 2)
        maximum = HalveHalfToEven(maximum);
    PerNumber<std::int64_t> weights{};
    for (std::size_t i = 0; i < statistic.size(); ++i)
        weights[i] = std::abs(statistic[i] - maximum);
    return weights;
}

WeightTable BuildWeightTable(const DrawTable& table, const GenerationSettings& settings)
{
    const NumberStatistics stats = ComputeStatistics(table);
    if (settings.weightBasis == WeightBasis::TimeAxis)
        return WeightTable::FromWeights(ApplyLevel(stats.RecencySum, settings.timeAxisLevel));
    if (settings.weightingOn)
        return WeightTable::FromWeights(ApplyLevel(stats.AppearanceShare, settings.totalLevel));
    return WeightTable::FromWeights(stats.AppearanceShare);
}

} // namespace zentrix
