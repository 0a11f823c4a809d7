// zentrix-cli stats --view: the analysis layer's tables printed aligned, the same figures as the
// library, the range, the chart file, and bad requests.
#include "Commands.h"
#include "analysis/HistoryStatistics.h"
#include "analysis/StatsViews.h"
#include "history_io/TextEncoding.h"
#include "support/CliRunner.h"
#include "support/HistoryFixtures.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace zentrix::cli {
namespace {

using test::CliRun;
using test::RunCli;
using zentrix::test::Draw;

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

class StatsViewCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_draws = zentrix::test::SyntheticHistory(60, 16);
        zentrix::test::WriteHistory(data(), m_draws);
        for (const DrawRecord& record : m_draws)
            m_table.rows.push_back(MakeDrawRow(record));
    }

    std::string data() const { return (m_dir / "Loto6data.dt").string(); }

    CliRun run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"stats", "--data", data()});
        return RunCli(args);
    }

    zentrix::test::TempDir m_dir;
    std::vector<DrawRecord> m_draws;
    DrawTable m_table;
};

TEST_F(StatsViewCommandTest, EveryViewPrintsTheLibraryTablesAligned)
{
    const analysis::HistoryStatistics stats =
        analysis::ComputeHistoryStatistics(m_table, analysis::LatestDraws(m_table, 0));
    for (const analysis::StatsView view : analysis::kAllViews) {
        SCOPED_TRACE(std::string(analysis::ViewKey(view)));
        const CliRun result = run({"--view", std::string(analysis::ViewKey(view))});
        ASSERT_EQ(result.status, kExitOk) << result.err;
        const analysis::ViewReport report = analysis::BuildViewReport(stats, view);
        EXPECT_NE(result.out.find(std::string(analysis::ViewTitle(view)) + " 第1回〜第60回（60回分）"),
                  std::string::npos);
        const std::vector<std::string> lines = Lines(result.out);
        for (const analysis::ViewTable& table : report.tables) {
            // The header line, then every row with the library's cells in order, all one width.
            std::string header;
            for (const std::string& h : table.headers)
                header += (header.empty() ? "" : " ") + h;
            auto at = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) {
                std::string joined;
                for (const std::string& word : Words(line))
                    joined += (joined.empty() ? "" : " ") + word;
                return joined == header;
            });
            ASSERT_NE(at, lines.end()) << result.out;
            const std::size_t width = DisplayWidth(*at);
            for (const auto& row : table.rows) {
                ++at;
                ASSERT_NE(at, lines.end());
                EXPECT_EQ(DisplayWidth(*at), width) << *at;
                std::string cells;
                for (const analysis::TableCell& cell : row) {
                    if (!cell.text.empty())
                        cells += (cells.empty() ? "" : " ") + cell.text;
                }
                std::string printed;
                for (const std::string& word : Words(*at))
                    printed += (printed.empty() ? "" : " ") + word;
                EXPECT_EQ(printed, cells);
            }
        }
    }
}

TEST_F(StatsViewCommandTest, LastCountsOnlyTheLatestDraws)
{
    const CliRun result = run({"--view", "hot", "--last", "10"});
    ASSERT_EQ(result.status, kExitOk) << result.err;
    EXPECT_NE(result.out.find("第51回〜第60回（10回分）"), std::string::npos) << result.out;
    // The counts of the hot table add up to six per draw.
    std::int64_t total = 0;
    for (const std::string& line : Lines(result.out)) {
        const std::vector<std::string> words = Words(line);
        if (words.size() >= 5 && words[0].size() == 2 &&
            std::isdigit(static_cast<unsigned char>(words[0][0])))
            total += std::stoll(words[1]);
    }
    EXPECT_EQ(total, 60);

    const CliRun more = run({"--view", "sum", "--last", "500"});
    ASSERT_EQ(more.status, kExitOk);
    EXPECT_NE(more.out.find("第1回〜第60回（60回分）"), std::string::npos);
    EXPECT_NE(more.out.find("全回を数えました"), std::string::npos);
}

TEST_F(StatsViewCommandTest, SvgChartIsWrittenBesideAndNeverOverTheDataFile)
{
    const std::string chart = (m_dir / "pairs.svg").string();
    const CliRun result = run({"--view", "pairs", "--svg", chart});
    ASSERT_EQ(result.status, kExitOk) << result.err;
    std::ifstream in(chart);
    std::stringstream svg;
    svg << in.rdbuf();
    EXPECT_EQ(svg.str().rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.str().find("よく一緒に出たペア"), std::string::npos);

    const std::vector<std::uint8_t> before = zentrix::test::ReadBytes(data());
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--view", "sum", "--svg", data()},
                                                 std::vector<std::string>{"--svg", data()}}) {
        const CliRun refused = run(args);
        EXPECT_EQ(refused.status, kExitFailure);
        EXPECT_NE(refused.err.find("なので、上書きしません"), std::string::npos) << refused.err;
        EXPECT_EQ(zentrix::test::ReadBytes(data()), before);
    }
}

TEST_F(StatsViewCommandTest, BadRequestsAreUsageErrors)
{
    EXPECT_EQ(run({"--view", "frequency"}).status, kExitUsage);
    EXPECT_EQ(run({"--view", "gaps", "--last", "0"}).status, kExitUsage);
    EXPECT_EQ(run({"--view", "gaps", "--last", "-3"}).status, kExitUsage);
    EXPECT_EQ(run({"--last", "10"}).status, kExitUsage); // --last belongs to --view
    const CliRun missing = RunCli({"stats", "--view", "gaps", "--data", (m_dir / "none.dt").string()});
    EXPECT_EQ(missing.status, kExitDataFile);
}

TEST_F(StatsViewCommandTest, RealHistoryFiguresAsPlayersKnowThem)
{
    ZENTRIX_REAL_HISTORY_OR_SKIP(records);
    zentrix::test::WriteHistory(data(), records);
    const CliRun consecutive = run({"--view", "consecutive"});
    ASSERT_EQ(consecutive.status, kExitOk) << consecutive.err;
    EXPECT_NE(consecutive.out.find("連番を含む回: 1117 / 2037（54.8%）"), std::string::npos)
        << consecutive.out;
    const CliRun sum = run({"--view", "sum"});
    EXPECT_NE(sum.out.find("平均 132.3、最小 45、最大 212"), std::string::npos) << sum.out;
    const CliRun carry = run({"--view", "carry", "--last", "100"});
    EXPECT_NE(carry.out.find("第1938回〜第2037回（100回分）"), std::string::npos);
    EXPECT_NE(carry.out.find("前回の本数字と同じものの個数です（100回分）"), std::string::npos);
}

TEST_F(StatsViewCommandTest, DefaultOutputIsTheWeightTable)
{
    const CliRun result = run({});
    ASSERT_EQ(result.status, kExitOk);
    EXPECT_NE(result.out.find("選ばれる確率"), std::string::npos);
    EXPECT_EQ(result.out.find("出現間隔"), std::string::npos);
}

} // namespace
} // namespace zentrix::cli
