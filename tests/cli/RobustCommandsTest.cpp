// zentrix-cli against hostile files and outputs: the data file as an output, output that cannot
// be written, unbounded or poisoned input, special and sparse data files, and numbers out of range.
#include "Commands.h"
#include "history_io/CsvHistory.h"
#include "support/CliRunner.h"
#include "support/HistoryFixtures.h"
#include "support/TempDir.h"

#include <CLI/CLI.hpp>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace zentrix::cli {
namespace {

using test::CliRun;
using test::RunCli;
using zentrix::test::Draw;
namespace fs = std::filesystem;

/// A stream buffer that refuses every byte, like standard output on /dev/full.
class FullBuffer final : public std::streambuf
{
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

CliRun RunIntoFullOutput(const std::vector<std::string>& args)
{
    FullBuffer full;
    std::ostream out(&full);
    std::ostringstream err;
    CliContext context{out, err};
    const std::unique_ptr<CLI::App> app = MakeApp();
    AddAllCommands(*app, context);
    CliRun run;
    run.status = RunApp(*app, context, args);
    run.err = err.str();
    return run;
}

class RobustCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override { zentrix::test::WriteHistory(data(), zentrix::test::SyntheticHistory(20, 4)); }
    fs::path data() const { return m_dir / "Loto6data.dt"; }
    std::string dataArg() const { return data().string(); }
    CliRun importText(const std::string& csv)
    {
        test::WriteText(m_dir / "in.csv", csv);
        return RunCli({"import", (m_dir / "in.csv").string(), "--data", dataArg()});
    }

    zentrix::test::TempDir m_dir;
};

TEST_F(RobustCommandsTest, AChartIsNeverWrittenOverTheDataFile)
{
    const std::vector<std::uint8_t> before = zentrix::test::ReadBytes(data());
    fs::create_symlink(data(), m_dir / "chart.svg");
    for (const fs::path& svg : {data(), m_dir / "chart.svg"}) {
        const CliRun run = RunCli({"stats", "--data", dataArg(), "--svg", svg.string()});
        EXPECT_EQ(run.status, kExitFailure) << svg;
        EXPECT_NE(run.err.find("上書きしません"), std::string::npos) << run.err;
        EXPECT_EQ(zentrix::test::ReadBytes(data()), before) << svg;
    }
    EXPECT_TRUE(fs::is_symlink(m_dir / "chart.svg"));
}

TEST_F(RobustCommandsTest, OutputThatCannotBeWrittenIsSaid)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"export", "--data", dataArg()},
          std::vector<std::string>{"generate", "--data", dataArg(), "--seed", "1"},
          std::vector<std::string>{"stats", "--data", dataArg()},
          std::vector<std::string>{"count", "--data", dataArg(), "--carry", "0"}}) {
        const CliRun run = RunIntoFullOutput(args);
        EXPECT_EQ(run.status, kExitFailure) << args[0];
        EXPECT_NE(run.err.find("標準出力に書き込めませんでした"), std::string::npos) << args[0] << run.err;
    }
}

TEST_F(RobustCommandsTest, AnImportWhoseSummaryCannotBePrintedIsStillReportedAsDone)
{
    const std::vector<DrawRecord> all = zentrix::test::SyntheticHistory(22, 4);
    test::WriteText(m_dir / "in.csv", test::EnglishCsv(all));
    const CliRun run = RunIntoFullOutput({"import", (m_dir / "in.csv").string(), "--data", dataArg()});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_NE(run.err.find("取り込みは完了しています"), std::string::npos) << run.err;
    EXPECT_EQ(zentrix::test::ReadRecords(data()), all);
}

