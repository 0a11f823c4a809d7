// DataFile: opening the history file named on the command line, the same way for every subcommand.
#pragma once

#include "Commands.h"
#include "store/HistoryFile.h"

#include <memory>
#include <string>

namespace zentrix::cli {

/// Opens an existing history file read-only (never creating or changing it). On failure writes the
/// reason in Japanese to context.err and returns nullptr; the command then exits with kExitDataFile.
std::unique_ptr<HistoryFile> OpenDataFile(const std::string& name, CliContext& context);

} // namespace zentrix::cli
