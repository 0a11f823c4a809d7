// ReportText: the small pieces of text the reporting commands (stats, count, check) share.
#pragma once

#include "generator/DrawTable.h"

#include <cstdint>
#include <string>

namespace zentrix::cli {

/// 6096454 -> "6,096,454".
std::string GroupDigits(std::int64_t value);

/// part / whole as a percentage with `decimals` places: "2.03%"; "-" when whole is 0.
std::string Percent(std::int64_t part, std::int64_t whole, int decimals = 2);

} // namespace zentrix::cli
