// CsvHistory and TextEncoding: the layouts and encodings import reads, and every row it refuses.
#include "history_io/CsvHistory.h"

#include "history_io/TextEncoding.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <stdexcept>

namespace zentrix {
namespace {

/// `utf8` in Windows' Shift_JIS (CP932), as most Japanese results files are written.
std::string ToCp932(const std::string& utf8)
{
    iconv_t converter = iconv_open("CP932", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("iconv has no CP932");
    std::string input = utf8;
    std::string output(input.size() * 2 + 16, '\0');
    char* in = input.data();
    char* out = output.data();
    std::size_t inLeft = input.size();
    std::size_t outLeft = output.size();
    const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (result == static_cast<std::size_t>(-1))
        throw std::runtime_error("text not representable in CP932");
    output.resize(output.size() - outLeft);
    return output;
}

DrawNumbers Numbers(std::initializer_list<int> values)
{
    DrawNumbers numbers{};
    std::size_t i = 0;
    for (const int v : values)
        numbers[i++] = static_cast<std::int16_t>(v);
    return numbers;
}

TEST(CsvReadingTest, OtherHeaderNamesColumnOrderAndExtraColumns)
{
    // 回別 / 抽せん日 / 本数字, columns in another order and prize columns that are not read.
    const CsvReadResult result =
        ReadHistoryCsv("回別,抽せん日,ボーナス数字,本数字6,本数字5,本数字4,本数字3,本数字2,本数字1,1等口数\n"
                       "第7回,2000/11/16,4,43,33,20,11,5,1,0\n");
    ASSERT_TRUE(result.ok) << result.error;
    ASSERT_EQ(result.draws.size(), 1u);
    EXPECT_EQ(result.draws[0].draw, 7);
    EXPECT_EQ(result.draws[0].numbers, Numbers({1, 5, 11, 20, 33, 43}));
    EXPECT_EQ(result.draws[0].bonus, 4);
}

TEST(CsvReadingTest, BomCrLfQuotesFullWidthDigitsAndUnsortedNumbers)
{
    const CsvReadResult result = ReadHistoryCsv("\xEF\xBB\xBF"
                                                "draw,date,n1,n2,n3,n4,n5,n6,bonus\r\n"
                                                "\"12\",\"2001,01,04\",30,\"5\",１８,3,25,11,７\r\n"
                                                "\r\n"
                                                "13,, 1 ,2,3,4,5,6,7\r\n");
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.encoding, TextEncoding::Utf8WithBom);
    ASSERT_EQ(result.draws.size(), 2u);
    EXPECT_EQ(result.draws[0].numbers, Numbers({3, 5, 11, 18, 25, 30}));
    EXPECT_EQ(result.draws[0].bonus, 7);
    EXPECT_EQ(result.draws[1].draw, 13);
    EXPECT_EQ(result.draws[1].line, 4u);
}

TEST(CsvReadingTest, Cp932SpecificCharactersDecode)
{
    // ～ (0x8160) and № (0x8782) are where CP932 differs from plain Shift_JIS.
    const DecodedText decoded = DecodeText("\x81\x60\x87\x82");
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.text, "\xEF\xBD\x9E\xE2\x84\x96");
}

struct Rejection
{
    const char* name;
    std::string csv;
    std::size_t line;
    const char* reasonPart;
};

class CsvRejectionTest : public ::testing::TestWithParam<Rejection>
{
};

TEST_P(CsvRejectionTest, NamesTheLineAndTheReason)
{
    const CsvReadResult result = ReadHistoryCsv(GetParam().csv);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.draws.empty());
    EXPECT_EQ(result.errorLine, GetParam().line);
    EXPECT_NE(result.error.find(GetParam().reasonPart), std::string::npos) << result.error;
}

const std::string kHeader = "draw,date,n1,n2,n3,n4,n5,n6,bonus\n";
const std::string kGood = "1,,1,2,3,4,5,6,7\n";

