// ChiSquare: Pearson's goodness-of-fit test of observed counts against exact chances, with a bound
// that a correct implementation exceeds about once in a million runs.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace zentrix::test {

struct ChiSquareResult
{
    double statistic = 0.0;
    int degreesOfFreedom = 0;
    double bound = 0.0; ///< exceeded with chance about 1e-6 when the chances are right

    bool passes() const { return statistic <= bound; }
    std::string describe() const
    {
        return "chi-square " + std::to_string(statistic) + " with " + std::to_string(degreesOfFreedom) +
               " degrees of freedom, bound " + std::to_string(bound);
    }
};

/// The upper 1e-6 point of the chi-square distribution (Wilson and Hilferty's cube-root normal
/// approximation, z = 4.753).
inline double ChiSquareBound(int degreesOfFreedom)
{
    const double k = degreesOfFreedom;
    const double a = 2.0 / (9.0 * k);
    const double cube = 1.0 - a + 4.753 * std::sqrt(a);
    return k * cube * cube * cube;
}

/**
 * `observed[i]` outcomes fell in cell i, whose exact chance is `chance[i]` (the chances add up to
 * 1). Cells expecting fewer than 5 outcomes are pooled into one, so the approximation holds.
 */
inline ChiSquareResult ChiSquareTest(const std::vector<std::int64_t>& observed,
                                     const std::vector<double>& chance)
{
    std::int64_t total = 0;
    for (const std::int64_t count : observed)
        total += count;
    ChiSquareResult result;
    double pooledExpected = 0.0;
    std::int64_t pooledObserved = 0;
    int cells = 0;
    for (std::size_t i = 0; i < observed.size(); ++i) {
        const double expected = chance[i] * static_cast<double>(total);
        if (expected < 5.0) {
            pooledExpected += expected;
            pooledObserved += observed[i];
            continue;
        }
        const double diff = static_cast<double>(observed[i]) - expected;
        result.statistic += diff * diff / expected;
        ++cells;
    }
    if (pooledExpected > 0.0) {
        const double diff = static_cast<double>(pooledObserved) - pooledExpected;
        result.statistic += diff * diff / pooledExpected;
        ++cells;
    } else if (pooledObserved > 0) {
        result.statistic = INFINITY; // an outcome of chance 0 happened
    }
    result.degreesOfFreedom = std::max(cells - 1, 1);
    result.bound = ChiSquareBound(result.degreesOfFreedom);
    return result;
}

} // namespace zentrix::test
