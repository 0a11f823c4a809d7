// StartOptions: the few command-line options of the desktop program, read without Qt so that
// --help and --version answer on a machine without a display.
#pragma once

#include <string>
#include <vector>

namespace zentrix::app {

enum class StartAction
{
    Run,         ///< no options: open the main window
    ShowHelp,    ///< -h or --help
    ShowVersion, ///< --version
    Refuse,      ///< an argument the program does not take
};

struct StartRequest
{
    StartAction action = StartAction::Run;
    std::string refused; ///< the first argument not understood, for Refuse
};

/// Reads the arguments that follow the program name. The first -h, --help or --version decides,
/// wherever it stands; otherwise any argument at all is refused, since the program takes none
/// (Qt's own options such as -style are removed by QApplication before the second reading).
StartRequest ReadStartOptions(const std::vector<std::string>& args);

/// `zentrix --help`: usage, what the program does, where its data file lives, the options.
std::string StartHelpText();

/// `zentrix --version`: one line with the program, the package and the release number.
std::string StartVersionText();

/// The message for a refused argument, with a hint to --help.
std::string StartRefusalText(const StartRequest& request);

} // namespace zentrix::app
