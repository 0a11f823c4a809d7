// SettingsOptions: one definition of the settings options for every subcommand.
#include "SettingsOptions.h"

#include "generator/SetFilter.h"

#include <CLI/CLI.hpp>

namespace zentrix::cli {

GenerationSettings SettingsOptionValues::settings() const
{
    GenerationSettings settings = base;
    settings.weightingOn = weighting == "on";
    settings.weightBasis = basis == "time" ? WeightBasis::TimeAxis : WeightBasis::TotalAppearances;
    settings.parityOn = parity == "on";
    settings.consecutiveOn = consecutive == "on";
    return settings;
}

void AddSettingsOptions(CLI::App& command, SettingsOptionValues& values, bool withSetCount)
{
    // Every setting shows its default (the opening value) in the help.
    const auto add = [&command](const std::string& name, auto& value, const std::string& description,
                                const CLI::Validator& check) {
        command.add_option(name, value, description)->check(check)->capture_default_str();
    };
    const CLI::Validator onOff = CLI::IsMember({"on", "off"});
    if (withSetCount)
        add("--sets", values.base.setCount, "予想番号の組数", CLI::Range(1, 100));
    add("--weighting", values.weighting, "データ反映の重み付け", onOff);
    add("--basis", values.basis, "重み付けの基準: total 総出現回数, time 時間軸",
        CLI::IsMember({"total", "time"}));
    add("--total-level", values.base.totalLevel, "総出現回数の重みの強さ（1 多い数字 .. 3 少ない数字）",
        CLI::Range(1, 3));
    add("--time-level", values.base.timeAxisLevel,
        "時間軸の重みの強さ（1 最近よく出ている .. 3 最近あまり出てない）", CLI::Range(1, 3));
    add("--parity", values.parity, "偶数／奇数の偏り", onOff);
    add("--parity-level", values.base.parityLevel, "偶数:奇数 1 = 6:0 .. 4 = 3:3 .. 7 = 0:6",
        CLI::Range(1, 7));
    add("--carry", values.base.carryCount, "前回の当選番号から引き継ぐ個数", CLI::Range(0, 2));
    add("--consecutive", values.consecutive, "連番を出現させる（on: 連番1組, off: 連番なし）", onOff);
}

} // namespace zentrix::cli
