// zentrix-cli count: the settings reaching the exact count and the back-test, the printed report,
// and its exit statuses. The counts themselves are proved by the generator's and analysis' tests.
#include "Commands.h"
#include "generator/Feasibility.h"
#include "generator/GenerationRun.h"
#include "generator/SetFilter.h"
#include "support/CliRunner.h"
#include "support/HistoryFixtures.h"

#include <gtest/gtest.h>
#include <regex>

namespace zentrix::cli {
namespace {

using test::CliRun;
using test::Draw;

/// The first group of `pattern` in the text, as a number with thousands separators.
std::int64_t Figure(const std::string& text, const std::string& pattern, int group = 1)
{
    std::smatch match;
    if (!std::regex_search(text, match, std::regex(pattern)))
        throw std::runtime_error("no \"" + pattern + "\" in:\n" + text);
    std::string digits = match[group].str();
    std::erase(digits, ',');
    return std::stoll(digits);
}

class CountCommandTest : public test::CommandTest
{
};

TEST_F(CountCommandTest, EverySettingReachesTheEngine)
{
    // Fresh numbers 1..5 (two even, three odd), repeated 6 and 7.
    std::vector<DrawRecord> history = test::SyntheticHistory(30, 4);
    history.push_back(Draw({6, 7, 20, 21, 22, 23}, 24));
    history.push_back(Draw({1, 2, 3, 4, 5, 6}, 7));
    store(history);
    const DrawRow latest = MakeDrawRow(history.back());
    const CarryLists lists = BuildCarryLists(latest, MakeDrawRow(history[history.size() - 2]));

    struct Case
    {
        std::vector<std::string> options;
        GenerationSettings settings;
    };
    std::vector<Case> cases(4);
    cases[1].options = {"--parity", "off", "--carry", "0", "--consecutive", "off"};
    cases[1].settings.parityOn = false;
    cases[1].settings.carryCount = 0;
    cases[1].settings.consecutiveOn = false;
    cases[2].options = {"--carry", "2", "--parity-level", "2"};
    cases[2].settings.carryCount = 2;
    cases[2].settings.parityLevel = 2;
    cases[3].options = {"--parity-level", "7", "--carry", "1"}; // the pair rule is waived at 7
    cases[3].settings.parityLevel = 7;
    cases[3].settings.carryCount = 1;
    for (const Case& c : cases) {
        std::vector<std::string> args = {"count"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const CliRun counted = run(args);
        ASSERT_EQ(counted.status, kExitOk) << counted.err;
        const std::int64_t expected = CountPassingSets(c.settings, lists, latest);
        EXPECT_GT(expected, 0);
        EXPECT_EQ(Figure(counted.out, "条件を満たす組み合わせ: ([0-9,]+) / 6,096,454"), expected)
            << counted.out;
    }
}

TEST_F(CountCommandTest, ReportNamesTheDrawsTheCountAndTheBackTest)
{
    // Draw 3 carries 1 (fresh in draw 2) with four even numbers and no pair; draw 4 carries
    // nothing of draw 3 and holds the one pair 2-3 with one even number. Only fourteen numbers
    // have appeared, so with weighting on the rest can never be drawn.
    store({Draw({6, 7, 20, 21, 22, 23}, 24), Draw({1, 2, 3, 4, 5, 6}, 7), Draw({1, 10, 20, 30, 40, 43}, 8),
           Draw({2, 3, 11, 13, 15, 17}, 9)});
    const CliRun counted = run({"count", "--carry", "1", "--consecutive", "off", "--parity-level", "3"});
    ASSERT_EQ(counted.status, kExitOk) << counted.err;
    for (const std::string line : {
             "」: 第1回〜第4回\n",
             "\n前回（第4回）の当選番号: 02 , 03 , 11 , 13 , 15 , 17 ボーナス 09\n"
             "  前々回に出ていない数字: 02 03 11 13 15 17 09 / 前々回にも出た数字: なし\n\n",
             "（重みが0でない数字 ",
             "過去の当選番号での検証（第3回〜第4回の各回を、その前の2回に対してこの条件で調べた結果）:\n"
             "  条件を満たした回: 1 / 2（50.00%）\n",
         })
        EXPECT_NE(counted.out.find(line), std::string::npos) << line << "\n" << counted.out;
    EXPECT_NE(counted.out.find("設定: "), std::string::npos);

    // No rule at all: C(31,6) sets hold no number of the latest draw and no pair.
    store({Draw({20, 21, 22, 23, 24, 25}, 26), Draw({1, 2, 3, 4, 5, 6}, 7)});
    const CliRun free = run({"count", "--parity", "off", "--carry", "0", "--consecutive", "off"});
    EXPECT_NE(free.out.find("条件を満たす組み合わせ: 736,281 / 6,096,454（12.077%）\n"), std::string::npos)
        << free.out;
}

TEST_F(CountCommandTest, BackTestCountsDrawsWhoseSettingsContradict)
{
    // Before draw 3 the fresh numbers are all odd: carry 2 at level 1 contradicts there, not at the
    // latest pair (fresh 2, 4, 6, 8, 10, 12, 14 hold even numbers enough).
    store(
        {Draw({20, 21, 22, 23, 24, 25}, 26), Draw({1, 3, 5, 7, 9, 11}, 13), Draw({2, 4, 6, 8, 10, 12}, 14)});
    const CliRun counted = run({"count", "--carry", "2", "--parity-level", "1"});
    ASSERT_EQ(counted.status, kExitOk) << counted.err;
    EXPECT_EQ(Figure(counted.out, "設定が矛盾して予想番号が出なかった回: ([0-9,]+)"), 1);
    EXPECT_EQ(Figure(counted.out, "条件を満たした回: ([0-9,]+) /"), 0);
}

TEST_F(CountCommandTest, ContradictionAndTooFewDrawsHaveTheirOwnStatus)
{
    // Every fresh number odd: two carries cannot give six even numbers.
    store({Draw({20, 21, 22, 23, 24, 25}, 26), Draw({1, 3, 5, 7, 9, 11}, 13)});
    const CliRun contradiction = run({"count", "--carry", "2", "--parity-level", "1"});
    EXPECT_EQ(contradiction.status, kExitContradiction);
    EXPECT_EQ(contradiction.err, std::string(kContradictionMessage) + "\n");
    EXPECT_EQ(contradiction.out, "");

    store({Draw({1, 2, 3, 4, 5, 6}, 7)});
    const CliRun one = run({"count"});
    EXPECT_EQ(one.status, kExitTooFewDraws);
    EXPECT_NE(one.err.find("保存されている当選番号は1回分です。"), std::string::npos) << one.err;
}

} // namespace
} // namespace zentrix::cli
