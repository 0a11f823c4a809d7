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
                    "Zentrix が開いている間も読めます")
        ->capture_default_str();
}

std::unique_ptr<HistoryFile> OpenDataFile(const std::string& name, CliContext& context)
{
    const std::filesystem::path path(name);
    // Only a missing file is "not found"; a link loop, an over-long path or a socket each get
    // their own reason from the open below.
    std::error_code ec;
    const std::filesystem::file_status linked = std::filesystem::symlink_status(path, ec);
    if (ec == std::errc::no_such_file_or_directory || (!ec && !std::filesystem::exists(linked))) {
        context.err << "データファイル「" << name
                    << "」が見つかりません。--data で当選番号のデータファイルを指定して下さい。\n";
        return nullptr;
    }
    // exists() reports a missing target as false with no error, and a link loop as an error.
    if (std::filesystem::is_symlink(linked) && !std::filesystem::exists(path, ec) && !ec) {
        context.err << "データファイル「" << name
                    << "」はシンボリックリンクですが、リンク先が見つかりません。\n";
        return nullptr;
    }
    auto history = std::make_unique<HistoryFile>(path, MakeNativeFileDevice(FileAccess::ReadOnly));
    if (const StoreStatus opened = history->OpenHistory(); !opened) {
        context.err << DescribeStoreError(opened, name) << '\n';
        return nullptr;
    }
    return history;
}

} // namespace zentrix::cli
