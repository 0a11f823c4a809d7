// zentrix-cli wheel: the printed wheel, the summary, ranges, keys and bad input.
#include "Commands.h"
#include "predictions/PredictionStore.h"
#include "support/CliRunner.h"
#include "support/HistoryFixtures.h"
#include "wheel/WheelVerifier.h"

#include <gtest/gtest.h>
#include <regex>

namespace zentrix::cli {
namespace {

using test::CliRun;

CliRun RunWheelCli(std::vector<std::string> args)
{
    args.insert(args.begin(), "wheel");
    return test::RunCli(args);
}

/// The tickets of the printed lines after the header and the empty line; fails on any other line.
std::vector<wheel::Ticket> Tickets(const std::string& out)
{
    const std::vector<std::string> lines = test::Lines(out);
    EXPECT_GE(lines.size(), 3u);
    if (lines.size() < 3)
        return {};
    EXPECT_EQ(lines[0], "Zentrix Predictor Ver.2.11");
    EXPECT_EQ(lines[1], "");
    const std::regex format(R"((\d{3})→(\d\d) , (\d\d) , (\d\d) , (\d\d) , (\d\d) , (\d\d))");
    std::vector<wheel::Ticket> tickets;
    for (std::size_t i = 2; i < lines.size(); ++i) {
        std::smatch match;
        EXPECT_TRUE(std::regex_match(lines[i], match, format)) << lines[i];
        if (match.empty())
            continue;
        EXPECT_EQ(std::stoi(match[1]), int(i) - 1);
        wheel::Ticket t{};
        for (std::size_t j = 0; j < 6; ++j)
            t[j] = std::stoi(match[j + 2]);
        tickets.push_back(t);
    }
    return tickets;
}

TEST(WheelCommandTest, PrintsTheTicketsAndSummarisesTheGuaranteeAndCost)
{
    const CliRun run = RunWheelCli({"--numbers", "1-12", "--guarantee", "3/3"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    const std::vector<wheel::Ticket> tickets = Tickets(run.out);
    wheel::WheelRequest request{{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, {}, {3, 3}};
    EXPECT_TRUE(wheel::reference::ServesEveryDraw(request, tickets));
    EXPECT_NE(run.err.find(std::to_string(tickets.size()) + "枚（" +
                           std::to_string(tickets.size() * 200 / 1000) + "," + "000円）"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("3個一致で5等を保証（3 if 3）"), std::string::npos);
    EXPECT_NE(run.err.find("220 通りをすべて調べ、保証を確認しました"), std::string::npos);
    // Twelve picks at the published size are in the built-in table, and the summary says so.
    EXPECT_NE(run.err.find("Zentrix に組み込みの組み合わせ"), std::string::npos) << run.err;
}

TEST(WheelCommandTest, MixedListsKeysAndSeeds)
{
    const std::vector<std::string> args{
        "--numbers", "3, 8,10-14,20,41-43", "--guarantee", "4/5", "--key", "12", "--seed", "7"};
    const CliRun run = RunWheelCli(args);
    ASSERT_EQ(run.status, kExitOk) << run.err;
    const std::vector<wheel::Ticket> tickets = Tickets(run.out);
    ASSERT_FALSE(tickets.empty());
    const wheel::WheelRequest request{{3, 8, 10, 11, 12, 13, 14, 20, 41, 42, 43}, {12}, {4, 5}};
    EXPECT_TRUE(wheel::reference::ServesEveryDraw(request, tickets));
    for (const wheel::Ticket& t : tickets)
        EXPECT_TRUE(std::count(t.begin(), t.end(), 12));
    EXPECT_NE(run.err.find("軸数字がすべて当選した場合"), std::string::npos);
    EXPECT_EQ(run.err.find("Zentrix に組み込み"), std::string::npos) << run.err; // searched
    EXPECT_EQ(RunWheelCli(args).out, run.out);
    std::vector<std::string> otherSeed = args;
    otherSeed.back() = "8";
    EXPECT_NE(RunWheelCli(otherSeed).out, run.out); // the seed reaches the search
}

TEST(WheelCommandTest, EachKindOfBadInputGetsAMessageAndStatusTwo)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> bad{
        {{"--numbers", "1-12"}, "--guarantee を指定して下さい"},
        {{"--numbers", "12-1", "--guarantee", "3/3"}, "--numbers は「1,5,7-12」のように"},
        {{"--numbers", "1-12", "--guarantee", "3/3", "--key", "x"}, "--key は「7,12」のように"},
        {{"--numbers", "1-12", "--guarantee", "3"}, "--guarantee は「3/3」「4/5」のように"},
        {{"--numbers", "1-6", "--guarantee", "3/3"}, ""}, // the request's own checks
        {{"--numbers", "1-12", "--guarantee", "3/3", "--key", "20"}, ""},
        {{"--numbers", "1-12", "--guarantee", "3/3", "--seconds", "0"}, "--seconds は0より大きく86400以下"},
        {{"--numbers", "1-12", "--guarantee", "3/3", "--seconds", "nan"}, "--seconds は"},
        {{"--numbers", "1-12", "--guarantee", "3/3", "--seconds", "86401"}, "--seconds は"},
    };
    for (const auto& [args, message] : bad) {
        SCOPED_TRACE(args[1] + " " + args.back());
        const CliRun run = RunWheelCli(args);
        EXPECT_EQ(run.status, kExitUsage);
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(run.err.empty());
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    }
    EXPECT_EQ(RunWheelCli({"--numbers", "1-7", "--guarantee", "3/3", "--seconds", "86400"}).status, kExitOk);
}

class WheelSaveTest : public test::CommandTest
{
protected:
    void SetUp() override { store(test::SyntheticHistory(60, 5)); }
};

TEST_F(WheelSaveTest, SaveKeepsThePrintedTicketsAsABatchForTheNextDraw)
{
    const CliRun plain = RunWheelCli({"--numbers", "1-9", "--guarantee", "3/3", "--data", data().string()});
    ASSERT_EQ(plain.status, kExitOk) << plain.err;
    EXPECT_FALSE(std::filesystem::exists(database())); // only --save writes

    const CliRun run = RunWheelCli(
        {"--numbers", "1-9", "--key", "4", "--guarantee", "3/3", "--save", "--data", data().string()});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_NE(run.err.find("第61回の予想（予想 No.1）として保存しました。"), std::string::npos) << run.err;
    const std::vector<wheel::Ticket> printed = Tickets(run.out);
    ASSERT_FALSE(printed.empty());

    PredictionStore saved(database());
    ASSERT_TRUE(saved.open(PredictionStore::Mode::ExistingOnly));
    Batch batch;
    ASSERT_TRUE(saved.load(1, batch));
    EXPECT_EQ(batch.draw, 61);
    EXPECT_EQ(batch.source, BatchSource::Wheel);
    EXPECT_EQ(batch.seed, 0u);
    EXPECT_NE(batch.note.find("数字 01 02 03 04 05 06 07 08 09 軸 04"), std::string::npos) << batch.note;
    ASSERT_EQ(batch.sets.size(), printed.size());
    for (std::size_t i = 0; i < printed.size(); ++i) {
        for (std::size_t k = 0; k < 6; ++k)
            EXPECT_EQ(batch.sets[i][k], printed[i][k]) << "ticket " << i;
    }
}

TEST_F(WheelSaveTest, UnusableDataOrDatabaseIsReportedAndLosesNothing)
{
    const CliRun missing = RunWheelCli(
        {"--numbers", "1-9", "--guarantee", "3/3", "--save", "--data", (m_dir / "none.dt").string()});
    EXPECT_EQ(missing.status, kExitDataFile);
    EXPECT_TRUE(missing.out.empty()); // refused before any search
    EXPECT_FALSE(std::filesystem::exists(m_dir / "zentrix-predictions.sqlite3"));

    std::filesystem::create_directory(database()); // a folder in the database's place
    const CliRun blocked =
        RunWheelCli({"--numbers", "1-9", "--guarantee", "3/3", "--save", "--data", data().string()});
    EXPECT_EQ(blocked.status, kExitFailure);
    EXPECT_FALSE(Tickets(blocked.out).empty()); // the wheel is printed all the same
    EXPECT_NE(blocked.err.find("（組み合わせは保存されていません）"), std::string::npos) << blocked.err;
    EXPECT_TRUE(std::filesystem::is_directory(database()));
}

} // namespace
} // namespace zentrix::cli
