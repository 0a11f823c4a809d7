// SetFilter: the consecutive, carry and parity rules.
#include "SetFilter.h"

#include <algorithm>
#include <bit>

namespace zentrix {
namespace {

bool IsEven(int value)
{
    return value % 2 == 0;
}

} // namespace

CarryLists BuildCarryLists(const DrawRow& latest, const DrawRow& previous)
{
    CarryLists lists;
    for (const std::int16_t v : latest) {
        const auto matches = std::count(previous.begin(), previous.end(), v);
        if (matches == 0)
            lists.FreshNumbers.push_back(v);
        for (std::ptrdiff_t i = 0; i < matches; ++i)
            lists.RepeatedNumbers.push_back(v);
    }
    return lists;
}

CarryLists BuildCarryLists(const DrawTable& table)
{
    if (table.Latest() < 2)
        return {};
    return BuildCarryLists(table.row(table.Latest()), table.row(table.Latest() - 1));
}

int EffectiveCarryCount(int carryCount)
{
    return carryCount == 0 || carryCount == 1 ? carryCount : 2;
}

int RequiredEvenCount(int parityLevel)
{
    return parityLevel >= 1 && parityLevel <= 6 ? 7 - parityLevel : 0;
}

bool IsSingleParityLevel(int parityLevel)
{
    const int evens = RequiredEvenCount(parityLevel);
    return evens == 0 || evens == kSetSize;
}

bool SettingsContradict(const CarryLists& lists, const GenerationSettings& settings)
{
    if (!settings.parityOn || EffectiveCarryCount(settings.carryCount) != 2)
        return false;
    const auto evens = std::count_if(lists.FreshNumbers.begin(), lists.FreshNumbers.end(),
                                     [](std::int16_t v) { return IsEven(v); });
    const auto odds = static_cast<std::ptrdiff_t>(lists.FreshNumbers.size()) - evens;
    if (settings.parityLevel == 1 && evens < 2)
        return true;
    return settings.parityLevel == 7 && odds < 2;
}

RulePlan::RulePlan(const CarryLists& lists, const DrawRow& latest, const GenerationSettings& settings)
    : m_contradiction(SettingsContradict(lists, settings))
    , m_carry(EffectiveCarryCount(settings.carryCount))
    , m_parityOn(settings.parityOn)
    , m_evens(RequiredEvenCount(settings.parityLevel))
    , m_pairs(settings.consecutiveOn ? 1 : 0)
    , m_pairsWaived(settings.parityOn && IsSingleParityLevel(settings.parityLevel))
{
    if (m_carry == 0) {
        for (const std::int16_t v : latest)
            m_forbidden |= NumberBit(v);
        return;
    }
    for (const std::int16_t v : lists.RepeatedNumbers)
        m_forbidden |= NumberBit(v);
    for (const std::int16_t v : lists.FreshNumbers) {
        const NumberMask bit = NumberBit(v);
        std::size_t level = 0;
        while (level < m_freshAtLeast.size() && (m_freshAtLeast[level] & bit) != 0)
            ++level;
        if (level == m_freshAtLeast.size())
            m_freshAtLeast.push_back(0);
        m_freshAtLeast[level] |= bit;
    }
}

int RulePlan::freshMatches(int n) const
{
    const NumberMask bit = NumberBit(n);
    return static_cast<int>(std::count_if(m_freshAtLeast.begin(), m_freshAtLeast.end(),
                                          [bit](NumberMask numbers) { return (numbers & bit) != 0; }));
}

bool RulePlan::passes(NumberMask set) const
{
    constexpr NumberMask kEvenNumbers = 0x2AAAAAAAAAAull; // 2, 4, ..., 42
    if (m_contradiction || (set & m_forbidden) != 0)
        return false;
    int fresh = 0;
    for (const NumberMask numbers : m_freshAtLeast)
        fresh += std::popcount(set & numbers);
    return carryPasses(fresh) && parityPasses(std::popcount(set & kEvenNumbers)) &&
           consecutivePasses(ConsecutivePairs(set));
}

SetVerdict RulePlan::verdict(NumberMask set) const
{
    if (m_contradiction)
        return SetVerdict::Contradiction;
    return passes(set) ? SetVerdict::Pass : SetVerdict::Fail;
}

} // namespace zentrix
