// ReferenceRules: the literal set rules.
#include "common/ReferenceRules.h"

#include <algorithm>

namespace zentrix::reference {
namespace {

bool IsEven(int value)
{
    return value % 2 == 0;
}

} // namespace

GenerationSettings Rules(bool consecutiveOn, int carry, bool parityOn, int parityLevel)
{
    GenerationSettings settings;
    settings.consecutiveOn = consecutiveOn;
    settings.carryCount = carry;
    settings.parityOn = parityOn;
    settings.parityLevel = parityLevel;
    return settings;
}

int ConsecutivePairs(const PredictionSet& set)
{
    int pairs = 0;
    for (std::size_t i = 0; i + 1 < set.size(); ++i) {
        if (set[i + 1] - set[i] == 1)
            ++pairs;
    }
    return pairs;
}

bool ConsecutiveRulePasses(const PredictionSet& set, bool consecutiveOn)
{
    return ConsecutivePairs(set) == (consecutiveOn ? 1 : 0);
}

bool CarryRulePasses(const PredictionSet& set, const CarryLists& lists, const DrawRow& latest, int carryCount)
{
    const int wanted = EffectiveCarryCount(carryCount);
    if (wanted == 0) {
        return std::none_of(set.begin(), set.end(), [&](std::int16_t n) {
            return std::find(latest.begin(), latest.end(), n) != latest.end();
        });
    }
    long freshMatches = 0;
    for (const std::int16_t n : set) {
        if (std::find(lists.RepeatedNumbers.begin(), lists.RepeatedNumbers.end(), n) !=
            lists.RepeatedNumbers.end())
            return false;
        freshMatches += std::count(lists.FreshNumbers.begin(), lists.FreshNumbers.end(), n);
    }
    return freshMatches == wanted;
}

bool ParityRulePasses(const PredictionSet& set, const GenerationSettings& settings)
{
    if (!settings.parityOn)
        return true;
    const auto evens = std::count_if(set.begin(), set.end(), [](std::int16_t n) { return IsEven(n); });
    return evens == RequiredEvenCount(settings.parityLevel);
}

SetVerdict CheckSet(const PredictionSet& set, const CarryLists& lists, const DrawRow& latest,
                    const GenerationSettings& settings)
{
    bool consecutiveMark = ConsecutiveRulePasses(set, settings.consecutiveOn);
    const bool carryMark = CarryRulePasses(set, lists, latest, settings.carryCount);
    if (SettingsContradict(lists, settings))
        return SetVerdict::Contradiction;
    const bool parityMark = ParityRulePasses(set, settings);
    if (parityMark && settings.parityOn && IsSingleParityLevel(settings.parityLevel))
        consecutiveMark = true;
    return consecutiveMark && carryMark && parityMark ? SetVerdict::Pass : SetVerdict::Fail;
}

} // namespace zentrix::reference
