// zentrix-cli generate saving its batches, and zentrix-cli predictions over them: list, show,
// check, export and delete, their printed lines, and a database or data file that cannot be used.
#include "Commands.h"
#include "predictions/PredictionStore.h"
#include "support/CliRunner.h"
#include "support/HistoryFixtures.h"
#include "support/SavedBatches.h"

#include <gtest/gtest.h>

namespace zentrix::cli {
namespace {

using test::CliRun;
using test::Draw;

class PredictionsCommandTest : public test::CommandTest
{
protected:
    void SetUp() override { store(test::SyntheticHistory(60, 5)); }

    /// Appends a draw after the 60 stored ones through import, as a user would.
    void enterDraw(int number, const DrawRecord& draw)
    {
        test::WriteText(m_dir / "next.csv", test::EnglishCsv({draw}, number));
        const CliRun imported = run({"import", (m_dir / "next.csv").string()});
        ASSERT_EQ(imported.status, kExitOk) << imported.err;
    }

    void save(int draw, BatchSource source, std::vector<PredictionSet> sets, const std::string& note = {})
    {
        NewBatch batch;
        batch.createdAt = 1700000000;
        batch.draw = draw;
        batch.source = source;
        batch.note = note;
        batch.settings.setCount = static_cast<int>(sets.size());
        batch.sets = std::move(sets);
        PredictionStore predictions(database());
        ASSERT_TRUE(predictions.open(PredictionStore::Mode::CreateIfMissing));
        ASSERT_TRUE(predictions.save(batch));
    }
};

TEST_F(PredictionsCommandTest, EveryGenerateSavesOneBatchThatItsSeedMakesAgainLater)
{
    const CliRun first = run({"generate", "--sets", "7", "--parity", "off"});
    ASSERT_EQ(first.status, kExitOk) << first.err;
    EXPECT_EQ(first.err, "");
    ASSERT_EQ(run({"generate", "--seed", "77"}).status, kExitOk);

    const std::vector<Batch> batches = test::SavedBatches(database());
    ASSERT_EQ(batches.size(), 2u);
    const Batch& batch = batches[1]; // the older one
    EXPECT_EQ(batch.draw, 61);
    EXPECT_EQ(batch.source, BatchSource::CommandLine);
    EXPECT_EQ(batch.settings.setCount, 7);
    EXPECT_FALSE(batch.settings.parityOn);
    EXPECT_EQ(batch.sets.size(), 7u);
    EXPECT_EQ(batches[0].seed, 77u);

    // After the predicted draw is stored, the seed and --upto repeat the unseeded run exactly.
    enterDraw(61, Draw({1, 9, 17, 25, 33, 41}, 2));
    const std::vector<std::string> again = {
        "generate", "--seed", std::to_string(batch.seed), "--sets", "7", "--parity", "off", "--no-save"};
    std::vector<std::string> upTo = again;
    upTo.insert(upTo.end(), {"--upto", "60"});
    EXPECT_EQ(run(upTo).out, first.out);
    EXPECT_NE(run(again).out, first.out);                 // the longer history weights differently
    EXPECT_EQ(test::SavedBatches(database()).size(), 2u); // --no-save kept nothing

    // A run without sets saves nothing.
    store({Draw({1, 2, 3, 4, 5, 6}, 7)});
    EXPECT_EQ(run({"generate"}).status, kExitTooFewDraws);
    EXPECT_EQ(test::SavedBatches(database()).size(), 2u);
}

TEST_F(PredictionsCommandTest, ShowPrintsTheSetsTheRepeatCommandAndTheTiers)
{
    save(61, BatchSource::CommandLine, {{1, 2, 3, 4, 5, 6}, {1, 2, 3, 7, 8, 9}});
    const std::string sets = "001→01 , 02 , 03 , 04 , 05 , 06\n002→01 , 02 , 03 , 07 , 08 , 09\n";
    const CliRun waiting = run({"predictions", "show", "1"});
    ASSERT_EQ(waiting.status, kExitOk) << waiting.err;
    for (const std::string& part : std::vector<std::string>{
             "）第61回の予想 2組\n設定: ",
             "\n種: 0\n再現: zentrix-cli generate --seed 0 --upto 60 --sets 2 --weighting on --basis total "
             "--total-level 1 --time-level 1 --parity on --parity-level 4 --carry 1 --consecutive on "
             "--data " +
                 data().string() + " --no-save\n第61回の当選番号はまだ保存されていません。\n\n" + sets})
        EXPECT_NE(waiting.out.find(part), std::string::npos) << part << "\n" << waiting.out;

    enterDraw(61, Draw({1, 2, 3, 4, 5, 6}, 7));
    const CliRun scored = run({"predictions", "show", "1"});
    EXPECT_TRUE(scored.out.ends_with("第61回の当選番号: 01 02 03 04 05 06 ボーナス 07\n\n"
                                     "001→01 , 02 , 03 , 04 , 05 , 06  1等（01 02 03 04 05 06）\n"
                                     "002→01 , 02 , 03 , 07 , 08 , 09  5等（01 02 03 B07）\n\n"
                                     "結果: 1等 1, 5等 1, 購入額 ¥400, 5等賞金 ¥1,000\n"))
        << scored.out;

    const CliRun missing = run({"predictions", "show", "5"});
    EXPECT_EQ(missing.status, kExitFailure);
    EXPECT_EQ(missing.err, "予想 No.5 は保存されていません。\n");
    EXPECT_EQ(run({"predictions", "show"}).status, kExitUsage);
}

TEST_F(PredictionsCommandTest, CheckScoresTheBatchesWhoseDrawIsStored)
{
    save(61, BatchSource::CommandLine, {{1, 2, 3, 4, 5, 6}, {1, 2, 3, 7, 8, 9}});
    save(62, BatchSource::CommandLine, {{1, 2, 3, 4, 5, 6}});
    const CliRun before = run({"predictions", "check"});
    EXPECT_EQ(before.status, kExitOk);
    EXPECT_EQ(before.out,
              "照合できる予想はありません（予想した回の当選番号がまだ保存されていません。未抽選 2件）。\n");

    enterDraw(61, Draw({1, 2, 3, 4, 5, 6}, 43));
    const CliRun checked = run({"predictions", "check"});
    ASSERT_EQ(checked.status, kExitOk) << checked.err;
    EXPECT_EQ(checked.out, "No.1 第61回 2組: 1等 1, 5等 1（購入額 ¥400, 5等賞金 ¥1,000）\n"
                           "合計: 照合済み 1件 2組, 購入額 ¥400, 1等 1, 2等 0, 3等 0, 4等 0, 5等 1, 5等賞金 "
                           "¥1,000（未抽選 1件 1組）\n");
    EXPECT_EQ(run({"predictions", "check", "2"}).out.find("No.2 第62回 1組: 未抽選\n"), 0u);
    const CliRun missing = run({"predictions", "check", "9"});
    EXPECT_EQ(missing.status, kExitFailure);
    EXPECT_EQ(missing.err, "予想 No.9 は保存されていません。\n");

    // Checking needs the draws; the list goes on without its tiers.
    std::filesystem::rename(data(), m_dir / "moved.dt");
    EXPECT_EQ(run({"predictions", "check"}).status, kExitDataFile);
    const CliRun list = run({"predictions", "list"});
    EXPECT_EQ(list.status, kExitOk);
    EXPECT_NE(list.err.find("等級は出していません"), std::string::npos);
}

TEST_F(PredictionsCommandTest, AWheelIsShownWithItsGuaranteeAndNoRepeatCommand)
{
    const std::string note = "組み合わせ保証 3個一致で5等を保証（3 if 3） 数字 01 02 03 04 05 06 07";
    save(61, BatchSource::Wheel, {{1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 7}}, note);
    const CliRun shown = run({"predictions", "show", "1"});
    ASSERT_EQ(shown.status, kExitOk) << shown.err;
    EXPECT_NE(shown.out.find("保証）第61回の予想 2組\n設定: " + note + "\n種: なし"), std::string::npos)
        << shown.out;
    EXPECT_EQ(shown.out.find("再現:"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("\n001→01 , 02 , 03 , 04 , 05 , 06\n"), std::string::npos) << shown.out;
    EXPECT_NE(run({"predictions", "export"}).out.find(",保証,0," + note + ",1,"), std::string::npos);
}

TEST_F(PredictionsCommandTest, ListShowsNewestFirstWithTheTotalsAndFiltersByDraw)
{
    save(60, BatchSource::CommandLine, {{1, 2, 3, 4, 5, 6}, {1, 2, 3, 7, 8, 9}, {10, 11, 12, 13, 14, 15}});
    save(61, BatchSource::CommandLine, {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}});
    const CliRun list = run({"predictions", "list"});
    ASSERT_EQ(list.status, kExitOk) << list.err;
    const std::vector<std::string> lines = test::Lines(list.out);
    ASSERT_EQ(lines.size(), 4u) << list.out;
    EXPECT_TRUE(lines[0].starts_with("No.   日時")) << lines[0];
    EXPECT_TRUE(lines[1].starts_with("2     ")) << lines[1];
    EXPECT_NE(lines[1].find(" 61      2     CLI   未抽選"), std::string::npos) << lines[1];
    EXPECT_TRUE(lines[2].starts_with("1     ")) << lines[2];
    EXPECT_NE(lines[2].find(" 60      3     CLI   "), std::string::npos) << lines[2];
    EXPECT_NE(lines[2].find("¥600      "), std::string::npos) << lines[2];
    EXPECT_TRUE(lines[3].starts_with("合計: 照合済み 1件 3組, 購入額 ¥600")) << lines[3];
    EXPECT_TRUE(lines[3].ends_with("（未抽選 1件 2組）")) << lines[3];

    const CliRun only60 = run({"predictions", "list", "--draw", "60"});
    EXPECT_EQ(test::Lines(only60.out).size(), 3u) << only60.out;
    EXPECT_EQ(run({"predictions", "list", "--draw", "5"}).out, "第5回の予想は保存されていません。\n");
}

TEST_F(PredictionsCommandTest, ExportWritesCsvOldestFirstThroughTheGuardedWriter)
{
    save(61, BatchSource::CommandLine, {{1, 2, 3, 4, 5, 6}, {1, 2, 3, 7, 8, 9}, {10, 11, 12, 13, 14, 15}});
    save(61, BatchSource::CommandLine, {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}});
    const CliRun out = run({"predictions", "export"});
    ASSERT_EQ(out.status, kExitOk);
    EXPECT_EQ(std::count(out.out.begin(), out.out.end(), '\n'), 6);
    EXPECT_EQ(out.out.find("batch,created,draw"), 0u);
    EXPECT_LT(out.out.find("\n1,"), out.out.find("\n2,"));

