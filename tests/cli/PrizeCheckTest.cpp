// PrizeCheck: the set lines check reads, as printed and as people write or copy them, and the
// reason given for each line that is not a set.
#include "PrizeCheck.h"

#include <gtest/gtest.h>

namespace zentrix::cli {
namespace {

TEST(PrizeCheckTest, SetsAsPrintedWrittenOrCopied)
{
    const PredictionSet expected{3, 11, 17, 25, 38, 42};
    struct Case
    {
        const char* text;
        int label;
    };
    for (const Case& c : std::vector<Case>{
             {"001→03 , 11 , 17 , 25 , 38 , 42\r", 1},
             {"００３→０３ , １１ , １７ , ２５ , ３８ , ４２", 3},
             {"  42 3 17,25 ,11 38 ", 0},
             {"３ １１ １７ ２５ ３８ ４２", 0},      // typed with an input method
             {"３　１１　１７　２５　３８　４２", 0}, // ideographic spaces
             {"03-11-17-25-38-42", 0},
             {"3・11・17・25・38・42", 0},
             {"3、11、17、25、38、42", 0},
             {"3/11/17/25/38/42", 0},
             {"３－１１－１７－２５－３８－４２", 0},
             {"42\t38\t25\t17\t11\t3", 0},
             // lines copied from a results page or a results CSV: draw, date and bonus left out
             {"第2037回 2025/10/09(木) 03 11 17 25 38 42 (07)", 0},
             {"第2037回\t2025年10月9日\t03\t11\t17\t25\t38\t42\t(07)", 0},
             {"本数字 03 11 17 25 38 42 ボーナス数字 （07）", 0},
             {"令和7年10月9日 第２０３７回 03 11 17 25 38 42 ボーナス 07", 0},
             {"2037,2025-10-09,3,11,17,25,38,42,7", 0},
         }) {
        const ParsedSetLine line = ParseSetLine(c.text);
        ASSERT_EQ(line.kind, ParsedSetLine::Set) << c.text << ": " << line.error;
        EXPECT_EQ(line.set, expected) << c.text;
        EXPECT_EQ(line.label, c.label) << c.text;
    }
    const std::string padded = std::string(5000, ' ') + "3 11 17 25 38 42" + std::string(5000, ' ');
    EXPECT_EQ(ParseSetLine(padded).kind, ParsedSetLine::Set);
    for (const char* blank : {"Zentrix Predictor Ver.2.11\r", " \t", "　\t"})
        EXPECT_EQ(ParseSetLine(blank).kind, ParsedSetLine::Blank) << blank;
}

TEST(PrizeCheckTest, EachBadLineSaysWhy)
{
    const std::vector<std::pair<std::string, const char*>> cases = {
        {"001→03 , 11 , 17 , 25 , 38", "6個ではありません（5個"},
        {"1 2 3 4 5 6 7", "7個"},
        // Without a date, a draw number or a bonus mark, a seventh number is an error, not a bonus.
        {"3 11 17 25 38 42 07", "7個"},
        {"第2037回 2025/10/09 03 11 17 25 38", "5個"},
        {"1 2 3 4 5 44", "「44」"},
        {"３ １１ １７ ２５ ３８ ４４", "「44」"},
        {"0 2 3 4 5 6", "「0」"},
        {"1 2 3 4 5 x", "「x」"},
        {"3-11-17-25-38-x", "「x」"},
        {"1 2 3 4 5 006", "「006」"},
        {"1 2 3 4 5 5", "05 が2回"},
        {"3・3・17・25・38・42", "03 が2回"},
        {"ab→1 2 3 4 5 6", "「ab」"},
        {"3.11.17.25.38.42", "（1個あります）"},
        // A huge line is refused as a whole rather than taken apart.
        {"3 11 17" + std::string(200000, ' ') + "25 38 42", "長すぎます"},
    };
    for (const auto& [text, reason] : cases) {
        const ParsedSetLine line = ParseSetLine(text);
        EXPECT_EQ(line.kind, ParsedSetLine::Bad) << text.substr(0, 40);
        EXPECT_NE(line.error.find(reason), std::string::npos) << text.substr(0, 40) << ": " << line.error;
    }
}

} // namespace
} // namespace zentrix::cli
