// DataFile: the existence check, the read-only open and their messages.
#include "DataFile.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <ostream>

namespace zentrix::cli {

void AddReadOnlyDataOption(CLI::App& command, std::string& data)
{
    command
        .add_option("--data", data,
                    "当選番号のデータファイル（無ければ作らずにエラー）。"
                    "Zentrix が開いている間は使用中のため読めません")
        ->capture_default_str();
}

std::unique_ptr<HistoryFile> OpenDataFile(const std::string& name, CliContext& context)
{
    const std::filesystem::path path(name);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        context.err << "データファイル「" << name
                    << "」が見つかりません。--data で当選番号のデータファイルを指定して下さい。\n";
        return nullptr;
    }
    auto history = std::make_unique<HistoryFile>(path, MakeNativeFileDevice(FileAccess::ReadOnly));
    if (const StoreStatus opened = history->OpenHistory(); !opened) {
        context.err << DescribeStoreError(opened, name) << '\n';
        if (opened.error == StoreError::InUse)
            context.err << "Zentrix がこのデータファイルを開いている間は読めません。Zentrix を終了してから、"
                           "もう一度実行して下さい。\n";
        return nullptr;
    }
    return history;
}

} // namespace zentrix::cli
