// LotoNumbers: the few constants of LOTO6 the generator is built on, and a set of numbers as bits.
#pragma once

#include <bit>
#include <cstdint>

namespace zentrix {

inline constexpr int kLowestNumber = 1;
inline constexpr int kHighestNumber = 43;
inline constexpr int kNumberCount = 43;
inline constexpr int kSetSize = 6;
/// The grid has 100 rows, so a run keeps at most this many sets.
inline constexpr int kMaxSetCount = 100;

inline constexpr bool IsLotoNumber(int value)
{
    return value >= kLowestNumber && value <= kHighestNumber;
}

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

} // namespace zentrix
