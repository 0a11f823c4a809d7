// zentrix-cli's own words: parse errors, help headings and exit-status lists, all in Japanese.
#include "CliMessages.h"

#include "Commands.h"
#include "history_io/TextEncoding.h"
#include "store/HistoryFile.h"
#include "support/CliRunner.h"
#include "support/HistoryFixtures.h"
#include "support/TempDir.h"

#include <CLI/CLI.hpp>
#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <sstream>

namespace zentrix::cli {
namespace {

using test::CliRun;
using test::RunCli;

/// Every subcommand zentrix-cli registers, in the order the help lists them.
std::vector<std::string> RegisteredSubcommands()
{
    std::ostringstream out;
    std::ostringstream err;
    CliContext context{out, err};
    const std::unique_ptr<CLI::App> app = MakeApp();
    AddAllCommands(*app, context);
    std::vector<std::string> names;
    for (const CLI::App* sub : app->get_subcommands([](const CLI::App*) { return true; }))
        names.push_back(sub->get_name());
    return names;
}

const std::vector<std::string> kSubcommands = RegisteredSubcommands();

std::string JoinedSubcommands()
{
    std::string text;
    for (const std::string& name : kSubcommands)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

/// The text with every word the user typed, every subcommand and option name and the program's
/// name taken out: what is left must hold no Latin word.
std::string WithoutNames(std::string text, const std::vector<std::string>& typed)
{
    // Names the user types as they stand: the program's, formats, files, option values, CSV
    // columns, the actions of predictions and the views of stats --view.
    std::vector<std::string> names = typed;
    names.insert(names.end(), kSubcommands.begin(), kSubcommands.end());
    std::istringstream known("zentrix-cli Zentrix LOTO6 UTF-8 Shift_JIS CP932 CSV BOM SVG BONUS "
                             "zentrix-predictions.sqlite3 Loto6data.dt Predictor Ver.2.11 on off total time "
                             "draw date n1 n2 n3 n4 n5 n6 bonus gaps hot carry slide consecutive digits sum "
                             "parity pairs list show delete");
    for (std::string name; known >> name;)
        names.push_back(name);
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    for (const std::string& name : names) {
        for (std::size_t at = text.find(name); !name.empty() && at != std::string::npos; at = text.find(name))
            text.erase(at, name.size());
    }
    static const std::regex optionName(R"(--?[A-Za-z][A-Za-z-]*)");
    return std::regex_replace(text, optionName, "");
}

bool HasLatinWord(const std::string& text)
{
    static const std::regex word(R"([A-Za-z]{2,})");
    return std::regex_search(text, word);
}

std::set<int> ListedExitCodes(const std::string& help)
{
    std::set<int> codes;
    const std::size_t start = help.find("終了コード:");
    if (start == std::string::npos)
        return codes;
    std::istringstream in(help.substr(start));
    std::string line;
    std::getline(in, line);
    static const std::regex entry(R"(^  ([0-9]) \S.*$)");
    for (std::smatch m; std::getline(in, line) && std::regex_match(line, m, entry);)
        codes.insert(std::stoi(m[1]));
    return codes;
}

TEST(CliErrorMessageTest, OptionErrorsAreJapaneseOnlyAndNameWhatWentWrong)
{
    struct Case
    {
        std::vector<std::string> args;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {{"generate", "--sets", "0"}, "--sets には 1～100 の整数を指定して下さい（「0」は使えません）。"},
        {{"generate", "--sets", "abc"}, "「abc」は使えません"},
        {{"generate", "--sets"}, "--sets の値がありません。"},
        {{"generate", "--bogus"}, "「--bogus」というオプションはありません。"},
        {{"generate", "extra"}, "余分な引数「extra」があります。"},
        {{"generate", "--weighting", "maybe"}, "--weighting には on、off のどれかを指定して下さい"},
        {{"generate", "--sets", "1", "--sets", "2"}, "--sets は1回まで指定できます"},
        {{"generate", "--seed", "x"}, "--seed: 「x」は 0〜18446744073709551615 の整数ではありません"},
        {{"check"}, "--draw を指定して下さい（必須）。"},
        {{"check", "--draw", "x"}, "--draw: 「x」は 0〜9223372036854775807 の整数ではありません"},
        {{"import"}, "ファイル を指定して下さい（必須）。"},
        {{"stats", "--parity-level", "9"}, "--parity-level には 1～7 の整数を指定して下さい"},
        {{"predict"}, "「predict」というサブコマンドはありません。"},
        {{"--bogus"}, "「--bogus」というオプションはありません。"},
        {{}, "サブコマンド（" + JoinedSubcommands() + "）のどれかを指定して下さい。"},
    };
    for (const Case& c : cases) {
        const std::string shown = c.args.empty() ? "(none)" : c.args[0] + " " + c.args.back();
        const CliRun run = RunCli(c.args);
        EXPECT_EQ(run.status, kExitUsage) << shown;
        EXPECT_EQ(run.out, "") << shown;
        EXPECT_NE(run.err.find(c.expected), std::string::npos) << shown << ": " << run.err;
        EXPECT_FALSE(HasLatinWord(WithoutNames(run.err, c.args))) << shown << ": " << run.err;
    }
}

TEST(CliErrorMessageTest, AHugeArgumentGetsAShortMessage)
{
    const CliRun run = RunCli({"generate", "--sets", std::string(100000, '9')});
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_NE(run.err.find("引数が長すぎます。"), std::string::npos);
    EXPECT_LT(run.err.size(), 200u);
}

TEST(CliErrorMessageTest, TheHintNamesTheHelpOfTheSubcommandInUse)
{
    EXPECT_NE(RunCli({"check", "--draw", "x"}).err.find("「zentrix-cli check --help」"), std::string::npos);
    EXPECT_NE(RunCli({"stats", "--bogus"}).err.find("「zentrix-cli stats --help」"), std::string::npos);
    EXPECT_NE(RunCli({"predict"}).err.find("「zentrix-cli --help」"), std::string::npos);
}

TEST(CliHelpTest, HeadingsAndValueKindsAreJapanese)
{
    std::vector<std::vector<std::string>> helps = {{"--help"}};
    for (const std::string& sub : kSubcommands)
        helps.push_back({sub, "--help"});
    for (const std::vector<std::string>& args : helps) {
        const CliRun run = RunCli(args);
        ASSERT_EQ(run.status, kExitOk) << args[0];
        for (const char* english : {"Usage", "Options", "Positionals", "Subcommands", "REQUIRED", "TEXT",
                                    "INT", "OPTIONS", "SUBCOMMAND", "FILE"})
            EXPECT_EQ(run.out.find(english), std::string::npos) << args[0] << ": " << english;
        EXPECT_NE(run.out.find("使い方: zentrix-cli"), std::string::npos) << args[0];
        EXPECT_FALSE(HasLatinWord(WithoutNames(run.out, args))) << args[0] << ":\n"
                                                                << WithoutNames(run.out, args);
        EXPECT_EQ(run.out.find("当せん"), std::string::npos) << args[0];
        EXPECT_EQ(run.out.find("起動"), std::string::npos) << args[0];
    }
    const std::string generate = RunCli({"generate", "--help"}).out;
    EXPECT_NE(generate.find("--sets 整数 1～100（既定 5）"), std::string::npos) << generate;
    EXPECT_NE(generate.find("--weighting on|off（既定 on）"), std::string::npos) << generate;
    EXPECT_NE(RunCli({"check", "--help"}).out.find("--draw 整数（必須）"), std::string::npos);
}

TEST(CliHelpTest, DescriptionsStartInOneColumnWhateverTheWidthOfTheJapaneseBeforeThem)
{
    const std::string help = RunCli({"generate", "--help"}).out;
    std::set<std::size_t> columns;
    std::istringstream in(help);
    for (std::string line; std::getline(in, line);) {
        for (const char* description :
             {"予想番号の組数", "前回の当選番号から引き継ぐ個数", "偶数／奇数の偏り", "乱数の種"}) {
            if (const std::size_t at = line.find(description); at != std::string::npos && at > 0)
                columns.insert(DisplayWidth(line.substr(0, at)));
        }
    }
    ASSERT_EQ(columns.size(), 1u) << help;
    EXPECT_EQ(*columns.begin(), 32u);
}

TEST(CliHelpTest, EachHelpListsOnlyTheExitStatusesItsCommandCanReturn)
{
    const std::vector<std::pair<std::vector<std::string>, std::set<int>>> expected = {
        {{"--help"}, {0, 1, 2, 3, 4, 5, 6, 7, 8}}, {{"generate", "--help"}, {0, 1, 2, 3, 4, 5, 6, 7}},
        {{"import", "--help"}, {0, 1, 2, 3}},      {{"export", "--help"}, {0, 1, 2, 3}},
        {{"stats", "--help"}, {0, 1, 2, 3, 8}},    {{"count", "--help"}, {0, 1, 2, 3, 4, 5}},
        {{"check", "--help"}, {0, 1, 2, 3}},
    };
    for (const auto& [args, codes] : expected)
        EXPECT_EQ(ListedExitCodes(RunCli(args).out), codes) << args[0];
    EXPECT_EQ(ExitCodeHelp({kExitOk, kExitNoPassingSet}),
              "終了コード:\n  0 成功\n  6 条件を満たす組み合わせが無い");
}

TEST(CliWordingTest, WinningNumbersAreAlways当選)
{
    zentrix::test::TempDir dir;
    const std::filesystem::path file = dir / "Loto6data.dt";
    zentrix::test::WriteHistory(file, {zentrix::test::Draw({1, 2, 3, 4, 5, 6}, 7)});
    const std::vector<std::vector<std::string>> runs = {
        {"generate", "--data", file.string()},             // too few draws
        {"count", "--data", file.string()},                // too few draws
        {"check", "--draw", "9", "--data", file.string()}, // draw not stored
        {"check", "--draw", "1", "--data", file.string()}, // scored
    };
    for (const std::vector<std::string>& args : runs) {
        const CliRun run = RunCli(args, "1 2 3 4 5 6\n");
        const std::string text = run.out + run.err;
        EXPECT_NE(text.find("当選"), std::string::npos) << args[0] << ": " << text;
        EXPECT_EQ(text.find("当せん"), std::string::npos) << args[0] << ": " << text;
    }
}

} // namespace
} // namespace zentrix::cli
