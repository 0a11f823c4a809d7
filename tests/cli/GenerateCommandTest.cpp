// zentrix-cli generate: the printed format, the options reaching the engine, one message and exit
// status per way a run ends without sets, and a data file that is only read.
#include "Commands.h"
#include "common/ReferenceRules.h"
#include "generator/GenerationRun.h"
#include "generator/SetFilter.h"
#include "store/HistoryFile.h"
#include "store/Loto6.h"
#include "support/CliRunner.h"
#include "support/HistoryFixtures.h"

#include <gtest/gtest.h>
#include <regex>

namespace zentrix::cli {
namespace {

using test::CliRun;
using test::Draw;
using test::Lines;

// Fresh numbers 1..5 (two even, three odd), repeated 6 and 7.
std::vector<DrawRecord> History()
{
    std::vector<DrawRecord> draws = test::SyntheticHistory(80, 17);
    draws.push_back(Draw({6, 7, 20, 21, 22, 23}, 24));
    draws.push_back(Draw({1, 2, 3, 4, 5, 6}, 7));
    return draws;
}

class GenerateCommandTest : public test::CommandTest
{
protected:
    void SetUp() override { store(History()); }

    CliRun generate(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"generate", "--no-save"});
        return run(args);
    }

    /// The sets of the printed lines after the header and the empty line.
    static std::vector<PredictionSet> SetsOf(const CliRun& run)
    {
        std::vector<PredictionSet> sets;
        const std::vector<std::string> lines = Lines(run.out);
        for (std::size_t i = 2; i < lines.size(); ++i) {
            PredictionSet set{};
            for (std::size_t k = 0; k < 6; ++k)
                set[k] =
                    static_cast<std::int16_t>(std::stoi(lines[i].substr(lines[i].find("→") + 3 + k * 5, 2)));
            sets.push_back(set);
        }
        return sets;
    }

    static bool AllPass(const std::vector<PredictionSet>& sets, const GenerationSettings& settings)
    {
        const std::vector<DrawRecord> draws = History();
        const DrawRow latest = MakeDrawRow(draws.back());
        const CarryLists lists = BuildCarryLists(latest, MakeDrawRow(draws[draws.size() - 2]));
        return std::all_of(sets.begin(), sets.end(), [&](const PredictionSet& set) {
            return reference::CheckSet(set, lists, latest, settings) == SetVerdict::Pass;
        });
    }
};

TEST_F(GenerateCommandTest, DefaultsPrintFivePassingSetsFromLoto6dataInTheWorkingDirectory)
{
    test::ScopedCurrentDir here(m_dir.path());
    const CliRun run = test::RunCli({"generate", "--no-save"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.err, "");
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "Zentrix Predictor Ver.2.11");
    EXPECT_EQ(lines[1], "");
    const std::regex shape(R"(\d{3}→\d{2}( , \d{2}){5})");
    for (std::size_t i = 2; i < lines.size(); ++i) {
        EXPECT_TRUE(std::regex_match(lines[i], shape)) << lines[i];
        EXPECT_EQ(lines[i].substr(0, 6), RowLabel(static_cast<int>(i - 1)));
    }
    // The opening settings: one fresh number, one pair, three even numbers.
    EXPECT_TRUE(AllPass(SetsOf(run), GenerationSettings{})) << run.out;
}

TEST_F(GenerateCommandTest, TheSameSeedPrintsTheSameSets)
{
    const CliRun a = generate({"--sets", "20", "--seed", "123456789012"});
    ASSERT_EQ(a.status, kExitOk);
    EXPECT_EQ(generate({"--sets", "20", "--seed", "123456789012"}).out, a.out);
    EXPECT_NE(generate({"--sets", "20", "--seed", "123456789013"}).out, a.out);
}

