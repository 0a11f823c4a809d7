// zentrix-cli generate saving its batches, and zentrix-cli predictions over them: list, show, check
// (agreeing with check on the same sets), export, delete, and a database that cannot be used.
#include "Commands.h"
#include "predictions/PredictionStore.h"
#include "support/CliRunner.h"
#include "support/HistoryFixtures.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>

namespace zentrix::cli {
namespace {

using test::CliRun;
using test::RunCli;

std::string ReadText(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// The set lines (without the header and the empty line) of generate's output.
std::string SetLines(const std::string& printed)
{
    const std::size_t start = printed.find("\n\n");
    return start == std::string::npos ? std::string() : printed.substr(start + 2);
}

class PredictionsCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_draws = zentrix::test::SyntheticHistory(60, 5);
        zentrix::test::WriteHistory(data(), m_draws);
    }
    std::filesystem::path data() const { return m_dir / "Loto6data.dt"; }
    std::filesystem::path database() const { return m_dir / "zentrix-predictions.sqlite3"; }

    CliRun run(std::vector<std::string> args, const std::vector<std::string>& extra = {})
    {
        args.insert(args.end(), {"--data", data().string()});
        args.insert(args.end(), extra.begin(), extra.end());
        return RunCli(args);
    }

    /// Appends the draw the batches predicted (61) through import, as a user would.
    void enterNextDraw(const DrawRecord& draw)
    {
        test::WriteText(m_dir / "next.csv", test::EnglishCsv({draw}, 61));
        const CliRun imported = RunCli({"import", (m_dir / "next.csv").string(), "--data", data().string()});
        ASSERT_EQ(imported.status, kExitOk) << imported.err;
    }

    std::vector<Batch> saved()
    {
        PredictionStore store(database());
        EXPECT_TRUE(store.open(PredictionStore::Mode::ExistingOnly));
        std::vector<Batch> batches;
        store.forEach([&](const BatchHeader& h, const auto& sets) {
            Batch b;
            static_cast<NewBatch&>(b) = {h.createdAt, h.draw, h.source, h.seed, h.settings, sets, h.note};
            b.id = h.id;
            batches.push_back(b);
        });
        return batches;
    }

