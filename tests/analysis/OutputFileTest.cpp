// OutputFile: the finished file replaces the old one whole, and nothing is ever written over the
// data file, a folder, or left behind half-done.
#include "analysis/OutputFile.h"

#include "support/HistoryFixtures.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace zentrix::analysis {
namespace {

std::string Read(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::size_t FilesIn(const std::filesystem::path& folder)
{
    return std::size_t(std::distance(std::filesystem::directory_iterator(folder), {}));
}

class OutputFileTest : public ::testing::Test
{
protected:
    zentrix::test::TempDir dir;
    std::filesystem::path data = dir / "Loto6data.dt";
};

TEST_F(OutputFileTest, WritesAndReplacesWholeFiles)
{
    const auto chart = dir / "chart.svg";
    ASSERT_TRUE(WriteOutputFile(chart, "first version, longer", data).ok());
    EXPECT_EQ(Read(chart), "first version, longer");
    ASSERT_TRUE(WriteOutputFile(chart, "second", data).ok());
    EXPECT_EQ(Read(chart), "second");
    EXPECT_EQ(FilesIn(dir.path()), 1u); // no temporary file left
    struct stat info
    {
    };
    ASSERT_EQ(::stat(chart.c_str(), &info), 0);
    EXPECT_NE(info.st_mode & S_IRUSR, 0u);
}

TEST_F(OutputFileTest, NeverWritesOverTheDataFile)
{
    zentrix::test::WriteHistory(data, {zentrix::test::Draw({1, 2, 3, 4, 5, 6}, 7)});
    const std::vector<std::uint8_t> before = zentrix::test::ReadBytes(data);
    const OutputStatus direct = WriteOutputFile(data, "<svg/>", data);
    EXPECT_EQ(direct.error, OutputError::IsDataFile);
    std::filesystem::create_symlink(data, dir / "link.svg");
    EXPECT_EQ(WriteOutputFile(dir / "link.svg", "<svg/>", data).error, OutputError::IsDataFile);
    EXPECT_EQ(WriteOutputFile(dir / "." / "Loto6data.dt", "<svg/>", data).error, OutputError::IsDataFile);
    EXPECT_EQ(zentrix::test::ReadBytes(data), before);
    EXPECT_NE(DescribeOutputError(direct, "Loto6data.dt").find("データファイルには書き込みません"),
              std::string::npos);
}

TEST_F(OutputFileTest, RefusesFoldersMissingFoldersAndEmptyNames)
{
    std::filesystem::create_directory(dir / "charts");
    EXPECT_EQ(WriteOutputFile(dir / "charts", "x", data).error, OutputError::NotRegularFile);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "charts"));
    const OutputStatus missing = WriteOutputFile(dir / "nowhere" / "chart.svg", "x", data);
    EXPECT_EQ(missing.error, OutputError::CreateFailed);
    EXPECT_NE(DescribeOutputError(missing, "nowhere/chart.svg").find("フォルダがありません"),
              std::string::npos);
    EXPECT_EQ(WriteOutputFile("", "x", data).error, OutputError::EmptyName);
    EXPECT_EQ(FilesIn(dir.path()), 1u);
}

TEST_F(OutputFileTest, ReadOnlyFolderLeavesTheOldFile)
{
    const auto chart = dir / "chart.svg";
    ASSERT_TRUE(WriteOutputFile(chart, "old", data).ok());
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    const OutputStatus status = WriteOutputFile(chart, "new", data);
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    if (::geteuid() == 0)
        GTEST_SKIP() << "root ignores folder permissions";
    EXPECT_EQ(status.error, OutputError::CreateFailed);
    EXPECT_EQ(Read(chart), "old");
}

} // namespace
} // namespace zentrix::analysis
