// StatsViews: the statistics as the tables and charts both front ends show, so the window and
// `zentrix-cli stats --view` print the very same figures.
#pragma once

#include "analysis/HistoryStatistics.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentrix::analysis {

enum class StatsView
{
    Gaps,        ///< 出現間隔
    Hot,         ///< ホット・コールド: 出現回数 and 出現率 against the expectation
    Carry,       ///< 引っ張り
    Slide,       ///< スライド
    Consecutive, ///< 連番
    Digits,      ///< 下ヒトケタ
    Sum,         ///< 合計値
    Parity,      ///< 奇数・偶数
    Pairs,       ///< ペア
};

inline constexpr std::array<StatsView, 9> kAllViews{
    StatsView::Gaps,   StatsView::Hot, StatsView::Carry,  StatsView::Slide, StatsView::Consecutive,
    StatsView::Digits, StatsView::Sum, StatsView::Parity, StatsView::Pairs};

/// The command-line name: "gaps", "hot", "carry", "slide", "consecutive", "digits", "sum",
/// "parity", "pairs".
std::string_view ViewKey(StatsView view);
/// The Japanese name of the view, for tabs and headings.
std::string_view ViewTitle(StatsView view);
std::optional<StatsView> ViewFromKey(std::string_view key);

/// One table cell: its text and the value it sorts by.
struct TableCell
{
    std::string text;
    double sortKey = 0;
};

struct ViewTable
{
    std::string caption;
    std::vector<std::string> headers;
    std::vector<std::vector<TableCell>> rows;
};

struct ChartBar
{
    std::string label;
    double value = 0;
};

/// A bar chart: one bar per entry, left to right, and an optional dashed reference line (such as
/// the expected count).
struct ChartData
{
    std::string title;
    std::string xTitle;
    std::string yTitle;
    std::vector<ChartBar> bars;
    std::optional<double> reference;
    std::string referenceLabel;
};

struct ViewReport
{
    StatsView view = StatsView::Gaps;
    std::vector<std::string> notes; ///< what is counted, and summary figures, one sentence each
    std::vector<ViewTable> tables;
    ChartData chart;
};

/// How many pairs the pairs view lists.
inline constexpr int kListedPairs = 30;

/// The range as players say it: "第1回〜第2037回（2037回分）".
std::string DescribeRange(const HistoryStatistics& stats);

ViewReport BuildViewReport(const HistoryStatistics& stats, StatsView view);

/// Text helpers shared by the views and the rule meter.
std::string FixedText(double value, int decimals);
std::string PercentText(std::int64_t part, std::int64_t whole, int decimals = 1);
std::string GroupedDigits(std::int64_t value);
std::string TwoDigits(int n);

} // namespace zentrix::analysis
