// RuleMeter: the count against every set checked one by one, the back-test against the rule
// applied draw by draw, and the real history's figures for the opening settings.
#include "analysis/RuleMeter.h"

#include "AnalysisFixtures.h"
#include "common/ReferenceRules.h"
#include "generator/Feasibility.h"
#include "generator/SetFilter.h"

#include <gtest/gtest.h>

namespace zentrix::analysis {
namespace {

using reference::Rules;
using test::Table;

// Latest draw 1..6 + 7 after 6 7 20 21 22 23 + 24: repeated 6, 7; fresh 1..5.
const DrawTable kHistory = Table({
    {30, 31, 32, 33, 34, 35, 36},
    {6, 7, 20, 21, 22, 23, 24},
    {1, 2, 3, 4, 5, 6, 7},
});

TEST(RuleMeter, CountMatchesEverySetCheckedOneByOne)
{
    // The exact count is proved against every set in the generator's tests; here, that the meter
    // gives it the latest draw and the carry lists of the table.
    const std::vector<GenerationSettings> cases{Rules(true, 1, true, 4), Rules(false, 0, false, 4),
                                                Rules(true, 2, true, 3)};
    std::vector<RuleMeterReading> readings;
    for (const GenerationSettings& settings : cases)
        readings.push_back(ReadRuleMeter(kHistory, settings));

    const DrawRow& latest = kHistory.row(3);
    const CarryLists lists = BuildCarryLists(kHistory);
    std::vector<std::int64_t> passing(cases.size(), 0);
    reference::ForEachSet([&](const PredictionSet& set, NumberMask) {
        for (std::size_t i = 0; i < cases.size(); ++i)
            passing[i] += reference::CheckSet(set, lists, latest, cases[i]) == SetVerdict::Pass;
    });
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(readings[i].enoughDraws);
        EXPECT_EQ(readings[i].passingSets, passing[i]);
        EXPECT_DOUBLE_EQ(readings[i].passShare(), double(passing[i]) / 6'096'454.0);
    }
}

TEST(RuleMeter, ContradictionKeepsNoSetAndIsSaid)
{
    // The latest draw repeats 2 and 4, so its fresh numbers 1, 3, 5, 7, 9 are all odd: two carries
    // cannot give six even numbers.
    const DrawTable odd = Table({
        {30, 31, 32, 33, 34, 35, 36},
        {2, 4, 20, 21, 22, 23, 24},
        {1, 2, 3, 4, 5, 7, 9},
    });
    const RuleMeterReading reading = ReadRuleMeter(odd, Rules(true, 2, true, 1));
    EXPECT_TRUE(reading.contradiction);
    EXPECT_EQ(reading.passingSets, 0);
    const std::vector<std::string> lines = DescribeRuleMeter(reading);
    EXPECT_NE(lines.front().find("矛盾"), std::string::npos);
}

TEST(RuleMeter, BackTestJudgesEachDrawAgainstTheTwoBefore)
{
    // Draw 4 carries exactly one fresh number (11) of draw 3, holds one consecutive pair and
    // three even numbers: it passes the opening settings. Draw 3 carries nothing from draw 2: it fails.
    const DrawTable table = Table({
        {1, 2, 3, 4, 5, 6, 7},
        {8, 9, 10, 20, 30, 40, 41},
        {11, 12, 13, 21, 31, 42, 43},
        {11, 14, 15, 24, 33, 38, 16},
    });
    const RuleMeterReading reading = ReadRuleMeter(table, GenerationSettings{});
    EXPECT_EQ(reading.backTest.checked, 2);
    EXPECT_EQ(reading.backTest.passed, 1);
    EXPECT_DOUBLE_EQ(reading.backTestShare(), 0.5);
    for (RecordNo d = 3; d <= 4; ++d) {
        PredictionSet set{};
        std::copy_n(table.row(d).begin(), 6, set.begin());
        const CarryLists lists = BuildCarryLists(table.row(d - 1), table.row(d - 2));
        EXPECT_EQ(reference::CheckSet(set, lists, table.row(d - 1), GenerationSettings{}) == SetVerdict::Pass,
                  d == 4);
    }
}

TEST(RuleMeter, FewerThanTwoDrawsSaySo)
{
    const RuleMeterReading reading = ReadRuleMeter(Table({{1, 2, 3, 4, 5, 6, 7}}), GenerationSettings{});
    EXPECT_FALSE(reading.enoughDraws);
    EXPECT_EQ(reading.passingSets, 0);
    const std::vector<std::string> lines = DescribeRuleMeter(reading);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("1回分"), std::string::npos);
}

TEST(RuleMeter, RealHistoryOpeningSettings)
{
    ZENTRIX_REAL_HISTORY_OR_SKIP(records);
    const RuleMeterReading reading = ReadRuleMeter(test::TableOf(records), GenerationSettings{});
    EXPECT_EQ(reading.passingSets, 275'858);
    EXPECT_EQ(reading.backTest.checked, 2035);
    EXPECT_EQ(reading.backTest.passed, 104);
    const std::vector<std::string> lines = DescribeRuleMeter(reading);
    EXPECT_EQ(lines[0], "条件を満たす組み合わせ: 275,858 / 6,096,454（4.52%）");
    EXPECT_EQ(lines.back(), kFilterOddsNote);
}

} // namespace
} // namespace zentrix::analysis
