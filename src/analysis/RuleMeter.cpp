// RuleMeter: the exact count and the back-test, read together.
#include "analysis/RuleMeter.h"

#include "analysis/StatsViews.h"
#include "generator/Feasibility.h"
#include "generator/SetFilter.h"

namespace zentrix::analysis {

double RuleMeterReading::passShare() const
{
    return double(passingSets) / double(kAllSetCount);
}

double RuleMeterReading::backTestShare() const
{
    return backTest.checked > 0 ? double(backTest.passed) / double(backTest.checked) : 0.0;
}

RuleMeterReading ReadRuleMeter(const DrawTable& table, const GenerationSettings& settings)
{
    RuleMeterReading reading;
    reading.latest = table.Latest();
    reading.enoughDraws = table.Latest() >= 2;
    if (!reading.enoughDraws)
        return reading;
    const CarryLists lists = BuildCarryLists(table);
    reading.contradiction = SettingsContradict(lists, settings);
    reading.passingSets = CountPassingSets(settings, lists, table.row(table.Latest()));
    reading.backTest = BackTestRules(table, settings);
    return reading;
}

std::vector<std::string> DescribeRuleMeter(const RuleMeterReading& reading)
{
    if (!reading.enoughDraws)
        return {"条件を調べるには2回分以上の当選番号が必要です（保存されているのは" +
                std::to_string(reading.latest) + "回分）。"};
    std::vector<std::string> lines;
    if (reading.contradiction)
        lines.push_back(
            "キャリー個数と偶数 : 奇数の比率が矛盾しています。この設定ではジェネレートできません。");
    lines.push_back("条件を満たす組み合わせ: " + GroupedDigits(reading.passingSets) + " / " +
                    GroupedDigits(kAllSetCount) + "（" + PercentText(reading.passingSets, kAllSetCount, 2) +
                    "）");
    const std::string oneIn =
        reading.passingSets > 0
            ? "、約 " + GroupedDigits(std::int64_t(1.0 / reading.passShare() + 0.5)) + " 組に1組"
            : "";
    lines.push_back("無作為に選んだ1組が条件を満たす確率: " + FixedText(reading.passShare(), 5) + oneIn);
    lines.push_back("過去の当選番号での検証（第3回〜第" + std::to_string(reading.latest) +
                    "回の各回を、その前の2回に対して調べた結果）: " + GroupedDigits(reading.backTest.passed) +
                    " / " + GroupedDigits(reading.backTest.checked) + "（" +
                    PercentText(reading.backTest.passed, reading.backTest.checked) + "）");
    lines.push_back(kFilterOddsNote);
    return lines;
}

} // namespace zentrix::analysis
