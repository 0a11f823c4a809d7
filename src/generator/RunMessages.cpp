// RunMessages: the messages of a run that keeps no set.
#include "RunMessages.h"

#include "store/HistoryFile.h"
#include "store/Loto6.h"

#include <algorithm>
#include <string>

namespace zentrix {
namespace {

std::string FreshNumbersNote(const CarryLists& carry)
{
    int evens = 0;
    std::string list;
    for (const std::int16_t v : carry.FreshNumbers) {
        if (v % 2 == 0)
            ++evens;
        if (!list.empty())
            list += "、";
        list += std::to_string(v);
    }
    const int odds = static_cast<int>(carry.FreshNumbers.size()) - evens;
    if (list.empty())
        return "（前回の当選番号には、前々回に出ていない数字がありません。）";
    return "（前回の当選番号のうち前々回に出ていない数字は " + list + " の" +
           std::to_string(carry.FreshNumbers.size()) + "個で、偶数" + std::to_string(evens) + "個・奇数" +
           std::to_string(odds) + "個です。）";
}

std::string DescribeInfeasibility(const RunResult& result)
{
    switch (result.feasibility.reason) {
    case Infeasibility::None:
        break;
    case Infeasibility::NoDrawableNumber:
        return "重み付けの結果、すべての数字の重みが0になったため、予想番号を出せません。"
               "重み付けの設定を変更して下さい。";
    case Infeasibility::FewerThanSixDrawable:
        return "重み付けの結果、重みが0でない数字が" +
               std::to_string(MaskSize(result.feasibility.reachable)) +
               "個しかないため、6個の数字を選べません。重み付けの設定を変更して下さい。";
    case Infeasibility::NoSetPasses:
        return "連番・キャリーの個数・偶数／奇数の偏りの設定をすべて満たす組み合わせがありません。"
               "設定を変更して下さい。\n" +
               FreshNumbersNote(result.carry);
    case Infeasibility::NoDrawableSetPasses:
        return "設定を満たす組み合わせはありますが、どれも重み付けで重みが0になった数字を含むため、"
               "選ばれることがありません。重み付けか他の設定を変更して下さい。";
    }
    return {};
}

} // namespace

std::string DescribeRunOutcome(const RunResult& result, const std::string& dataFileName)
{
    switch (result.outcome) {
    case RunOutcome::Completed:
        return {};
    case RunOutcome::Contradiction:
        return std::string(kContradictionMessage);
    case RunOutcome::TooFewDraws:
        return "予想番号を出すには2回分以上の当選番号が必要です。データファイル「" + dataFileName +
               "」に保存されている当選番号は" + std::to_string(result.storedDraws) + "回分です。";
    case RunOutcome::NoPassingSet:
        return DescribeInfeasibility(result);
    case RunOutcome::TooSlow:
        return "設定を満たす組み合わせが選ばれる見込みが低すぎるため、予想番号を時間内に出せませんでした。"
               "設定を変更して下さい。";
    case RunOutcome::ReadFailed:
        return DescribeStoreError(result.store, dataFileName);
    }
    return {};
}

RecordNo FirstDamagedDraw(const DrawTable& table)
{
    for (RecordNo d = 1; d <= table.Latest(); ++d) {
        const DrawRow& row = table.row(d);
        if (!std::all_of(row.begin(), row.end(), [](std::int16_t n) { return IsLotoNumber(n); }))
            return d;
    }
    return 0;
}

std::string DescribeDamagedHistory(const RunResult& result, HistoryFile& history,
                                   const std::string& dataFileName)
{
    if (result.outcome != RunOutcome::NoPassingSet && result.outcome != RunOutcome::TooSlow)
        return {};
    DrawTable table;
    if (!LoadDrawTable(history, history.Latest(), table))
        return {};
    const RecordNo damaged = FirstDamagedDraw(table);
    if (damaged == 0)
        return {};
    return "データファイル「" + dataFileName + "」の第" + std::to_string(damaged) +
           "回は当選番号ではない値（" + DrawRowText(table.row(damaged)) +
           "）を持っています。データファイルが壊れているか、別のファイルです。";
}

} // namespace zentrix
