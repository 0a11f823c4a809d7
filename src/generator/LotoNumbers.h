// LotoNumbers: a set of numbers as bits, and the size of a run (the game's own facts are in
// store/Loto6.h).
#pragma once

#include "store/Loto6.h"

#include <bit>
#include <cstdint>

namespace zentrix {

/// The grid has 100 rows, so a run keeps at most this many sets.
inline constexpr int kMaxSetCount = 100;

/// A set of numbers 1..43: bit n-1 stands for number n.
using NumberMask = std::uint64_t;
inline constexpr NumberMask kAllNumbers = (NumberMask{1} << kNumberCount) - 1;

inline constexpr NumberMask NumberBit(int n)
{
    return IsLotoNumber(n) ? NumberMask{1} << (n - 1) : 0;
}

inline constexpr int MaskSize(NumberMask mask)
{
    return std::popcount(mask);
}

/// Pairs of numbers in the set that differ by exactly 1 (a run of three is two pairs).
inline constexpr int ConsecutivePairs(NumberMask set)
{
    return std::popcount(set & (set >> 1));
}

} // namespace zentrix
