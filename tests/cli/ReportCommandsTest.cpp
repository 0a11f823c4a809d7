// zentrix-cli count and stats: the options reaching the exact count, the back-test on
// hand-made histories, statistics and weights from known histories, the chart, and exit statuses.
#include "Commands.h"
#include "WeightChart.h"
#include "generator/Feasibility.h"
#include "generator/SetFilter.h"
#include "history_io/TextEncoding.h"
#include "support/CliRunner.h"
#include "support/HistoryFixtures.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <regex>
#include <sstream>

namespace zentrix::cli {
namespace {

using test::CliRun;
using test::RunCli;
using zentrix::test::Draw;

std::int64_t Grouped(const std::string& text)
{
    std::string digits;
    for (const char c : text) {
        if (c != ',')
            digits += c;
    }
    return std::stoll(digits);
}

/// The first group of `pattern` in the text, as a number with thousands separators.
std::int64_t Figure(const std::string& text, const std::string& pattern, int group = 1)
{
    std::smatch match;
    if (!std::regex_search(text, match, std::regex(pattern)))
        throw std::runtime_error("no \"" + pattern + "\" in:\n" + text);
    return Grouped(match[group].str());
}

/// What the engine counts for this history and these settings; the engine's own tests prove the
/// count against every set.
std::int64_t EngineCount(const std::vector<DrawRecord>& history, const GenerationSettings& settings)
{
    const DrawRow latest = MakeDrawRow(history.back());
    const CarryLists lists = BuildCarryLists(latest, MakeDrawRow(history[history.size() - 2]));
    return CountPassingSets(settings, lists, latest);
}

using Passed = std::pair<std::int64_t, std::int64_t>;

class ReportCommandsTest : public ::testing::Test
{
protected:
    std::string data() const { return (m_dir / "Loto6data.dt").string(); }
    void store(const std::vector<DrawRecord>& draws) { zentrix::test::WriteHistory(data(), draws); }

    CliRun run(std::vector<std::string> args)
    {
        args.insert(args.begin() + 1, {"--data", data()});
        return RunCli(args);
    }

