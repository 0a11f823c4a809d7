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

/// A uniform number 1..43: the integer part of r * 43, plus 1.
std::int16_t UniformDraw(RandomSource& random);

} // namespace zentrix
