// StatsViewReport: the analysis layer's views printed for a terminal.
#include "StatsViewReport.h"

#include "AlignedTable.h"
#include "CommandIo.h"
#include "analysis/ChartSvg.h"
#include "analysis/StatsViews.h"
#include "store/OutputFile.h"

#include <ostream>

namespace zentrix::cli {

std::vector<std::string> StatsViewKeys()
{
    std::vector<std::string> keys;
    for (const analysis::StatsView view : analysis::kAllViews)
        keys.emplace_back(analysis::ViewKey(view));
    return keys;
}

bool WriteChartFile(const std::string& target, const std::string& svg, const std::string& dataFile,
                    CliContext& context)
{
    const OutputStatus written = WriteOutputFile(target, svg, GuardedFiles(dataFile));
    if (!written) {
        context.err << DescribeOutputError(written, target) << '\n';
        return false;
    }
    return true;
}

int RunStatsView(const DrawTable& table, const StatsViewRequest& request, CliContext& context)
{
    const auto view = analysis::ViewFromKey(request.view);
    if (!view) {
        context.err << "統計の種類「" << request.view << "」はありません。\n";
        return kExitUsage;
    }
    const analysis::HistoryStatistics stats =
        analysis::ComputeHistoryStatistics(table, analysis::LatestDraws(table, request.last));
    const analysis::ViewReport report = analysis::BuildViewReport(stats, *view);

    std::ostream& out = context.out;
    out << "データファイル「" << request.data << "」: " << analysis::ViewTitle(*view) << " "
        << analysis::DescribeRange(stats) << '\n';
    if (request.last > table.Latest())
        out << "（保存されている当選番号は" << table.Latest() << "回分なので、全回を数えました）\n";
    for (const std::string& note : report.notes)
        out << note << '\n';
    for (const analysis::ViewTable& table : report.tables) {
        out << '\n';
        if (!table.caption.empty())
            out << "【" << table.caption << "】\n";
        std::vector<std::vector<std::string>> rows{table.headers};
        for (const auto& row : table.rows) {
            std::vector<std::string> cells;
            for (const analysis::TableCell& cell : row)
                cells.push_back(cell.text);
            rows.push_back(std::move(cells));
        }
        out << AlignedTable(rows);
    }
    if (const int printed = FinishOutput(context); printed != kExitOk)
        return printed;
    if (!request.svg.empty()) {
        if (!WriteChartFile(request.svg, analysis::ChartSvg(report.chart), request.data, context))
            return kExitFailure;
        out << "\nグラフを「" << request.svg << "」に書きました。\n";
    }
    return FinishOutput(context);
}

} // namespace zentrix::cli
