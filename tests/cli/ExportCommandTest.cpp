// zentrix-cli export: the stored draws as CSV that import reads back, a data file only read.
#include "Commands.h"
#include "support/CliRunner.h"
#include "support/HistoryFixtures.h"

#include <gtest/gtest.h>

namespace zentrix::cli {
namespace {

using test::CliRun;
using test::Draw;

class ExportCommandTest : public test::CommandTest
{
};

TEST_F(ExportCommandTest, StoredDrawsAsWrittenUpToTheLatestAndTheFileUntouched)
{
    // Numbers in stored order, a number twice as the editor allows, Reserved not exported.
    store({Draw({1, 2, 3, 4, 5, 6}, 7, 9), Draw({30, 5, 5, 10, 20, 40}, 7), Draw({0, 0, 0, 0, 0, 0}, 0)});
    const std::vector<std::uint8_t> before = test::ReadBytes(data());
    const CliRun run = this->run({"export"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, "draw,date,n1,n2,n3,n4,n5,n6,bonus\n1,,1,2,3,4,5,6,7\n2,,30,5,5,10,20,40,7\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(test::ReadBytes(data()), before);
}

TEST_F(ExportCommandTest, ImportReadsItBackToTheSameFile)
{
    store(test::SyntheticHistory(40, 21));
    const CliRun exported = run({"export"});
    ASSERT_EQ(exported.status, kExitOk) << exported.err;
    EXPECT_EQ(std::count(exported.out.begin(), exported.out.end(), '\n'), 41);

    const std::filesystem::path copy = m_dir / "copy.dt";
    test::WriteText(m_dir / "out.csv", exported.out);
    const CliRun imported = test::RunCli({"import", (m_dir / "out.csv").string(), "--data", copy.string()});
    ASSERT_EQ(imported.status, kExitOk) << imported.err;
    EXPECT_EQ(test::ReadBytes(copy), test::ReadBytes(data()));
}

} // namespace
} // namespace zentrix::cli
