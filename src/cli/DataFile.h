// DataFile: opening the history file named on the command line, the same way for every subcommand.
#pragma once

#include "Commands.h"
#include "store/HistoryFile.h"

#include <memory>
#include <string>

namespace CLI {
class App;
}

namespace zentrix::cli {

/// Adds `--data PATH` (default Loto6data.dt) for a command that only reads the history file.
void AddReadOnlyDataOption(CLI::App& command, std::string& data);

/// Opens an existing history file read-only (never creating or changing it). On failure writes the
/// reason in Japanese to context.err and returns nullptr; the command then exits with kExitDataFile.
std::unique_ptr<HistoryFile> OpenDataFile(const std::string& name, CliContext& context);

} // namespace zentrix::cli
