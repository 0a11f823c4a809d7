// zentrix-cli import: the summary of what was added, skipped and filled, warnings, one refusal per
// kind leaving the data file byte for byte as it was, a data file held by the window, and input
// that must not reach the terminal or the memory unbounded.
#include "Commands.h"
#include "history_io/CsvHistory.h"
#include "store/HistoryFile.h"
#include "support/CliRunner.h"
#include "support/HistoryFixtures.h"

#include <gtest/gtest.h>

namespace zentrix::cli {
namespace {

using test::CliRun;
using test::Draw;
using test::EnglishCsv;

const std::string kHeader = "draw,date,n1,n2,n3,n4,n5,n6,bonus\n";

class ImportCommandTest : public test::CommandTest
{
protected:
    std::filesystem::path csv() const { return m_dir / "results.csv"; }

    CliRun import(const std::string& csvText)
    {
        test::WriteText(csv(), csvText);
        return run({"import", csv().string()});
    }

    /// Files in the folder besides the data file and the CSV: leftovers of a failed import.
    std::vector<std::string> strayFiles() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir.path())) {
            const std::string name = entry.path().filename().string();
            if (name != "Loto6data.dt" && name != "results.csv")
                names.push_back(name);
        }
        return names;
    }
};

TEST_F(ImportCommandTest, ContinuesFromTheLatestSkipsWhatIsStoredAndSaysSo)
{
    std::vector<DrawRecord> all = test::SyntheticHistory(12, 5);
    // A stored draw whose numbers are in another order is the same draw.
    std::vector<DrawRecord> stored(all.begin(), all.begin() + 8);
    std::reverse(stored[6].Numbers.begin(), stored[6].Numbers.end());
    store(stored);
    const CliRun run = import(EnglishCsv({all.begin() + 5, all.end()}, 6)); // 6..8 stored, 9..12 new
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out,
              "第9回〜第12回の4回分を取り込みました（保存済みと同じため飛ばした行: 3回分、文字コード: "
              "UTF-8）。\nデータファイル「" +
                  data().string() + "」の最新は第12回です。\n");
    all[6] = stored[6];
    EXPECT_EQ(test::ReadRecords(data()), all);
    EXPECT_TRUE(strayFiles().empty());

    const CliRun again = import(EnglishCsv(all));
    ASSERT_EQ(again.status, kExitOk) << again.err;
    EXPECT_TRUE(again.out.starts_with(
        "新しく取り込む当選番号はありませんでした（0回分）（保存済みと同じため飛ばした行: 12回分"))
        << again.out;
}