    const auto target = m_dir / "one.csv";
    ASSERT_EQ(run({"predictions", "export", "2", "-o", target.string()}).status, kExitOk);
    const std::string written = test::ReadText(target);
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 3);
    EXPECT_EQ(written.find("\n1,"), std::string::npos);
    EXPECT_EQ(run({"predictions", "export", "9"}).err, "予想 No.9 は保存されていません。\n");

    const auto dataBefore = test::ReadBytes(data());
    const auto databaseBefore = test::ReadBytes(database());
    for (const auto& victim : {data(), database()}) {
        const CliRun refused = run({"predictions", "export", "-o", victim.string()});
        EXPECT_EQ(refused.status, kExitFailure);
        EXPECT_NE(refused.err.find("データのファイル"), std::string::npos) << refused.err;
    }
    EXPECT_EQ(test::ReadBytes(data()), dataBefore);
    EXPECT_EQ(test::ReadBytes(database()), databaseBefore);
}

TEST_F(PredictionsCommandTest, DeleteRemovesOneBatch)
{
    save(61, BatchSource::CommandLine, {{1, 2, 3, 4, 5, 6}});
    save(61, BatchSource::CommandLine, {{1, 2, 3, 4, 5, 6}});
    const CliRun deleted = run({"predictions", "delete", "1"});
    EXPECT_EQ(deleted.status, kExitOk);
    EXPECT_EQ(deleted.out, "予想 No.1 を削除しました。\n");
    const std::vector<Batch> left = test::SavedBatches(database());
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].id, 2);
    const CliRun again = run({"predictions", "delete", "1"});
    EXPECT_EQ(again.status, kExitFailure);
    EXPECT_EQ(again.err, "予想 No.1 は保存されていません。\n");
}

