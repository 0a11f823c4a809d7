// HistoryImport and InputFile: the plan against a stored history, applying it through the store,
// and the reasons an input file cannot be read.
#include "history_io/HistoryImport.h"

#include "history_io/InputFile.h"
#include "support/HistoryFixtures.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zentrix {
namespace {

using test::Draw;

CsvDraw Row(std::size_t line, RecordNo draw, std::initializer_list<int> numbers, int bonus)
{
    CsvDraw row;
    row.line = line;
    row.draw = draw;
    std::size_t i = 0;
    for (const int n : numbers)
        row.numbers[i++] = static_cast<std::int16_t>(n);
    row.bonus = static_cast<std::int16_t>(bonus);
    return row;
}

class ImportPlanTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::WriteHistory(file(), {Draw({1, 2, 3, 4, 5, 6}, 7), Draw({8, 9, 10, 11, 12, 13}, 14)});
        m_before = test::ReadBytes(file());
        ASSERT_TRUE(m_history.OpenHistory());
    }
    std::filesystem::path file() const { return m_dir / "Loto6data.dt"; }

    test::TempDir m_dir;
    HistoryFile m_history{m_dir / "Loto6data.dt"};
    std::vector<std::uint8_t> m_before;
};

TEST_F(ImportPlanTest, CountsNewAndStoredRowsWithoutWriting)
{
    const std::vector<CsvDraw> rows{Row(2, 1, {1, 2, 3, 4, 5, 6}, 7), Row(3, 2, {8, 9, 10, 11, 12, 13}, 14),
                                    Row(4, 3, {5, 5, 10, 20, 30, 40}, 7),
                                    Row(5, 4, {1, 9, 16, 20, 21, 43}, 5)};
    const ImportPlan plan = PlanImport(m_history, "Loto6data.dt", rows);
    ASSERT_TRUE(plan.ok()) << plan.message;
    EXPECT_EQ(plan.latestBefore, 2);
    EXPECT_EQ(plan.skipped, 2);
    EXPECT_EQ(plan.added, 2);
    EXPECT_EQ(plan.filled, 0);
    ASSERT_EQ(plan.writes.size(), 2u);
    EXPECT_EQ(plan.writes[0].record, 3);
    EXPECT_EQ(test::ReadBytes(file()), m_before); // planning writes nothing

    ASSERT_TRUE(ApplyImport(m_history, "Loto6data.dt", plan).ok());
    EXPECT_EQ(m_history.Latest(), 4);
    const std::vector<DrawRecord> records = test::ReadRecords(file());
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[2], Draw({5, 5, 10, 20, 30, 40}, 7)); // equal neighbours stored as they are
    EXPECT_EQ(records[3], Draw({1, 9, 16, 20, 21, 43}, 5));
}

TEST_F(ImportPlanTest, ConflictAndGapNameTheLineAndWriteNothing)
{
    const ImportPlan conflict = PlanImport(
        m_history, "Loto6data.dt", {Row(2, 1, {1, 2, 3, 4, 5, 6}, 7), Row(3, 2, {8, 9, 10, 11, 12, 14}, 13)});
    EXPECT_EQ(conflict.error, ImportError::Conflict);
    EXPECT_EQ(conflict.csvLine, 3u);
    EXPECT_NE(conflict.message.find("第2回はデータファイルに別の当選番号"), std::string::npos)
        << conflict.message;

    const ImportPlan gap = PlanImport(m_history, "Loto6data.dt", {Row(7, 4, {1, 2, 3, 4, 5, 6}, 7)});
    EXPECT_EQ(gap.error, ImportError::Gap);
    EXPECT_EQ(gap.csvLine, 7u);
    EXPECT_NE(gap.message.find("第3回が抜けています"), std::string::npos) << gap.message;
    // A failed plan applied is still the failure, and nothing reaches the file.
    EXPECT_EQ(ApplyImport(m_history, "Loto6data.dt", gap).error, ImportError::Gap);
    EXPECT_EQ(test::ReadBytes(file()), m_before);
}

