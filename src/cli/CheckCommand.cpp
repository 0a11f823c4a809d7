// CheckCommand: `zentrix-cli check`, printed sets scored against a stored draw.
#include "CliMessages.h"
#include "CommandIo.h"
#include "Commands.h"
#include "DataFile.h"
#include "HistoryTable.h"
#include "PrizeCheck.h"
#include "ReportText.h"
#include "history_io/InputFile.h"
#include "history_io/TextEncoding.h"
#include "store/HistoryFile.h"
#include "store/Loto6.h"

#include <CLI/CLI.hpp>
#include <array>
#include <fstream>
#include <iostream>
#include <iterator>
#include <limits>

namespace zentrix::cli {
namespace {

struct CheckOptions
{
    std::string data{HistoryFile::kDefaultFileName};
    RecordNo draw = 0;
    std::string file;
};

/// At most this many bad lines are listed; the rest are only counted.
constexpr int kListedBadLines = 20;

InputFileStatus ReadInput(const CheckOptions& options, CliContext& context, std::string& bytes)
{
    if (options.file.empty() || options.file == "-")
        return ReadInputStream(context.in ? *context.in : std::cin, bytes);
    return ReadInputBytes(options.file, bytes);
}

/// The line as the user wrote it, cut after 40 characters so one bad line stays one line.
std::string Excerpt(std::string_view line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
        line.remove_suffix(1);
    std::size_t at = 0;
    for (int characters = 0; at < line.size() && characters < 40; ++characters) {
        const auto byte = static_cast<unsigned char>(line[at]);
        at += byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
    }
    return at < line.size() ? std::string(line.substr(0, at)) + "…" : std::string(line);
}

std::string MatchText(const PredictionSet& set, const DrawRow& draw)
{
    std::string text;
    for (const std::int16_t n : set) {
        if (std::find(draw.begin(), draw.begin() + 6, n) != draw.begin() + 6)
            text += (text.empty() ? "" : " ") + NumberText(n);
    }
    return text;
}

int RunCheck(const CheckOptions& options, CliContext& context)
{
    const std::string source =
        options.file.empty() || options.file == "-" ? "標準入力" : "「" + options.file + "」";
    std::string bytes;
    if (const InputFileStatus read = ReadInput(options, context, bytes); !read) {
        if (read.error == InputFileError::TooLarge)
            context.err << TooLargeInputMessage(source) << '\n';
        else
            context.err << source << "を読み込めませんでした。\n";
        return kExitFailure;
    }
    const DecodedText decoded = DecodeText(bytes);
    if (!decoded.ok) {
        context.err << source << "の" << decoded.badLine
                    << "行目: 文字コードが UTF-8 でも Shift_JIS でもありません。\n";
        return kExitFailure;
    }

    std::vector<ParsedSetLine> sets;
    int badLines = 0;
    std::size_t lineNo = 0;
    std::string_view text = decoded.text;
    while (!text.empty()) {
        ++lineNo;
        const std::size_t end = text.find('\n');
        const std::string_view raw = text.substr(0, end);
        ParsedSetLine line = ParseSetLine(raw);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.kind == ParsedSetLine::Bad) {
            if (++badLines <= kListedBadLines)
                context.err << source << "の" << lineNo << "行目「" << Excerpt(raw) << "」: " << line.error
                            << '\n';
        } else if (line.kind == ParsedSetLine::Set) {
            sets.push_back(line);
        }
    }
    if (badLines > 0) {
        if (badLines > kListedBadLines)
            context.err << "ほかに " << badLines - kListedBadLines << " 行の誤りがあります。\n";
        context.err
            << "予想番号の行は「001→03 , 11 , 17 , 25 , 38 , 42」か「3 11 17 25 38 42」のように、6個の数字を"
               "空白・コンマ・「、」・「・」・「-」・「/」などで区切って書いて下さい。\n";
        return kExitFailure;
    }
    if (sets.empty()) {
        context.err << source << "に予想番号の行がありません。\n";
        return kExitFailure;
    }

