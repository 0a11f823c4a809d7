// ImportCommand: `zentrix-cli import`, a results CSV appended to the history file, all or nothing.
#include "CliMessages.h"
#include "CommandIo.h"
#include "Commands.h"
#include "history_io/CsvHistory.h"
#include "history_io/HistoryImport.h"
#include "history_io/InputFile.h"
#include "store/HistoryFile.h"

#include <CLI/CLI.hpp>
#include <fstream>
#include <iterator>
#include <ostream>

namespace zentrix::cli {
namespace {

struct ImportOptions
{
    std::string csv;
    std::string data{HistoryFile::kDefaultFileName};
};

int RunImport(const ImportOptions& options, CliContext& context)
{
    const std::string stopped = "取り込みを中止しました。データファイルは変更していません。";
    std::string bytes;
    if (const InputFileStatus read = ReadInputBytes(options.csv, bytes); !read) {
        context.err << DescribeInputFileError(read, "CSV ファイル「" + options.csv + "」") << '\n'
                    << stopped << '\n';
        return kExitFailure;
    }
    const CsvReadResult csv = ReadHistoryCsv(bytes);
    if (!csv.ok) {
        context.err << "「" << options.csv << "」";
        if (csv.errorLine > 0)
            context.err << "の" << csv.errorLine << "行目";
        context.err << ": " << csv.error << '\n' << stopped << '\n';
        return kExitFailure;
    }
    for (const CsvWarning& warning : csv.warnings)
        context.err << "「" << options.csv << "」の" << warning.line << "行目: 注意: " << warning.text
                    << '\n';

    const ImportResult result = ImportDraws(options.data, options.data, csv.draws);
    if (result.error != ImportError::None) {
        if (result.csvLine > 0)
            context.err << "「" << options.csv << "」の" << result.csvLine << "行目: ";
        context.err << result.message << '\n';
        const bool dataFile = result.error == ImportError::DataFile || result.error == ImportError::InUse;
        return dataFile ? kExitDataFile : kExitFailure;
    }
    const RecordNo latest = result.latestAfter;
    if (result.added > 0)
        context.out << "第" << result.latestBefore + 1 << "回〜第" << latest << "回の" << result.added
                    << "回分を取り込みました";
    else
        context.out << "新しく取り込む当選番号はありませんでした（0回分）";
    context.out << "（保存済みと同じため飛ばした行: " << result.skipped
                << "回分、文字コード: " << EncodingName(csv.encoding) << "）。\n";
    if (result.emptyAdded > 0)
        context.out << "そのうち " << result.emptyAdded
                    << "回分は CSV に当選番号が無いため、空きレコードにしました。\n";
    if (result.filled > 0)
        context.out << "データファイルの途中の空きレコード " << result.filled
                    << "回分にも CSV の当選番号を入れました。\n";
    context.out << "データファイル「" << options.data << "」の最新は第" << latest << "回です。\n";
    if (FinishOutput(context) != kExitOk) {
        // The draws are stored: a summary that could not be printed does not undo that.
        context.err << "取り込みは完了しています（データファイル「" << options.data << "」の最新は第"
                    << latest << "回）。\n";
    }
    return kExitOk;
}

} // namespace

void AddImportCommand(CLI::App& app, CliContext& context)
{
    auto options = std::make_shared<ImportOptions>();
    CLI::App* command = AddCommand(
        app, context, "import",
        {"当選番号の CSV ファイルをデータファイルに取り込みます",
         "CSV の1行目は見出しです。列は名前で探します: 開催回（回別）、第1数字〜第6数字（本数字1〜6）、\n"
         "ボーナス数字、または英語の draw,date,n1,…,n6,bonus。開催回は回号、ボーナス数字は BONUS数字 でも\n"
         "構いません（英字の大文字・小文字、全角・半角を問いません）。日付とその他の列は読みません。\n"
         "文字コードは UTF-8（BOM の有無を問わず）か Shift_JIS（CP932）で、自動で判別します。\n"
         "開催回は1ずつ増える順か、1ずつ減る順（新しい回が上）に並べます。本数字とボーナス数字は1〜43。\n"
         "本数字に同じ数字が2回ある行や、ボーナス数字が本数字の中にある行は、注意を出して取り込みます。\n"
         "本数字はどの順でも構いません。データファイルには小さい順に保存します。\n"
         "保存済みの回と同じ番号の行は飛ばし、違う番号の行があれば中止します。新しい回はデータファイルの\n"
         "最新の回の次から続けます。誤りが1行でもあれば何も書き込まず、行番号と理由を示して中止します。\n"
         "書き込みはデータファイルの隣に作った複製に行い、最後に置き換えるので、途中で失敗しても\n"
         "データファイルは元のままです。データファイルが無ければ作ります。Zentrix が同じデータファイルを\n"
         "開いている間は、Zentrix のメニュー「ファイル → 当選番号の取り込み…」で取り込みます。",
         {kExitOk, kExitFailure, kExitUsage, kExitDataFile}},
        [options, &context] { return RunImport(*options, context); });
    command->add_option("FILE", options->csv, "取り込む CSV ファイル")->required();
    command->add_option("--data", options->data, "当選番号のデータファイル（無ければ作ります）")
        ->capture_default_str();
}

} // namespace zentrix::cli
