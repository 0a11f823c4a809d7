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

BandIndex::BandIndex(const WeightTable& table)
    : m_totals(table.W)
    , m_total(table.total())
{
    if (m_total <= 0)
        return;
    for (int bucket = 0; bucket < kGuideSize; ++bucket) {
        // The lowest position any r of this bucket can reach, so the scan only ever moves forward.
        const std::int64_t lowest = BandPosition(static_cast<float>(bucket) / kGuideSize, m_total);
        const auto first = std::upper_bound(m_totals.begin(), m_totals.end(), lowest);
        m_guide[static_cast<std::size_t>(bucket)] = static_cast<std::uint8_t>(first - m_totals.begin());
    }
}

std::int16_t BandIndex::numberAt(float r) const
{
    if (m_total <= 0)
        return 0;
    const std::int64_t x = BandPosition(r, m_total);
    auto bucket = static_cast<std::size_t>(r * kGuideSize);
    std::size_t i = m_guide[std::min<std::size_t>(bucket, kGuideSize - 1)];
    while (m_totals[i] <= x) // stops at the last entry at the latest: x < total
        ++i;
    return static_cast<std::int16_t>(i + 1);
}

std::int16_t BandIndex::draw(RandomSource& random) const
{
    return numberAt(random.nextUnit());
}

std::int16_t UniformDraw(RandomSource& random)
{
    return static_cast<std::int16_t>(BandPosition(random.nextUnit(), kNumberCount) + 1);
}

} // namespace zentrix
