// CountCommand: `zentrix-cli count`, the exact number of sets the rules let through, and a
// back-test of the rules on the stored draws.
#include "CliMessages.h"
#include "CommandIo.h"
#include "Commands.h"
#include "DataFile.h"
#include "HistoryTable.h"
#include "ReportText.h"
#include "SettingsOptions.h"
#include "analysis/RuleBackTest.h"
#include "generator/Feasibility.h"
#include "generator/GenerationRun.h"
#include "store/HistoryFile.h"
#include "store/Loto6.h"

#include <CLI/CLI.hpp>
#include <ostream>

namespace zentrix::cli {
namespace {

struct CountOptions
{
    std::string data{HistoryFile::kDefaultFileName};
    SettingsOptionValues settings;
};

std::string NumberList(const std::vector<std::int16_t>& numbers)
{
    if (numbers.empty())
        return "なし";
    std::string text;
    for (const std::int16_t n : numbers)
        text += (text.empty() ? "" : " ") + NumberText(n);
    return text;
}

int RunCount(const CountOptions& options, CliContext& context)
{
    DrawTable table;
    if (!LoadHistoryTable(options.data, context, table))
        return kExitDataFile;
    const RecordNo latest = table.Latest();
    if (latest < 2) {
        context.err << "数えるには2回分以上の当選番号が必要です。データファイル「" << options.data
                    << "」に保存されている当選番号は" << latest << "回分です。\n";
        return kExitTooFewDraws;
    }
    const GenerationSettings settings = options.settings.settings();
    const CarryLists lists = BuildCarryLists(table);
    if (SettingsContradict(lists, settings)) {
        context.err << kContradictionMessage << '\n';
        return kExitContradiction;
    }
    const FeasibilityReport report = AssessHistory(settings, table);
    const analysis::BackTestResult back = analysis::BackTestRules(table, settings);

    std::ostream& out = context.out;
    out << "データファイル「" << options.data << "」: 第1回〜第" << latest << "回\n"
        << "設定: " << DescribeSettings(settings) << '\n'
        << "前回（第" << latest << "回）の当選番号: " << DrawRowText(table.row(latest)) << '\n'
        << "  前々回に出ていない数字: " << NumberList(lists.FreshNumbers)
        << " / 前々回にも出た数字: " << NumberList(lists.RepeatedNumbers) << "\n\n"
        << "条件を満たす組み合わせ: " << GroupDigits(report.passingSets) << " / " << GroupDigits(kAllSetCount)
        << "（" << Percent(report.passingSets, kAllSetCount, 3) << "）\n";
    if (report.reachable != kAllNumbers)
        out << "  そのうち重みが0の数字を含まず選ばれうるもの: " << GroupDigits(report.reachablePassingSets)
            << "（重みが0でない数字 " << MaskSize(report.reachable) << "個）\n";
    out << "\n過去の当選番号での検証（第3回〜第" << latest
        << "回の各回を、その前の2回に対してこの条件で調べた結果）:\n"
        << "  条件を満たした回: " << GroupDigits(back.passed) << " / " << GroupDigits(back.checked) << "（"
        << Percent(back.passed, back.checked) << "）\n";
    if (back.contradicted > 0)
        out << "  設定が矛盾して予想番号が出なかった回: " << GroupDigits(back.contradicted) << '\n';
    if (back.unusable > 0)
        out << "  6個の異なる1〜43でないため調べられなかった回: " << GroupDigits(back.unusable) << '\n';
    return FinishOutput(context);
}

} // namespace

void AddCountCommand(CLI::App& app, CliContext& context)
{
    auto options = std::make_shared<CountOptions>();
    CLI::App* command = AddCommand(
        app, context, "count",
        {"連番・キャリー・偶数／奇数の条件を満たす組み合わせの数を数え、過去の当選番号で検証します",
         "6個の数字の組み合わせ 6,096,454 通りのうち、最新の2回の当選番号に対してこの設定の条件を\n"
         "満たすものを正確に数えます。検証では、保存されている各回（第3回以降）の当選番号が、その前の\n"
         "2回に対して同じ条件を満たしていたかを調べます。キャリー個数と偶数／奇数の比率が矛盾する設定では、\n"
         "ジェネレートと同じメッセージを出して終了コード 4 で終わります。データファイルは読むだけで、\n"
         "作成も変更もしません。",
         {kExitOk, kExitFailure, kExitUsage, kExitDataFile, kExitContradiction, kExitTooFewDraws}},
        [options, &context] { return RunCount(*options, context); });
    AddReadOnlyDataOption(*command, options->data);
    AddSettingsOptions(*command, options->settings, false);
}

} // namespace zentrix::cli