// A history with an empty record inside goes out through export and comes back the same.
TEST_F(ImportPlanTest, EmptyRowsRoundTripAnEmptyRecord)
{
    const std::vector<DrawRecord> source{Draw({1, 2, 3, 4, 5, 6}, 7), Draw({8, 9, 10, 11, 12, 13}, 14),
                                         Draw({0, 0, 0, 0, 0, 0}, 0), Draw({0, 0, 0, 0, 0, 0}, 0),
                                         Draw({1, 9, 16, 20, 21, 43}, 5)};
    const std::string text = HistoryCsvText(source, CsvLayout::Plain);
    EXPECT_NE(text.find("\n3,,,,,,,,\n4,,,,,,,,\n"), std::string::npos) << text;
    const CsvReadResult csv = ReadHistoryCsv(text);
    ASSERT_TRUE(csv.ok) << csv.error;
    ASSERT_EQ(csv.draws.size(), 5u);
    EXPECT_TRUE(csv.draws[2].empty);
    EXPECT_FALSE(csv.draws[4].empty);

    const ImportPlan plan = PlanImport(m_history, "Loto6data.dt", csv.draws);
    ASSERT_TRUE(plan.ok()) << plan.message;
    EXPECT_EQ(plan.skipped, 2);
    EXPECT_EQ(plan.added, 3);
    EXPECT_EQ(plan.emptyAdded, 2);
    ASSERT_TRUE(ApplyImport(m_history, "Loto6data.dt", plan).ok());
    EXPECT_EQ(m_history.Latest(), 5);
    EXPECT_EQ(test::ReadRecords(file()), source);
}

TEST_F(ImportPlanTest, EmptyRowsNeverOverwriteAndTrailingOnesAddNothing)
{
    CsvDraw emptyFirst = Row(2, 1, {}, 0);
    emptyFirst.empty = true;
    CsvDraw emptyThird = Row(3, 3, {}, 0);
    emptyThird.empty = true;
    const ImportPlan plan = PlanImport(m_history, "Loto6data.dt", {emptyFirst});
    ASSERT_TRUE(plan.ok()) << plan.message;
    EXPECT_TRUE(plan.writes.empty()); // draw 1 stays as stored
    EXPECT_EQ(plan.skipped, 0);

    const ImportPlan trailing = PlanImport(m_history, "Loto6data.dt", {emptyThird});
    ASSERT_TRUE(trailing.ok()) << trailing.message;
    EXPECT_TRUE(trailing.writes.empty());
    EXPECT_EQ(trailing.added, 0);

    // An empty row still holds its place: the draw after it must follow it.
    const ImportPlan gap =
        PlanImport(m_history, "Loto6data.dt", {emptyThird, Row(4, 5, {1, 2, 3, 4, 5, 6}, 7)});
    EXPECT_EQ(gap.error, ImportError::Gap);
    EXPECT_EQ(gap.csvLine, 4u);
}

TEST_F(ImportPlanTest, AnEditorHoldingTheFileRefusesACommandLineImportWithTheWindowHint)
{
    // m_history plays the desktop program: it has the file open for its whole run.
    const ImportResult result = ImportDraws(file(), "Loto6data.dt", {Row(2, 3, {1, 2, 3, 4, 5, 6}, 7)});
    EXPECT_EQ(result.error, ImportError::InUse);
    EXPECT_NE(result.message.find("使用中"), std::string::npos) << result.message;
    EXPECT_NE(result.message.find("ファイル → 当選番号の取り込み…"), std::string::npos) << result.message;
    EXPECT_EQ(test::ReadBytes(file()), m_before);
}

TEST(InputFileTest, EveryReasonAFileCannotBeRead)
{
    test::TempDir dir;
    std::string bytes = "left over";
    const auto reason = [&](const std::filesystem::path& path) {
        const InputFileStatus status = ReadInputBytes(path, bytes, InputKinds::PlainFilesOnly);
        EXPECT_TRUE(bytes.empty()) << path;
        return DescribeInputFileError(status, "CSV ファイル「x」");
    };
    EXPECT_NE(reason(dir / "missing.csv").find("見つかりません"), std::string::npos);
    EXPECT_NE(reason(dir / "missing" / "a.csv").find("見つかりません"), std::string::npos);
    EXPECT_NE(reason(dir.path()).find("フォルダです"), std::string::npos);
    const auto fifo = dir / "pipe.csv";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_NE(reason(fifo).find("通常のファイルではない"), std::string::npos);
    // On the command line a device is read up to the bound: /dev/zero ends as too large.
    EXPECT_EQ(ReadInputBytes("/dev/zero", bytes, InputKinds::Any, 1 << 16).error, InputFileError::TooLarge);

    const auto secret = dir / "secret.csv";
    std::ofstream(secret) << "draw\n";
    std::filesystem::permissions(secret, std::filesystem::perms::none);
    if (::geteuid() != 0) { // root reads anything
        EXPECT_NE(reason(secret).find("権限がありません"), std::string::npos);
    }

    const auto big = dir / "big.csv";
    std::ofstream(big) << std::string(100, 'x');
    EXPECT_EQ(ReadInputBytes(big, bytes, InputKinds::Any, 99).error, InputFileError::TooLarge);
    ASSERT_TRUE(ReadInputBytes(big, bytes, InputKinds::Any, 100));
    EXPECT_EQ(bytes.size(), 100u);
}

} // namespace
} // namespace zentrix