TEST_F(PredictionsCommandTest, AnUnusableDatabaseIsLeftAsItIsAndTheSetsStillShown)
{
    const std::vector<std::uint8_t> junk(2048, 0x5a);
    test::WriteBytes(database(), junk);
    const CliRun generated = run({"generate", "--sets", "3", "--seed", "5"});
    EXPECT_EQ(generated.status, kExitFailure);
    EXPECT_EQ(test::Lines(generated.out).size(), 5u); // header, blank, 3 sets
    EXPECT_NE(generated.err.find("予想の保存先として読めません"), std::string::npos) << generated.err;
    EXPECT_NE(generated.err.find("（予想番号は保存されていません）"), std::string::npos);

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"predictions", "list"}, {"predictions", "show", "1"}, {"predictions", "delete", "1"}}) {
        const CliRun refused = run(args);
        EXPECT_EQ(refused.status, kExitFailure) << args[1];
        EXPECT_EQ(refused.out, "") << args[1];
        EXPECT_NE(refused.err.find("予想の保存先として読めません"), std::string::npos) << refused.err;
    }
    EXPECT_EQ(test::ReadBytes(database()), junk);
    EXPECT_EQ(test::RunCli({"predictions"}).status, kExitUsage);
}

} // namespace
} // namespace zentrix::cli
