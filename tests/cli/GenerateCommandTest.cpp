// zentrix-cli generate: output format, options, exit statuses, and a data file left untouched.
#include "Commands.h"
#include "common/ReferenceRules.h"
#include "generator/GenerationRun.h"
#include "generator/SetFilter.h"
#include "store/HistoryFile.h"
#include "store/Loto6.h"
#include "support/CliRunner.h"
#include "support/HistoryFixtures.h"
#include "support/TempDir.h"

#include <CLI/CLI.hpp>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>

namespace zentrix::cli {
namespace {

using test::CliRun;
using test::Draw;
using test::RunCli;

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

PredictionSet ParseSet(const std::string& line)
{
    PredictionSet set{};
    for (std::size_t i = 0; i < 6; ++i)
        set[i] = static_cast<std::int16_t>(std::stoi(line.substr(line.find("→") + 3 + i * 5, 2)));
    return set;
}

// Fresh numbers 1..5 (two even, three odd), repeated 6 and 7.
std::vector<DrawRecord> History()
{
    std::vector<DrawRecord> draws = test::SyntheticHistory(80, 17);
    draws.push_back(Draw({6, 7, 20, 21, 22, 23}, 24));
    draws.push_back(Draw({1, 2, 3, 4, 5, 6}, 7));
    return draws;
}

class GenerateCommandTest : public ::testing::Test
{
protected:
    void SetUp() override { test::WriteHistory(file(), History()); }
    std::filesystem::path file() const { return m_dir / "Loto6data.dt"; }
    std::string data() const { return file().string(); }

    CliRun generate(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"generate", "--data", data()});
        return RunCli(args);
    }

    std::vector<PredictionSet> setsOf(const CliRun& run)
    {
        std::vector<PredictionSet> sets;
        const std::vector<std::string> lines = Lines(run.out);
        for (std::size_t i = 2; i < lines.size(); ++i)
            sets.push_back(ParseSet(lines[i]));
        return sets;
    }

    test::TempDir m_dir;
};

TEST_F(GenerateCommandTest, PrintsTheHeaderAnEmptyLineAndOneLinePerSet)
{
    const CliRun run = generate({"--sets", "12", "--seed", "4"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.err, "");
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[0], "Zentrix Predictor Ver.2.11");
    EXPECT_EQ(lines[1], "");
    const std::regex shape(R"(\d{3}→\d{2}( , \d{2}){5})");
    for (std::size_t i = 2; i < lines.size(); ++i) {
        EXPECT_TRUE(std::regex_match(lines[i], shape)) << lines[i];
        EXPECT_EQ(lines[i].substr(0, 6), RowLabel(static_cast<int>(i - 1)));
    }
    // The opening settings: one fresh number, one pair, three even numbers.
    const DrawRow latest = MakeDrawRow(History().back());
    const CarryLists lists = BuildCarryLists(latest, MakeDrawRow(History()[History().size() - 2]));
    for (const PredictionSet& set : setsOf(run))
        EXPECT_EQ(reference::CheckSet(set, lists, latest, GenerationSettings{}), SetVerdict::Pass);
    EXPECT_EQ(run.out.back(), '\n');
}

