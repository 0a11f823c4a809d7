// GenerateCommand: `zentrix-cli generate`, the prediction engine on a history file, sets to stdout.
#include "CliMessages.h"
#include "CommandIo.h"
#include "Commands.h"
#include "DataFile.h"
#include "HistoryTable.h"
#include "SettingsOptions.h"
#include "generator/GenerationRun.h"
#include "generator/RandomSource.h"
#include "generator/RunMessages.h"
#include "predictions/PredictionStore.h"
#include "store/HistoryFile.h"
#include "store/Loto6.h"

#include <CLI/CLI.hpp>
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
    RecordNo upTo = 0;
    bool noSave = false;
};

/// Collects the sets as printed lines; nothing is printed unless the run completes.
class PrintingObserver final : public RunObserver
{
public:
    void setProgressMaximum(int) override {}
    void setProgressMinimum(int) override {}
    void writeSet(int row, const PredictionSet& set) override
    {
        m_lines << PrintedLine(row, set) << '\n';
        m_sets.push_back(set);
    }
    void stepProgress() override {}
    void runCompleted() override {}

    std::string lines() const { return m_lines.str(); }
    const std::vector<PredictionSet>& sets() const { return m_sets; }

private:
    std::ostringstream m_lines;
    std::vector<PredictionSet> m_sets;
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

    // Every run has a seed, so that a saved batch can be made again with --seed.
    const std::uint64_t seed = options.seeded ? options.seed : RandomSource::FreshSeed();
    RandomSource random(seed);
    PrintingObserver printer;
    RunLimits limits;
    limits.historyLimit = options.upTo;
    const GenerationSettings settings = options.settings.settings();
    const RunResult result = GenerateSets(settings, *history, random, printer, limits);
    if (result.outcome != RunOutcome::Completed) {
        if (const std::string damaged = DescribeDamagedHistory(result, *history, options.data);
            !damaged.empty()) {
            context.err << damaged << '\n';
            return kExitDataFile;
        }
        context.err << DescribeRunOutcome(result, options.data) << '\n';
        return ExitCodeFor(result.outcome);
    }
    context.out << kPrintHeader << "\n\n" << printer.lines();
    if (const int printed = FinishOutput(context); printed != kExitOk)
        return printed;
    if (options.noSave)
        return kExitOk;

    NewBatch batch;
    batch.createdAt = NowSeconds();
    batch.draw = result.storedDraws + 1;
    batch.source = BatchSource::CommandLine;
    batch.seed = seed;
    batch.settings = settings;
    batch.sets = printer.sets();
    PredictionStore store(PredictionStore::PathBeside(options.data));
    PredictionsStatus saved = store.open(PredictionStore::Mode::CreateIfMissing);
    if (saved)
        saved = store.save(batch);
    if (!saved) {
        context.err << DescribePredictionsError(saved, store.path()) << "（予想番号は保存されていません）\n";
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace

void AddGenerateCommand(CLI::App& app, CliContext& context)
{
    auto options = std::make_shared<GenerateOptions>();
    CLI::App* command = AddCommand(
        app, context, "generate",
        {"当選番号の履歴から予想番号を出し、標準出力に書きます",
         "予想番号は印刷と同じ形式（見出し、空行、1組1行）で UTF-8 で書きます。既定値はメインウィンドウを\n"
         "開いたときの設定です。データファイルは読むだけで、作成も変更もしません。Zentrix が同じ\n"
         "データファイルを開いている間も実行できます。出した予想番号は、データファイルと\n"
         "同じフォルダーの zentrix-predictions.sqlite3 に種と設定ごと保存します（--no-save "
         "で保存しません）。\n"
         "保存した予想は zentrix-cli predictions で一覧・照合できます。保存できなかったときも予想番号は\n"
         "出し、理由を示して終了コード 1 で終わります。",
         {kExitOk, kExitFailure, kExitUsage, kExitDataFile, kExitContradiction, kExitTooFewDraws,
          kExitNoPassingSet, kExitTooSlow}},
        nullptr);
    AddReadOnlyDataOption(*command, options->data);
    AddSettingsOptions(*command, options->settings, true);
    CLI::Option* seed = command->add_option("--seed", options->seed, "乱数の種（同じ種なら同じ結果）")
                            ->check(WholeNumberWithin(0, std::numeric_limits<std::uint64_t>::max()));
    command
        ->add_option("--upto", options->upTo, "第N回までの当選番号だけで予想します（保存した予想の再現に）")
        ->check(CLI::Range(1, 1000000));
    command->add_flag("--no-save", options->noSave, "予想番号を保存しません");
    command->callback([options, seed, &context] {
        options->seeded = seed->count() > 0;
        context.exitCode = RunGenerate(*options, context);
    });
}

} // namespace zentrix::cli
