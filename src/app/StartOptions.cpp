// StartOptions: reading and answering the desktop program's command-line options.
#include "StartOptions.h"

#include "version/Version.h"

namespace zentrix::app {

StartRequest ReadStartOptions(const std::vector<std::string>& args)
{
    StartRequest request;
    for (const std::string& arg : args) {
        if (arg == "-h" || arg == "--help")
            return {StartAction::ShowHelp, {}};
        if (arg == "--version")
            return {StartAction::ShowVersion, {}};
        if (request.action == StartAction::Run)
            request = {StartAction::Refuse, arg};
    }
    return request;
}

std::string StartHelpText()
{
    return "使い方: zentrix [オプション]\n"
           "\n"
           "Zentrix は LOTO6（ロト６）の予想番号を出すデスクトッププログラムです。\n"
           "当選番号の履歴は、起動したフォルダーのデータファイル Loto6data.dt に保存します\n"
           "（無ければ空のファイルを作ります）。アプリケーションメニューから起動したときは\n"
           "ホームフォルダーの Loto6data.dt です。\n"
           "\n"
           "オプション:\n"
           "  -h, --help     このヘルプを表示して終了します\n"
           "  --version      バージョンを表示して終了します\n"
           "\n"
           "-style などの Qt の標準のオプションも使えます。コマンドラインで予想番号を出すには\n"
           "zentrix-cli を使います（zentrix-cli --help、man zentrix-cli）。\n";
}

std::string StartVersionText()
{
    return "zentrix (Zentrix) " + std::string(kVersion) + "\n";
}

std::string StartRefusalText(const StartRequest& request)
{
    return "zentrix: 使えない引数です: " + request.refused + "\n使い方は zentrix --help で表示します。\n";
}

} // namespace zentrix::app
