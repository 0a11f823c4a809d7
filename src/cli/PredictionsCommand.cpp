// PredictionsCommand: `zentrix-cli predictions`, the saved batches listed, shown, scored, exported
// and deleted.
#include "CliMessages.h"
#include "CommandIo.h"
#include "Commands.h"
#include "HistoryTable.h"
#include "generator/SettingsDescription.h"
#include "predictions/BatchScore.h"
#include "predictions/PredictionReport.h"
#include "predictions/PredictionStore.h"
#include "store/HistoryFile.h"
#include "store/Loto6.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <ostream>

namespace zentrix::cli {
namespace {

struct PredictionsOptions
{
    std::string data{HistoryFile::kDefaultFileName};
    std::int64_t id = 0;
    int draw = 0;
    std::string output;
};

/// Columns of the list: UTF-8 text padded to a width in terminal columns (CJK counts two).
std::string Pad(const std::string& text, int width)
{
    int columns = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        columns += length >= 3 ? 2 : 1;
        i += length;
    }
    return text + std::string(static_cast<std::size_t>(std::max(1, width - columns)), ' ');
}

/// The history for scoring; nullopt (after saying why, and `withoutIt` if given) when the data
/// file cannot be read.
std::optional<DrawTable> LoadHistory(const std::string& data, CliContext& context,
                                     const char* withoutIt = nullptr)
{
    DrawTable table;
    if (LoadHistoryTable(data, context, table))
        return table;
    if (withoutIt)
        context.err << withoutIt << '\n';
    return std::nullopt;
}

/// The database beside the data file, opened for reading (or deleting); nullptr after saying
/// why when it cannot be.
std::unique_ptr<PredictionStore> OpenStore(const std::string& data, CliContext& context)
{
    auto store = std::make_unique<PredictionStore>(PredictionStore::PathBeside(data));
    if (const PredictionsStatus opened = store->open(PredictionStore::Mode::ExistingOnly); !opened) {
        context.err << DescribePredictionsError(opened, store->path()) << '\n';
        return nullptr;
    }
    return store;
}

std::string NotSaved(std::int64_t id)
{
    return "予想 No." + std::to_string(id) + " は保存されていません。";
}

/// Says why an operation on one batch failed: the batch is not there, or the database's reason.
int BatchFailure(const PredictionsStatus& status, std::int64_t id, const PredictionStore& store,
                 CliContext& context)
{
    context.err << (status.error == PredictionsError::NotFound
                        ? NotSaved(id)
                        : DescribePredictionsError(status, store.path()))
                << '\n';
    return kExitFailure;
}

/// Visits the saved batches, newest first, only batch `id` when it is above 0. Says why and
/// returns false when the database cannot be read or holds no batch `id`.
bool VisitBatches(PredictionStore& store, std::int64_t id, CliContext& context,
                  const PredictionStore::Visitor& visit)
{
    bool found = false;
    const PredictionsStatus listed = store.forEach([&](const BatchHeader& header, const auto& sets) {
        if (id > 0 && header.id != id)
            return;
        found = true;
        visit(header, sets);
    });
    if (!listed) {
        context.err << DescribePredictionsError(listed, store.path()) << '\n';
        return false;
    }
    if (id > 0 && !found) {
        context.err << NotSaved(id) << '\n';
        return false;
    }
    return true;
}

std::string TotalsText(const ScoreTotals& totals)
{
    const TierTally& t = totals.scored;
    std::string text = "合計: 照合済み " + std::to_string(totals.batches - totals.pendingBatches) + "件 " +
                       std::to_string(t.sets) + "組, 購入額 " + YenText(t.costYen());
    for (int k = 0; k < kPrizeKinds - 1; ++k)
        text += ", " + std::string(PrizeName(static_cast<Prize>(k))) + " " + std::to_string(t.count[k]);
    text += ", 5等賞金 " + YenText(t.fifthPrizeYen());
    if (totals.pendingBatches > 0)
        text += "（未抽選 " + std::to_string(totals.pendingBatches) + "件 " +
                std::to_string(totals.pendingSets) + "組）";
    return text;
}

std::string ListLine(const BatchHeader& header, const BatchScore& score)
{
    return Pad(std::to_string(header.id), 6) + Pad(FormatLocalTime(header.createdAt), 18) +
           Pad(std::to_string(header.draw), 8) + Pad(std::to_string(score.tally.sets), 6) +
           Pad(SourceName(header.source), 6) + Pad(TierSummary(score), 20) +
           Pad(YenText(score.tally.costYen()), 10) +
           (score.scored ? YenText(score.tally.fifthPrizeYen()) : "-");
}

int RunList(const PredictionsOptions& options, CliContext& context)
{
    const std::unique_ptr<PredictionStore> store = OpenStore(options.data, context);
    if (!store)
        return kExitFailure;
    const std::optional<DrawTable> history =
        LoadHistory(options.data, context, "当選番号を読めないため、等級は出していません。");
    const DrawTable empty;
    std::string text = Pad("No.", 6) + Pad("日時", 18) + Pad("予想回", 8) + Pad("組数", 6) + Pad("作成", 6) +
                       Pad("結果", 20) + Pad("購入額", 10) + "5等賞金\n";
    ScoreTotals totals;
    const bool listed = VisitBatches(*store, 0, context, [&](const BatchHeader& header, const auto& sets) {
        if (options.draw > 0 && header.draw != options.draw)
            return;
        const BatchScore score = ScoreBatch(sets, history ? *history : empty, header.draw);
        totals.add(score);
        text += ListLine(header, score) + '\n';
    });
    if (!listed)
        return kExitFailure;
    if (totals.batches == 0) {
        context.out << (options.draw > 0
                            ? "第" + std::to_string(options.draw) + "回の予想は保存されていません。\n"
                            : std::string("保存されている予想はありません。\n"));
        return kExitOk;
    }
    context.out << text << TotalsText(totals) << '\n';
    return FinishOutput(context);
}

std::string OnOff(bool on)
{
    return on ? "on" : "off";
}

/// The command line that makes the same sets again, whatever was stored after the batch.
std::string RepeatCommand(const Batch& batch, const std::string& data)
{
    const GenerationSettings& s = batch.settings;
    std::string command = "zentrix-cli generate --seed " + std::to_string(batch.seed) + " --upto " +
                          std::to_string(batch.draw - 1) + " --sets " + std::to_string(s.setCount) +
                          " --weighting " + OnOff(s.weightingOn) + " --basis " +
                          (s.weightBasis == WeightBasis::TimeAxis ? "time" : "total") + " --total-level " +
                          std::to_string(s.totalLevel) + " --time-level " + std::to_string(s.timeAxisLevel) +
                          " --parity " + OnOff(s.parityOn) + " --parity-level " +
                          std::to_string(s.parityLevel) + " --carry " + std::to_string(s.carryCount) +
                          " --consecutive " + OnOff(s.consecutiveOn);
    if (data != HistoryFile::kDefaultFileName)
        command += " --data " + data;
    return command + " --no-save";
}

std::string DrawText(const DrawRow& row)
{
    std::string text;
    for (int i = 0; i < 6; ++i)
        text += NumberText(row[static_cast<std::size_t>(i)]) + ' ';
    return text + "ボーナス " + NumberText(row[6]);
}

int RunShow(const PredictionsOptions& options, CliContext& context)
{
    const std::unique_ptr<PredictionStore> store = OpenStore(options.data, context);
    if (!store)
        return kExitFailure;
    Batch batch;
    if (const PredictionsStatus loaded = store->load(options.id, batch); !loaded)
        return BatchFailure(loaded, options.id, *store, context);
    const std::optional<DrawTable> history = LoadHistory(options.data, context);
    const std::optional<DrawRow> draw = history ? StoredDraw(*history, batch.draw) : std::nullopt;

    std::string text = "予想 No." + std::to_string(batch.id) + "（" + FormatLocalTime(batch.createdAt) +
                       ", " + SourceName(batch.source) + "）第" + std::to_string(batch.draw) + "回の予想 " +
                       std::to_string(batch.sets.size()) + "組\n";
    if (IsRepeatable(batch.source)) {
        text += "設定: " + DescribeSettings(batch.settings) + "\n種: " + std::to_string(batch.seed) + "\n";
        text += "再現: " + RepeatCommand(batch, options.data) + "\n";
    } else {
        // A wheel comes from the picks and the search, not from a seed and the history.
        text += "設定: " + DescribeMaking(batch.source, batch.settings, batch.note) +
                "\n種: なし（組み合わせ保証の組み合わせは種から作り直せません）\n";
    }
    if (draw)
        text += "第" + std::to_string(batch.draw) + "回の当選番号: " + DrawText(*draw) + "\n";
    else if (history)
        text += "第" + std::to_string(batch.draw) + "回の当選番号はまだ保存されていません。\n";
    text += '\n';
    for (std::size_t row = 0; row < batch.sets.size(); ++row) {
        text += PrintedLine(static_cast<int>(row + 1), batch.sets[row]);
        if (draw) {
            const SetScore detail = ScoreSetDetail(batch.sets[row], *draw);
            text += "  " + std::string(PrizeName(detail.score.prize));
            std::string matched;
            for (std::size_t i = 0; i < 6; ++i) {
                if (detail.matched[i])
                    matched += (matched.empty() ? "" : " ") + NumberText(batch.sets[row][i]);
            }
            if (detail.bonusAt >= 0)
                matched += (matched.empty() ? "" : " ") + std::string("B") +
                           NumberText(batch.sets[row][static_cast<std::size_t>(detail.bonusAt)]);
            if (!matched.empty())
                text += "（" + matched + "）";
        }
        text += '\n';
    }
    if (draw) {
        const BatchScore score = ScoreBatch(batch.sets, *history, batch.draw);
        text += "\n結果: " + TierSummary(score) + ", 購入額 " + YenText(score.tally.costYen()) +
                ", 5等賞金 " + YenText(score.tally.fifthPrizeYen()) + "\n";
    }
    context.out << text;
    return FinishOutput(context);
}

int RunCheckSaved(const PredictionsOptions& options, CliContext& context)
{
    const std::unique_ptr<PredictionStore> store = OpenStore(options.data, context);
    if (!store)
        return kExitFailure;
    const std::optional<DrawTable> history = LoadHistory(options.data, context);
    if (!history)
        return kExitDataFile;
    std::string text;
    ScoreTotals totals;
    const bool listed =
        VisitBatches(*store, options.id, context, [&](const BatchHeader& header, const auto& sets) {
            const BatchScore score = ScoreBatch(sets, *history, header.draw);
            totals.add(score);
            if (!score.scored && options.id == 0)
                return;
            text += "No." + std::to_string(header.id) + " 第" + std::to_string(header.draw) + "回 " +
                    std::to_string(score.tally.sets) + "組: " + TierSummary(score);
            if (score.scored)
                text += "（購入額 " + YenText(score.tally.costYen()) + ", 5等賞金 " +
                        YenText(score.tally.fifthPrizeYen()) + "）";
            text += '\n';
        });
    if (!listed)
        return kExitFailure;
    if (totals.batches == totals.pendingBatches && options.id == 0) {
        context.out << "照合できる予想はありません（予想した回の当選番号がまだ保存されていません"
                    << (totals.pendingBatches > 0 ? "。未抽選 " + std::to_string(totals.pendingBatches) + "件"
                                                  : "")
                    << "）。\n";
        return kExitOk;
    }
    context.out << text << TotalsText(totals) << '\n';
    return FinishOutput(context);
}

int RunExportSaved(const PredictionsOptions& options, CliContext& context)
{
    const std::unique_ptr<PredictionStore> store = OpenStore(options.data, context);
    if (!store)
        return kExitFailure;
    const std::optional<DrawTable> history =
        LoadHistory(options.data, context, "当選番号を読めないため、等級の列は空です。");
    const DrawTable empty;
    std::vector<std::string> blocks; // newest first as read; written oldest first
    const bool listed =
        VisitBatches(*store, options.id, context, [&](const BatchHeader& header, const auto& sets) {
            Batch batch;
            static_cast<NewBatch&>(batch) = {header.createdAt, header.draw, header.source, header.seed,
                                             header.settings,  sets,        header.note};
            batch.id = header.id;
            blocks.push_back(PredictionsCsvLines(batch, history ? *history : empty));
        });
    if (!listed)
        return kExitFailure;
    std::string csv = PredictionsCsvHeader();
    for (auto block = blocks.rbegin(); block != blocks.rend(); ++block)
        csv += *block;
    if (options.output.empty() || options.output == "-") {
        context.out << csv;
        return FinishOutput(context);
    }
    if (const OutputError failed = WriteOutputFile(options.output, csv, {options.data, store->path()});
        !failed.empty()) {
        context.err << failed << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

int RunDelete(const PredictionsOptions& options, CliContext& context)
{
    const std::unique_ptr<PredictionStore> store = OpenStore(options.data, context);
    if (!store)
        return kExitFailure;
    if (const PredictionsStatus removed = store->remove(options.id); !removed)
        return BatchFailure(removed, options.id, *store, context);
    context.out << "予想 No." << options.id << " を削除しました。\n";
    return kExitOk;
}

using Action = int (*)(const PredictionsOptions&, CliContext&);

CLI::App* AddAction(CLI::App& parent, CliContext& context, const std::string& name,
                    const std::string& description, std::shared_ptr<PredictionsOptions> options,
                    Action action)
{
    CLI::App* command = parent.add_subcommand(name, description);
    command->set_help_flag("-h,--help", "このヘルプを表示して終了します");
    command
        ->add_option("--data", options->data,
                     "当選番号のデータファイル。予想はこのファイルと同じフォルダーの "
                     "zentrix-predictions.sqlite3 にあります")
        ->capture_default_str();
    command->callback([options, action, &context] { context.exitCode = action(*options, context); });
    return command;
}

} // namespace

void AddPredictionsCommand(CLI::App& app, CliContext& context)
{
    auto options = std::make_shared<PredictionsOptions>();
    CLI::App* command = AddCommand(
        app, context, "predictions",
        {"保存した予想番号を一覧・表示・照合・CSV 出力・削除します",
         "generate とデスクトップ版のジェネレートが出した予想番号は、データファイルと同じフォルダーの\n"
         "zentrix-predictions.sqlite3 に1回分ずつ（日時、予想した回、設定、種、予想番号）保存されます。\n"
         "等級は照合のたびにデータファイルの当選番号から出します: 1等 6個一致, 2等 5個一致とボーナス数字,\n"
         "3等 5個一致, 4等 4個一致, 5等 3個一致。購入額は1組 200円、5等は 1,000円（固定）です。\n"
         "ほかの等級の賞金は回ごとに違うため、本数だけを示します。",
         {kExitOk, kExitFailure, kExitUsage, kExitDataFile}},
        nullptr);
    command->require_subcommand(1);

    CLI::App* list =
        AddAction(*command, context, "list", "保存した予想の一覧（新しい順）と合計", options, RunList);
    list->add_option("--draw", options->draw, "この回の予想だけを出します");

    CLI::App* show = AddAction(*command, context, "show", "1回分の予想番号と、その等級", options, RunShow);
    show->add_option("N", options->id, "予想の番号（list の No.）")->required();

    CLI::App* check =
        AddAction(*command, context, "check", "予想した回の当選番号が保存されている予想をすべて照合します",
                  options, RunCheckSaved);
    check->add_option("N", options->id, "この番号の予想だけを照合します");

    CLI::App* exportCsv =
        AddAction(*command, context, "export", "保存した予想を CSV（1組1行、古い順）で出します", options,
                  RunExportSaved);
    exportCsv->add_option("N", options->id, "この番号の予想だけを出します");
    exportCsv->add_option("-o,--output", options->output,
                          "書き出すファイル（省略か - なら標準出力）。一時ファイルに書いてから置き換えます");

    CLI::App* remove = AddAction(*command, context, "delete", "予想を1回分削除します", options, RunDelete);
    remove->add_option("N", options->id, "予想の番号（list の No.）")->required();
}

} // namespace zentrix::cli