INSTANTIATE_TEST_SUITE_P(
    EveryFault, CsvRejectionTest,
    ::testing::Values(
        Rejection{"NumberAbove43", kHeader + kGood + "2,,1,2,3,4,5,44,7\n", 3, "「44」は1から43"},
        Rejection{"NumberZero", kHeader + "1,,0,2,3,4,5,6,7\n", 2, "「0」は1から43"},
        Rejection{"NumberNotANumber", kHeader + "1,,1,2,x,4,5,6,7\n", 2, "「x」"},
        Rejection{"NegativeNumber", kHeader + "1,,1,2,-3,4,5,6,7\n", 2, "「-3」"},
        Rejection{"EmptyNumber", kHeader + "1,,1,2,,4,5,6,7\n", 2, "第3数字"},
        Rejection{"OnlyTheBonus", kHeader + "1,,,,,,,,7\n", 2, "第1数字"},
        Rejection{"BonusOutOfRange", kHeader + "1,,1,2,3,4,5,6,0\n", 2, "ボーナス数字「0」"},
        Rejection{"GapBetweenRows", kHeader + kGood + "3,,1,2,3,4,5,6,7\n", 3, "第1回の次が第3回"},
        Rejection{"DrawRepeated", kHeader + kGood + "1,,1,2,3,4,5,6,7\n", 3, "第1回の次が第1回"},
        Rejection{"NewestFirstThenUp", kHeader + "3,,1,2,3,4,5,6,7\n2,,1,2,3,4,5,6,7\n3,,1,2,3,4,5,6,7\n", 4,
                  "第2回の次が第3回"},
        Rejection{"NewestFirstWithAGap", kHeader + "5,,1,2,3,4,5,6,7\n3,,1,2,3,4,5,6,7\n", 3, "1ずつ減る順"},
        Rejection{"DrawNotANumber", kHeader + "one,,1,2,3,4,5,6,7\n", 2, "開催回「one」"},
        Rejection{"TooFewFields", kHeader + kGood + "2,,1,2,3\n", 3, "列が足りません"},
        Rejection{"UnclosedQuote", kHeader + "1,\"2000,1,2,3,4,5,6,7\n", 2, "引用符"},
        Rejection{"UnknownHeader", "no,date,a,b,c,d,e,f,g\n" + kGood, 1, "開催回、第1数字"},
        Rejection{"HeaderWithoutBonus", "draw,n1,n2,n3,n4,n5,n6\n1,1,2,3,4,5,6\n", 1, "ボーナス数字 の列"},
        Rejection{"HeaderTwiceTheSameColumn", "draw,開催回,n1,n2,n3,n4,n5,n6,bonus\n", 1, "2つ"},
        Rejection{"EmptyFile", "\n\n", 0, "空"},
        Rejection{"NeitherUtf8NorCp932", kHeader + "1,,1,2,3,4,5,6,7\n\xFF\xFD\n", 3, "文字コード"},
        Rejection{"BrokenUtf8AfterBom", "\xEF\xBB\xBF" + kHeader + "1,\xE3\x81,1,2,3,4,5,6,7\n", 2,
                  "文字コード"}),
    [](const ::testing::TestParamInfo<Rejection>& info) { return std::string(info.param.name); });

TEST(TextEncodingTest, Utf8Validation)
{
    EXPECT_TRUE(IsValidUtf8("abc 開催回 \xF0\x9F\x8E\xB2"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));         // overlong slash
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")); // above U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xE3\x81"));         // cut short
}

TEST(TextEncodingTest, DisplayWidthCountsWideCharactersTwice)
{
    EXPECT_EQ(DisplayWidth("abc"), 3u);
    EXPECT_EQ(DisplayWidth("数字"), 4u);
    EXPECT_EQ(DisplayWidth("出現率(1/10000)"), 6u + 9u);
    EXPECT_EQ(DisplayWidth("１２"), 4u);
}

TEST(CsvWritingTest, LineKeepsStoredOrderAndLeavesTheDateEmpty)
{
    DrawRecord record;
    record.Numbers = Numbers({30, 5, 18, 3, 25, 11});
    record.Bonus = 7;
    EXPECT_EQ(CsvLine(12, record), "12,,30,5,18,3,25,11,7");
}