    DrawTable table;
    if (!LoadHistoryTable(options.data, context, table))
        return kExitDataFile;
    if (options.draw < 1 || options.draw > table.Latest()) {
        context.err << "第" << options.draw << "回の当選番号はデータファイル「" << options.data
                    << "」に保存されていません（保存されているのは"
                    << (table.Latest() > 0 ? "第1回〜第" + std::to_string(table.Latest()) + "回" : "0回分")
                    << "です）。\n";
        return kExitFailure;
    }
    const DrawRow& draw = table.row(options.draw);
    if (!IsValidDraw(std::span(draw).first<kSetSize>(), draw[kSetSize])) {
        context.err << "データファイル「" << options.data << "」の第" << options.draw
                    << "回は当選番号として正しくありません（" << DrawRowText(draw) << "）。\n";
        return kExitFailure;
    }

    std::ostream& out = context.out;
    out << "第" << options.draw << "回の当選番号: " << DrawRowText(draw) << "\n\n";
    std::array<int, kPrizeKinds> tally{};
    int row = 0;
    for (const ParsedSetLine& line : sets) {
        ++row;
        const Score score = ScoreSet(line.set, draw);
        ++tally[static_cast<std::size_t>(score.prize)];
        out << PrintedLine(line.label > 0 ? line.label : row, line.set) << "  一致 " << score.matches << "個";
        if (score.matches > 0)
            out << "（" << MatchText(line.set, draw) << "）";
        if (score.bonusHit)
            out << " ボーナス " << NumberText(draw[6]);
        out << "  " << PrizeName(score.prize) << '\n';
    }
    out << '\n';
    for (int k = 0; k < kPrizeKinds; ++k)
        out << (k > 0 ? " / " : "") << PrizeName(static_cast<Prize>(k)) << " "
            << tally[static_cast<std::size_t>(k)] << "口";
    out << "（全" << sets.size() << "口）\n";
    return FinishOutput(context);
}

} // namespace

void AddCheckCommand(CLI::App& app, CliContext& context)
{
    auto options = std::make_shared<CheckOptions>();
    CLI::App* command = AddCommand(
        app, context, "check",
        {"予想番号を保存されている回の当選番号と照らし合わせ、等級を出します",
         "予想番号は印刷・generate と同じ形式（「001→03 , 11 , 17 , 25 , 38 , 42」）か、6個の数字を\n"
         "空白・タブ・コンマ・「、」・「・」・「-」・「/」で区切った行（「3 11 17 25 38 "
         "42」、全角の数字も可）で、\n"
         "UTF-8（Shift_JIS も可）で読みます。数字はどの順でも構いません。当選番号のページから写した行\n"
         "（「第2037回 2025/10/09 03 11 17 25 38 42 "
         "(07)」）は、回・日付・ボーナス数字を除いて読みます。見出しの\n"
         "行「Zentrix Predictor Ver.2.11」と空行は読み飛ばします。等級: 1等 6個一致, 2等 "
         "5個一致とボーナス数字,\n"
         "3等 5個一致, 4等 4個一致, 5等 3個一致。ボーナス数字は2等の判定にだけ使います。誤った行が\n"
         "あれば行番号と理由を示し、照合せずに終了コード 1 で終わります。データファイルは読むだけです。",
         {kExitOk, kExitFailure, kExitUsage, kExitDataFile}},
        [options, &context] { return RunCheck(*options, context); });
    command->add_option("--draw", options->draw, "照らし合わせる回（保存されている回）")
        ->required()
        ->check(WholeNumberWithin(0, static_cast<std::uint64_t>(std::numeric_limits<RecordNo>::max())));
    command->add_option("FILE", options->file, "予想番号のファイル（省略か - なら標準入力）");
    AddReadOnlyDataOption(*command, options->data);
}

} // namespace zentrix::cli
