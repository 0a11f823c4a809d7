// WheelCommand: `zentrix-cli wheel`, a proved wheel for the picked numbers in the printed format.
#include "CliMessages.h"
#include "CommandIo.h"
#include "Commands.h"
#include "DataFile.h"
#include "NumberList.h"
#include "predictions/PredictionStore.h"
#include "predictions/WheelBatch.h"
#include "store/HistoryFile.h"
#include "store/Loto6.h"
#include "wheel/WheelBuilder.h"
#include "wheel/WheelMessages.h"

#include <CLI/CLI.hpp>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <ostream>

namespace zentrix::cli {
namespace {

struct WheelCommandOptions
{
    std::string numbers;
    std::string guarantee;
    std::string keys;
    double seconds = 10;
    std::uint64_t seed = 1;
    bool save = false;
    std::string data{HistoryFile::kDefaultFileName};
};

constexpr double kMaxSeconds = 24 * 60 * 60;

int Usage(CliContext& context, const std::string& message)
{
    context.err << "zentrix-cli wheel: " << message << '\n';
    return kExitUsage;
}

int RunWheel(const WheelCommandOptions& options, CliContext& context)
{
    wheel::WheelRequest request;
    const auto picks = ParseNumberList(options.numbers);
    if (!picks)
        return Usage(context,
                     "--numbers は「1,5,7-12」のように、数字と範囲をカンマで区切って指定してください。");
    request.picks = *picks;
    if (!options.keys.empty()) {
        const auto keys = ParseNumberList(options.keys);
        if (!keys)
            return Usage(context, "--key は「7,12」のように、数字をカンマで区切って指定してください。");
        request.keys = *keys;
    }
    const auto guarantee = ParseGuaranteeText(options.guarantee);
    if (!guarantee)
        return Usage(context, "--guarantee は「3/3」「4/5」のように「一致数/当選数」で指定してください。");
    request.guarantee = {guarantee->first, guarantee->second};
    if (const wheel::RequestError error = wheel::CheckRequest(request); error != wheel::RequestError::None)
        return Usage(context, wheel::RequestErrorMessage(error));
    if (!std::isfinite(options.seconds) || options.seconds <= 0 || options.seconds > kMaxSeconds)
        return Usage(context, "--seconds は0より大きく86400以下の秒数で指定してください。");

    // The draw the tickets are for is known before the search, so a bad data file costs no time.
    RecordNo latest = 0;
    if (options.save) {
        const std::unique_ptr<HistoryFile> history = OpenDataFile(options.data, context);
        if (!history)
            return kExitDataFile;
        latest = history->Latest();
    }

    wheel::WheelOptions run;
    run.limits.time = std::chrono::milliseconds(std::max<long long>(1, std::llround(options.seconds * 1000)));
    run.limits.seed = options.seed;
    const wheel::WheelResult result = wheel::BuildWheel(request, run);
    if (result.status != wheel::WheelResult::Status::Built) {
        context.err << "zentrix-cli wheel: 保証を確かめられる組み合わせを作れませんでした。\n";
        return kExitFailure;
    }

    std::ostream& out = context.out;
    out << kPrintHeader << "\n\n";
    for (std::size_t i = 0; i < result.tickets.size(); ++i) {
        std::array<std::int16_t, kSetSize> set{};
        for (std::size_t j = 0; j < set.size(); ++j)
            set[j] = static_cast<std::int16_t>(result.tickets[i][j]);
        out << PrintedLine(int(i) + 1, set) << '\n';
    }
    out.flush();

    std::ostream& err = context.err;
    err << "保証: " << wheel::GuaranteeLabel(request.guarantee);
    if (!request.keys.empty())
        err << "（軸数字がすべて当選した場合）";
    err << '\n'
        << "組み合わせ: " << wheel::TicketsAndCost(result.tickets.size()) << "、下限 "
        << wheel::GroupDigits(result.lowerBound) << "枚";
    if (const auto known = wheel::BestKnownSize(request))
        err << "、既知の最小 " << *known << "枚";
    err << '\n'
        << "検証: 選んだ数字" << request.picks.size() << "個から" << request.guarantee.drawn
        << "個が当選する " << wheel::GroupDigits(result.verification.checkedDraws)
        << " 通りをすべて調べ、保証を確認しました。\n"
        << "保証が働く確率（1回の抽選）: " << wheel::PercentText(wheel::GuaranteeChance(request)) << '\n';
    if (result.fromTable)
        err << wheel::SourceNote(true) << '\n';
    if (const int printed = FinishOutput(context); printed != kExitOk || !options.save)
        return printed;

    const NewBatch batch =
        MakeWheelBatch(request, result.tickets, static_cast<int>(latest) + 1, NowSeconds());
    PredictionStore store(PredictionStore::PathBeside(options.data));
    std::int64_t id = 0;
    PredictionsStatus saved = store.open(PredictionStore::Mode::CreateIfMissing);
    if (saved)
        saved = store.save(batch, &id);
    if (!saved) {
        if (saved.error == PredictionsError::InvalidBatch)
            err << "組み合わせが多すぎるため（" << kMaxWheelBatchSets
                << "枚まで）、予想として保存できません。";
        else
            err << DescribePredictionsError(saved, store.path());
        err << "（組み合わせは保存されていません）\n";
        return kExitFailure;
    }
    err << "第" << batch.draw << "回の予想（予想 No." << id << "）として保存しました。\n";
    return kExitOk;
}

} // namespace

void AddWheelCommand(CLI::App& app, CliContext& context)
{
    auto options = std::make_shared<WheelCommandOptions>();
    CLI::App* command = AddCommand(
        app, context, "wheel",
        {"選んだ数字から、当選の保証（組み合わせ保証）つきの組み合わせを作ります",
         "選んだ数字（7〜30個）のうち当選数の数字が当選すれば、少なくとも1枚が一致数の数字に\n"
         "当たる組み合わせを、なるべく少ない枚数で作ります。例: --guarantee 3/3 は「3個一致で5等を\n"
         "保証」、4/5 は「5個一致で4等を保証」。作った組み合わせは当選のしかたをすべて調べて保証を\n"
         "確かめてから出力します。軸数字はすべての組み合わせに入り、保証は軸数字がすべて当選した\n"
         "場合のものになります。組み合わせは印刷と同じ形式で標準出力へ、枚数・金額（1枚200円）・\n"
         "保証は標準エラー出力へ出します。同じ種と秒数なら、時間切れにならない限り同じ結果です。\n"
         "--save を付けると、組み合わせを次の回（データファイルの最新回の次）の予想として、データ\n"
         "ファイルと同じフォルダーの zentrix-predictions.sqlite3 に保存します。",
         {kExitOk, kExitFailure, kExitUsage, kExitDataFile}},
        [options, &context] { return RunWheel(*options, context); });
    command->add_option("--numbers", options->numbers, "選んだ数字（例: 1,5,7-12）")->required();
    command->add_option("--guarantee", options->guarantee, "保証「一致数/当選数」（例: 3/3, 4/5）")
        ->required();
    command->add_option("--key", options->keys, "軸数字（すべての組み合わせに入る数字、例: 7,12）");
    command->add_option("--seconds", options->seconds, "探す時間の上限（秒）")->capture_default_str();
    command->add_option("--seed", options->seed, "乱数の種（同じ種なら同じ結果）")->capture_default_str();
    command->add_flag("--save", options->save, "組み合わせを次の回の予想として保存します");
    AddReadOnlyDataOption(*command, options->data);
}

} // namespace zentrix::cli
