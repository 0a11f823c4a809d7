// Commands: the top-level application, the list of its subcommands, and the error handling every
// subcommand shares.
#include "Commands.h"

#include <CLI/CLI.hpp>
#include <ostream>

namespace zentrix::cli {

std::unique_ptr<CLI::App> MakeApp()
{
    auto app =
        std::make_unique<CLI::App>("Zentrix: LOTO6 の予想番号をコマンドラインで出します。", "zentrix-cli");
    app->set_help_flag("-h,--help", "このヘルプを表示して終了します");
    app->require_subcommand(1);
    app->footer(std::string(kExitCodeHelp));
    return app;
}

void AddAllCommands(CLI::App& app, CliContext& context)
{
    AddGenerateCommand(app, context);
    AddImportCommand(app, context);
    AddExportCommand(app, context);
    AddStatsCommand(app, context);
    AddCountCommand(app, context);
    AddCheckCommand(app, context);
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
        context.err << "zentrix-cli: オプションの誤り: " << error.what() << '\n'
                    << "使い方は zentrix-cli --help または zentrix-cli generate --help で表示します。\n";
        return kExitUsage;
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
