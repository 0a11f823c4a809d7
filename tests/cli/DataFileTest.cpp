// DataFile: every reading command refuses a data file it cannot use with the real reason and
// status 3, and never creates one.
#include "Commands.h"
#include "support/CliRunner.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace zentrix::cli {
namespace {

using test::CliRun;
using test::RunCli;
namespace fs = std::filesystem;

class DataFileTest : public test::CommandTest
{
};

TEST_F(DataFileTest, EachReasonIsNamedAndNothingIsCreated)
{
    ASSERT_EQ(::mkfifo((m_dir / "fifo.dt").c_str(), 0644), 0);
    fs::create_symlink("loop.dt", m_dir / "loop.dt");
    fs::create_symlink("gone.dt", m_dir / "dangling.dt");
    struct Case
    {
        fs::path file;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {m_dir / "none" / "Loto6data.dt", "が見つかりません。--data で"},
        {m_dir / "fifo.dt", "通常のファイルではない"},
        {m_dir / "loop.dt", "循環"}, // a loop is not "not found"
        {m_dir / "dangling.dt", "シンボリックリンクですが、リンク先が見つかりません"},
        {m_dir / std::string(300, 'x'), "長すぎます"},
        {m_dir.path(), "データファイル"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.string());
        const CliRun run = RunCli({"export", "--data", c.file.string()});
        EXPECT_EQ(run.status, kExitDataFile);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << c.reason << ": " << run.err;
        if (c.file.filename() == "loop.dt") {
            EXPECT_EQ(run.err.find("見つかりません"), std::string::npos) << run.err;
        }
    }
    EXPECT_FALSE(fs::exists(m_dir / "none"));
    EXPECT_FALSE(fs::exists(m_dir / "gone.dt"));
}

TEST_F(DataFileTest, EveryReadingCommandUsesIt)
{
    const std::string missing = (m_dir / "none.dt").string();
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"generate"},
                                               {"export"},
                                               {"stats"},
                                               {"stats", "--view", "gaps"},
                                               {"count"},
                                               {"check", "--draw", "1"}}) {
        std::vector<std::string> withData = args;
        withData.insert(withData.end(), {"--data", missing});
        const CliRun run = RunCli(withData, "1 2 3 4 5 6\n");
        EXPECT_EQ(run.status, kExitDataFile) << args[0];
        EXPECT_EQ(run.out, "") << args[0];
    }
    EXPECT_TRUE(fs::is_empty(m_dir.path()));
}

} // namespace
} // namespace zentrix::cli