TEST(CsvLayoutsTest, DownloadedLayoutsReadAlike)
{
    // The same two draws as result sites and spreadsheets write them: 回号 and BONUS数字 in any
    // case and width, full-width digits, quoted cells, newest first, a trailing empty column,
    // CR LF or LF, UTF-8 with or without a byte order mark, and Excel's CP932.
    const std::vector<std::string> layouts{
        "回号,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,BONUS数字\n"
        "1,2000/10/05,2,8,10,13,27,30,39\n2,2000/10/12,1,9,16,20,21,43,5\n",
        "回号,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,bonus数字,\r\n"
        "第2回,2000/10/12,1,9,16,20,21,43,5,\r\n第1回,2000/10/05,2,8,10,13,27,30,39,\r\n",
        "\xEF\xBB\xBF\"回号\",\"抽せん日\",\"第１数字\",\"第２数字\",\"第３数字\",\"第４数字\",\"第５数字\","
        "\"第６数字\","
        "\"ＢＯＮＵＳ数字\"\r\n\"２\",\"2000/10/"
        "12\",\"１\",\"９\",\"１６\",\"２０\",\"２１\",\"４３\",\"５\"\r\n"
        "\"１\",\"2000/10/05\",\"２\",\"８\",\"１０\",\"１３\",\"２７\",\"３０\",\"３９\"\r\n",
        ToCp932("開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,Ｂｏｎｕｓ数字,\r\n"
                "2,2000年10月12日,1,9,16,20,21,43,5,\r\n1,2000年10月5日,2,8,10,13,27,30,39,\r\n"),
    };
    for (std::size_t i = 0; i < layouts.size(); ++i) {
        const CsvReadResult result = ReadHistoryCsv(layouts[i]);
        ASSERT_TRUE(result.ok) << "layout " << i << ": line " << result.errorLine << ": " << result.error;
        ASSERT_EQ(result.draws.size(), 2u) << "layout " << i;
        EXPECT_EQ(result.newestFirst, i != 0) << "layout " << i;
        EXPECT_EQ(result.draws[0].draw, 1) << "layout " << i;
        EXPECT_EQ(result.draws[0].numbers, Numbers({2, 8, 10, 13, 27, 30})) << "layout " << i;
        EXPECT_EQ(result.draws[0].bonus, 39) << "layout " << i;
        EXPECT_EQ(result.draws[1].numbers, Numbers({1, 9, 16, 20, 21, 43})) << "layout " << i;
        EXPECT_EQ(result.draws[1].bonus, 5) << "layout " << i;
        // Newest first: draw 1 stood on the last line, and its line number says so.
        EXPECT_EQ(result.draws[0].line, i == 0 ? 2u : 3u) << "layout " << i;
        EXPECT_EQ(result.draws[1].line, i == 0 ? 3u : 2u) << "layout " << i;
        EXPECT_TRUE(result.warnings.empty()) << "layout " << i;
    }
    EXPECT_EQ(ReadHistoryCsv(layouts[0]).encoding, TextEncoding::Utf8);
    EXPECT_EQ(ReadHistoryCsv(layouts[3]).encoding, TextEncoding::Cp932);
    EXPECT_EQ(ReadHistoryCsv(layouts[2]).encoding, TextEncoding::Utf8WithBom);
}

TEST(CsvLayoutsTest, DrawsTheEditorAcceptsAreTakenWithAWarning)
{
    // The editor stores 5 5 10 20 30 40, and a bonus equal to a number: import takes them back.
    const CsvReadResult result = ReadHistoryCsv(kHeader + "1,,5,5,10,20,30,40,7\n2,,1,2,3,4,5,6,6\n"
                                                          "3,,9,9,9,1,2,3,4\n");
    ASSERT_TRUE(result.ok) << result.error;
    ASSERT_EQ(result.draws.size(), 3u);
    EXPECT_EQ(result.draws[0].numbers, Numbers({5, 5, 10, 20, 30, 40}));
    EXPECT_EQ(result.draws[1].bonus, 6);
    EXPECT_EQ(result.draws[2].numbers, Numbers({1, 2, 3, 9, 9, 9}));
    ASSERT_EQ(result.warnings.size(), 3u); // one per repeated value, one for the bonus
    EXPECT_EQ(result.warnings[0].line, 2u);
    EXPECT_NE(result.warnings[0].text.find(" 5 が2回以上"), std::string::npos) << result.warnings[0].text;
    EXPECT_EQ(result.warnings[1].line, 3u);
    EXPECT_NE(result.warnings[1].text.find("ボーナス数字 6 が本数字"), std::string::npos);
    EXPECT_EQ(result.warnings[2].line, 4u);
    EXPECT_NE(result.warnings[2].text.find(" 9 が2回以上"), std::string::npos);
}

TEST(CsvWritingTest, SpreadsheetLayoutHasBomJapaneseHeaderAndCrLf)
{
    DrawRecord first;
    first.Numbers = Numbers({5, 5, 10, 20, 30, 40});
    first.Bonus = 7;
    DrawRecord second;
    second.Numbers = Numbers({1, 9, 16, 20, 21, 43});
    second.Bonus = 5;
    const std::string text = HistoryCsvText({first, second}, CsvLayout::Spreadsheet);
    EXPECT_EQ(text, "\xEF\xBB\xBF開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,ボーナス数字\r\n"
                    "1,,5,5,10,20,30,40,7\r\n2,,1,9,16,20,21,43,5\r\n");
    EXPECT_EQ(HistoryCsvText({first}, CsvLayout::Plain),
              std::string(kCsvHeader) + "\n1,,5,5,10,20,30,40,7\n");

    // Both layouts read back to the same draws, and writing those again gives the same bytes.
    for (const CsvLayout layout : {CsvLayout::Plain, CsvLayout::Spreadsheet}) {
        const std::string written = HistoryCsvText({first, second}, layout);
        const CsvReadResult back = ReadHistoryCsv(written);
        ASSERT_TRUE(back.ok) << back.error;
        std::vector<DrawRecord> records;
        for (const CsvDraw& draw : back.draws) {
            DrawRecord record;
            record.Numbers = draw.numbers;
            record.Bonus = draw.bonus;
            records.push_back(record);
        }
        EXPECT_EQ(HistoryCsvText(records, layout), written);
    }
}

} // namespace
} // namespace zentrix