TEST_F(RobustCommandsTest, EndlessAndHugeInputGetsAMessage)
{
    const std::vector<std::uint8_t> before = zentrix::test::ReadBytes(data());
    const CliRun zeros = RunCli({"import", "/dev/zero", "--data", dataArg()});
    EXPECT_EQ(zeros.status, kExitFailure);
    EXPECT_NE(zeros.err.find("大きすぎる"), std::string::npos) << zeros.err;
    const CliRun check = RunCli({"check", "--draw", "1", "--data", dataArg(), "/dev/zero"});
    EXPECT_EQ(check.status, kExitFailure);
    EXPECT_NE(check.err.find("大きすぎる"), std::string::npos) << check.err;

    // A line of commas within the size limit would cost gigabytes as cells.
    const CliRun commas = importText(std::string(kCsvHeader) + "\n" + std::string(8 << 20, ','));
    EXPECT_EQ(commas.status, kExitFailure);
    EXPECT_NE(commas.err.find("2行目"), std::string::npos) << commas.err.substr(0, 200);
    EXPECT_NE(commas.err.find("列が多すぎます"), std::string::npos) << commas.err.substr(0, 200);
    EXPECT_EQ(zentrix::test::ReadBytes(data()), before);
}

TEST_F(RobustCommandsTest, EchoedCellsAreEscapedAndShortened)
{
    const CliRun escape = importText(std::string(kCsvHeader) + "\n1,,\x1b]0;owned\x07,2,3,4,5,6,7\n");
    EXPECT_EQ(escape.status, kExitFailure);
    EXPECT_EQ(escape.err.find('\x1b'), std::string::npos);
    EXPECT_EQ(escape.err.find('\x07'), std::string::npos);
    EXPECT_NE(escape.err.find("\\x1B]0;owned\\x07"), std::string::npos) << escape.err;

    const CliRun huge =
        importText(std::string(kCsvHeader) + "\n1,," + std::string(1 << 20, '9') + ",2,3,4,5,6,7\n");
    EXPECT_EQ(huge.status, kExitFailure);
    EXPECT_LT(huge.err.size(), 1000u);
    EXPECT_NE(huge.err.find("…"), std::string::npos) << huge.err;
}

TEST(CsvReading, OldMacLineEndsAndALateBadByteAreReadRight)
{
    const CsvReadResult cr =
        ReadHistoryCsv("draw,date,n1,n2,n3,n4,n5,n6,bonus\r1,,1,2,3,4,5,6,7\r2,,8,9,10,11,12,13,14\r");
    ASSERT_TRUE(cr.ok) << cr.error;
    EXPECT_EQ(cr.draws.size(), 2u);
    EXPECT_EQ(cr.draws[1].line, 3u);

    // A UTF-8 file (Japanese header) with one stray byte far down: that line is named, not line 1.
    std::string text = "開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,ボーナス数字\n";
    for (int d = 1; d <= 2037; ++d)
        text += std::to_string(d) + ",,1,2,3,4,5,6,7\n";
    text += "2038,,1,2,3,4,5,6,\xFF\n";
    const CsvReadResult bad = ReadHistoryCsv(text);
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.errorLine, 2039u);
}

TEST_F(RobustCommandsTest, NumbersOutOfRangeAreUsageErrorsPointingToTheirCommand)
{
    for (const std::string seed : {"-1", "18446744073709551616", "1e3", ""}) {
        const CliRun run = RunCli({"generate", "--data", dataArg(), "--seed", seed});
        EXPECT_EQ(run.status, kExitUsage) << seed;
        EXPECT_NE(run.err.find("zentrix-cli generate --help"), std::string::npos) << run.err;
    }
    EXPECT_EQ(RunCli({"generate", "--data", dataArg(), "--seed", "18446744073709551615"}).status, kExitOk);
    const CliRun draw =
        RunCli({"check", "--draw", "9223372036854775808", "--data", dataArg()}, "1 2 3 4 5 6\n");
    EXPECT_EQ(draw.status, kExitUsage);
    EXPECT_NE(draw.err.find("zentrix-cli check --help"), std::string::npos) << draw.err;
    EXPECT_EQ(RunCli({"check", "--draw", "-1", "--data", dataArg()}, "1 2 3 4 5 6\n").status, kExitUsage);
}

