// zentrix-cli check: the printed report of a scored draw, sets from standard input or a file, bad
// lines listed by number with nothing scored, one message per refusal, a data file only read.
#include "Commands.h"
#include "support/CliRunner.h"
#include "support/HistoryFixtures.h"

#include <gtest/gtest.h>

namespace zentrix::cli {
namespace {

using test::CliRun;
using test::Draw;

class CheckCommandTest : public test::CommandTest
{
protected:
    void SetUp() override { store({Draw({1, 2, 3, 4, 5, 6}, 7), Draw({3, 11, 17, 25, 38, 42}, 7)}); }

    CliRun check(const std::string& input, std::vector<std::string> extra = {})
    {
        extra.insert(extra.begin(), {"check", "--draw", "2"});
        return run(extra, input);
    }
};

TEST_F(CheckCommandTest, ScoresPrintedOutputFromStandardInput)
{
    const std::vector<std::uint8_t> before = test::ReadBytes(data());
    const CliRun run = check("Zentrix Predictor Ver.2.11\n\n"
                             "001→03 , 11 , 17 , 25 , 38 , 42\n"
                             "002→03 , 07 , 11 , 17 , 25 , 38\n"
                             "003→03 , 11 , 17 , 25 , 38 , 43\n"
                             "004→03 , 07 , 11 , 17 , 25 , 43\n"
                             "005→03 , 07 , 11 , 17 , 40 , 43\n"
                             "006→01 , 02 , 04 , 05 , 06 , 07\n");
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, "第2回の当選番号: 03 , 11 , 17 , 25 , 38 , 42 ボーナス 07\n\n"
                       "001→03 , 11 , 17 , 25 , 38 , 42  一致 6個（03 11 17 25 38 42）  1等\n"
                       "002→03 , 07 , 11 , 17 , 25 , 38  一致 5個（03 11 17 25 38） ボーナス 07  2等\n"
                       "003→03 , 11 , 17 , 25 , 38 , 43  一致 5個（03 11 17 25 38）  3等\n"
                       "004→03 , 07 , 11 , 17 , 25 , 43  一致 4個（03 11 17 25） ボーナス 07  4等\n"
                       "005→03 , 07 , 11 , 17 , 40 , 43  一致 3個（03 11 17） ボーナス 07  5等\n"
                       "006→01 , 02 , 04 , 05 , 06 , 07  一致 0個 ボーナス 07  はずれ\n\n"
                       "1等 1口 / 2等 1口 / 3等 1口 / 4等 1口 / 5等 1口 / はずれ 1口（全6口）\n");
    EXPECT_EQ(test::ReadBytes(data()), before);
}

TEST_F(CheckCommandTest, ReadsAFileOfPlainLinesNumberedInOrder)
{
    const std::filesystem::path file = m_dir / "sets.txt";
    test::WriteText(file, "\xEF\xBB\xBF"
                          "42 38 25 17 11 3\n1 2 4 5 6 8\n");
    const CliRun run = check("", {file.string()});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_NE(run.out.find("001→03 , 11 , 17 , 25 , 38 , 42  一致 6個"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("002→01 , 02 , 04 , 05 , 06 , 08  一致 0個  はずれ"), std::string::npos)
        << run.out;
}

TEST_F(CheckCommandTest, BadLinesAreListedWithTheirNumbersAndNothingIsScored)
{
    const CliRun run = check("Zentrix Predictor Ver.2.11\n\n001→03 , 11 , 17 , 25 , 38 , 42\n"
                             "002→03 , 11 , 17 , 25 , 38\n"
                             "1 2 3 4 5 6\n" +
                             std::string(60, '7') + "\n");
    EXPECT_EQ(run.status, kExitFailure);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("標準入力の4行目「002→03 , 11 , 17 , 25 , 38」: 数字が6個ではありません"),
              std::string::npos)
        << run.err;
    // A long line is named by its first 40 characters.
    EXPECT_NE(run.err.find("標準入力の6行目「" + std::string(40, '7') + "…」: "), std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find("3行目"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("のように、6個の数字を"), std::string::npos) << run.err;

    // Past twenty bad lines the rest are counted.
    std::string many;
    for (int i = 0; i < 23; ++i)
        many += "1 2 3\n";
    const CliRun flood = check(many);
    EXPECT_NE(flood.err.find("20行目"), std::string::npos);
    EXPECT_EQ(flood.err.find("21行目"), std::string::npos);
    EXPECT_NE(flood.err.find("ほかに 3 行の誤りがあります。"), std::string::npos) << flood.err;
}

TEST_F(CheckCommandTest, RefusesWhatCannotBeChecked)
{
    const std::string one = "1 2 3 4 5 6\n";
    struct Case
    {
        std::vector<std::string> args;
        std::string input;
        int status;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"check", "--draw", "3"}, one, kExitFailure, "第3回の当選番号はデータファイル"},
        {{"check", "--draw", "0"}, one, kExitFailure, "（保存されているのは第1回〜第2回です）"},
        {{"check"}, one, kExitUsage, "--draw を指定して下さい"},
        {{"check", "--draw", "2"},
         "Zentrix Predictor Ver.2.11\n\n",
         kExitFailure,
         "標準入力に予想番号の行がありません"},
        {{"check", "--draw", "2", (m_dir / "none.txt").string()},
         "",
         kExitFailure,
         "none.txt」を読み込めませんでした"},
        {{"check", "--draw", "2"}, "\xFF\xFE\n", kExitFailure, "標準入力の1行目: 文字コードが"},
    };
    for (const Case& c : cases) {
        const CliRun refused = run(c.args, c.input);
        EXPECT_EQ(refused.status, c.status) << c.message;
        EXPECT_EQ(refused.out, "") << c.message;
        EXPECT_NE(refused.err.find(c.message), std::string::npos) << refused.err;
    }

    // A stored record that is not a valid draw (an empty slot read as zeros) is not scored.
    store({Draw({0, 0, 0, 0, 0, 0}, 0), Draw({1, 2, 3, 4, 5, 6}, 7)});
    const CliRun zeros = run({"check", "--draw", "1"}, one);
    EXPECT_EQ(zeros.status, kExitFailure);
    EXPECT_NE(zeros.err.find("の第1回は当選番号として正しくありません"), std::string::npos) << zeros.err;
    store({});
    EXPECT_NE(run({"check", "--draw", "1"}, one).err.find("（保存されているのは0回分です）"),
              std::string::npos);
}

} // namespace
} // namespace zentrix::cli
