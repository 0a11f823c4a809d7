// zentrix --help, --version and refused arguments: which answer each command line gets.
#include "StartOptions.h"

#include "version/Version.h"

#include <gtest/gtest.h>

namespace zentrix::app {
namespace {

TEST(StartOptionsTest, NoArgumentsOpensTheWindow)
{
    const StartRequest request = ReadStartOptions({});
    EXPECT_EQ(request.action, StartAction::Run);
    EXPECT_TRUE(request.refused.empty());
}

TEST(StartOptionsTest, HelpAndVersionAnswerWhereverTheyStand)
{
    EXPECT_EQ(ReadStartOptions({"--help"}).action, StartAction::ShowHelp);
    EXPECT_EQ(ReadStartOptions({"-h"}).action, StartAction::ShowHelp);
    EXPECT_EQ(ReadStartOptions({"--version"}).action, StartAction::ShowVersion);
    // Qt's own options come first on the raw command line; they must not hide --version.
    EXPECT_EQ(ReadStartOptions({"-style", "fusion", "--version"}).action, StartAction::ShowVersion);
    // The first of the two wins, as with most programs.
    EXPECT_EQ(ReadStartOptions({"--version", "--help"}).action, StartAction::ShowVersion);
    EXPECT_EQ(ReadStartOptions({"--help", "--version"}).action, StartAction::ShowHelp);
}

TEST(StartOptionsTest, AnyOtherArgumentIsRefusedByName)
{
    // The program opens Loto6data.dt in its folder and takes no file name: a file given on the
    // command line must not be silently ignored.
    StartRequest request = ReadStartOptions({"other.dt"});
    EXPECT_EQ(request.action, StartAction::Refuse);
    EXPECT_EQ(request.refused, "other.dt");

    request = ReadStartOptions({"--verbose", "-x"});
    EXPECT_EQ(request.action, StartAction::Refuse);
    EXPECT_EQ(request.refused, "--verbose");

    // Near misses of the real options are not taken for them.
    EXPECT_EQ(ReadStartOptions({"--versions"}).action, StartAction::Refuse);
    EXPECT_EQ(ReadStartOptions({"--help=all"}).action, StartAction::Refuse);
    EXPECT_EQ(ReadStartOptions({"-help"}).action, StartAction::Refuse);

    const std::string message = StartRefusalText(ReadStartOptions({"other.dt"}));
    EXPECT_NE(message.find("other.dt"), std::string::npos);
    EXPECT_NE(message.find("zentrix --help"), std::string::npos);
}

TEST(StartOptionsTest, HelpListsEveryOptionTheProgramTakes)
{
    const std::string help = StartHelpText();
    EXPECT_EQ(help.rfind("使い方: zentrix", 0), 0u);
    for (const char* option : {"-h", "--help", "--version"}) {
        EXPECT_NE(help.find(option), std::string::npos) << option;
        EXPECT_NE(ReadStartOptions({option}).action, StartAction::Refuse) << option;
    }
    EXPECT_NE(help.find("Loto6data.dt"), std::string::npos);
    EXPECT_EQ(help.back(), '\n');
}

TEST(StartOptionsTest, VersionLineCarriesTheReleaseNumber)
{
    const std::string version = StartVersionText();
    EXPECT_EQ(version, "zentrix (Zentrix) " + std::string(kVersion) + "\n");
    // A release number such as 2.2.2, never an empty or unsubstituted template value.
    EXPECT_FALSE(kVersion.empty());
    EXPECT_EQ(kVersion.find('@'), std::string_view::npos);
    EXPECT_NE(kVersion.find('.'), std::string_view::npos);
}

} // namespace
} // namespace zentrix::app
