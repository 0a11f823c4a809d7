// HistoryTable: the stored draws of a data file as the engine's DrawTable, for the reporting commands.
#pragma once

#include "Commands.h"
#include "generator/DrawTable.h"

#include <string>

namespace zentrix::cli {

/// Opens the data file read-only and reads draws 1..Latest into `table`. On failure writes the
/// reason to context.err and returns false; the command then exits with kExitDataFile.
bool LoadHistoryTable(const std::string& data, CliContext& context, DrawTable& table);

/// "01 , 02 , 10 , 13 , 27 , 30 ボーナス 39": a stored draw for reports.
std::string DrawRowText(const DrawRow& row);

/// 6096454 -> "6,096,454".
std::string GroupDigits(std::int64_t value);

/// part / whole as a percentage with `decimals` places: "2.03%"; "-" when whole is 0.
std::string Percent(std::int64_t part, std::int64_t whole, int decimals = 2);

} // namespace zentrix::cli
