// zentrix-cli import and export: the real history, encodings, every refusal leaving the data file
// byte for byte as it was, a disk that fills up part-way, and the round trip through export.
#include "Commands.h"
#include "history_io/HistoryImport.h"
#include "store/HistoryFile.h"
#include "support/CliRunner.h"
#include "support/FailingDevice.h"
#include "support/HistoryFixtures.h"
#include "support/TempDir.h"

#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zentrix::cli {
namespace {

using test::CliRun;
using test::EnglishCsv;
using test::RunCli;
using zentrix::test::Draw;

class ImportCommandTest : public ::testing::Test
{
protected:
    std::filesystem::path data() const { return m_dir / "Loto6data.dt"; }
    std::filesystem::path csv() const { return m_dir / "results.csv"; }

    CliRun import(const std::string& csvText)
    {
        test::WriteText(csv(), csvText);
        return RunCli({"import", csv().string(), "--data", data().string()});
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

    zentrix::test::TempDir m_dir;
};

TEST_F(ImportCommandTest, RealHistoryGivesRecordsEqualToTheCsv)
{
    ZENTRIX_REAL_HISTORY_OR_SKIP(history);
    const CliRun run =
        RunCli({"import", zentrix::test::RealHistoryCsvPath().string(), "--data", data().string()});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_NE(run.out.find("第1回〜第" + std::to_string(history.size()) + "回の" +
                           std::to_string(history.size()) + "回分を取り込みました"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(zentrix::test::ReadRecords(data()), history);
    EXPECT_EQ(std::filesystem::file_size(data()), history.size() * kRecordSize);

    // A second import of the same file finds everything stored and changes nothing.
    const std::vector<std::uint8_t> before = zentrix::test::ReadBytes(data());
    const CliRun again =
        RunCli({"import", zentrix::test::RealHistoryCsvPath().string(), "--data", data().string()});
    ASSERT_EQ(again.status, kExitOk) << again.err;
    EXPECT_NE(again.out.find("（0回分）"), std::string::npos) << again.out;
    EXPECT_NE(again.out.find("飛ばした行: " + std::to_string(history.size())), std::string::npos)
        << again.out;
    EXPECT_EQ(zentrix::test::ReadBytes(data()), before);
}

TEST_F(ImportCommandTest, Cp932FileWithJapaneseHeader)
{
    const std::string text = "開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,ボーナス数字\n"
                             "1,2000年10月5日,30,27,13,10,8,2,39\n"
                             "2,2000年10月12日,1,9,16,20,21,43,5\n";
    const CliRun run = import(test::ToCp932(text));
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_NE(run.out.find("Shift_JIS"), std::string::npos) << run.out;
    // Numbers are stored ascending whatever their order in the file.
    EXPECT_EQ(zentrix::test::ReadRecords(data()),
              (std::vector<DrawRecord>{Draw({2, 8, 10, 13, 27, 30}, 39), Draw({1, 9, 16, 20, 21, 43}, 5)}));
}

TEST_F(ImportCommandTest, ContinuesFromLatestAndSkipsWhatIsStored)
{
    const std::vector<DrawRecord> all = zentrix::test::SyntheticHistory(12, 5);
    zentrix::test::WriteHistory(data(), {all.begin(), all.begin() + 8});
    // Draws 6..12: 6..8 are stored already, 9..12 are new.
    const CliRun run = import(EnglishCsv({all.begin() + 5, all.end()}, 6));
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_NE(run.out.find("第9回〜第12回の4回分を取り込みました"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("飛ばした行: 3回分"), std::string::npos) << run.out;
    EXPECT_EQ(zentrix::test::ReadRecords(data()), all);
    EXPECT_TRUE(strayFiles().empty());
}

TEST_F(ImportCommandTest, StoredDrawInAnotherOrderCountsAsTheSame)
{
    zentrix::test::WriteHistory(data(), {Draw({30, 2, 27, 8, 13, 10}, 39)});
    const CliRun run = import("draw,date,n1,n2,n3,n4,n5,n6,bonus\n1,,2,8,10,13,27,30,39\n2,,1,2,3,4,5,6,7\n");
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(zentrix::test::ReadRecords(data()).size(), 2u);
    EXPECT_EQ(zentrix::test::ReadRecords(data())[0], Draw({30, 2, 27, 8, 13, 10}, 39));
}

TEST_F(ImportCommandTest, TrailingEmptySlotIsReusedLikeAnAppend)
{
    // Draw 3 was deleted in the editor: its slot stays, and the import writes into it.
    zentrix::test::WriteHistory(
        data(), {Draw({1, 2, 3, 4, 5, 6}, 7), Draw({8, 9, 10, 11, 12, 13}, 14), Draw({0, 0, 0, 0, 0, 0}, 0)});
    const CliRun run = import("draw,date,n1,n2,n3,n4,n5,n6,bonus\n3,,20,21,22,23,24,25,26\n");
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(std::filesystem::file_size(data()), 3 * kRecordSize);
    EXPECT_EQ(zentrix::test::ReadRecords(data())[2], Draw({20, 21, 22, 23, 24, 25}, 26));
}

TEST_F(ImportCommandTest, ReplacedFileKeepsItsLinkAndPermissions)
{
    // The data file reached through a symbolic link, with permissions of its own: the import
    // replaces the file the link points to and keeps both.
    const std::filesystem::path real = m_dir / "real.dt";
    zentrix::test::WriteHistory(real, {Draw({1, 2, 3, 4, 5, 6}, 7)});
    std::filesystem::permissions(real, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_read);
    std::filesystem::create_symlink(real, data());
    const CliRun run = import("draw,date,n1,n2,n3,n4,n5,n6,bonus\n2,,8,9,10,11,12,13,14\n");
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_TRUE(std::filesystem::is_symlink(data()));
    EXPECT_EQ(zentrix::test::ReadRecords(real).size(), 2u);
    EXPECT_EQ(std::filesystem::status(real).permissions(), std::filesystem::perms::owner_read |
                                                               std::filesystem::perms::owner_write |
                                                               std::filesystem::perms::group_read);
    EXPECT_EQ(strayFiles(), std::vector<std::string>{"real.dt"});
}

TEST_F(ImportCommandTest, MissingDataFileIsCreated)
{
    const CliRun run = import("draw,date,n1,n2,n3,n4,n5,n6,bonus\n1,,1,2,3,4,5,6,7\n");
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(zentrix::test::ReadRecords(data()), (std::vector<DrawRecord>{Draw({1, 2, 3, 4, 5, 6}, 7)}));
}

TEST_F(ImportCommandTest, HeaderOnlyCsvCreatesAnEmptyDataFile)
{
    const CliRun run = import("開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,ボーナス数字\n");
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_NE(run.out.find("最新は第0回"), std::string::npos) << run.out;
    ASSERT_TRUE(std::filesystem::exists(data()));
    EXPECT_EQ(std::filesystem::file_size(data()), 0u);
}

TEST_F(ImportCommandTest, FailedImportCreatesNoDataFile)
{
    const CliRun run = import("draw,date,n1,n2,n3,n4,n5,n6,bonus\n2,,1,2,3,4,5,6,7\n");
    EXPECT_EQ(run.status, kExitFailure);
    EXPECT_FALSE(std::filesystem::exists(data()));
    EXPECT_TRUE(strayFiles().empty());
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

const std::string kCsvHeader = "draw,date,n1,n2,n3,n4,n5,n6,bonus\n";
const std::string kStored = "1,,1,2,3,4,5,6,7\n2,,8,9,10,11,12,13,14\n3,,15,16,17,18,19,20,21\n";

TEST_P(ImportRefusalTest, LeavesTheFileByteIdentical)
{
    // Three stored draws, one with Reserved set and a partial record at the end: all must survive.
    zentrix::test::WriteHistory(data(), {Draw({1, 2, 3, 4, 5, 6}, 7), Draw({8, 9, 10, 11, 12, 13}, 14, 5),
                                         Draw({15, 16, 17, 18, 19, 20}, 21)});
    std::vector<std::uint8_t> bytes = zentrix::test::ReadBytes(data());
    bytes.insert(bytes.end(), {0xAB, 0xCD, 0xEF});
    zentrix::test::WriteBytes(data(), bytes);

    const CliRun run = import(GetParam().csv);
    EXPECT_EQ(run.status, GetParam().status);
    EXPECT_NE(run.err.find(GetParam().messagePart), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("変更していません"), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out;
    EXPECT_EQ(zentrix::test::ReadBytes(data()), bytes);
    EXPECT_TRUE(strayFiles().empty());
}

INSTANTIATE_TEST_SUITE_P(
    EveryRejection, ImportRefusalTest,
    ::testing::Values(
        Refusal{"BadNumber", kCsvHeader + kStored + "4,,1,2,3,4,5,99,7\n", kExitFailure,
                "5行目: 第4回の第6数字「99」"},
        Refusal{"BadRowAfterAWarnedRow", kCsvHeader + kStored + "4,,1,2,3,4,5,5,7\n5,,1,2,3,4,5,6,0\n",
                kExitFailure, "6行目: 第5回のボーナス数字「0」"},
        Refusal{"BadRowAfterGoodNewRows", kCsvHeader + kStored + "4,,1,2,3,4,5,6,7\n5,,1,2,3,4,5,6,44\n",
                kExitFailure, "6行目"},
        Refusal{"GapBetweenRows", kCsvHeader + kStored + "4,,1,2,3,4,5,6,7\n6,,1,2,3,4,5,6,7\n", kExitFailure,
                "6行目: 第4回の次が第6回"},
        Refusal{"GapAfterLatest", kCsvHeader + "6,,1,2,3,4,5,6,7\n", kExitFailure,
                "第4回〜第5回が抜けています"},
        Refusal{"ConflictingStoredDraw",
                kCsvHeader +
                    "1,,1,2,3,4,5,6,7\n2,,8,9,10,11,12,40,14\n3,,15,16,17,18,19,20,21\n4,,1,2,3,4,5,6,7\n",
                kExitFailure, "3行目: 第2回はデータファイルに別の当選番号"},
        Refusal{"ConflictingBonus", kCsvHeader + "3,,15,16,17,18,19,20,22\n", kExitFailure,
                "第3回はデータファイル"},
        Refusal{"MalformedLine", kCsvHeader + kStored + "4,,1,2,3\n", kExitFailure, "5行目: 列が足りません"},
        Refusal{"UnknownHeader", "回,日,a,b,c,d,e,f,g\n4,,1,2,3,4,5,6,7\n", kExitFailure,
                "1行目: 見出しの行"}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

TEST_F(ImportCommandTest, FileInUseByTheDesktopProgram)
{
    zentrix::test::WriteHistory(data(), {Draw({1, 2, 3, 4, 5, 6}, 7)});
    const std::vector<std::uint8_t> before = zentrix::test::ReadBytes(data());
    HistoryFile held(data());
    ASSERT_TRUE(held.OpenHistory().ok());
    const CliRun run = import(kCsvHeader + "2,,8,9,10,11,12,13,14\n");
    EXPECT_EQ(run.status, kExitDataFile);
    EXPECT_NE(run.err.find("使用中"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("「ファイル → 当選番号の取り込み…」"), std::string::npos) << run.err;
    EXPECT_EQ(zentrix::test::ReadBytes(data()), before);
    EXPECT_TRUE(strayFiles().empty());
    // Reading beside the window works: export shows the stored draw.
    const CliRun exported = RunCli({"export", "--data", data().string()});
    EXPECT_EQ(exported.status, kExitOk) << exported.err;
    EXPECT_EQ(exported.out, kCsvHeader + "1,,1,2,3,4,5,6,7\n");
}

TEST_F(ImportCommandTest, WriteFailurePartWayLeavesTheFileAsItWas)
{
    const std::vector<DrawRecord> all = zentrix::test::SyntheticHistory(10, 9);
    zentrix::test::WriteHistory(data(), {all.begin(), all.begin() + 4});
    const std::vector<std::uint8_t> before = zentrix::test::ReadBytes(data());
    test::WriteText(csv(), EnglishCsv(all));
    const CsvReadResult rows = ReadHistoryCsv(EnglishCsv(all));
    ASSERT_TRUE(rows.ok);

    for (const std::int64_t budget : {0, 5, 16, 16 * 3 + 7}) {
        auto plan = std::make_shared<zentrix::test::FailurePlan>();
        plan->bytesBeforeWriteFailure = budget;
        const ImportResult result = ImportDraws(data(), "Loto6data.dt", rows.draws, [plan] {
            return std::make_unique<zentrix::test::FailingDevice>(plan);
        });
        EXPECT_EQ(result.error, ImportError::DataFile) << "budget " << budget;
        EXPECT_EQ(result.added, 0);
        EXPECT_NE(result.message.find("ディスクの空き容量"), std::string::npos) << result.message;
        EXPECT_EQ(zentrix::test::ReadBytes(data()), before) << "budget " << budget;
        EXPECT_TRUE(strayFiles().empty()) << "budget " << budget;
    }
    // A failing flush of the copy is a failure too.
    auto plan = std::make_shared<zentrix::test::FailurePlan>();
    plan->failSync = true;
    const ImportResult synced = ImportDraws(data(), "Loto6data.dt", rows.draws, [plan] {
        return std::make_unique<zentrix::test::FailingDevice>(plan);
    });
    EXPECT_NE(synced.error, ImportError::None);
    EXPECT_EQ(zentrix::test::ReadBytes(data()), before);

    // With a sound device the same import goes through.
    const ImportResult done = ImportDraws(data(), "Loto6data.dt", rows.draws);
    EXPECT_EQ(done.error, ImportError::None) << done.message;
    EXPECT_EQ(done.added, 6);
    EXPECT_EQ(zentrix::test::ReadRecords(data()), all);
}

TEST_F(ImportCommandTest, FileSizeLimitInAChildProcessLeavesTheFileAsItWas)
{
    const std::vector<DrawRecord> all = zentrix::test::SyntheticHistory(200, 3);
    zentrix::test::WriteHistory(data(), {all.begin(), all.begin() + 100});
    const std::vector<std::uint8_t> before = zentrix::test::ReadBytes(data());
    test::WriteText(csv(), EnglishCsv(all));

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Room for the copy and a few records, then every write fails with EFBIG.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlim_t limit = before.size() + 3 * kRecordSize + 5;
        const rlimit fileSize{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &fileSize);
        const CliRun run = RunCli({"import", csv().string(), "--data", data().string()});
        const bool namedReason = run.err.find("ファイルサイズの上限") != std::string::npos;
        ::_exit(run.status == kExitDataFile && namedReason ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the child's import did not fail with a file-size message";
    EXPECT_EQ(zentrix::test::ReadBytes(data()), before);
    EXPECT_TRUE(strayFiles().empty());
}

TEST_F(ImportCommandTest, ExportThenImportRoundTrips)
{
    const std::vector<DrawRecord> history = zentrix::test::SyntheticHistory(40, 21);
    zentrix::test::WriteHistory(data(), history);
    const CliRun exported = RunCli({"export", "--data", data().string()});
    ASSERT_EQ(exported.status, kExitOk) << exported.err;
    EXPECT_TRUE(exported.out.starts_with("draw,date,n1,n2,n3,n4,n5,n6,bonus\n1,,"));
    EXPECT_EQ(std::count(exported.out.begin(), exported.out.end(), '\n'), 41);

    const std::filesystem::path copy = m_dir / "copy.dt";
    test::WriteText(csv(), exported.out);
    const CliRun imported = RunCli({"import", csv().string(), "--data", copy.string()});
    ASSERT_EQ(imported.status, kExitOk) << imported.err;
    EXPECT_EQ(zentrix::test::ReadBytes(copy), zentrix::test::ReadBytes(data()));
}

TEST_F(ImportCommandTest, ExportLeavesTheFileUntouchedAndRefusesAMissingOne)
{
    zentrix::test::WriteHistory(data(), {Draw({1, 2, 3, 4, 5, 6}, 7, 9), Draw({0, 0, 0, 0, 0, 0}, 0)});
    const std::vector<std::uint8_t> before = zentrix::test::ReadBytes(data());
    const CliRun run = RunCli({"export", "--data", data().string()});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, "draw,date,n1,n2,n3,n4,n5,n6,bonus\n1,,1,2,3,4,5,6,7\n");
    EXPECT_EQ(zentrix::test::ReadBytes(data()), before);

    const CliRun missing = RunCli({"export", "--data", (m_dir / "none.dt").string()});
    EXPECT_EQ(missing.status, kExitDataFile);
    EXPECT_FALSE(std::filesystem::exists(m_dir / "none.dt"));
}

TEST_F(ImportCommandTest, DrawsTheEditorAcceptsAreImportedWithAWarning)
{
    // A number twice and a bonus among the numbers pass the editor, so its exports hold them.
    const CliRun run = import(kCsvHeader + "1,,5,5,10,20,30,40,7\n2,,1,2,3,4,5,6,6\n");
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_NE(run.err.find("2行目: 注意: 第1回の本数字に 5 が2回以上"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("3行目: 注意: 第2回のボーナス数字 6 が本数字"), std::string::npos) << run.err;
    EXPECT_EQ(zentrix::test::ReadRecords(data()),
              (std::vector<DrawRecord>{Draw({5, 5, 10, 20, 30, 40}, 7), Draw({1, 2, 3, 4, 5, 6}, 6)}));
    const CliRun exported = RunCli({"export", "--data", data().string()});
    EXPECT_EQ(exported.out, kCsvHeader + "1,,5,5,10,20,30,40,7\n2,,1,2,3,4,5,6,6\n");
}

TEST_F(ImportCommandTest, UsageErrors)
{
    EXPECT_EQ(RunCli({"import"}).status, kExitUsage);
    EXPECT_EQ(RunCli({"import", "a.csv", "b.csv"}).status, kExitUsage);
    const CliRun missing = RunCli({"import", (m_dir / "none.csv").string(), "--data", data().string()});
    EXPECT_EQ(missing.status, kExitFailure);
    EXPECT_NE(missing.err.find("none.csv」が見つかりません"), std::string::npos) << missing.err;
    const CliRun folder = RunCli({"import", m_dir.path().string(), "--data", data().string()});
    EXPECT_EQ(folder.status, kExitFailure);
    EXPECT_NE(folder.err.find("はフォルダです"), std::string::npos) << folder.err;
    EXPECT_FALSE(std::filesystem::exists(data()));
    const CliRun help = RunCli({"import", "--help"});
    EXPECT_EQ(help.status, kExitOk);
    EXPECT_NE(help.out.find("Shift_JIS"), std::string::npos);
}

} // namespace
} // namespace zentrix::cli
