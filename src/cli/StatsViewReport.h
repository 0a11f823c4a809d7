// StatsViewReport: `zentrix-cli stats --view`, one statistics view as aligned tables and a chart.
#pragma once

#include "Commands.h"
#include "generator/DrawTable.h"

#include <string>
#include <string_view>
#include <vector>

namespace zentrix::cli {

/// The option's help: the view names and what each shows.
inline constexpr std::string_view kStatsViewHelp =
    "表示する統計: gaps 出現間隔, hot ホット・コールド（出現回数・出現率）, carry 引っ張り, slide スライド,\n"
    "consecutive 連番, digits 下ヒトケタ, sum 合計値, parity 奇数・偶数, pairs ペア";

/// "gaps", "hot", … in the order the help lists them.
std::vector<std::string> StatsViewKeys();

struct StatsViewRequest
{
    std::string data; ///< the data file's name, for the heading and to keep the chart off it
    std::string view;
    RecordNo last = 0; ///< the latest N draws; 0 for all
    std::string svg;   ///< where to write the chart, empty for none
};

/// Prints the view's notes and tables for the requested range and writes its chart when asked.
int RunStatsView(const DrawTable& table, const StatsViewRequest& request, CliContext& context);

/// Writes a chart through the statistics' one output function; on failure says why on context.err.
bool WriteChartFile(const std::string& target, const std::string& svg, const std::string& dataFile,
                    CliContext& context);

} // namespace zentrix::cli
