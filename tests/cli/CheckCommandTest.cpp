// zentrix-cli check: prize tiers (the bonus only makes five matches a second prize), the printed
// and plain line forms, bad lines with their numbers, and a data file that is only read.
#include "Commands.h"
#include "PrizeCheck.h"
#include "support/CliRunner.h"
#include "support/HistoryFixtures.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sstream>

namespace zentrix::cli {
namespace {

using test::CliRun;
using test::RunCli;
using zentrix::test::Draw;

PredictionSet Set(std::initializer_list<int> numbers)
{
    PredictionSet set{};
    std::size_t i = 0;
    for (const int n : numbers)
        set[i++] = static_cast<std::int16_t>(n);
    return set;
}

const DrawRow kDraw = {3, 11, 17, 25, 38, 42, 7};

TEST(PrizeTierTest, EveryTierAndTheBonusRule)
{
    struct Case
    {
        PredictionSet set;
        int matches;
        bool bonus;
        Prize prize;
    };
    const std::vector<Case> cases = {
        {Set({3, 11, 17, 25, 38, 42}), 6, false, Prize::First},
        {Set({3, 7, 11, 17, 25, 38}), 5, true, Prize::Second},
        {Set({3, 11, 17, 25, 38, 43}), 5, false, Prize::Third},
        {Set({3, 7, 11, 17, 25, 43}), 4, true, Prize::Fourth}, // the bonus does not lift four matches
        {Set({3, 11, 17, 25, 40, 43}), 4, false, Prize::Fourth},
        {Set({3, 7, 11, 17, 40, 43}), 3, true, Prize::Fifth},
        {Set({3, 11, 17, 39, 40, 43}), 3, false, Prize::Fifth},
        {Set({3, 7, 11, 39, 40, 43}), 2, true, Prize::None}, // nor two
        {Set({1, 2, 4, 5, 6, 8}), 0, false, Prize::None},
    };
    for (const Case& c : cases) {
        const Score score = ScoreSet(c.set, kDraw);
        EXPECT_EQ(score.matches, c.matches) << c.set[0] << " " << c.set[1];
        EXPECT_EQ(score.bonusHit, c.bonus);
        EXPECT_EQ(score.prize, c.prize) << PrizeName(score.prize) << " for " << c.matches << " matches";
    }
}

TEST(SetLineTest, PrintedAndPlainForms)
{
    const ParsedSetLine printed = ParseSetLine("001→03 , 11 , 17 , 25 , 38 , 42\r");
    ASSERT_EQ(printed.kind, ParsedSetLine::Set);
    EXPECT_EQ(printed.label, 1);
    EXPECT_EQ(printed.set, Set({3, 11, 17, 25, 38, 42}));

    const ParsedSetLine plain = ParseSetLine("  42 3 17,25 ,11 38 ");
    ASSERT_EQ(plain.kind, ParsedSetLine::Set) << plain.error;
    EXPECT_EQ(plain.label, 0);
    EXPECT_EQ(plain.set, Set({3, 11, 17, 25, 38, 42}));

    EXPECT_EQ(ParseSetLine("Zentrix Predictor Ver.2.11\r").kind, ParsedSetLine::Blank);
    EXPECT_EQ(ParseSetLine(" \t").kind, ParsedSetLine::Blank);
}

TEST(SetLineTest, BadLinesSayWhy)
{
    EXPECT_NE(ParseSetLine("001→03 , 11 , 17 , 25 , 38").error.find("6個ではありません（5個"),
              std::string::npos);
    EXPECT_NE(ParseSetLine("1 2 3 4 5 6 7").error.find("7個"), std::string::npos);
    EXPECT_NE(ParseSetLine("1 2 3 4 5 44").error.find("「44」"), std::string::npos);
    EXPECT_NE(ParseSetLine("0 2 3 4 5 6").error.find("「0」"), std::string::npos);
    EXPECT_NE(ParseSetLine("1 2 3 4 5 x").error.find("「x」"), std::string::npos);
    EXPECT_NE(ParseSetLine("1 2 3 4 5 5").error.find("05 が2回"), std::string::npos);
    EXPECT_NE(ParseSetLine("ab→1 2 3 4 5 6").error.find("「ab」"), std::string::npos);
    EXPECT_EQ(ParseSetLine("1 2 3 4 5 006").kind, ParsedSetLine::Bad);
}

TEST(SetLineTest, SetsAsPeopleWriteThem)
{
    const PredictionSet expected = Set({3, 11, 17, 25, 38, 42});
    for (const char* text : {
             "３ １１ １７ ２５ ３８ ４２",      // typed with an input method
             "３　１１　１７　２５　３８　４２", // ideographic spaces
             "03-11-17-25-38-42",
             "3・11・17・25・38・42",
             "3、11、17、25、38、42",
             "3/11/17/25/38/42",
             "３－１１－１７－２５－３８－４２",
             "42\t38\t25\t17\t11\t3",
             "17 42 3 38 11 25",
             "００３→０３ , １１ , １７ , ２５ , ３８ , ４２",
             // lines copied from a results page or a results CSV
             "第2037回 2025/10/09(木) 03 11 17 25 38 42 (07)",
             "第2037回\t2025年10月9日\t03\t11\t17\t25\t38\t42\t(07)",
             "本数字 03 11 17 25 38 42 ボーナス数字 （07）",
             "令和7年10月9日 第２０３７回 03 11 17 25 38 42 ボーナス 07",
             "2037,2025-10-09,3,11,17,25,38,42,7",
         }) {
        const ParsedSetLine line = ParseSetLine(text);
        ASSERT_EQ(line.kind, ParsedSetLine::Set) << text << ": " << line.error;
        EXPECT_EQ(line.set, expected) << text;
    }
    EXPECT_EQ(ParseSetLine("００３→０３ , １１ , １７ , ２５ , ３８ , ４２").label, 3);
    EXPECT_EQ(ParseSetLine("　\t").kind, ParsedSetLine::Blank);
}

TEST(SetLineTest, LenientFormsStillRefuseWhatIsNotASet)
{
    // Without a date, a draw number or a bonus mark, a seventh number is an error, not a bonus.
    EXPECT_NE(ParseSetLine("3 11 17 25 38 42 07").error.find("7個"), std::string::npos);
    EXPECT_NE(ParseSetLine("３ １１ １７ ２５ ３８ ４４").error.find("「44」"), std::string::npos);
    EXPECT_NE(ParseSetLine("3-11-17-25-38-x").error.find("「x」"), std::string::npos);
    EXPECT_NE(ParseSetLine("3.11.17.25.38.42").error.find("（1個あります）"), std::string::npos);
    EXPECT_NE(ParseSetLine("第2037回 2025/10/09 03 11 17 25 38").error.find("5個"), std::string::npos);
    EXPECT_NE(ParseSetLine("3・3・17・25・38・42").error.find("03 が2回"), std::string::npos);
    // A huge line is refused as a whole rather than taken apart.
    const std::string huge = "3 11 17" + std::string(200000, ' ') + "25 38 42";
    EXPECT_NE(ParseSetLine(huge).error.find("長すぎます"), std::string::npos);
    EXPECT_EQ(ParseSetLine(std::string(5000, ' ') + "3 11 17 25 38 42" + std::string(5000, ' ')).kind,
              ParsedSetLine::Set);
}

class CheckCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        zentrix::test::WriteHistory(data(), {Draw({1, 2, 3, 4, 5, 6}, 7), Draw({3, 11, 17, 25, 38, 42}, 7)});
    }
    std::string data() const { return (m_dir / "Loto6data.dt").string(); }

