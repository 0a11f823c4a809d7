// WeightedDraw: one number 1..43 drawn with a chance proportional to its weight.
#pragma once

#include "generator/WeightTable.h"

#include <cstdint>

namespace zentrix {

class RandomSource;

/// The number whose band holds x (the smallest n with x < W(n)), for 0 <= x < total;
/// 0 when x lies outside every band.
std::int16_t NumberForBand(const WeightTable& table, std::int64_t x);

/// The band position of a unit value r (0 <= r < 1): the integer part of r * total, computed in
/// double precision, kept below the total.
std::int64_t BandPosition(float r, std::int64_t total);

/**
 * Takes one value r from `random` and returns the number owning the band at the integer part of
 * r * total: number n comes out with probability weight(n) / total, a weight of 0 never.
 * A table whose total is 0 has no band: the result is then 0 and the caller must draw otherwise.
 */
std::int16_t WeightedDraw(const WeightTable& table, RandomSource& random);

/**
 * WeightedDraw's band search prepared once per run: the same number for the same r, found through
 * a guide of 256 starting points (by the leading bits of r) and a short forward scan instead of a
 * search over all 43 totals.
 */
class BandIndex
{
public:
    explicit BandIndex(const WeightTable& table);

    /// NumberForBand(table, BandPosition(r, total)); 0 for a table without bands.
    std::int16_t numberAt(float r) const;
    /// Takes one value from `random`, as WeightedDraw does.
    std::int16_t draw(RandomSource& random) const;

private:
    static constexpr int kGuideSize = 256;
    PerNumber<std::int64_t> m_totals;
    std::int64_t m_total;
    std::array<std::uint8_t, kGuideSize> m_guide{};
};

/// A uniform number 1..43: the integer part of r * 43, plus 1.
std::int16_t UniformDraw(RandomSource& random);

} // namespace zentrix
