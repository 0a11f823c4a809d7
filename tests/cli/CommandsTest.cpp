// zentrix-cli's application: --version answered without a subcommand.
#include "Commands.h"

#include "support/CliRunner.h"
#include "version/Version.h"

#include <gtest/gtest.h>

namespace zentrix::cli {
namespace {

using test::RunCli;

TEST(CommandsTest, VersionIsPrintedAloneWithoutASubcommandAndOnlyByTheProgram)
{
    // Every other command line needs a subcommand; --version must not be refused for lacking one.
    const test::CliRun run = RunCli({"--version"});
    EXPECT_EQ(run.status, kExitOk);
    EXPECT_EQ(run.out, "zentrix-cli (Zentrix) " + std::string(kVersion) + "\n");
    EXPECT_EQ(run.err, "");
    EXPECT_NE(RunCli({"--help"}).out.find("--version"), std::string::npos);

    // A subcommand does not take it: a usage error, not a silent run of generate.
    const test::CliRun sub = RunCli({"generate", "--version"});
    EXPECT_EQ(sub.status, kExitUsage);
    EXPECT_EQ(sub.out, "");
}

} // namespace
} // namespace zentrix::cli
