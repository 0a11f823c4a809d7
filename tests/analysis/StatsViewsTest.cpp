// StatsViews and ChartSvg: the tables and charts built from known statistics.
#include "analysis/StatsViews.h"

#include "AnalysisFixtures.h"
#include "analysis/ChartSvg.h"

#include <gtest/gtest.h>
#include <regex>

namespace zentrix::analysis {
namespace {

const HistoryStatistics kStats = ComputeHistoryStatistics(test::kFour, LatestDraws(test::kFour, 0));

const ViewTable& OnlyTable(const ViewReport& report)
{
    EXPECT_FALSE(report.tables.empty());
    return report.tables.front();
}

TEST(StatsViews, KeysAndTitlesRoundTrip)
{
    for (const StatsView view : kAllViews) {
        ASSERT_EQ(ViewFromKey(ViewKey(view)), view);
        EXPECT_FALSE(ViewTitle(view).empty());
    }
    EXPECT_EQ(ViewFromKey("frequency"), std::nullopt);
    EXPECT_EQ(ViewFromKey(""), std::nullopt);
}

TEST(StatsViews, EveryViewHasMatchingRowsAndChart)
{
    for (const StatsView view : kAllViews) {
        SCOPED_TRACE(std::string(ViewKey(view)));
        const ViewReport report = BuildViewReport(kStats, view);
        EXPECT_EQ(report.view, view);
        ASSERT_FALSE(report.chart.bars.empty());
        EXPECT_NE(report.chart.title.find("第1回〜第4回（4回分）"), std::string::npos);
        for (const ViewTable& table : report.tables) {
            for (const auto& row : table.rows)
                EXPECT_EQ(row.size(), table.headers.size());
        }
    }
}

TEST(StatsViews, GapsRowShowsTheNumberFigures)
{
    const ViewReport tableReport = BuildViewReport(kStats, StatsView::Gaps);
    const ViewTable& table = OnlyTable(tableReport);
    ASSERT_EQ(table.rows.size(), 43u);
    const auto& two = table.rows[1]; // 2 came in draws 1, 2 and 4
    EXPECT_EQ(two[0].text, "02");
    EXPECT_EQ(two[1].text, "3");
    EXPECT_EQ(two[2].text, "第4回");
    EXPECT_EQ(two[3].text, "0");
    EXPECT_EQ(two[4].text, "2");
    EXPECT_EQ(two[5].text, "1.5");
    const auto& eight = table.rows[7]; // never came
    EXPECT_EQ(eight[2].text, "-");
    EXPECT_EQ(eight[3].text, "4以上");
    EXPECT_EQ(eight[5].text, "-");
}

TEST(StatsViews, HotMarksOnlyNumbersOneDeviationAway)
{
    // 2 came in three of four draws: expected 4 × 6/43 = 0.56, deviation 0.69.
    const ViewReport report = BuildViewReport(kStats, StatsView::Hot);
    const ViewTable& table = OnlyTable(report);
    EXPECT_EQ(table.rows[1][5].text, "ホット");
    EXPECT_EQ(table.rows[1][3].text, "75.0%");
    EXPECT_EQ(table.rows[1][4].text, "+2.4");
    EXPECT_EQ(table.rows[7][5].text, ""); // 0 against 0.56 is within one deviation
    ASSERT_TRUE(report.chart.reference);
    EXPECT_NEAR(*report.chart.reference, 24.0 / 43.0, 1e-12);
}

TEST(StatsViews, DistributionsAddUpAndParityReadsEvenToOdd)
{
    const ViewReport parityReport = BuildViewReport(kStats, StatsView::Parity);
    const ViewTable& parity = OnlyTable(parityReport);
    ASSERT_EQ(parity.rows.size(), 7u);
    EXPECT_EQ(parity.rows[0][0].text, "6 : 0");
    EXPECT_EQ(parity.rows[3][0].text, "3 : 3");
    EXPECT_EQ(parity.rows[3][1].text, "1"); // draw 1: 2, 4, 6
    const ViewReport carry = BuildViewReport(kStats, StatsView::Carry);
    ASSERT_EQ(carry.tables.size(), 2u);
    EXPECT_EQ(carry.tables[0].rows[1][1].text, "2"); // draws 3 and 4 repeat one number each
    EXPECT_EQ(carry.tables[0].rows[2][1].text, "1"); // draw 2 repeats 2 and 3
    EXPECT_EQ(carry.tables[0].rows[2][2].text, "33.3%");
    const ViewReport consecutive = BuildViewReport(kStats, StatsView::Consecutive);
    EXPECT_EQ(consecutive.notes.back(), "連番を含む回: 3 / 4（75.0%）");
}

TEST(StatsViews, PairsAreListedMostFrequentFirst)
{
    const ViewReport report = BuildViewReport(kStats, StatsView::Pairs);
    const ViewTable& table = OnlyTable(report);
    ASSERT_EQ(table.rows.size(), std::size_t(kListedPairs));
    EXPECT_EQ(table.rows[0][1].text, "02-03");
    EXPECT_EQ(table.rows[0][2].text, "2");
    for (std::size_t r = 1; r < table.rows.size(); ++r)
        EXPECT_GE(table.rows[r - 1][2].sortKey, table.rows[r][2].sortKey);
    EXPECT_EQ(report.chart.bars.size(), 15u);
}

TEST(StatsViews, TextHelpers)
{
    EXPECT_EQ(FixedText(2.25, 1), "2.3");
    EXPECT_EQ(FixedText(-0.04, 1), "0.0");
    EXPECT_EQ(PercentText(1, 3), "33.3%");
    EXPECT_EQ(PercentText(1, 0), "-");
    EXPECT_EQ(GroupedDigits(6096454), "6,096,454");
    EXPECT_EQ(GroupedDigits(999), "999");
    EXPECT_EQ(TwoDigits(7), "07");
    EXPECT_EQ(TwoDigits(43), "43");
}

TEST(ChartSvg, ScaleIsARoundTopAboveEveryBar)
{
    ChartData chart;
    chart.bars = {{"a", 312}, {"b", 5}};
    ScaleFor(chart);
    EXPECT_EQ(ScaleFor(chart).top, 350);
    EXPECT_EQ(ScaleFor(chart).step, 50);
    chart.reference = 400;
    EXPECT_EQ(ScaleFor(chart).top, 400);
    chart.bars = {{"a", 0}};
    chart.reference.reset();
    EXPECT_EQ(ScaleFor(chart).top, 1);
    chart.bars = {{"a", 3}};
    EXPECT_EQ(ScaleFor(chart).top, 3);
    EXPECT_EQ(ScaleFor(chart).step, 1);
}

TEST(ChartSvg, OneEscapedBarPerEntry)
{
    ChartData chart;
    chart.title = "A & <B>";
    chart.xTitle = "数字";
    chart.yTitle = "回数";
    chart.bars = {{"1", 10}, {"2", 20}, {"3", 0}};
    chart.reference = 15;
    chart.referenceLabel = "期待値 15.0";
    const std::string svg = ChartSvg(chart);
    EXPECT_NE(svg.find("A &amp; &lt;B&gt;"), std::string::npos);
    EXPECT_EQ(svg.find("<B>"), std::string::npos);
    const std::regex bar(
        "<rect x=\"[0-9]+\" y=\"([0-9.]+)\" width=\"[0-9]+\" height=\"([0-9.]+)\" fill=\"steelblue\"");
    std::vector<double> heights;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), bar); it != std::sregex_iterator(); ++it)
        heights.push_back(std::stod((*it)[2].str()));
    ASSERT_EQ(heights.size(), 3u);
    EXPECT_DOUBLE_EQ(heights[1], 2 * heights[0]);
    EXPECT_EQ(heights[2], 0);
    EXPECT_NE(svg.find("stroke-dasharray"), std::string::npos);
    EXPECT_NE(svg.find("期待値 15.0"), std::string::npos);
    EXPECT_EQ(EscapeXmlText(std::string("a\x01"
                                        "b")),
              "ab");
}

} // namespace
} // namespace zentrix::analysis