    CliRun check(const std::string& input, std::vector<std::string> extra = {})
    {
        std::vector<std::string> args = {"check", "--draw", "2", "--data", data()};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunCli(args, input);
    }

    zentrix::test::TempDir m_dir;
};

TEST_F(CheckCommandTest, ScoresPrintedOutputFromStandardInput)
{
    const std::vector<std::uint8_t> before = zentrix::test::ReadBytes(data());
    const CliRun run = check("Zentrix Predictor Ver.2.11\n\n"
                             "001→03 , 11 , 17 , 25 , 38 , 42\n"
                             "002→03 , 07 , 11 , 17 , 25 , 38\n"
                             "003→03 , 11 , 17 , 25 , 38 , 43\n"
                             "004→03 , 07 , 11 , 17 , 25 , 43\n"
                             "005→03 , 07 , 11 , 17 , 40 , 43\n"
                             "006→01 , 02 , 04 , 05 , 06 , 07\n");
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_NE(run.out.find("第2回の当選番号: 03 , 11 , 17 , 25 , 38 , 42 ボーナス 07"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("001→03 , 11 , 17 , 25 , 38 , 42  一致 6個（03 11 17 25 38 42）  1等\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("002→03 , 07 , 11 , 17 , 25 , 38  一致 5個（03 11 17 25 38） ボーナス 07  2等\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("004→03 , 07 , 11 , 17 , 25 , 43  一致 4個（03 11 17 25） ボーナス 07  4等\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("006→01 , 02 , 04 , 05 , 06 , 07  一致 0個 ボーナス 07  はずれ\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("1等 1口 / 2等 1口 / 3等 1口 / 4等 1口 / 5等 1口 / はずれ 1口（全6口）"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(zentrix::test::ReadBytes(data()), before);
}

TEST_F(CheckCommandTest, ReadsAFileOfPlainLines)
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
                             "003→03 , 11 , 17 , 25 , 38 , 44\n");
    EXPECT_EQ(run.status, kExitFailure);
    EXPECT_TRUE(run.out.empty()) << run.out;
    EXPECT_NE(run.err.find("標準入力の4行目「002→03 , 11 , 17 , 25 , 38」: 数字が6個ではありません"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("標準入力の5行目「003→03 , 11 , 17 , 25 , 38 , 44」: 「44」"), std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find("3行目"), std::string::npos) << run.err;
}

TEST_F(CheckCommandTest, ReadsFullWidthAndDashedSetsAndNamesALongBadLineShortly)
{
    const CliRun run = check("４２　３８　２５　１７　１１　３\n01-02-04-05-06-08\n");
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_NE(run.out.find("001→03 , 11 , 17 , 25 , 38 , 42  一致 6個"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("002→01 , 02 , 04 , 05 , 06 , 08  一致 0個"), std::string::npos) << run.out;

    const CliRun bad = check("1 2 3 4 5 6\n" + std::string(60, '7') + "\n");
    EXPECT_EQ(bad.status, kExitFailure);
    EXPECT_NE(bad.err.find("標準入力の2行目「" + std::string(40, '7') + "…」: "), std::string::npos)
        << bad.err;
}

TEST_F(CheckCommandTest, RefusesWhatCannotBeChecked)
{
    const std::string one = "1 2 3 4 5 6\n";
    const CliRun notStored = RunCli({"check", "--draw", "3", "--data", data()}, one);
    EXPECT_EQ(notStored.status, kExitFailure);
    EXPECT_NE(notStored.err.find("第1回〜第2回"), std::string::npos) << notStored.err;
    EXPECT_EQ(RunCli({"check", "--draw", "0", "--data", data()}, one).status, kExitFailure);
    EXPECT_EQ(RunCli({"check", "--data", data()}, one).status, kExitUsage); // --draw is required
    EXPECT_EQ(RunCli({"check", "--draw", "x"}, one).status, kExitUsage);

    const CliRun empty = check("Zentrix Predictor Ver.2.11\n\n");
    EXPECT_EQ(empty.status, kExitFailure);
    EXPECT_NE(empty.err.find("予想番号の行がありません"), std::string::npos);

    const CliRun missing = check("", {(m_dir / "none.txt").string()});
    EXPECT_EQ(missing.status, kExitFailure);
    EXPECT_NE(missing.err.find("読み込めませんでした"), std::string::npos);

    // A stored record that is not a valid draw (an empty slot read as zeros) is not scored.
    zentrix::test::WriteHistory(data(), {Draw({0, 0, 0, 0, 0, 0}, 0), Draw({1, 2, 3, 4, 5, 6}, 7)});
    const CliRun zeros = RunCli({"check", "--draw", "1", "--data", data()}, one);
    EXPECT_EQ(zeros.status, kExitFailure);
    EXPECT_NE(zeros.err.find("正しくありません"), std::string::npos);
}

TEST_F(CheckCommandTest, ScoresWhatGenerateWrites)
{
    zentrix::test::WriteHistory(data(), zentrix::test::SyntheticHistory(60, 8));
    const CliRun generated = RunCli({"generate", "--data", data(), "--sets", "30", "--seed", "5"});
    ASSERT_EQ(generated.status, kExitOk) << generated.err;
    const CliRun run = RunCli({"check", "--draw", "60", "--data", data()}, generated.out);
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_NE(run.out.find("（全30口）"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("030→"), std::string::npos);
}

} // namespace
} // namespace zentrix::cli
