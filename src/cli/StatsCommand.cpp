// StatsCommand: `zentrix-cli stats`, per-number statistics and the weights a run would draw with.
#include "AlignedTable.h"
#include "CliMessages.h"
#include "CommandIo.h"
#include "Commands.h"
#include "DataFile.h"
#include "HistoryTable.h"
#include "ReportText.h"
#include "SettingsOptions.h"
#include "StatsViewReport.h"
#include "analysis/ChartSvg.h"
#include "generator/WeightTable.h"
#include "history_io/TextEncoding.h"
#include "store/HistoryFile.h"
#include "store/Loto6.h"

#include <CLI/CLI.hpp>
#include <ostream>

namespace zentrix::cli {
namespace {

struct StatsOptions
{
    std::string data{HistoryFile::kDefaultFileName};
    SettingsOptionValues settings;
    std::string svg;
    std::string view;
    RecordNo last = 0;
};

std::string WeightSource(const GenerationSettings& settings)
{
    if (settings.weightBasis == WeightBasis::TimeAxis)
        return "時間軸合計（強さ " + std::to_string(settings.timeAxisLevel) + "）";
    if (settings.weightingOn)
        return "出現率（強さ " + std::to_string(settings.totalLevel) + "）";
    return "出現率（重み付け off のため変換なし）";
}

int RunStats(const StatsOptions& options, CliContext& context)
{
    DrawTable table;
    if (!LoadHistoryTable(options.data, context, table))
        return kExitDataFile;
    if (table.Latest() < 1) {
        context.err << "データファイル「" << options.data << "」に当選番号が保存されていません。\n";
        return kExitNoDraws;
    }
    if (!options.view.empty())
        return RunStatsView(table, {options.data, options.view, options.last, options.svg}, context);
    const GenerationSettings settings = options.settings.settings();
    const NumberStatistics statistics = ComputeStatistics(table);
    const WeightTable weights = BuildWeightTable(table, settings);

    std::vector<std::vector<std::string>> rows;
    rows.push_back({"数字", "出現回数", "出現率(1/10000)", "時間軸合計", "重み", "選ばれる確率"});
    std::int64_t appearances = 0;
    std::int64_t shares = 0;
    for (int n = kLowestNumber; n <= kHighestNumber; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        appearances += statistics.AppearanceCount[i];
        shares += statistics.AppearanceShare[i];
        rows.push_back({NumberText(n), std::to_string(statistics.AppearanceCount[i]),
                        std::to_string(statistics.AppearanceShare[i]),
                        std::to_string(statistics.RecencySum[i]), std::to_string(weights.weightOf(n)),
                        Percent(weights.weightOf(n), weights.total())});
    }
    rows.push_back({"合計", std::to_string(appearances), std::to_string(shares), "",
                    std::to_string(weights.total()), weights.total() > 0 ? "100.00%" : "-"});

    context.out << "データファイル「" << options.data << "」: 第1回〜第" << table.Latest() << "回（"
                << table.Latest() << "回分、ボーナス数字を含む " << 7 * table.Latest() << " 個の数字）\n"
                << "設定: " << DescribeSettings(settings) << "\n重みの元: " << WeightSource(settings) << "\n";
    if (!settings.weightingOn)
        context.out << "重み付けが off のため、各組の最初の6個は一様に選ばれ、この重みは重なった数字の"
                       "引き直しにだけ使われます。\n";
    context.out << '\n' << AlignedTable(rows);
    if (const int printed = FinishOutput(context); printed != kExitOk)
        return printed;

    if (!options.svg.empty()) {
        analysis::ChartData chart;
        chart.title = "Zentrix 数字ごとの重み（" + DescribeSettings(settings) + "、第1回〜第" +
                      std::to_string(table.Latest()) + "回）";
        chart.xTitle = "数字";
        chart.yTitle = "重み";
        for (int n = kLowestNumber; n <= kHighestNumber; ++n)
            chart.bars.push_back({std::to_string(n), static_cast<double>(weights.weightOf(n))});
        if (!WriteChartFile(options.svg, analysis::ChartSvg(chart), options.data, context))
            return kExitFailure;
        context.out << "\n重みの棒グラフを「" << options.svg << "」に書きました。\n";
    }
    return FinishOutput(context);
}

} // namespace

void AddStatsCommand(CLI::App& app, CliContext& context)
{
    auto options = std::make_shared<StatsOptions>();
    CLI::App* command = AddCommand(
        app, context, "stats",
        {"数字ごとの出現回数・出現率・時間軸合計と、設定による重みを表にします",
         "出現回数はボーナス数字も数えます。出現率は 1/10000 単位（出現回数 ÷ (7 × 回数) × 10000 を\n"
         "四捨五入、ちょうど半分は偶数へ）、時間軸合計は出た回の番号の合計です。重みはジェネレートが\n"
         "この設定で使う値で、選ばれる確率はその重み ÷ 重みの合計です。データファイルは読むだけで、\n"
         "作成も変更もしません。",
         {kExitOk, kExitFailure, kExitUsage, kExitDataFile, kExitNoDraws}},
        [options, &context] { return RunStats(*options, context); });
    AddReadOnlyDataOption(*command, options->data);
    AddSettingsOptions(*command, options->settings, false);
    command->add_option(
        "--svg", options->svg,
        "グラフを SVG で書くファイル（--view なしでは重みの棒グラフ、ありではその表のグラフ）");
    CLI::Option* view = command->add_option("--view", options->view, std::string(kStatsViewHelp))
                            ->check(CLI::IsMember(StatsViewKeys()));
    command->add_option("--last", options->last, "--view で直近の何回分を数えるか（省略すると全回）")
        ->check(CLI::PositiveNumber)
        ->needs(view);
}

} // namespace zentrix::cli