    zentrix::test::TempDir m_dir;
    std::vector<DrawRecord> m_draws;
};

TEST_F(PredictionsCommandTest, EveryGenerateSavesOneBatchThatItsSeedMakesAgainLater)
{
    const CliRun first = run({"generate", "--sets", "7", "--parity", "off"});
    ASSERT_EQ(first.status, kExitOk) << first.err;
    EXPECT_EQ(first.err, "");
    const CliRun second = run({"generate", "--seed", "77"});
    ASSERT_EQ(second.status, kExitOk) << second.err;

    const std::vector<Batch> batches = saved();
    ASSERT_EQ(batches.size(), 2u);
    const Batch& batch = batches[1]; // the older one
    EXPECT_EQ(batch.draw, 61);
    EXPECT_EQ(batch.source, BatchSource::CommandLine);
    EXPECT_EQ(batch.settings.setCount, 7);
    EXPECT_FALSE(batch.settings.parityOn);
    ASSERT_EQ(batch.sets.size(), 7u);
    EXPECT_EQ(batches[0].seed, 77u);

    // After the predicted draw is stored, the seed and --upto repeat the unseeded run exactly.
    enterNextDraw(zentrix::test::Draw({1, 9, 17, 25, 33, 41}, 2));
    const CliRun again = run({"generate", "--seed", std::to_string(batch.seed), "--upto", "60", "--sets", "7",
                              "--parity", "off", "--no-save"});
    ASSERT_EQ(again.status, kExitOk) << again.err;
    EXPECT_EQ(again.out, first.out);
    const CliRun later = run(
        {"generate", "--seed", std::to_string(batch.seed), "--sets", "7", "--parity", "off", "--no-save"});
    EXPECT_NE(later.out, first.out); // the longer history weights differently
    EXPECT_EQ(saved().size(), 2u);   // --no-save kept nothing
}

TEST_F(PredictionsCommandTest, RunsWithoutSetsSaveNothing)
{
    std::vector<DrawRecord> draws = m_draws;
    draws.push_back(zentrix::test::Draw({20, 22, 24, 26, 28, 30}, 31));
    draws.push_back(zentrix::test::Draw({2, 3, 5, 9, 11, 13}, 15)); // fresh: one even number
    zentrix::test::WriteHistory(data(), draws);
    EXPECT_EQ(run({"generate", "--carry", "2", "--parity-level", "1"}).status, kExitContradiction);
    draws.back() = zentrix::test::Draw({2, 4, 8, 10, 12, 14}, 16); // fresh: all even
    zentrix::test::WriteHistory(data(), draws);
    EXPECT_EQ(run({"generate", "--carry", "1", "--parity-level", "7"}).status, kExitNoPassingSet);
    zentrix::test::WriteHistory(data(), {m_draws[0]});
    EXPECT_EQ(run({"generate"}).status, kExitTooFewDraws);
    EXPECT_FALSE(std::filesystem::exists(database()));
}

TEST_F(PredictionsCommandTest, ShowPrintsTheSetsTheRepeatCommandAndTheTiers)
{
    const CliRun generated = run({"generate", "--sets", "4", "--seed", "9"});
    ASSERT_EQ(generated.status, kExitOk);
    const CliRun waiting = run({"predictions", "show", "1"});
    ASSERT_EQ(waiting.status, kExitOk) << waiting.err;
    EXPECT_NE(waiting.out.find("第61回の予想 4組"), std::string::npos) << waiting.out;
    EXPECT_NE(waiting.out.find("種: 9\n"), std::string::npos);
    EXPECT_NE(waiting.out.find("zentrix-cli generate --seed 9 --upto 60 --sets 4"), std::string::npos);
    EXPECT_NE(waiting.out.find("第61回の当選番号はまだ保存されていません。"), std::string::npos);
    EXPECT_NE(waiting.out.find(SetLines(generated.out)), std::string::npos);

    // The first set's numbers as the draw: 1等 for it.
    const std::string firstLine = SetLines(generated.out).substr(0, SetLines(generated.out).find('\n'));
    std::vector<int> numbers;
    for (std::size_t at = firstLine.find("→") + 3; at < firstLine.size(); at += 5)
        numbers.push_back(std::stoi(firstLine.substr(at, 2)));
    ASSERT_EQ(numbers.size(), 6u);
    const int bonus = numbers[0] == 1 ? 43 : 1;
    enterNextDraw(
        zentrix::test::Draw({numbers[0], numbers[1], numbers[2], numbers[3], numbers[4], numbers[5]},
                            numbers[5] == 43 && bonus == 43 ? 2 : bonus));
    const CliRun scored = run({"predictions", "show", "1"});
    EXPECT_NE(scored.out.find(firstLine + "  1等"), std::string::npos) << scored.out;
    EXPECT_NE(scored.out.find("購入額 ¥800"), std::string::npos);

    EXPECT_EQ(run({"predictions", "show", "5"}).status, kExitFailure);
    EXPECT_EQ(run({"predictions", "show"}).status, kExitUsage);
}

TEST_F(PredictionsCommandTest, CheckAgreesWithCheckingThePrintedSets)
{
    const CliRun a = run({"generate", "--sets", "40", "--seed", "1", "--weighting", "off"});
    const CliRun b = run({"generate", "--sets", "30", "--seed", "2", "--weighting", "off"});
    ASSERT_EQ(a.status, kExitOk);
    ASSERT_EQ(b.status, kExitOk);
    const CliRun before = run({"predictions", "check"});
    EXPECT_EQ(before.status, kExitOk);
    EXPECT_NE(before.out.find("照合できる予想はありません"), std::string::npos);

    enterNextDraw(zentrix::test::Draw({2, 9, 16, 23, 30, 37}, 41));
    const CliRun checked = run({"predictions", "check"});
    ASSERT_EQ(checked.status, kExitOk) << checked.err;
    // The same sets through `check --draw 61`: the same count per tier.
    const std::string printed = a.out + SetLines(b.out);
    const CliRun reference = RunCli({"check", "--draw", "61", "--data", data().string()}, printed);
    ASSERT_EQ(reference.status, kExitOk) << reference.err;
    for (const char* tier : {"1等", "2等", "3等", "4等", "5等"}) {
        const std::regex inReference(std::string(tier) + " (\\d+)");
        std::smatch expected;
        ASSERT_TRUE(std::regex_search(reference.out, expected, inReference)) << reference.out;
        EXPECT_NE(checked.out.find(std::string(tier) + " " + expected[1].str() + ","), std::string::npos)
            << tier << "\n"
            << checked.out << "\n"
            << reference.out;
    }
    EXPECT_NE(checked.out.find("照合済み 2件 70組, 購入額 ¥14,000"), std::string::npos) << checked.out;
}

TEST_F(PredictionsCommandTest, WheelBatchIsShownWithItsGuaranteeAndNoRepeatCommand)
{
    NewBatch wheel;
    wheel.createdAt = 1700000000;
    wheel.draw = 61;
    wheel.source = BatchSource::Wheel;
    wheel.note = "組み合わせ保証 3個一致で5等を保証（3 if 3） 数字 01 02 03 04 05 06 07";
    wheel.settings.setCount = 2;
    wheel.sets = {{1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 7}};
    {
        PredictionStore store(database());
        ASSERT_TRUE(store.open(PredictionStore::Mode::CreateIfMissing));
        ASSERT_TRUE(store.save(wheel));
    }
    const CliRun shown = run({"predictions", "show", "1"});
    ASSERT_EQ(shown.status, kExitOk) << shown.err;
    EXPECT_NE(shown.out.find("保証）第61回の予想 2組"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("設定: " + wheel.note + "\n"), std::string::npos) << shown.out;
    EXPECT_EQ(shown.out.find("zentrix-cli generate"), std::string::npos) << shown.out;
    EXPECT_EQ(shown.out.find("再現:"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("001→01 , 02 , 03 , 04 , 05 , 06"), std::string::npos) << shown.out;

    const CliRun list = run({"predictions", "list"});
    ASSERT_EQ(list.status, kExitOk) << list.err;
    EXPECT_NE(list.out.find("保証"), std::string::npos) << list.out;
    const CliRun exported = run({"predictions", "export"});
    ASSERT_EQ(exported.status, kExitOk) << exported.err;
    EXPECT_NE(exported.out.find(",保証,0," + wheel.note + ",1,"), std::string::npos) << exported.out;
}

TEST_F(PredictionsCommandTest, ListShowsNewestFirstAndFiltersByDraw)
{
    run({"generate", "--sets", "2"});
    zentrix::test::WriteHistory(data(), std::vector<DrawRecord>(m_draws.begin(), m_draws.end() - 1));
    run({"generate", "--sets", "3"});
    zentrix::test::WriteHistory(data(), m_draws);
    const CliRun list = run({"predictions", "list"});
    ASSERT_EQ(list.status, kExitOk) << list.err;
    const std::size_t newer = list.out.find("\n2 ");
    const std::size_t older = list.out.find("\n1 ");
    ASSERT_NE(newer, std::string::npos) << list.out;
    EXPECT_LT(newer, older);
    EXPECT_NE(list.out.find("未抽選"), std::string::npos); // batch 1 predicted draw 61
    EXPECT_NE(list.out.find("（未抽選 1件 2組）"), std::string::npos) << list.out;
    const CliRun only60 = run({"predictions", "list", "--draw", "60"});
    EXPECT_EQ(only60.out.find("\n1 "), std::string::npos);
    EXPECT_NE(only60.out.find("\n2 "), std::string::npos);
    EXPECT_NE(run({"predictions", "list", "--draw", "5"}).out.find("第5回の予想は保存されていません。"),
              std::string::npos);
}

TEST_F(PredictionsCommandTest, ExportWritesCsvThroughATemporaryFileAndNeverOverTheData)
{
    run({"generate", "--sets", "3"});
    run({"generate", "--sets", "2"});
    const CliRun out = run({"predictions", "export"});
    ASSERT_EQ(out.status, kExitOk);
    EXPECT_EQ(std::count(out.out.begin(), out.out.end(), '\n'), 6);
    EXPECT_EQ(out.out.find("batch,created,draw"), 0u);
    EXPECT_LT(out.out.find("\n1,"), out.out.find("\n2,")); // oldest first

    const auto target = m_dir / "one.csv";
    ASSERT_EQ(run({"predictions", "export", "2", "-o", target.string()}).status, kExitOk);
    const std::string written = ReadText(target);
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 3);
    EXPECT_EQ(written.find("\n1,"), std::string::npos);

    const auto dataBefore = zentrix::test::ReadBytes(data());
    const auto databaseBefore = zentrix::test::ReadBytes(database());
    for (const auto& victim : {data(), database()}) {
        const CliRun refused = run({"predictions", "export", "-o", victim.string()});
        EXPECT_EQ(refused.status, kExitFailure);
        EXPECT_NE(refused.err.find("データのファイル"), std::string::npos);
    }
    EXPECT_EQ(zentrix::test::ReadBytes(data()), dataBefore);
    EXPECT_EQ(zentrix::test::ReadBytes(database()), databaseBefore);
}

TEST_F(PredictionsCommandTest, DeleteRemovesOneBatch)
{
    run({"generate", "--sets", "1"});
    run({"generate", "--sets", "1"});
    const CliRun deleted = run({"predictions", "delete", "1"});
    EXPECT_EQ(deleted.status, kExitOk);
    EXPECT_EQ(deleted.out, "予想 No.1 を削除しました。\n");
    ASSERT_EQ(saved().size(), 1u);
    EXPECT_EQ(saved()[0].id, 2);
    const CliRun again = run({"predictions", "delete", "1"});
    EXPECT_EQ(again.status, kExitFailure);
    EXPECT_EQ(again.err, "予想 No.1 は保存されていません。\n");
}

TEST_F(PredictionsCommandTest, UnusableDatabaseStillShowsTheSetsAndIsLeftAsItIs)
{
    std::vector<std::uint8_t> junk(2048, 0x5a);
    zentrix::test::WriteBytes(database(), junk);
    const CliRun generated = run({"generate", "--sets", "3", "--seed", "5"});
    EXPECT_EQ(generated.status, kExitFailure);
    EXPECT_EQ(std::count(generated.out.begin(), generated.out.end(), '\n'), 5); // header, blank, 3 sets
    EXPECT_NE(generated.err.find("予想の保存先として読めません"), std::string::npos) << generated.err;
    EXPECT_NE(generated.err.find("保存されていません"), std::string::npos);
    EXPECT_EQ(zentrix::test::ReadBytes(database()), junk);

    const CliRun list = run({"predictions", "list"});
    EXPECT_EQ(list.status, kExitFailure);
    EXPECT_EQ(list.out, "");
    EXPECT_EQ(run({"predictions", "delete", "1"}).status, kExitFailure);
    EXPECT_EQ(zentrix::test::ReadBytes(database()), junk);
}

TEST_F(PredictionsCommandTest, CheckNeedsTheDataFileWhileListingDoesWithoutScores)
{
    run({"generate", "--sets", "2"});
    std::filesystem::rename(data(), m_dir / "moved.dt");
    EXPECT_EQ(run({"predictions", "check"}).status, kExitDataFile);
    const CliRun list = run({"predictions", "list"});
    EXPECT_EQ(list.status, kExitOk);
    EXPECT_NE(list.err.find("等級は出していません"), std::string::npos);
}

TEST_F(PredictionsCommandTest, HelpIsJapaneseAndNamesTheStore)
{
    const CliRun help = RunCli({"predictions", "--help"});
    EXPECT_EQ(help.status, kExitOk);
    for (const char* text :
         {"list", "show", "check", "export", "delete", "zentrix-predictions.sqlite3", "5等"})
        EXPECT_NE(help.out.find(text), std::string::npos) << text;
    EXPECT_EQ(RunCli({"predictions"}).status, kExitUsage);
    EXPECT_NE(RunCli({"generate", "--help"}).out.find("--no-save"), std::string::npos);
}

} // namespace
} // namespace zentrix::cli