TEST_F(ImportCommandTest, EmptyRecordsInsideAndAtTheEndAreFilled)
{
    const std::vector<DrawRecord> all = test::SyntheticHistory(4, 8);
    store({all[0], Draw({0, 0, 0, 0, 0, 0}, 0), all[2], Draw({0, 0, 0, 0, 0, 0}, 0)});
    const CliRun run = import(EnglishCsv(all));
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_NE(run.out.find("第4回〜第4回の1回分を取り込みました"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("データファイルの途中の空きレコード 1回分にも CSV の当選番号を入れました。"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(test::ReadRecords(data()), all);
}

TEST_F(ImportCommandTest, AnExportWithAnEmptyRecordImportsBackTheSameRecords)
{
    const std::vector<DrawRecord> all = test::SyntheticHistory(4, 8);
    const std::vector<DrawRecord> holed{all[0], Draw({0, 0, 0, 0, 0, 0}, 0), all[2], all[3]};
    store(holed);
    const CliRun exported = run({"export"});
    ASSERT_EQ(exported.status, kExitOk) << exported.err;
    std::filesystem::remove(data());
    const CliRun back = import(exported.out);
    ASSERT_EQ(back.status, kExitOk) << back.err;
    EXPECT_NE(back.out.find("そのうち 1回分は CSV に当選番号が無いため、空きレコードにしました。"),
              std::string::npos)
        << back.out;
    EXPECT_EQ(test::ReadRecords(data()), holed);
}

TEST_F(ImportCommandTest, TheFileIsCreatedOnlyWhenTheImportSucceeds)
{
    const CliRun failed = import(kHeader + "2,,1,2,3,4,5,6,7\n");
    EXPECT_EQ(failed.status, kExitFailure);
    EXPECT_FALSE(std::filesystem::exists(data()));
    EXPECT_TRUE(strayFiles().empty());

    const CliRun headerOnly =
        import("開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,ボーナス数字\n");
    ASSERT_EQ(headerOnly.status, kExitOk) << headerOnly.err;
    EXPECT_NE(headerOnly.out.find("最新は第0回"), std::string::npos) << headerOnly.out;
    EXPECT_EQ(std::filesystem::file_size(data()), 0u);

    // Old Mac line ends read as lines.
    ASSERT_EQ(import("draw,date,n1,n2,n3,n4,n5,n6,bonus\r1,,1,2,3,4,5,6,7\r2,,8,9,10,11,12,13,14\r").status,
              kExitOk);
    EXPECT_EQ(test::ReadRecords(data()),
              (std::vector<DrawRecord>{Draw({1, 2, 3, 4, 5, 6}, 7), Draw({8, 9, 10, 11, 12, 13}, 14)}));
}

TEST_F(ImportCommandTest, AReplacedFileKeepsItsLinkAndPermissions)
{
    const std::filesystem::path real = m_dir / "real.dt";
    test::WriteHistory(real, {Draw({1, 2, 3, 4, 5, 6}, 7)});
    const auto perms = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                       std::filesystem::perms::group_read;
    std::filesystem::permissions(real, perms);
    std::filesystem::create_symlink(real, data());
    const CliRun run = import(kHeader + "2,,8,9,10,11,12,13,14\n");
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_TRUE(std::filesystem::is_symlink(data()));
    EXPECT_EQ(test::ReadRecords(real).size(), 2u);
    EXPECT_EQ(std::filesystem::status(real).permissions(), perms);
    EXPECT_EQ(strayFiles(), std::vector<std::string>{"real.dt"});
}

TEST_F(ImportCommandTest, DrawsTheEditorAcceptsComeInWithAWarning)
{
    const CliRun run = import(kHeader + "1,,5,5,10,20,30,40,7\n2,,1,2,3,4,5,6,6\n");
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_NE(run.err.find("results.csv」の2行目: 注意: 第1回の本数字に 5 が2回以上"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("results.csv」の3行目: 注意: 第2回のボーナス数字 6 が本数字"), std::string::npos)
        << run.err;
    EXPECT_EQ(test::ReadRecords(data()).size(), 2u);
}

struct Refusal
{
    const char* name;
    std::string csv; ///< against a file holding draws 1..3 below
    int status;
    const char* messagePart;
};

class ImportRefusalTest : public ImportCommandTest, public ::testing::WithParamInterface<Refusal>
{
};

const std::string kStored = "1,,1,2,3,4,5,6,7\n2,,8,9,10,11,12,13,14\n3,,15,16,17,18,19,20,21\n";

TEST_P(ImportRefusalTest, LeavesTheFileByteIdentical)
{
    // Three stored draws, one with Reserved set and a partial record at the end: all must survive.
    store({Draw({1, 2, 3, 4, 5, 6}, 7), Draw({8, 9, 10, 11, 12, 13}, 14, 5),
           Draw({15, 16, 17, 18, 19, 20}, 21)});
    std::vector<std::uint8_t> bytes = test::ReadBytes(data());
    bytes.insert(bytes.end(), {0xAB, 0xCD, 0xEF});
    test::WriteBytes(data(), bytes);

    const CliRun run = import(GetParam().csv);
    EXPECT_EQ(run.status, GetParam().status);
    EXPECT_NE(run.err.find(GetParam().messagePart), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("変更していません"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(test::ReadBytes(data()), bytes);
    EXPECT_TRUE(strayFiles().empty());
}

INSTANTIATE_TEST_SUITE_P(
    OnePerKind, ImportRefusalTest,
    ::testing::Values(
        // The CSV itself: the row's line and the reason.
        Refusal{"BadNumber", kHeader + kStored + "4,,1,2,3,4,5,99,7\n", kExitFailure,
                "results.csv」の5行目: 第4回の第6数字「99」"},
        Refusal{"UnknownHeader", "回,日,a,b,c,d,e,f,g\n4,,1,2,3,4,5,6,7\n", kExitFailure,
                "」の1行目: 見出しの行"},
        // Against the stored draws: numbers or only the bonus differ, or draws are missing.
        Refusal{"ConflictingStoredDraw",
                kHeader +
                    "1,,1,2,3,4,5,6,7\n2,,8,9,10,11,12,40,14\n3,,15,16,17,18,19,20,21\n4,,1,2,3,4,5,6,7\n",
                kExitFailure, "results.csv」の3行目: 第2回はデータファイルに別の当選番号"},
        Refusal{"ConflictingBonus", kHeader + "3,,15,16,17,18,19,20,22\n", kExitFailure,
                "第3回はデータファイル"},
        Refusal{"GapAfterLatest", kHeader + "6,,1,2,3,4,5,6,7\n", kExitFailure,
                "第4回〜第5回が抜けています"}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

TEST_F(ImportCommandTest, AFileHeldByTheWindowIsSentToTheWindowsImport)
{
    store({Draw({1, 2, 3, 4, 5, 6}, 7)});
    const std::vector<std::uint8_t> before = test::ReadBytes(data());
    HistoryFile held(data());
    ASSERT_TRUE(held.OpenHistory().ok());
    const CliRun run = import(kHeader + "2,,8,9,10,11,12,13,14\n");
    EXPECT_EQ(run.status, kExitDataFile);
    EXPECT_NE(run.err.find("使用中"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("「ファイル → 当選番号の取り込み…」"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("起動"), std::string::npos) << run.err; // nothing is to be started
    EXPECT_EQ(test::ReadBytes(data()), before);
    EXPECT_TRUE(strayFiles().empty());
}

TEST_F(ImportCommandTest, ASummaryThatCannotBePrintedStillReportsTheImportAsDone)
{
    const std::vector<DrawRecord> all = test::SyntheticHistory(22, 4);
    store({all.begin(), all.begin() + 20});
    test::WriteText(csv(), EnglishCsv(all));
    const CliRun run = test::RunCliIntoFullOutput({"import", csv().string(), "--data", data().string()});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_NE(
        run.err.find("取り込みは完了しています（データファイル「" + data().string() + "」の最新は第22回）。"),
        std::string::npos)
        << run.err;
    EXPECT_EQ(test::ReadRecords(data()), all);
}

TEST_F(ImportCommandTest, HostileCsvIsBoundedAndNeverEchoedRaw)
{
    store(test::SyntheticHistory(20, 4));
    const std::vector<std::uint8_t> before = test::ReadBytes(data());
    // A line of commas within the size limit would cost gigabytes as cells.
    const CliRun commas = import(kHeader + std::string(8 << 20, ','));
    EXPECT_EQ(commas.status, kExitFailure);
    EXPECT_NE(commas.err.find("2行目"), std::string::npos) << commas.err.substr(0, 200);
    EXPECT_NE(commas.err.find("列が多すぎます"), std::string::npos) << commas.err.substr(0, 200);

    // Control characters are shown escaped, a huge cell is cut short.
    const CliRun escape = import(kHeader + "1,,\x1b]0;owned\x07,2,3,4,5,6,7\n");
    EXPECT_EQ(escape.status, kExitFailure);
    EXPECT_EQ(escape.err.find('\x1b'), std::string::npos);
    EXPECT_EQ(escape.err.find('\x07'), std::string::npos);
    EXPECT_NE(escape.err.find("\\x1B]0;owned\\x07"), std::string::npos) << escape.err;
    const CliRun huge = import(kHeader + "1,," + std::string(1 << 20, '9') + ",2,3,4,5,6,7\n");
    EXPECT_EQ(huge.status, kExitFailure);
    EXPECT_LT(huge.err.size(), 1000u);
    EXPECT_NE(huge.err.find("…"), std::string::npos) << huge.err;

    // A stray byte far down names its own line, not the first.
    std::string late = kHeader;
    for (int d = 21; d <= 2037; ++d)
        late += std::to_string(d) + ",,1,2,3,4,5,6,7\n";
    const CliRun badByte = import(late + "2038,,1,2,3,4,5,6,\xFF\n");
    EXPECT_EQ(badByte.status, kExitFailure);
    EXPECT_NE(badByte.err.find("の2019行目"), std::string::npos) << badByte.err;
    EXPECT_EQ(test::ReadBytes(data()), before);
}

TEST_F(ImportCommandTest, AFileThatCannotBeReadIsNamedAndNothingIsCreated)
{
    const CliRun missing = run({"import", (m_dir / "none.csv").string()});
    EXPECT_EQ(missing.status, kExitFailure);
    EXPECT_EQ(missing.err, "CSV ファイル「" + (m_dir / "none.csv").string() +
                               "」が見つかりません。ファイルの名前と場所を確かめて下さい。\n"
                               "取り込みを中止しました。データファイルは変更していません。\n");
    EXPECT_FALSE(std::filesystem::exists(data()));
}

} // namespace
} // namespace zentrix::cli