    zentrix::test::TempDir m_dir;
};

// Fresh numbers 1..5 (two even, three odd), repeated 6 and 7.
std::vector<DrawRecord> CarryHistory()
{
    std::vector<DrawRecord> draws = zentrix::test::SyntheticHistory(30, 4);
    draws.push_back(Draw({6, 7, 20, 21, 22, 23}, 24));
    draws.push_back(Draw({1, 2, 3, 4, 5, 6}, 7));
    return draws;
}

struct CountCase
{
    std::vector<std::string> options;
    GenerationSettings settings;
};

TEST_F(ReportCommandsTest, CountPassesItsOptionsToTheEngine)
{
    const std::vector<DrawRecord> history = CarryHistory();
    store(history);
    GenerationSettings opening;
    GenerationSettings noRules;
    noRules.parityOn = false;
    noRules.carryCount = 0;
    noRules.consecutiveOn = false;
    GenerationSettings twoCarriesFiveEven;
    twoCarriesFiveEven.carryCount = 2;
    twoCarriesFiveEven.parityLevel = 2;
    GenerationSettings singleParity; // the consecutive rule is waived at level 7
    singleParity.parityLevel = 7;
    singleParity.carryCount = 1;
    const std::vector<CountCase> cases = {
        {{}, opening},
        {{"--parity", "off", "--carry", "0", "--consecutive", "off"}, noRules},
        {{"--carry", "2", "--parity-level", "2"}, twoCarriesFiveEven},
        {{"--parity-level", "7", "--carry", "1"}, singleParity},
    };
    for (const CountCase& c : cases) {
        std::vector<std::string> args = {"count"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const CliRun counted = run(args);
        ASSERT_EQ(counted.status, kExitOk) << counted.err;
        const std::int64_t expected = EngineCount(history, c.settings);
        EXPECT_GT(expected, 0);
        EXPECT_EQ(Figure(counted.out, "条件を満たす組み合わせ: ([0-9,]+) / 6,096,454"), expected)
            << counted.out;
    }
}

TEST_F(ReportCommandsTest, CountHandCaseTwoCarriesAllOdd)
{
    // Fresh numbers 1..5, repeated 6 and 7. Two carries with no even number: two of the odd fresh
    // 1, 3, 5 (3 ways) and four of the 18 odd numbers 9..43 (3,060 ways); the consecutive rule is
    // waived at this level. 3 x 3,060 = 9,180.
    store(CarryHistory());
    const CliRun counted = run({"count", "--carry", "2", "--parity-level", "7"});
    ASSERT_EQ(counted.status, kExitOk) << counted.err;
    EXPECT_EQ(Figure(counted.out, "条件を満たす組み合わせ: ([0-9,]+) /"), 9180);
}

TEST_F(ReportCommandsTest, CountHandCaseWithoutRules)
{
    // No parity, no consecutive pair allowed, no carry: six numbers from the 36 outside the latest
    // draw's seven (1..7), none adjacent. Numbers 8..43 form one run of 36, and choosing 6 with no
    // two adjacent from a run of 36 gives C(31,6) = 736,281.
    store({Draw({20, 21, 22, 23, 24, 25}, 26), Draw({1, 2, 3, 4, 5, 6}, 7)});
    const CliRun counted = run({"count", "--parity", "off", "--carry", "0", "--consecutive", "off"});
    ASSERT_EQ(counted.status, kExitOk) << counted.err;
    EXPECT_EQ(Figure(counted.out, "条件を満たす組み合わせ: ([0-9,]+) /"), 736281);
    EXPECT_NE(counted.out.find("（12.077%）"), std::string::npos) << counted.out;
}

TEST_F(ReportCommandsTest, BackTestJudgesEachDrawAgainstTheTwoBeforeIt)
{
    // Draw 3 carries 1 (fresh in draw 2) with four even numbers and no pair; draw 4 carries
    // nothing of draw 3 and holds the one pair 2-3 with one even number.
    store({Draw({6, 7, 20, 21, 22, 23}, 24), Draw({1, 2, 3, 4, 5, 6}, 7), Draw({1, 10, 20, 30, 40, 43}, 8),
           Draw({2, 3, 11, 13, 15, 17}, 9)});
    const auto backTest = [&](std::vector<std::string> args) {
        args.insert(args.begin(), "count");
        const CliRun counted = run(args);
        EXPECT_EQ(counted.status, kExitOk) << counted.err;
        return std::pair{Figure(counted.out, "条件を満たした回: ([0-9,]+) / ([0-9,]+)", 1),
                         Figure(counted.out, "条件を満たした回: ([0-9,]+) / ([0-9,]+)", 2)};
    };
    EXPECT_EQ(backTest({"--carry", "1", "--consecutive", "off", "--parity-level", "3"}), Passed(1, 2));
    EXPECT_EQ(backTest({"--carry", "0", "--consecutive", "on", "--parity-level", "6"}), Passed(1, 2));
    EXPECT_EQ(backTest({"--carry", "0", "--consecutive", "off", "--parity", "off"}), Passed(0, 2));
    EXPECT_EQ(backTest({"--carry", "2"}), Passed(0, 2));
}

TEST_F(ReportCommandsTest, BackTestCountsDrawsWhoseSettingsContradict)
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

TEST_F(ReportCommandsTest, CountContradictionAndTooFewDraws)
{
    // Every fresh number odd: two carries cannot give six even numbers.
    store({Draw({20, 21, 22, 23, 24, 25}, 26), Draw({1, 3, 5, 7, 9, 11}, 13)});
    const std::vector<std::uint8_t> before = zentrix::test::ReadBytes(data());
    const CliRun contradiction = run({"count", "--carry", "2", "--parity-level", "1"});
    EXPECT_EQ(contradiction.status, kExitContradiction);
    EXPECT_NE(contradiction.err.find("キャリー個数と偶数 : 奇数の比率との間に矛盾が生じました。"),
              std::string::npos);
    EXPECT_TRUE(contradiction.out.empty());
    EXPECT_EQ(run({"count", "--carry", "2", "--parity-level", "7"}).status, kExitOk);
    EXPECT_EQ(zentrix::test::ReadBytes(data()), before);

    store({Draw({1, 2, 3, 4, 5, 6}, 7)});
    const CliRun one = run({"count"});
    EXPECT_EQ(one.status, kExitTooFewDraws);
    EXPECT_NE(one.err.find("1回分"), std::string::npos) << one.err;
    EXPECT_EQ(RunCli({"count", "--data", (m_dir / "none.dt").string()}).status, kExitDataFile);
    EXPECT_EQ(RunCli({"count", "--carry", "3"}).status, kExitUsage);
}

/// The cells of the stats table row whose first cell is `label`.
std::vector<std::string> StatsRow(const std::string& out, const std::string& label)
{
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        std::istringstream cells(line);
        std::vector<std::string> row;
        for (std::string cell; cells >> cell;)
            row.push_back(cell);
        if (!row.empty() && row[0] == label)
            return row;
    }
    return {};
}

std::vector<std::string> StatsRow(const std::string& out, int n)
{
    return StatsRow(out, (n < 10 ? "0" : "") + std::to_string(n));
}

// Two draws, 1 2 3 4 5 6 + 7 and 1 8 9 10 11 12 + 13: the worked example of the weights.
class StatsCommandTest : public ReportCommandsTest
{
protected:
    void SetUp() override { store({Draw({1, 2, 3, 4, 5, 6}, 7), Draw({1, 8, 9, 10, 11, 12}, 13)}); }
};

TEST_F(StatsCommandTest, CountsSharesRecencyAndWeightsAtLevelOne)
{
    const CliRun stats = run({"stats"});
    ASSERT_EQ(stats.status, kExitOk) << stats.err;
    EXPECT_EQ(StatsRow(stats.out, 1), (std::vector<std::string>{"01", "2", "1429", "3", "1429", "14.29%"}));
    EXPECT_EQ(StatsRow(stats.out, 13), (std::vector<std::string>{"13", "1", "714", "2", "714", "7.14%"}));
    EXPECT_EQ(StatsRow(stats.out, 14), (std::vector<std::string>{"14", "0", "0", "0", "0", "0.00%"}));
    EXPECT_EQ(StatsRow(stats.out, "合計"),
              (std::vector<std::string>{"合計", "14", "9997", "9997", "100.00%"}));
}

TEST_F(StatsCommandTest, WeightsFollowTheSettings)
{
    const CliRun halved = run({"stats", "--total-level", "2"});
    ASSERT_EQ(halved.status, kExitOk) << halved.err;
    EXPECT_EQ(StatsRow(halved.out, 1)[4], "715");
    EXPECT_EQ(StatsRow(halved.out, 2)[4], "0");
    EXPECT_EQ(StatsRow(halved.out, 14)[4], "714");
    EXPECT_EQ(StatsRow(halved.out, "合計")[3], "22135");

    const CliRun time = run({"stats", "--basis", "time", "--time-level", "3"});
    ASSERT_EQ(time.status, kExitOk) << time.err;
    EXPECT_EQ(StatsRow(time.out, 1)[4], "0");
    EXPECT_EQ(StatsRow(time.out, 7)[4], "2");
    EXPECT_EQ(StatsRow(time.out, 8)[4], "1");
    EXPECT_EQ(StatsRow(time.out, 43)[4], "3");
    EXPECT_EQ(StatsRow(time.out, "合計")[3], "108");

    // Weighting off on the total basis ignores the level, as the run does.
    const CliRun off = run({"stats", "--weighting", "off", "--total-level", "3"});
    EXPECT_EQ(StatsRow(off.out, 1)[4], "1429");
}

TEST_F(StatsCommandTest, TableColumnsLineUpOnTheScreen)
{
    const CliRun stats = run({"stats"});
    std::istringstream in(stats.out.substr(stats.out.find("\n\n") + 2));
    std::vector<std::size_t> widths;
    for (std::string line; std::getline(in, line) && !line.empty();)
        widths.push_back(DisplayWidth(line));
    ASSERT_EQ(widths.size(), 45u); // header, 43 numbers, total
    for (const std::size_t width : widths)
        EXPECT_EQ(width, widths.front());
}

TEST_F(StatsCommandTest, SvgChartHasOneBarPerNumberScaledToTheLargest)
{
    const std::filesystem::path svg = m_dir / "weights.svg";
    const std::vector<std::uint8_t> before = zentrix::test::ReadBytes(data());
    const CliRun stats = run({"stats", "--svg", svg.string()});
    ASSERT_EQ(stats.status, kExitOk) << stats.err;
    const std::vector<std::uint8_t> bytes = zentrix::test::ReadBytes(svg);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_TRUE(text.starts_with("<?xml")) << text.substr(0, 40);
    EXPECT_NE(text.find("<title>Zentrix 数字ごとの重み"), std::string::npos);
    const std::regex bar(
        R"re(<rect x="\d+" y="\d+" width="13" height="(\d+)" fill="steelblue"><title>(\d+): (\d+)</title>)re");
    std::vector<int> heights;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), bar); it != std::sregex_iterator(); ++it) {
        EXPECT_EQ(std::stoi((*it)[2].str()), static_cast<int>(heights.size()) + 1);
        heights.push_back(std::stoi((*it)[1].str()));
    }
    ASSERT_EQ(heights.size(), 43u);
    EXPECT_EQ(heights[0], 260);  // number 1, the largest weight
    EXPECT_EQ(heights[12], 130); // 714 of 1429
    EXPECT_EQ(heights[13], 0);
    EXPECT_EQ(text.find("</svg>\n"), text.size() - 7);
    EXPECT_EQ(zentrix::test::ReadBytes(data()), before);

    const CliRun intoFolder = run({"stats", "--svg", m_dir.path().string()});
    EXPECT_EQ(intoFolder.status, kExitFailure);
    EXPECT_NE(intoFolder.err.find("書き込めませんでした"), std::string::npos);
}

TEST(WeightChartTest, EscapesMarkupInTheTitle)
{
    EXPECT_EQ(EscapeXml("a<b & \"c\" 'd'>\x01"), "a&lt;b &amp; &quot;c&quot; &apos;d&apos;&gt;");
    const std::string svg = WeightChartSvg(WeightTable{}, "<script>&");
    EXPECT_EQ(svg.find("<script>"), std::string::npos);
    EXPECT_NE(svg.find("&lt;script&gt;&amp;"), std::string::npos);
}

TEST_F(ReportCommandsTest, StatsNeedsAStoredDraw)
{
    store({});
    const CliRun stats = run({"stats"});
    EXPECT_EQ(stats.status, kExitNoDraws);
    EXPECT_TRUE(stats.out.empty());
}

} // namespace
} // namespace zentrix::cli
