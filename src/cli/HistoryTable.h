// HistoryTable: the stored draws of a data file as the engine's DrawTable, for the reporting commands.
#pragma once

#include "Commands.h"
#include "generator/DrawTable.h"

#include <string>

namespace zentrix::cli {

/// Opens the data file read-only and reads draws 1..Latest into `table`. On failure writes the
/// reason to context.err and returns false; the command then exits with kExitDataFile.
bool LoadHistoryTable(const std::string& data, CliContext& context, DrawTable& table);

} // namespace zentrix::cli
