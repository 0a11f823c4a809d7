// GenerateCommand: `zentrix-cli generate`, the prediction engine on a history file, sets to stdout.
#include "Commands.h"
#include "DataFile.h"
#include "PrintedSets.h"
#include "generator/GenerationRun.h"
#include "generator/RandomSource.h"
#include "store/HistoryFile.h"

#include <CLI/CLI.hpp>
#include <optional>
#include <ostream>
#include <sstream>

namespace zentrix::cli {
namespace {

struct GenerateOptions
{
    std::string data{HistoryFile::kDefaultFileName};
    GenerationSettings settings;
    std::string weighting = "on";
    std::string basis = "total";
    std::string parity = "on";
    std::string consecutive = "on";
    std::uint64_t seed = 0;
    bool seeded = false;
};

/// Collects the sets as printed lines; nothing is printed unless the run completes.
class PrintingObserver final : public RunObserver
{
public:
    void setProgressMaximum(int) override {}
    void setProgressMinimum(int) override {}
    void writeSet(int row, const PredictionSet& set) override { m_lines << SetLine(row, set) << '\n'; }
    void stepProgress() override {}
    void runCompleted() override {}

    std::string lines() const { return m_lines.str(); }

private:
    std::ostringstream m_lines;
};

int ExitCodeFor(RunOutcome outcome)
{
    switch (outcome) {
    case RunOutcome::Completed:
        return kExitOk;
    case RunOutcome::Contradiction:
        return kExitContradiction;
    case RunOutcome::TooFewDraws:
        return kExitTooFewDraws;
    case RunOutcome::NoPassingSet:
        return kExitNoPassingSet;
    case RunOutcome::TooSlow:
        return kExitTooSlow;
    case RunOutcome::ReadFailed:
        return kExitDataFile;
    }
    return kExitFailure;
}

int RunGenerate(GenerateOptions options, CliContext& context)
{
    options.settings.weightingOn = options.weighting == "on";
    options.settings.weightBasis = options.basis == "time" ? 1 : 0;
    options.settings.parityOn = options.parity == "on";
    options.settings.consecutiveOn = options.consecutive == "on";

    const std::unique_ptr<HistoryFile> history = OpenDataFile(options.data, context);
    if (!history)
        return kExitDataFile;

    RandomSource random = options.seeded ? RandomSource(options.seed) : RandomSource();
    PrintingObserver printer;
    const RunResult result = GenerateSets(options.settings, *history, random, printer);
    if (result.outcome != RunOutcome::Completed) {
        context.err << DescribeRunOutcome(result, options.data) << '\n';
        return ExitCodeFor(result.outcome);
    }
    context.out << kPrintHeader << "\n\n" << printer.lines();
    context.out.flush();
    return context.out ? kExitOk : kExitFailure;
}

} // namespace

void AddGenerateCommand(CLI::App& app, CliContext& context)
{
    auto options = std::make_shared<GenerateOptions>();
    CLI::App* command =
        app.add_subcommand("generate", "当せん番号の履歴から予想番号を出し、標準出力に書きます");
    command->footer(
        "予想番号は印刷と同じ形式（見出し、空行、1組1行）で UTF-8 で書きます。既定値はメインウィンドウを\n"
        "開いたときの設定です。データファイルは読むだけで、作成も変更もしません。Zentrix が同じ\n"
        "データファイルを開いている間は使用中のため実行できません。\n\n" +
        std::string(kExitCodeHelp));
    const auto onOff = CLI::IsMember({"on", "off"});
    command
        ->add_option("--data", options->data,
                     "当せん番号のデータファイル（無ければ作らずにエラー）。"
                     "Zentrix が開いている間は使用中のため読めません")
        ->capture_default_str();
    command->add_option("--sets", options->settings.setCount, "予想番号の組数")
        ->check(CLI::Range(1, 100))
        ->capture_default_str();
    command->add_option("--weighting", options->weighting, "データ反映の重み付け")
        ->check(onOff)
        ->capture_default_str();
    command->add_option("--basis", options->basis, "重み付けの基準: total 総出現回数, time 時間軸")
        ->check(CLI::IsMember({"total", "time"}))
        ->capture_default_str();
    command
        ->add_option("--total-level", options->settings.totalLevel,
                     "総出現回数の重みの強さ（1 多い数字 .. 3 少ない数字）")
        ->check(CLI::Range(1, 3))
        ->capture_default_str();
    command
        ->add_option("--time-level", options->settings.timeAxisLevel,
                     "時間軸の重みの強さ（1 最近よく出ている .. 3 最近あまり出てない）")
        ->check(CLI::Range(1, 3))
        ->capture_default_str();
    command->add_option("--parity", options->parity, "偶数／奇数の偏り")->check(onOff)->capture_default_str();
    command
        ->add_option("--parity-level", options->settings.parityLevel,
                     "偶数:奇数 1 = 6:0 .. 4 = 3:3 .. 7 = 0:6")
        ->check(CLI::Range(1, 7))
        ->capture_default_str();
    command->add_option("--carry", options->settings.carryCount, "前回の当せん番号から引き継ぐ個数")
        ->check(CLI::Range(0, 2))
        ->capture_default_str();
    command
        ->add_option("--consecutive", options->consecutive, "連番を出現させる（on: 連番1組, off: 連番なし）")
        ->check(onOff)
        ->capture_default_str();
    CLI::Option* seed = command->add_option("--seed", options->seed, "乱数の種（同じ種なら同じ結果）");
    command->callback([options, seed, &context] {
        options->seeded = seed->count() > 0;
        context.exitCode = RunGenerate(*options, context);
    });
}

} // namespace zentrix::cli
