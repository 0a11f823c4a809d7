// Combinations: binomial coefficients and the colex rank of small subsets held as bit masks.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <vector>

namespace zentrix::wheel {

/// A subset of at most 64 points: bit i stands for point i.
using PointMask = std::uint64_t;

inline constexpr int kMaxPoints = 44;
inline constexpr int kMaxChoose = 7;

/// C(n, k) for 0 <= n < kMaxPoints and 0 <= k < kMaxChoose; 0 when k > n.
inline constexpr auto kChoose = [] {
    std::array<std::array<std::uint64_t, kMaxChoose>, kMaxPoints> table{};
    for (int n = 0; n < kMaxPoints; ++n) {
        table[n][0] = 1;
        for (int k = 1; k < kMaxChoose; ++k)
            table[n][k] = n == 0 ? 0 : table[n - 1][k - 1] + table[n - 1][k];
    }
    return table;
}();

/// C(n, k) for any n, k >= 0 that fit the table, 0 outside it or when k > n.
inline constexpr std::uint64_t Choose(int n, int k)
{
    if (n < 0 || k < 0 || k > n)
        return 0;
    if (n < kMaxPoints && k < kMaxChoose)
        return kChoose[n][k];
    std::uint64_t value = 1;
    for (int i = 0; i < k; ++i)
        value = value * std::uint64_t(n - i) / std::uint64_t(i + 1);
    return value;
}

/// The position of `subset` among all subsets of its size in colex order (the order in which
/// Gosper's hack enumerates them): the sum of C(c_i, i + 1) over its points c_0 < c_1 < ...
/// Points must be below kMaxPoints and the subset must hold fewer than kMaxChoose points.
inline std::uint32_t ColexRank(PointMask subset)
{
    std::uint64_t rank = 0;
    for (int i = 1; subset != 0; ++i) {
        rank += kChoose[std::countr_zero(subset)][i];
        subset &= subset - 1;
    }
    return static_cast<std::uint32_t>(rank);
}

/// The next larger mask with the same number of bits (Gosper's hack); `mask` must not be 0.
inline constexpr PointMask NextCombination(PointMask mask)
{
    const PointMask lowest = mask & -mask;
    const PointMask ripple = mask + lowest;
    return (((ripple ^ mask) >> 2) / lowest) | ripple;
}

/// The lowest `count` points as a mask.
inline constexpr PointMask FirstCombination(int count)
{
    return count >= 64 ? ~PointMask{0} : (PointMask{1} << count) - 1;
}

/// Scatters the low bits of `pattern` onto the points of `points`, lowest first: bit j of the
/// pattern selects the j-th lowest point of `points`.
inline PointMask Scatter(PointMask pattern, PointMask points)
{
    PointMask result = 0;
    while (pattern != 0 && points != 0) {
        if (pattern & 1)
            result |= points & -points;
        points &= points - 1;
        pattern >>= 1;
    }
    return result;
}

/// Every mask of `count` bits among the low `width` bits, in colex order: {0} when count is 0,
/// none when count is negative or above width.
inline std::vector<PointMask> Patterns(int count, int width)
{
    std::vector<PointMask> result;
    if (count < 0 || count > width)
        return result;
    if (count == 0)
        return {PointMask{0}};
    const PointMask last = FirstCombination(count) << (width - count);
    for (PointMask p = FirstCombination(count);; p = NextCombination(p)) {
        result.push_back(p);
        if (p == last)
            break;
    }
    return result;
}

} // namespace zentrix::wheel