TEST_F(RobustCommandsTest, AnImportFillsAnEmptyRecordInsideTheHistory)
{
    const std::vector<DrawRecord> all = zentrix::test::SyntheticHistory(4, 8);
    zentrix::test::WriteHistory(data(), {all[0], Draw({0, 0, 0, 0, 0, 0}, 0), all[2]});
    const CliRun run = importText(test::EnglishCsv(all));
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_NE(run.out.find("空きレコード 1回分"), std::string::npos) << run.out;
    EXPECT_EQ(zentrix::test::ReadRecords(data()), all);
}

TEST_F(RobustCommandsTest, ADamagedDataFileIsNamedAsSuch)
{
    zentrix::test::WriteBytes(data(), std::vector<std::uint8_t>(320, 0xFF));
    const CliRun run = RunCli({"generate", "--data", dataArg()});
    EXPECT_EQ(run.status, kExitDataFile);
    EXPECT_NE(run.err.find("第1回は当選番号ではない値"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("重み"), std::string::npos) << run.err;
}

TEST_F(RobustCommandsTest, SpecialDataFilesGetTheirRealReason)
{
    const fs::path fifo = m_dir / "fifo.dt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    for (const std::string command : {"generate", "export", "stats", "count"}) {
        const CliRun run = RunCli({command, "--data", fifo.string()});
        EXPECT_EQ(run.status, kExitDataFile) << command;
        EXPECT_NE(run.err.find("通常のファイルではない"), std::string::npos) << command << run.err;
    }
    EXPECT_EQ(RunCli({"check", "--draw", "1", "--data", fifo.string()}, "1 2 3 4 5 6\n").status,
              kExitDataFile);

    fs::create_symlink("loop.dt", m_dir / "loop.dt");
    const CliRun loop = RunCli({"export", "--data", (m_dir / "loop.dt").string()});
    EXPECT_EQ(loop.status, kExitDataFile);
    EXPECT_NE(loop.err.find("循環"), std::string::npos) << loop.err;
    EXPECT_EQ(loop.err.find("見つかりません"), std::string::npos) << loop.err;

    const CliRun tooLong = RunCli({"export", "--data", (m_dir / std::string(300, 'x')).string()});
    EXPECT_NE(tooLong.err.find("長すぎます"), std::string::npos) << tooLong.err;
    const CliRun missing = RunCli({"export", "--data", (m_dir / "none.dt").string()});
    EXPECT_NE(missing.err.find("見つかりません"), std::string::npos) << missing.err;
}

TEST_F(RobustCommandsTest, EveryCommandWorksOnAGigabyteSparseFile)
{
    const std::vector<DrawRecord> draws = zentrix::test::SyntheticHistory(20, 4);
    ASSERT_EQ(::truncate(data().c_str(), off_t{1} << 30), 0);
    EXPECT_EQ(RunCli({"generate", "--data", dataArg(), "--seed", "3"}).status, kExitOk);
    EXPECT_EQ(RunCli({"count", "--data", dataArg(), "--carry", "0"}).status, kExitOk);
    EXPECT_EQ(RunCli({"stats", "--data", dataArg()}).status, kExitOk);
    const CliRun exported = RunCli({"export", "--data", dataArg()});
    EXPECT_EQ(exported.out.substr(exported.out.rfind("\n20,")),
              "\n20," + CsvLine(20, draws.back()).substr(3) + "\n");
    const std::vector<DrawRecord> more = zentrix::test::SyntheticHistory(21, 4);
    const CliRun imported = importText(test::EnglishCsv(more));
    EXPECT_EQ(imported.status, kExitOk) << imported.err;
    EXPECT_EQ(fs::file_size(data()), std::uintmax_t{1} << 30);
    struct stat st
    {
    };
    ::stat(data().c_str(), &st);
    EXPECT_LT(st.st_blocks * 512, 1 << 20); // still sparse
}

} // namespace
} // namespace zentrix::cli
