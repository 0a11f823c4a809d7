// ChartSvg: a statistics chart as a self-contained SVG document.
#pragma once

#include "analysis/StatsViews.h"

#include <string>
#include <string_view>

namespace zentrix::analysis {

/// Escapes &, <, >, " and ' for XML, and drops control characters XML 1.0 does not allow.
std::string EscapeXmlText(std::string_view text);

/// The chart drawn with the same layout the window uses: a title, a vertical axis with a few round
/// ticks, one bar per entry with its label underneath (turned when the labels are long), the
/// reference line if any, and both axis titles.
std::string ChartSvg(const ChartData& chart);

/// The top of the vertical axis: a round value at or above the largest bar and the reference,
/// and the step between ticks. Shared with the window's painter so both draw the same axis.
struct ChartScale
{
    double top = 1;
    double step = 1;
};
ChartScale ScaleFor(const ChartData& chart);

} // namespace zentrix::analysis
