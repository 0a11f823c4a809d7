// Commands: the pieces of zentrix-cli. Each subcommand has one registration function (defined in
// its <Name>Command.cpp) that adds it to the application; AddAllCommands in Commands.cpp lists them
// all for main.cpp, and tests do the same with their own streams.
#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace CLI {
class App;
}

namespace zentrix::cli {

/// Exit statuses of zentrix-cli; every subcommand uses these.
enum ExitCode : int
{
    kExitOk = 0,
    kExitFailure = 1,       ///< anything not listed below
    kExitUsage = 2,         ///< bad options or arguments
    kExitDataFile = 3,      ///< the data file is missing, in use or unreadable
    kExitContradiction = 4, ///< carry and even/odd settings contradict each other
    kExitTooFewDraws = 5,   ///< fewer than two stored draws
    kExitNoPassingSet = 6,  ///< no set that can be drawn passes the settings
    kExitTooSlow = 7,       ///< passing sets are too rare to find in time
    kExitNoDraws = 8,       ///< the data file holds no draw at all (stats)
};

/// Where a command writes, and the status it leaves for main() to return.
struct CliContext
{
    std::ostream& out;
    std::ostream& err;
    int exitCode = kExitOk;
    std::istream* in = nullptr; ///< standard input for commands that read it; nullptr means std::cin
};

/// What a subcommand's help says besides its options: one line in the list of subcommands, the
/// notes under the options, and the exit statuses it can return.
struct CommandHelp
{
    std::string description;
    std::string notes;
    std::vector<ExitCode> exitCodes;
};

/// Adds the subcommand `name` with its help; when it is chosen, `run` (if any) gives the status
/// main() returns. The options are added to the returned subcommand.
CLI::App* AddCommand(CLI::App& app, CliContext& context, const std::string& name, const CommandHelp& help,
                     std::function<int()> run);

/// The top-level application: its name, description, and one required subcommand.
std::unique_ptr<CLI::App> MakeApp();

/// Parses the arguments (argv[0] is the program name) and runs the chosen subcommand. Help goes
/// to context.out with status 0; bad options get a message and a hint on context.err, status 2.
int RunApp(CLI::App& app, CliContext& context, int argc, const char* const* argv);
/// The same for a list of arguments without the program name.
int RunApp(CLI::App& app, CliContext& context, const std::vector<std::string>& args);

/// `generate`: runs the prediction engine on a history file and prints the sets.
void AddGenerateCommand(CLI::App& app, CliContext& context);

/// `import`: appends the draws of a results CSV to the history file, all or nothing.
void AddImportCommand(CLI::App& app, CliContext& context);

/// `export`: the stored draws as CSV on standard output.
void AddExportCommand(CLI::App& app, CliContext& context);

/// `stats`: per-number statistics and the weights a run would draw with.
void AddStatsCommand(CLI::App& app, CliContext& context);

/// `count`: how many sets pass the set rules, and how many stored draws would have passed them.
void AddCountCommand(CLI::App& app, CliContext& context);

/// `check`: scores printed sets against a stored draw with the prize tiers.
void AddCheckCommand(CLI::App& app, CliContext& context);

/// `wheel`: a wheel with a proved guarantee for the picked numbers, in the printed format.
void AddWheelCommand(CLI::App& app, CliContext& context);

/// `predictions`: the saved batches listed, shown, scored against the history, exported and deleted.
void AddPredictionsCommand(CLI::App& app, CliContext& context);

/// Every subcommand, in the order the help lists them.
void AddAllCommands(CLI::App& app, CliContext& context);

} // namespace zentrix::cli
