// Output files: never onto the data file or the predictions database, whatever the path or link
// used to name them; always whole or not at all.
#include "store/OutputFile.h"

#include "support/HistoryFixtures.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zentrix {
namespace {

namespace fs = std::filesystem;

class OutputFileTest : public ::testing::Test
{
protected:
    void SetUp() override { test::WriteBytes(data(), m_history); }
    fs::path data() const { return m_dir / "Loto6data.dt"; }
    std::vector<fs::path> guarded() const { return GuardedFiles(data()); }
    std::size_t entries() const
    {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(m_dir.path()), fs::directory_iterator()));
    }

    test::TempDir m_dir;
    const std::vector<std::uint8_t> m_history{3, 0, 11, 0, 18, 0, 25, 0, 36, 0, 42, 0, 0, 0, 7, 0};
};

TEST_F(OutputFileTest, EveryWayOfNamingTheDataFileIsRefused)
{
    const fs::path sub = m_dir / "sub";
    fs::create_directory(sub);
    fs::create_symlink(data(), m_dir / "link.svg");
    fs::create_hard_link(data(), m_dir / "hard.svg");
    const std::vector<fs::path> names{data(), sub / ".." / "Loto6data.dt", m_dir / "link.svg",
                                      m_dir / "hard.svg"};
    for (const fs::path& name : names) {
        const OutputStatus status = WriteOutputFile(name, "<svg/>", guarded());
        EXPECT_EQ(status.error, OutputError::GuardedFile) << name;
        EXPECT_NE(DescribeOutputError(status, name.string()).find("データファイル"), std::string::npos);
    }
    // Relative to the working folder, as a user types it.
    test::ScopedCurrentDir here(m_dir.path());
    EXPECT_EQ(WriteOutputFile("./Loto6data.dt", "<svg/>", GuardedFiles("Loto6data.dt")).error,
              OutputError::GuardedFile);
    EXPECT_EQ(test::ReadBytes(data()), m_history);
    EXPECT_TRUE(fs::is_symlink(m_dir / "link.svg"));
}

TEST_F(OutputFileTest, ThePredictionsDatabaseIsGuardedBeforeItExists)
{
    const fs::path database = m_dir / std::string(kPredictionsFileName);
    const OutputStatus status = WriteOutputFile(database, "x", guarded());
    EXPECT_EQ(status.error, OutputError::GuardedFile);
    EXPECT_NE(DescribeOutputError(status, "p").find("予想番号のデータベース"), std::string::npos);
    EXPECT_FALSE(fs::exists(database));
    // A dangling link to where it will be is refused too.
    fs::create_symlink(database, m_dir / "chart.svg");
    EXPECT_EQ(WriteOutputFile(m_dir / "chart.svg", "x", guarded()).error, OutputError::GuardedFile);
}

TEST_F(OutputFileTest, WritesWholeKeepsPermissionsAndFollowsLinks)
{
    const fs::path chart = m_dir / "chart.svg";
    ASSERT_TRUE(WriteOutputFile(chart, "first", guarded()));
    ::chmod(chart.c_str(), 0600);
    fs::create_symlink("chart.svg", m_dir / "latest.svg");
    ASSERT_TRUE(WriteOutputFile(m_dir / "latest.svg", "second", guarded()));
    EXPECT_TRUE(fs::is_symlink(m_dir / "latest.svg"));
    const std::vector<std::uint8_t> bytes = test::ReadBytes(chart);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "second");
    EXPECT_EQ(fs::status(chart).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(entries(), 3u); // data file, chart, link: no copy left over
}

TEST_F(OutputFileTest, FailuresLeaveNothingBehind)
{
    const OutputStatus folder = WriteOutputFile(m_dir.path(), "x", guarded());
    EXPECT_EQ(folder.error, OutputError::NotRegularFile);
    EXPECT_EQ(WriteOutputFile("/dev/null", "x", guarded()).error, OutputError::NotRegularFile);
    const OutputStatus missing = WriteOutputFile(m_dir / "no" / "such.svg", "x", guarded());
    EXPECT_EQ(missing.error, OutputError::WriteFailed);
    EXPECT_EQ(missing.systemError, ENOENT);
    EXPECT_NE(DescribeOutputError(missing, "such.svg").find("理由"), std::string::npos);
    EXPECT_EQ(entries(), 1u);
}

} // namespace
} // namespace zentrix
