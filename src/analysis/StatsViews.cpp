// StatsViews: turning HistoryStatistics into rows of text, sort keys and chart bars.
#include "analysis/StatsViews.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

namespace zentrix::analysis {
namespace {

constexpr double kMainShare = double(kSetSize) / double(kNumberCount);

TableCell Count(std::int64_t value)
{
    return {std::to_string(value), double(value)};
}

TableCell Text(std::string text, double key)
{
    return {std::move(text), key};
}

TableCell Share(std::int64_t part, std::int64_t whole)
{
    return {PercentText(part, whole), whole > 0 ? double(part) / double(whole) : 0.0};
}

TableCell Number(int n)
{
    return {TwoDigits(n), double(n)};
}

/// A distribution over k = 0..size-1 as a table of "k個", draws and their share, and its chart.
void AddDistribution(ViewReport& report, const std::string& kind, const std::string& unit,
                     const std::int64_t* counts, std::size_t size, std::int64_t whole)
{
    ViewTable table;
    table.headers = {kind, "回数", "割合"};
    for (std::size_t k = 0; k < size; ++k) {
        table.rows.push_back(
            {Text(std::to_string(k) + unit, double(k)), Count(counts[k]), Share(counts[k], whole)});
        report.chart.bars.push_back({std::to_string(k) + unit, double(counts[k])});
    }
    report.tables.push_back(std::move(table));
}

ViewReport GapsView(const HistoryStatistics& stats)
{
    ViewReport report;
    report.notes = {"本数字のみを数えます（ボーナス数字は含みません）。",
                    "出現間隔は前に出た回からの回数の差です（続けて出れば 1）。今の間隔は最後に出てから"
                    "の回数で、範囲内に出ていない数字は範囲の回数以上です。"};
    ViewTable table;
    table.headers = {"数字", "出現回数", "最後に出た回", "今の間隔", "最長間隔", "平均間隔"};
    for (int n = kLowestNumber; n <= kHighestNumber; ++n) {
        const NumberFigures& f = stats.of(n);
        const bool seen = f.lastSeen != 0;
        table.rows.push_back({Number(n), Count(f.mainCount),
                              Text(seen ? "第" + std::to_string(f.lastSeen) + "回" : "-", double(f.lastSeen)),
                              Text(std::to_string(f.currentGap) + (seen ? "" : "以上"), double(f.currentGap)),
                              Count(f.longestGap),
                              Text(f.gapCount > 0 ? FixedText(f.averageGap(), 1) : "-", f.averageGap())});
        report.chart.bars.push_back({std::to_string(n), double(f.currentGap)});
    }
    report.tables.push_back(std::move(table));
    report.chart.title = "今の出現間隔（本数字）";
    report.chart.xTitle = "数字";
    report.chart.yTitle = "最後に出てからの回数";
    return report;
}

ViewReport HotView(const HistoryStatistics& stats)
{
    ViewReport report;
    const double expected = double(stats.draws) * kMainShare;
    const double deviation = std::sqrt(double(stats.draws) * kMainShare * (1 - kMainShare));
    report.notes = {
        "出現回数は本数字として出た回数、ボーナスはボーナス数字として出た回数です。出現率は本数字として出た"
        "回の割合です。",
        "期待値は回数 × 6/43 = " + FixedText(expected, 1) + " 回。差が標準偏差 " + FixedText(deviation, 1) +
            " 回以上多い数字をホット、以上少ない数字をコールドとします。"};
    ViewTable table;
    table.headers = {"数字", "出現回数", "ボーナス", "出現率", "期待値との差", "判定"};
    for (int n = kLowestNumber; n <= kHighestNumber; ++n) {
        const NumberFigures& f = stats.of(n);
        const double difference = double(f.mainCount) - expected;
        std::string mark;
        if (stats.draws > 0 && difference >= deviation)
            mark = "ホット";
        else if (stats.draws > 0 && difference <= -deviation)
            mark = "コールド";
        const double markKey = mark == "ホット" ? 1 : mark.empty() ? 0 : -1;
        table.rows.push_back(
            {Number(n), Count(f.mainCount), Count(f.bonusCount), Share(f.mainCount, stats.draws),
             Text((difference > 0 ? "+" : "") + FixedText(difference, 1), difference), Text(mark, markKey)});
        report.chart.bars.push_back({std::to_string(n), double(f.mainCount)});
    }
    report.tables.push_back(std::move(table));
    report.chart.title = "出現回数（本数字）";
    report.chart.xTitle = "数字";
    report.chart.yTitle = "回数";
    report.chart.reference = expected;
    report.chart.referenceLabel = "期待値 " + FixedText(expected, 1);
    return report;
}

ViewReport CarryView(const HistoryStatistics& stats)
{
    ViewReport report;
    report.notes = {"各回の本数字のうち、前回の本数字と同じものの個数です（" +
                        std::to_string(stats.judgedDraws) +
                        "回分）。「ボーナス含む」は前回のボーナス数字も"
                        "同じと数えます。",
                    "数字ごとの引っ張り率は、前回に出たときに次の回も続けて出た割合です。"};
    ViewTable distribution;
    distribution.caption = "1回あたりの引っ張り";
    distribution.headers = {"引っ張り", "回数", "割合", "ボーナス含む", "割合"};
    for (std::size_t k = 0; k < stats.carry.size(); ++k) {
        distribution.rows.push_back({Text(std::to_string(k) + "個", double(k)), Count(stats.carry[k]),
                                     Share(stats.carry[k], stats.judgedDraws), Count(stats.carryWithBonus[k]),
                                     Share(stats.carryWithBonus[k], stats.judgedDraws)});
        report.chart.bars.push_back({std::to_string(k) + "個", double(stats.carry[k])});
    }
    report.tables.push_back(std::move(distribution));

    ViewTable perNumber;
    perNumber.caption = "数字ごとの引っ張り";
    perNumber.headers = {"数字", "前回に出た回数", "引っ張り回数", "引っ張り率"};
    for (int n = kLowestNumber; n <= kHighestNumber; ++n) {
        const NumberFigures& f = stats.of(n);
        perNumber.rows.push_back(
            {Number(n), Count(f.carryChances), Count(f.carried), Share(f.carried, f.carryChances)});
    }
    report.tables.push_back(std::move(perNumber));
    report.chart.title = "1回あたりの引っ張りの個数（本数字）";
    report.chart.xTitle = "前回と同じ数字の個数";
    report.chart.yTitle = "回数";
    return report;
}

ViewReport SlideView(const HistoryStatistics& stats)
{
    ViewReport report;
    report.notes = {"各回の本数字のうち、前回の本数字のどれかと ±1 違うもの（スライド）の個数です（" +
                    std::to_string(stats.judgedDraws) + "回分、ボーナス数字は含みません）。"};
    AddDistribution(report, "スライド", "個", stats.slide.data(), stats.slide.size(), stats.judgedDraws);
    report.chart.title = "1回あたりのスライドの個数（本数字）";
    report.chart.xTitle = "前回の数字の隣の個数";
    report.chart.yTitle = "回数";
    return report;
}

ViewReport ConsecutiveView(const HistoryStatistics& stats)
{
    ViewReport report;
    const std::int64_t withPair = stats.draws - stats.consecutive[0];
    report.notes = {"各回の本数字に、差が 1 の組（連番）がいくつあるかです。3連番は2組と数えます。",
                    "連番を含む回: " + std::to_string(withPair) + " / " + std::to_string(stats.draws) + "（" +
                        PercentText(withPair, stats.draws) + "）"};
    AddDistribution(report, "連番", "組", stats.consecutive.data(), stats.consecutive.size(), stats.draws);
    report.chart.title = "1回あたりの連番の組数（本数字）";
    report.chart.xTitle = "連番の組数";
    report.chart.yTitle = "回数";
    return report;
}

ViewReport DigitsView(const HistoryStatistics& stats)
{
    ViewReport report;
    report.notes = {"本数字を一の位（下ヒトケタ）で分けた出現回数です。期待値は一の位ごとの数字の個数に比例"
                    "します。",
                    "同じ下ヒトケタの数字が2個以上ある回: " + std::to_string(stats.sharedDigitDraws) + " / " +
                        std::to_string(stats.draws) + "（" +
                        PercentText(stats.sharedDigitDraws, stats.draws) + "）"};
    ViewTable table;
    table.headers = {"下ヒトケタ", "数字の個数", "出現回数", "期待値", "期待値との差"};
    for (int g = 0; g < kDigitGroups; ++g) {
        const double expected = double(stats.draws) * kSetSize * NumbersWithLastDigit(g) / kNumberCount;
        const std::int64_t count = stats.digits[static_cast<std::size_t>(g)];
        const double difference = double(count) - expected;
        table.rows.push_back({Text(std::to_string(g), g), Count(NumbersWithLastDigit(g)), Count(count),
                              Text(FixedText(expected, 1), expected),
                              Text((difference > 0 ? "+" : "") + FixedText(difference, 1), difference)});
        report.chart.bars.push_back({std::to_string(g), double(count)});
    }
    report.tables.push_back(std::move(table));
    report.chart.title = "下ヒトケタ別の出現回数（本数字）";
    report.chart.xTitle = "下ヒトケタ";
    report.chart.yTitle = "回数";
    return report;
}

ViewReport SumView(const HistoryStatistics& stats)
{
    ViewReport report;
    report.notes = {"本数字6個の合計です（ボーナス数字は含みません）。",
                    stats.draws > 0
                        ? "平均 " + FixedText(stats.sumMean(), 1) + "、最小 " + std::to_string(stats.sumMin) +
                              "、最大 " + std::to_string(stats.sumMax)
                        : "数える回がありません。"};
    ViewTable table;
    table.headers = {"合計値", "回数", "割合"};
    for (int b = 0; b < kSumBins; ++b) {
        const int low = kLowestSumBin + b * kSumBinWidth;
        const std::int64_t count = stats.sumBins[static_cast<std::size_t>(b)];
        const std::string label = std::to_string(low) + "〜" + std::to_string(low + kSumBinWidth - 1);
        table.rows.push_back({Text(label, low), Count(count), Share(count, stats.draws)});
        report.chart.bars.push_back({std::to_string(low), double(count)});
    }
    report.tables.push_back(std::move(table));
    report.chart.title = "合計値の分布（本数字、10 きざみ）";
    report.chart.xTitle = "合計値（各区間の下限）";
    report.chart.yTitle = "回数";
    return report;
}

ViewReport ParityView(const HistoryStatistics& stats)
{
    ViewReport report;
    report.notes = {"本数字6個の偶数と奇数の個数です（ボーナス数字は含みません）。"};
    ViewTable table;
    table.headers = {"偶数 : 奇数", "回数", "割合"};
    for (int even = kSetSize; even >= 0; --even) {
        const std::int64_t count = stats.evens[static_cast<std::size_t>(even)];
        const std::string label = std::to_string(even) + " : " + std::to_string(kSetSize - even);
        table.rows.push_back({Text(label, even), Count(count), Share(count, stats.draws)});
        report.chart.bars.push_back({label, double(count)});
    }
    report.tables.push_back(std::move(table));
    report.chart.title = "偶数 : 奇数の分かれ方（本数字）";
    report.chart.xTitle = "偶数 : 奇数";
    report.chart.yTitle = "回数";
    return report;
}

ViewReport PairsView(const HistoryStatistics& stats)
{
    ViewReport report;
    // Of the C(43,6) sets, C(41,4) hold a given pair: 15/903 of them.
    const double expected =
        double(stats.draws) * kSetSize * (kSetSize - 1) / (kNumberCount * (kNumberCount - 1));
    report.notes = {"同じ回の本数字に一緒に出た2個の数字の組で、多いものから " +
                        std::to_string(kListedPairs) + " 組です（ボーナス数字は含みません）。",
                    "どの組も期待値は回数 × 15/903 = " + FixedText(expected, 1) + " 回です。"};
    std::vector<std::pair<int, int>> order;
    for (int a = kLowestNumber; a <= kHighestNumber; ++a) {
        for (int b = a + 1; b <= kHighestNumber; ++b)
            order.emplace_back(a, b);
    }
    const auto countOf = [&stats](const std::pair<int, int>& p) {
        return stats.pairs[static_cast<std::size_t>(PairIndex(p.first, p.second))];
    };
    std::stable_sort(order.begin(), order.end(),
                     [&countOf](const auto& x, const auto& y) { return countOf(x) > countOf(y); });
    ViewTable table;
    table.headers = {"順位", "ペア", "回数", "期待値との差"};
    for (int rank = 0; rank < kListedPairs && rank < int(order.size()); ++rank) {
        const auto& pair = order[static_cast<std::size_t>(rank)];
        const std::int64_t count = countOf(pair);
        const std::string label = TwoDigits(pair.first) + "-" + TwoDigits(pair.second);
        const double difference = double(count) - expected;
        table.rows.push_back({Count(rank + 1), Text(label, pair.first * 100 + pair.second), Count(count),
                              Text((difference > 0 ? "+" : "") + FixedText(difference, 1), difference)});
        if (rank < 15)
            report.chart.bars.push_back({label, double(count)});
    }
    report.tables.push_back(std::move(table));
    report.chart.title = "よく一緒に出たペア（本数字、上位15組）";
    report.chart.xTitle = "ペア";
    report.chart.yTitle = "回数";
    report.chart.reference = expected;
    report.chart.referenceLabel = "期待値 " + FixedText(expected, 1);
    return report;
}

} // namespace

std::string_view ViewKey(StatsView view)
{
    switch (view) {
    case StatsView::Gaps:
        return "gaps";
    case StatsView::Hot:
        return "hot";
    case StatsView::Carry:
        return "carry";
    case StatsView::Slide:
        return "slide";
    case StatsView::Consecutive:
        return "consecutive";
    case StatsView::Digits:
        return "digits";
    case StatsView::Sum:
        return "sum";
    case StatsView::Parity:
        return "parity";
    case StatsView::Pairs:
        return "pairs";
    }
    return {};
}

std::string_view ViewTitle(StatsView view)
{
    switch (view) {
    case StatsView::Gaps:
        return "出現間隔";
    case StatsView::Hot:
        return "ホット・コールド";
    case StatsView::Carry:
        return "引っ張り";
    case StatsView::Slide:
        return "スライド";
    case StatsView::Consecutive:
        return "連番";
    case StatsView::Digits:
        return "下ヒトケタ";
    case StatsView::Sum:
        return "合計値";
    case StatsView::Parity:
        return "奇数・偶数";
    case StatsView::Pairs:
        return "ペア";
    }
    return {};
}

std::optional<StatsView> ViewFromKey(std::string_view key)
{
    for (const StatsView view : kAllViews) {
        if (ViewKey(view) == key)
            return view;
    }
    return std::nullopt;
}

std::string DescribeRange(const HistoryStatistics& stats)
{
    if (stats.range.size() == 0)
        return "当選番号なし";
    std::string text = "第" + std::to_string(stats.range.first) + "回〜第" +
                       std::to_string(stats.range.last) + "回（" + std::to_string(stats.range.size()) +
                       "回分";
    if (stats.skippedDraws > 0)
        text += "、うち数字が正しくない " + std::to_string(stats.skippedDraws) + "回を除く";
    return text + "）";
}

ViewReport BuildViewReport(const HistoryStatistics& stats, StatsView view)
{
    ViewReport report;
    switch (view) {
    case StatsView::Gaps:
        report = GapsView(stats);
        break;
    case StatsView::Hot:
        report = HotView(stats);
        break;
    case StatsView::Carry:
        report = CarryView(stats);
        break;
    case StatsView::Slide:
        report = SlideView(stats);
        break;
    case StatsView::Consecutive:
        report = ConsecutiveView(stats);
        break;
    case StatsView::Digits:
        report = DigitsView(stats);
        break;
    case StatsView::Sum:
        report = SumView(stats);
        break;
    case StatsView::Parity:
        report = ParityView(stats);
        break;
    case StatsView::Pairs:
        report = PairsView(stats);
        break;
    }
    report.view = view;
    report.chart.title = std::string(report.chart.title) + " " + DescribeRange(stats);
    return report;
}

std::string FixedText(double value, int decimals)
{
    char buffer[64];
    // Round half away from zero on the decimal value, never printing "-0.0".
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(value * scale) / scale;
    if (rounded == 0)
        rounded = 0;
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, rounded);
    return buffer;
}

std::string PercentText(std::int64_t part, std::int64_t whole, int decimals)
{
    if (whole <= 0)
        return "-";
    return FixedText(100.0 * double(part) / double(whole), decimals) + "%";
}

std::string GroupedDigits(std::int64_t value)
{
    std::string digits = std::to_string(value < 0 ? -value : value);
    for (int i = int(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(static_cast<std::size_t>(i), ",");
    return (value < 0 ? "-" : "") + digits;
}

std::string TwoDigits(int n)
{
    return (n >= 0 && n < 10 ? "0" : "") + std::to_string(n);
}

} // namespace zentrix::analysis
