// zentrix-cli stats: the columns of the weight table, the settings reaching the weights, the
// aligned layout, the chart file, and a history without draws. The figures themselves are proved
// by the generator's tests.
#include "Commands.h"
#include "generator/WeightTable.h"
#include "history_io/TextEncoding.h"
#include "support/CliRunner.h"
#include "support/HistoryFixtures.h"

#include <gtest/gtest.h>
#include <regex>
#include <sstream>

namespace zentrix::cli {
namespace {

using test::CliRun;
using test::Draw;

/// The cells of the stats table row whose first cell is `label`.
std::vector<std::string> StatsRow(const std::string& out, const std::string& label)
{
    for (const std::string& line : test::Lines(out)) {
        std::istringstream cells(line);
        std::vector<std::string> row;
        for (std::string cell; cells >> cell;)
            row.push_back(cell);
        if (!row.empty() && row[0] == label)
            return row;
    }
    return {};
}

// Two draws, 1 2 3 4 5 6 + 7 and 1 8 9 10 11 12 + 13: the worked example of the weights.
class StatsCommandTest : public test::CommandTest
{
protected:
    void SetUp() override { store(Draws()); }
    static std::vector<DrawRecord> Draws()
    {
        return {Draw({1, 2, 3, 4, 5, 6}, 7), Draw({1, 8, 9, 10, 11, 12}, 13)};
    }
};

TEST_F(StatsCommandTest, ColumnsAreCountShareRecencyWeightAndChance)
{
    const CliRun stats = run({"stats"});
    ASSERT_EQ(stats.status, kExitOk) << stats.err;
    EXPECT_NE(stats.out.find("」: 第1回〜第2回（2回分、ボーナス数字を含む 14 個の数字）\n"),
              std::string::npos)
        << stats.out;
    EXPECT_EQ(StatsRow(stats.out, "数字"), (std::vector<std::string>{"数字", "出現回数", "出現率(1/10000)",
                                                                     "時間軸合計", "重み", "選ばれる確率"}));
    EXPECT_EQ(StatsRow(stats.out, "01"),
              (std::vector<std::string>{"01", "2", "1429", "3", "1429", "14.29%"}));
    EXPECT_EQ(StatsRow(stats.out, "13"), (std::vector<std::string>{"13", "1", "714", "2", "714", "7.14%"}));
    EXPECT_EQ(StatsRow(stats.out, "14"), (std::vector<std::string>{"14", "0", "0", "0", "0", "0.00%"}));
    EXPECT_EQ(StatsRow(stats.out, "合計"),
              (std::vector<std::string>{"合計", "14", "9997", "9997", "100.00%"}));
    EXPECT_EQ(stats.out.find("重み付けが off"), std::string::npos);

    // The columns line up on the screen: header, 43 numbers and the total, all one width.
    std::vector<std::size_t> widths;
    std::istringstream in(stats.out.substr(stats.out.find("\n\n") + 2));
    for (std::string line; std::getline(in, line) && !line.empty();)
        widths.push_back(DisplayWidth(line));
    ASSERT_EQ(widths.size(), 45u);
    EXPECT_EQ(std::count(widths.begin(), widths.end(), widths.front()), 45);
}

TEST_F(StatsCommandTest, TheWeightColumnFollowsTheSettings)
{
    DrawTable table;
    for (const DrawRecord& record : Draws())
        table.rows.push_back(MakeDrawRow(record));
    struct Case
    {
        std::vector<std::string> options;
        GenerationSettings settings;
    };
    std::vector<Case> cases(3);
    cases[0].options = {"--total-level", "2"};
    cases[0].settings.totalLevel = 2;
    cases[1].options = {"--basis", "time", "--time-level", "3"};
    cases[1].settings.weightBasis = WeightBasis::TimeAxis;
    cases[1].settings.timeAxisLevel = 3;
    cases[2].options = {"--weighting", "off", "--total-level", "3"};
    cases[2].settings.weightingOn = false;
    cases[2].settings.totalLevel = 3;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options[0] + " " + c.options[1]);
        std::vector<std::string> args = {"stats"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const CliRun stats = run(args);
        ASSERT_EQ(stats.status, kExitOk) << stats.err;
        const WeightTable weights = BuildWeightTable(table, c.settings);
        for (int n = 1; n <= 43; ++n)
            EXPECT_EQ(StatsRow(stats.out, (n < 10 ? "0" : "") + std::to_string(n)).at(4),
                      std::to_string(weights.weightOf(n)))
                << n;
        EXPECT_EQ(StatsRow(stats.out, "合計").at(3), std::to_string(weights.total()));
    }
    EXPECT_NE(run({"stats", "--weighting", "off"}).out.find("重み付けが off のため"), std::string::npos);
}

TEST_F(StatsCommandTest, ChartHasABarAndALabelPerNumberAndGoesThroughTheGuardedWriter)
{
    const std::filesystem::path svg = m_dir / "weights.svg";
    const std::vector<std::uint8_t> before = test::ReadBytes(data());
    const CliRun stats = run({"stats", "--svg", svg.string()});
    ASSERT_EQ(stats.status, kExitOk) << stats.err;
    EXPECT_NE(stats.out.find("\n重みの棒グラフを「" + svg.string() + "」に書きました。\n"),
              std::string::npos);
    const std::string text = test::ReadText(svg);
    EXPECT_TRUE(text.starts_with("<?xml")) << text.substr(0, 40);
    EXPECT_TRUE(text.ends_with("</svg>\n"));
    EXPECT_NE(text.find("<title>Zentrix 数字ごとの重み"), std::string::npos);
    // One bar per number, titled with the number and its weight, and the number under it.
    const std::regex bar(R"re(<rect [^>]*fill="steelblue"><title>(\d+): (\d+)</title>)re");
    std::vector<std::pair<int, int>> bars;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), bar); it != std::sregex_iterator(); ++it)
        bars.emplace_back(std::stoi((*it)[1].str()), std::stoi((*it)[2].str()));
    ASSERT_EQ(bars.size(), 43u);
    EXPECT_EQ(bars[0], std::pair(1, 1429));
    EXPECT_EQ(bars[12], std::pair(13, 714));
    EXPECT_EQ(bars[42], std::pair(43, 0));
    EXPECT_NE(text.find(">43</text>"), std::string::npos);
    EXPECT_EQ(test::ReadBytes(data()), before);

    const CliRun intoFolder = run({"stats", "--svg", m_dir.path().string()});
    EXPECT_EQ(intoFolder.status, kExitFailure);
    EXPECT_NE(intoFolder.err.find("書き込めませんでした"), std::string::npos) << intoFolder.err;
}

TEST_F(StatsCommandTest, AHistoryWithoutDrawsHasItsOwnStatus)
{
    store({});
    const CliRun stats = run({"stats"});
    EXPECT_EQ(stats.status, kExitNoDraws);
    EXPECT_NE(stats.err.find("」に当選番号が保存されていません。"), std::string::npos) << stats.err;
    EXPECT_EQ(stats.out, "");
}

} // namespace
} // namespace zentrix::cli
