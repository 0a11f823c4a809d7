// GenerateCommand: `zentrix-cli generate`, the prediction engine on a history file, sets to stdout.
#include "CommandIo.h"
#include "Commands.h"
#include "DataFile.h"
#include "HistoryTable.h"
#include "PrintedSets.h"
#include "SettingsOptions.h"
#include "generator/DrawTable.h"
#include "generator/GenerationRun.h"
#include "generator/RandomSource.h"
#include "store/HistoryFile.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <limits>
#include <optional>
#include <ostream>
#include <sstream>

namespace zentrix::cli {
namespace {

struct GenerateOptions
{
    std::string data{HistoryFile::kDefaultFileName};
    SettingsOptionValues settings;
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

int RunGenerate(const GenerateOptions& options, CliContext& context)
{
    const std::unique_ptr<HistoryFile> history = OpenDataFile(options.data, context);
    if (!history)
        return kExitDataFile;

    RandomSource random = options.seeded ? RandomSource(options.seed) : RandomSource();
    PrintingObserver printer;
    const RunResult result = GenerateSets(options.settings.settings(), *history, random, printer);
    if (result.outcome != RunOutcome::Completed) {
        // Weights of zero or no passing set may only be what a damaged file gives: then the file,
        // not the settings, is what to name.
        if (result.outcome == RunOutcome::NoPassingSet || result.outcome == RunOutcome::TooSlow) {
            DrawTable table;
            if (LoadDrawTable(*history, history->Latest(), table)) {
                for (RecordNo d = 1; d <= table.Latest(); ++d) {
                    const DrawRow& row = table.row(d);
                    // Numbers outside 1..43 are no lottery draw at all: bytes of something else.
                    if (std::any_of(row.begin(), row.end(), [](std::int16_t n) { return n < 1 || n > 43; })) {
                        context.err << "データファイル「" << options.data << "」の第" << d
                                    << "回は当選番号ではない値（" << DrawRowText(row)
                                    << "）を持っています。データファイルが壊れているか、別のファイルです。\n";
                        return kExitDataFile;
                    }
                }
            }
        }
        context.err << DescribeRunOutcome(result, options.data) << '\n';
        return ExitCodeFor(result.outcome);
    }
    context.out << kPrintHeader << "\n\n" << printer.lines();
    return FinishOutput(context);
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
        "データファイルを開いている間も実行できます。\n\n" +
        std::string(kExitCodeHelp));
    AddReadOnlyDataOption(*command, options->data);
    AddSettingsOptions(*command, options->settings, true);
    CLI::Option* seed = command->add_option("--seed", options->seed, "乱数の種（同じ種なら同じ結果）")
                            ->check(WholeNumberWithin(0, std::numeric_limits<std::uint64_t>::max()));
    command->callback([options, seed, &context] {
        options->seeded = seed->count() > 0;
        context.exitCode = RunGenerate(*options, context);
    });
}

} // namespace zentrix::cli
