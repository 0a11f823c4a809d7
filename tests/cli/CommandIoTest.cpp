// CommandIo: standard output that cannot take the report, input beyond the size bound, and whole
// numbers checked before they are converted.
#include "Commands.h"
#include "support/CliRunner.h"
#include "support/HistoryFixtures.h"

#include <gtest/gtest.h>

namespace zentrix::cli {
namespace {

using test::CliRun;

class CommandIoTest : public test::CommandTest
{
protected:
    void SetUp() override { store(test::SyntheticHistory(20, 4)); }
};

TEST_F(CommandIoTest, EveryCommandSaysWhenStandardOutputCannotTakeItsReport)
{
    const std::string data = this->data().string();
    const std::vector<std::vector<std::string>> commands = {
        {"export"},
        {"generate", "--seed", "1", "--no-save"},
        {"stats"},
        {"count", "--carry", "0"},
        {"check", "--draw", "1"},
        {"wheel", "--numbers", "1-7", "--guarantee", "3/3"},
        {"stats", "--view", "sum"},
        {"predictions", "list"},
        {"predictions", "show", "1"},
        {"predictions", "check", "1"},
        {"predictions", "export"},
    };
    ASSERT_EQ(run({"generate", "--sets", "1"}).status, kExitOk); // a batch for predictions
    for (std::vector<std::string> args : commands) {
        SCOPED_TRACE(args[0]);
        args.insert(args.end(), {"--data", data});
        const CliRun run = test::RunCliIntoFullOutput(args, "1 2 3 4 5 6\n");
        EXPECT_EQ(run.status, kExitFailure);
        EXPECT_NE(run.err.find("標準出力に書き込めませんでした"), std::string::npos) << run.err;
    }
}

TEST_F(CommandIoTest, InputBeyondTheBoundIsRefusedWithAMessage)
{
    const CliRun check = run({"check", "--draw", "1", "/dev/zero"});
    EXPECT_EQ(check.status, kExitFailure);
    EXPECT_NE(check.err.find("「/dev/zero」は大きすぎるため読みません"), std::string::npos) << check.err;
    EXPECT_EQ(check.out, "");
}

TEST_F(CommandIoTest, WholeNumbersAreCheckedAtTheirBoundsBeforeConversion)
{
    for (const std::string seed : {"-1", "18446744073709551616", "1e3", "+1", ""}) {
        const CliRun refused = run({"generate", "--no-save", "--seed", seed});
        EXPECT_EQ(refused.status, kExitUsage) << seed;
        EXPECT_NE(refused.err.find("zentrix-cli generate --help"), std::string::npos) << refused.err;
    }
    EXPECT_EQ(run({"generate", "--no-save", "--seed", "18446744073709551615"}).status, kExitOk);
    EXPECT_EQ(run({"check", "--draw", "9223372036854775808"}, "1 2 3 4 5 6\n").status, kExitUsage);
    EXPECT_EQ(run({"check", "--draw", "-1"}, "1 2 3 4 5 6\n").status, kExitUsage);
}

} // namespace
} // namespace zentrix::cli
