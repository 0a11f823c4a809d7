// StatsViewReport: stats --view prints the analysis layer's tables aligned, cell for cell, for the
// range asked, writes the view's chart, and refuses bad requests.
#include "Commands.h"
#include "analysis/HistoryStatistics.h"
#include "analysis/StatsViews.h"
#include "history_io/TextEncoding.h"
#include "support/CliRunner.h"
#include "support/HistoryFixtures.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sstream>

namespace zentrix::cli {
namespace {

using test::CliRun;
using test::RunCli;

std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

class StatsViewReportTest : public test::CommandTest
{
protected:
    void SetUp() override
    {
        const std::vector<DrawRecord> draws = test::SyntheticHistory(60, 16);
        store(draws);
        for (const DrawRecord& record : draws)
            m_table.rows.push_back(MakeDrawRow(record));
    }

    DrawTable m_table;
};

TEST_F(StatsViewReportTest, EveryViewPrintsTheLibraryTablesAligned)
{
    const analysis::HistoryStatistics stats =
        analysis::ComputeHistoryStatistics(m_table, analysis::LatestDraws(m_table, 0));
    for (const analysis::StatsView view : analysis::kAllViews) {
        SCOPED_TRACE(std::string(analysis::ViewKey(view)));
        const CliRun result = run({"stats", "--view", std::string(analysis::ViewKey(view))});
        ASSERT_EQ(result.status, kExitOk) << result.err;
        const analysis::ViewReport report = analysis::BuildViewReport(stats, view);
        EXPECT_NE(result.out.find(std::string(analysis::ViewTitle(view)) + " 第1回〜第60回（60回分）"),
                  std::string::npos);
        const std::vector<std::string> lines = test::Lines(result.out);
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

TEST_F(StatsViewReportTest, LastCountsOnlyTheLatestDraws)
{
    const CliRun result = run({"stats", "--view", "hot", "--last", "10"});
    ASSERT_EQ(result.status, kExitOk) << result.err;
    EXPECT_NE(result.out.find("」: ホット・コールド 第51回〜第60回（10回分）\n"), std::string::npos)
        << result.out;
    EXPECT_EQ(result.out.find("全回を数えました"), std::string::npos);

    const CliRun more = run({"stats", "--view", "sum", "--last", "500"});
    ASSERT_EQ(more.status, kExitOk);
    EXPECT_NE(more.out.find(
                  "第1回〜第60回（60回分）\n（保存されている当選番号は60回分なので、全回を数えました）\n"),
              std::string::npos)
        << more.out;
}

TEST_F(StatsViewReportTest, ChartIsWrittenBesideAndNeverOverTheDataFile)
{
    const std::filesystem::path chart = m_dir / "pairs.svg";
    const CliRun result = run({"stats", "--view", "pairs", "--svg", chart.string()});
    ASSERT_EQ(result.status, kExitOk) << result.err;
    EXPECT_TRUE(result.out.ends_with("\nグラフを「" + chart.string() + "」に書きました。\n")) << result.out;
    const std::string svg = test::ReadText(chart);
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find("よく一緒に出たペア"), std::string::npos);

    // Both charts of stats go through the guarded writer: the data file, even through a link, is
    // never their target.
    const std::vector<std::uint8_t> before = test::ReadBytes(data());
    std::filesystem::create_symlink(data(), m_dir / "link.svg");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"stats", "--view", "sum", "--svg", data().string()},
          std::vector<std::string>{"stats", "--svg", (m_dir / "link.svg").string()}}) {
        const CliRun refused = run(args);
        EXPECT_EQ(refused.status, kExitFailure);
        EXPECT_NE(refused.err.find("なので、上書きしません"), std::string::npos) << refused.err;
    }
    EXPECT_EQ(test::ReadBytes(data()), before);
    EXPECT_TRUE(std::filesystem::is_symlink(m_dir / "link.svg"));
}

TEST_F(StatsViewReportTest, BadRequestsAreUsageErrors)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"stats", "--view", "frequency"},
             {"stats", "--view", "gaps", "--last", "0"},
             {"stats", "--view", "gaps", "--last", "-3"},
             {"stats", "--last", "10"}, // --last belongs to --view
         })
        EXPECT_EQ(run(args).status, kExitUsage) << args.back();
}

} // namespace
} // namespace zentrix::cli
