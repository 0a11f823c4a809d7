// ExportCommand: `zentrix-cli export`, the stored draws as CSV on standard output.
#include "CliMessages.h"
#include "CommandIo.h"
#include "Commands.h"
#include "DataFile.h"
#include "history_io/CsvHistory.h"

#include <CLI/CLI.hpp>
#include <ostream>

namespace zentrix::cli {
namespace {

int RunExport(const std::string& data, CliContext& context)
{
    const std::unique_ptr<HistoryFile> history = OpenDataFile(data, context);
    if (!history)
        return kExitDataFile;
    // Everything is read before anything is written, so a failed read prints no partial CSV.
    std::vector<DrawRecord> draws;
    if (const StoreStatus read = ReadStoredDraws(*history, draws); !read) {
        context.err << DescribeStoreError(read, data) << '\n';
        return kExitDataFile;
    }
    context.out << HistoryCsvText(draws, CsvLayout::Plain);
    return FinishOutput(context);
}

} // namespace

void AddExportCommand(CLI::App& app, CliContext& context)
{
    auto data = std::make_shared<std::string>(HistoryFile::kDefaultFileName);
    CLI::App* command = AddCommand(
        app, context, "export",
        {"保存されている当選番号を CSV で標準出力に書きます",
         "形式は draw,date,n1,n2,n3,n4,n5,n6,bonus の見出しと1回1行（UTF-8）で、import で読み戻せます。\n"
         "データファイルは日付を持たないため、date の列は空です。本数字は保存されている順に書きます。\n"
         "途中の空きレコード（当選番号の無い回）は回の番号だけの行になります。\n"
         "データファイルは読むだけで、作成も変更もしません。",
         {kExitOk, kExitFailure, kExitUsage, kExitDataFile}},
        [data, &context] { return RunExport(*data, context); });
    AddReadOnlyDataOption(*command, *data);
}

} // namespace zentrix::cli
