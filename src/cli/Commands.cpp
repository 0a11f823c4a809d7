// Commands: the top-level application, the list of its subcommands, and the error handling every
// subcommand shares.
#include "Commands.h"

#include "CliMessages.h"
#include "version/Version.h"

#include <CLI/CLI.hpp>
#include <new>
#include <ostream>
#include <stdexcept>

namespace zentrix::cli {

std::unique_ptr<CLI::App> MakeApp()
{
    auto app =
        std::make_unique<CLI::App>("Zentrix: LOTO6 の予想番号をコマンドラインで出します。", "zentrix-cli");
    // Subcommands take the formatter and the help flag from here when they are added.
    app->formatter(MakeJapaneseFormatter());
    app->set_help_flag("-h,--help", "このヘルプを表示して終了します");
    app->set_version_flag("--version", "zentrix-cli (Zentrix) " + std::string(kVersion),
                          "バージョンを表示して終了します");
    app->require_subcommand(1);
    app->footer(ExitCodeHelp());
    return app;
}

CLI::App* AddCommand(CLI::App& app, CliContext& context, const std::string& name, const CommandHelp& help,
                     std::function<int()> run)
{
    CLI::App* command = app.add_subcommand(name, help.description);
    command->footer(help.notes + "\n\n" + ExitCodeHelp(help.exitCodes));
    if (run)
        command->callback([&context, run = std::move(run)] { context.exitCode = run(); });
    return command;
}

void AddAllCommands(CLI::App& app, CliContext& context)
{
    AddGenerateCommand(app, context);
    AddImportCommand(app, context);
    AddExportCommand(app, context);
    AddStatsCommand(app, context);
    AddCountCommand(app, context);
    AddCheckCommand(app, context);
    AddPredictionsCommand(app, context);
    AddWheelCommand(app, context);
}

int RunApp(CLI::App& app, CliContext& context, int argc, const char* const* argv)
{
    context.exitCode = kExitOk;
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // --help arrives as an "error" with status 0; everything else is a usage error.
        if (error.get_exit_code() == 0)
            return app.exit(error, context.out, context.err);
        context.err << app.get_name() << ": " << DescribeParseError(error, app) << '\n'
                    << UsageHint(app) << '\n';
        return kExitUsage;
    } catch (const std::bad_alloc&) {
        // The data file is only ever replaced whole, so nothing is left half-written.
        context.err << "zentrix-cli: メモリが足りないため中止しました。データファイルは変更していません。\n";
        return kExitFailure;
    } catch (const std::exception& error) {
        context.err << "zentrix-cli: 予期しないエラーのため中止しました（" << error.what()
                    << "）。データファイルは変更していません。\n";
        return kExitFailure;
    }
    return context.exitCode;
}

int RunApp(CLI::App& app, CliContext& context, const std::vector<std::string>& args)
{
    std::vector<const char*> argv;
    argv.push_back("zentrix-cli");
    for (const std::string& arg : args)
        argv.push_back(arg.c_str());
    return RunApp(app, context, static_cast<int>(argv.size()), argv.data());
}

} // namespace zentrix::cli
