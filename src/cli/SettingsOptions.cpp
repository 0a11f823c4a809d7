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
    const auto onOff = CLI::IsMember({"on", "off"});
    if (withSetCount) {
        command.add_option("--sets", values.base.setCount, "予想番号の組数")
            ->check(CLI::Range(1, 100))
            ->capture_default_str();
    }
    command.add_option("--weighting", values.weighting, "データ反映の重み付け")
        ->check(onOff)
        ->capture_default_str();
    command.add_option("--basis", values.basis, "重み付けの基準: total 総出現回数, time 時間軸")
        ->check(CLI::IsMember({"total", "time"}))
        ->capture_default_str();
    command
        .add_option("--total-level", values.base.totalLevel,
                    "総出現回数の重みの強さ（1 多い数字 .. 3 少ない数字）")
        ->check(CLI::Range(1, 3))
        ->capture_default_str();
    command
        .add_option("--time-level", values.base.timeAxisLevel,
                    "時間軸の重みの強さ（1 最近よく出ている .. 3 最近あまり出てない）")
        ->check(CLI::Range(1, 3))
        ->capture_default_str();
    command.add_option("--parity", values.parity, "偶数／奇数の偏り")->check(onOff)->capture_default_str();
    command.add_option("--parity-level", values.base.parityLevel, "偶数:奇数 1 = 6:0 .. 4 = 3:3 .. 7 = 0:6")
        ->check(CLI::Range(1, 7))
        ->capture_default_str();
    command.add_option("--carry", values.base.carryCount, "前回の当選番号から引き継ぐ個数")
        ->check(CLI::Range(0, 2))
        ->capture_default_str();
    command.add_option("--consecutive", values.consecutive, "連番を出現させる（on: 連番1組, off: 連番なし）")
        ->check(onOff)
        ->capture_default_str();
}

} // namespace zentrix::cli
