// PrintedSets: the printed document of a run as text lines, the same as the results window prints.
#pragma once

#include "generator/GenerationSettings.h"

#include <string>
#include <string_view>

namespace zentrix::cli {

inline constexpr std::string_view kPrintHeader = "Zentrix Predictor Ver.2.11";

/// "01" to "43": two digits, a leading zero below 10.
std::string NumberText(int number);

/// "001→" to "100→".
std::string RowLabel(int row);

/// The row label followed at once by the six numbers joined by " , ":
/// "001→03 , 11 , 17 , 25 , 38 , 42".
std::string SetLine(int row, const PredictionSet& set);

} // namespace zentrix::cli