TEST_F(GenerateCommandTest, DefaultsAreFiveSetsFromLoto6dataInTheWorkingDirectory)
{
    test::ScopedCurrentDir here(m_dir.path());
    const CliRun run = RunCli({"generate"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(Lines(run.out).size(), 7u);
}

TEST_F(GenerateCommandTest, TheSameSeedPrintsTheSameSets)
{
    const CliRun a = generate({"--sets", "30", "--seed", "123456789012"});
    const CliRun b = generate({"--sets", "30", "--seed", "123456789012"});
    const CliRun c = generate({"--sets", "30", "--seed", "123456789013"});
    ASSERT_EQ(a.status, kExitOk);
    EXPECT_EQ(a.out, b.out);
    EXPECT_NE(a.out, c.out);
}

TEST_F(GenerateCommandTest, EveryOptionReachesTheEngine)
{
    const std::vector<DrawRecord> draws = History();
    const DrawRow latest = MakeDrawRow(draws.back());
    const CarryLists lists = BuildCarryLists(latest, MakeDrawRow(draws[draws.size() - 2]));
    GenerationSettings settings;
    settings.setCount = 40;
    settings.weightingOn = false;
    settings.weightBasis = WeightBasis::TimeAxis;
    settings.timeAxisLevel = 2;
    settings.totalLevel = 3;
    settings.parityLevel = 7;
    settings.carryCount = 2;
    settings.consecutiveOn = false;
    const CliRun run = generate({"--sets", "40", "--weighting", "off", "--basis", "time", "--time-level", "2",
                                 "--total-level", "3", "--parity-level", "7", "--carry", "2", "--consecutive",
                                 "off", "--seed", "1"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    const std::vector<PredictionSet> sets = setsOf(run);
    ASSERT_EQ(sets.size(), 40u);
    for (const PredictionSet& set : sets) {
        EXPECT_EQ(reference::CheckSet(set, lists, latest, settings), SetVerdict::Pass);
        EXPECT_TRUE(std::all_of(set.begin(), set.end(), [](int n) { return n % 2 == 1; }));
    }

    // Parity off and no carry: the latest draw's numbers never appear, evens come in any count.
    const CliRun free = generate({"--sets", "40", "--parity", "off", "--carry", "0", "--seed", "2"});
    ASSERT_EQ(free.status, kExitOk) << free.err;
    std::set<long> evenCounts;
    for (const PredictionSet& set : setsOf(free)) {
        for (const std::int16_t n : set)
            EXPECT_TRUE(std::find(latest.begin(), latest.end(), n) == latest.end()) << n;
        evenCounts.insert(std::count_if(set.begin(), set.end(), [](int n) { return n % 2 == 0; }));
    }
    EXPECT_GT(evenCounts.size(), 2u);
}

TEST_F(GenerateCommandTest, WeightingSwitchDecidesWhetherWeightlessNumbersCanBeDrawn)
{
    // Only five numbers ever appear: with weighting on nothing can be drawn, with it off the first
    // six numbers are uniform.
    test::WriteHistory(file(), std::vector<DrawRecord>(6, Draw({1, 2, 3, 4, 5, 1}, 2)));
    const CliRun on = generate({"--carry", "0"});
    EXPECT_EQ(on.status, kExitNoPassingSet);
    EXPECT_EQ(on.out, "");
    EXPECT_NE(on.err.find("5個"), std::string::npos) << on.err;
    const CliRun off = generate({"--carry", "0", "--weighting", "off"});
    EXPECT_EQ(off.status, kExitOk) << off.err;
}

TEST_F(GenerateCommandTest, NeverChangesTheDataFile)
{
    const std::vector<std::uint8_t> before = test::ReadBytes(file());
    const auto modified = std::filesystem::last_write_time(file());
    ASSERT_EQ(generate({"--sets", "100"}).status, kExitOk);
    ASSERT_EQ(generate({"--carry", "2", "--parity-level", "1"}).status, kExitOk);
    EXPECT_EQ(test::ReadBytes(file()), before);
    EXPECT_EQ(std::filesystem::last_write_time(file()), modified);
}

TEST_F(GenerateCommandTest, MissingDataFileIsReportedAndNotCreated)
{
    const std::filesystem::path missing = m_dir / "none" / "Loto6data.dt";
    const CliRun run = RunCli({"generate", "--data", missing.string()});
    EXPECT_EQ(run.status, kExitDataFile);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("見つかりません"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(missing));

    const CliRun directory = RunCli({"generate", "--data", m_dir.path().string()});
    EXPECT_EQ(directory.status, kExitDataFile);
    EXPECT_FALSE(directory.err.empty());
}

TEST_F(GenerateCommandTest, RunsBesideTheDesktopProgramAndSeesItsWrites)
{
    HistoryFile held(file());
    ASSERT_TRUE(held.OpenHistory());
    const CliRun run = generate({});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    // The window writes a draw while a command may be reading; the next command runs as well.
    const RecordNo next = held.Latest() + 1;
    ASSERT_TRUE(held.WriteDraw(next, {3, 11, 18, 25, 36, 42}, 7));
    const CliRun after = generate({});
    EXPECT_EQ(after.status, kExitOk) << after.err;
}

TEST_F(GenerateCommandTest, RunsThatCannotProduceSetsExplainWhyOnStandardError)
{
    std::vector<DrawRecord> draws = History();
    draws.back() = Draw({2, 3, 5, 9, 11, 13}, 15); // fresh: one even number
    test::WriteHistory(file(), draws);
    const CliRun contradiction = generate({"--carry", "2", "--parity-level", "1"});
    EXPECT_EQ(contradiction.status, kExitContradiction);
    EXPECT_EQ(contradiction.out, "");
    EXPECT_EQ(contradiction.err, std::string(kContradictionMessage) + "\n");

    draws.back() = Draw({2, 4, 8, 10, 12, 14}, 16); // fresh: all even
    test::WriteHistory(file(), draws);
    const CliRun none = generate({"--carry", "1", "--parity-level", "7"}); // all odd, one carried
    EXPECT_EQ(none.status, kExitNoPassingSet);
    EXPECT_EQ(none.out, "");
    EXPECT_NE(none.err.find("組み合わせがありません"), std::string::npos) << none.err;

    test::WriteHistory(file(), {Draw({1, 2, 3, 4, 5, 6}, 7)});
    const CliRun tooFew = generate({});
    EXPECT_EQ(tooFew.status, kExitTooFewDraws);
    EXPECT_NE(tooFew.err.find("1回分"), std::string::npos) << tooFew.err;
}

TEST_F(GenerateCommandTest, SetsRarerThanOneInAMillionComeAtOnce)
{
    // 42 and 43 appear in the latest draw only: two carries need both, one candidate in millions.
    std::vector<DrawRecord> draws;
    for (int d = 0; d < 1500; ++d)
        draws.push_back(Draw({1 + d % 8, 10 + d % 9, 20 + d % 7, 28 + d % 5, 34 + d % 3, 38 + d % 2}, 9));
    draws.push_back(Draw({1, 10, 20, 28, 34, 38}, 9));
    draws.push_back(Draw({1, 10, 20, 28, 42, 43}, 9));
    test::WriteHistory(file(), draws);
    const CliRun run = generate({"--sets", "100", "--carry", "2", "--parity", "off", "--seed", "3"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(Lines(run.out).size(), 102u);
    const DrawRow latest = MakeDrawRow(draws.back());
    const CarryLists lists = BuildCarryLists(latest, MakeDrawRow(draws[draws.size() - 2]));
    GenerationSettings settings;
    settings.carryCount = 2;
    settings.parityOn = false;
    for (const PredictionSet& set : setsOf(run))
        EXPECT_EQ(reference::CheckSet(set, lists, latest, settings), SetVerdict::Pass);
    EXPECT_EQ(generate({"--sets", "100", "--carry", "2", "--parity", "off", "--seed", "3"}).out, run.out);
}

TEST_F(GenerateCommandTest, BadOptionsGetAUsageMessageAndStatusTwo)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--sets", "0"},         {"--sets", "101"},
        {"--sets", "five"},      {"--weighting", "yes"},
        {"--basis", "recent"},   {"--total-level", "4"},
        {"--time-level", "0"},   {"--parity", "1"},
        {"--parity-level", "8"}, {"--carry", "3"},
        {"--carry", "-1"},       {"--consecutive", "true"},
        {"--seed", "abc"},       {"--seed"},
        {"--colour", "red"},     {"extra"},
    };
    for (const std::vector<std::string>& args : bad) {
        const CliRun run = generate(args);
        EXPECT_EQ(run.status, kExitUsage) << args[0];
        EXPECT_EQ(run.out, "") << args[0];
        EXPECT_NE(run.err.find("--help"), std::string::npos) << args[0] << ": " << run.err;
    }
    EXPECT_EQ(RunCli({}).status, kExitUsage);
    EXPECT_EQ(RunCli({"predict"}).status, kExitUsage);
}

TEST_F(GenerateCommandTest, HelpListsTheOptionsAndExitStatuses)
{
    const CliRun run = RunCli({"generate", "--help"});
    EXPECT_EQ(run.status, kExitOk);
    for (const char* option :
         {"--data", "--sets", "--weighting", "--basis", "--total-level", "--time-level", "--parity",
          "--parity-level", "--carry", "--consecutive", "--seed", "終了コード"})
        EXPECT_NE(run.out.find(option), std::string::npos) << option;
}

} // namespace
} // namespace zentrix::cli
