// SettingsDescription: the generation settings in a few Japanese words.
#include "generator/SettingsDescription.h"

#include "generator/SetFilter.h"

namespace zentrix {

std::string DescribeSettings(const GenerationSettings& settings)
{
    std::string text = "重み付け ";
    text += settings.weightingOn ? "on" : "off";
    // Appended piece by piece: GCC 12 reports a false -Wrestrict for `"text" + std::string` at -O3.
    text += settings.weightBasis == WeightBasis::TimeAxis ? "（時間軸, 強さ " : "（総出現回数, 強さ ";
    text += std::to_string(settings.weightBasis == WeightBasis::TimeAxis ? settings.timeAxisLevel
                                                                         : settings.totalLevel);
    text += "）, 偶数／奇数 ";
    if (settings.parityOn) {
        const int evens = RequiredEvenCount(settings.parityLevel);
        text += std::to_string(evens);
        text += ':';
        text += std::to_string(6 - evens);
    } else {
        text += "off";
    }
    text += ", キャリー ";
    text += std::to_string(EffectiveCarryCount(settings.carryCount));
    text += "個, 連番 ";
    text += settings.consecutiveOn ? "on" : "off";
    return text;
}

} // namespace zentrix
