// SettingsDescription: the generation settings in a few Japanese words, for reports and lists.
#pragma once

#include "generator/GenerationSettings.h"

#include <string>

namespace zentrix {

/// One line naming the settings, for reports: "重み付け on（総出現回数, 強さ 1）, 偶数:奇数 3:3, …".
std::string DescribeSettings(const GenerationSettings& settings);

} // namespace zentrix
