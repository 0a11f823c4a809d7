// WeightedDraw: the band search and the two ways of drawing a number.
#include "WeightedDraw.h"

#include "generator/RandomSource.h"

#include <algorithm>

namespace zentrix {

std::int16_t NumberForBand(const WeightTable& table, std::int64_t x)
{
    if (x < 0 || x >= table.total())
        return 0;
    // W never decreases, so the first entry above x is the only band that holds it. The search
    // has no data-dependent branch: this is the innermost step of every run.
    const std::int64_t* first = table.W.data();
    std::size_t length = table.W.size();
    while (length > 1) {
        const std::size_t half = length / 2;
        first = first[half] <= x ? first + half : first;
        length -= half;
    }
    const auto index = (first - table.W.data()) + (*first <= x ? 1 : 0);
    return static_cast<std::int16_t>(index + 1);
}

std::int64_t BandPosition(float r, std::int64_t total)
{
    const auto x = static_cast<std::int64_t>(static_cast<double>(r) * static_cast<double>(total));
    // r < 1, but a huge total could still round the product up to the total itself.
    return std::min(x, total - 1);
}

std::int16_t WeightedDraw(const WeightTable& table, RandomSource& random)
{
    const std::int64_t total = table.total();
    const float r = random.nextUnit();
    if (total <= 0)
        return 0;
    return NumberForBand(table, BandPosition(r, total));
}

std::int16_t UniformDraw(RandomSource& random)
{
    return static_cast<std::int16_t>(BandPosition(random.nextUnit(), kNumberCount) + 1);
}

} // namespace zentrix
