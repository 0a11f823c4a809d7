// WeightChart: the 43 weights of a run as a bar chart in SVG.
#pragma once

#include "generator/WeightTable.h"

#include <string>
#include <string_view>

namespace zentrix::cli {

/// Escapes &, <, >, " and ' for XML text and attribute values.
std::string EscapeXml(std::string_view text);

/// A self-contained SVG document: a title, one bar per number 1..43 from left to right, the
/// numbers under the bars, and the largest weight on the vertical axis. All weights 0 give an
/// empty chart with its axes.
std::string WeightChartSvg(const WeightTable& weights, std::string_view title);

} // namespace zentrix::cli