TEST_F(GenerateCommandTest, TheRuleOptionsReachTheEngine)
{
    GenerationSettings settings;
    settings.setCount = 40;
    settings.weightingOn = false;
    settings.parityLevel = 7;
    settings.carryCount = 2;
    settings.consecutiveOn = false;
    const CliRun run = generate({"--sets", "40", "--weighting", "off", "--basis", "time", "--time-level", "2",
                                 "--total-level", "3", "--parity-level", "7", "--carry", "2", "--consecutive",
                                 "off", "--seed", "1"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    const std::vector<PredictionSet> sets = SetsOf(run);
    EXPECT_EQ(sets.size(), 40u);
    EXPECT_TRUE(AllPass(sets, settings)) << run.out; // count's tests take each value of each rule
}

TEST_F(GenerateCommandTest, WeightingSwitchDecidesWhetherWeightlessNumbersCanBeDrawn)
{
    // Only five numbers ever appear: with weighting on nothing can be drawn, with it off the first
    // six numbers are uniform.
    store(std::vector<DrawRecord>(6, Draw({1, 2, 3, 4, 5, 1}, 2)));
    const CliRun on = generate({"--carry", "0"});
    EXPECT_EQ(on.status, kExitNoPassingSet);
    EXPECT_EQ(on.out, "");
    EXPECT_NE(on.err.find("5個"), std::string::npos) << on.err;
    EXPECT_EQ(generate({"--carry", "0", "--weighting", "off"}).status, kExitOk);
}

TEST_F(GenerateCommandTest, NeverChangesTheDataFileAndRunsBesideTheDesktopProgram)
{
    const std::vector<std::uint8_t> before = test::ReadBytes(data());
    const auto modified = std::filesystem::last_write_time(data());
    ASSERT_EQ(generate({"--sets", "100"}).status, kExitOk);
    EXPECT_EQ(test::ReadBytes(data()), before);
    EXPECT_EQ(std::filesystem::last_write_time(data()), modified);

    // The window holds the file and writes a draw while commands read it.
    HistoryFile held(data());
    ASSERT_TRUE(held.OpenHistory());
    EXPECT_EQ(generate({}).status, kExitOk);
    ASSERT_TRUE(held.WriteDraw(held.Latest() + 1, {3, 11, 18, 25, 36, 42}, 7));
    const CliRun after = generate({});
    EXPECT_EQ(after.status, kExitOk) << after.err;
}

TEST_F(GenerateCommandTest, RunsWithoutSetsExplainWhyWithTheirOwnStatus)
{
    std::vector<DrawRecord> draws = History();
    draws.back() = Draw({2, 3, 5, 9, 11, 13}, 15); // fresh: one even number
    store(draws);
    const CliRun contradiction = generate({"--carry", "2", "--parity-level", "1"});
    EXPECT_EQ(contradiction.status, kExitContradiction);
    EXPECT_EQ(contradiction.out, "");
    EXPECT_EQ(contradiction.err, std::string(kContradictionMessage) + "\n");

    draws.back() = Draw({2, 4, 8, 10, 12, 14}, 16); // fresh: all even
    store(draws);
    const CliRun none = generate({"--carry", "1", "--parity-level", "7"}); // all odd, one carried
    EXPECT_EQ(none.status, kExitNoPassingSet);
    EXPECT_EQ(none.out, "");
    EXPECT_NE(none.err.find("組み合わせがありません"), std::string::npos) << none.err;

    store({Draw({1, 2, 3, 4, 5, 6}, 7)});
    const CliRun tooFew = generate({});
    EXPECT_EQ(tooFew.status, kExitTooFewDraws);
    EXPECT_NE(tooFew.err.find("1回分"), std::string::npos) << tooFew.err;

    // Values outside 1..43 are named as a damaged file, not as a lack of weights.
    test::WriteBytes(data(), std::vector<std::uint8_t>(320, 0xFF));
    const CliRun damaged = generate({});
    EXPECT_EQ(damaged.status, kExitDataFile);
    EXPECT_NE(damaged.err.find("第1回は当選番号ではない値"), std::string::npos) << damaged.err;
    EXPECT_EQ(damaged.err.find("重み"), std::string::npos) << damaged.err;
}

TEST_F(GenerateCommandTest, EachSettingIsCheckedAtItsBounds)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--sets", "0"},
        {"--sets", "101"},
        {"--weighting", "yes"},
        {"--basis", "recent"},
        {"--total-level", "4"},
        {"--time-level", "0"},
        {"--parity", "1"},
        {"--parity-level", "8"},
        {"--carry", "3"},
        {"--carry", "-1"},
        {"--consecutive", "true"},
        {"--upto", "0"},
        {"--seed"},
    };
    for (const std::vector<std::string>& args : bad) {
        const CliRun run = generate(args);
        EXPECT_EQ(run.status, kExitUsage) << args[0];
        EXPECT_EQ(run.out, "") << args[0];
    }
    EXPECT_EQ(generate({"--sets", "1", "--weighting", "off", "--total-level", "3", "--time-level", "3",
                        "--carry", "2", "--parity-level", "1"})
                  .status,
              kExitOk);
}

} // namespace
} // namespace zentrix::cli
