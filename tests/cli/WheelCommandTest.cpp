// zentrix-cli wheel: the printed wheel, the summary, ranges, keys and bad input.
#include "Commands.h"
#include "NumberList.h"
#include "wheel/WheelVerifier.h"

#include <CLI/CLI.hpp>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>

namespace zentrix::cli {
namespace {

struct CliRun
{
    int status = -1;
    std::string out;
    std::string err;
};

CliRun RunWheelCli(std::vector<std::string> args)
{
    std::ostringstream out;
    std::ostringstream err;
    CliContext context{out, err};
    const std::unique_ptr<CLI::App> app = MakeApp();
    AddAllCommands(*app, context);
    args.insert(args.begin(), "wheel");
    CliRun run;
    run.status = RunApp(*app, context, args);
    run.out = out.str();
    run.err = err.str();
    return run;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

/// The tickets of the printed lines after the header and the empty line; fails on any other line.
std::vector<wheel::Ticket> Tickets(const std::string& out)
{
    const std::vector<std::string> lines = Lines(out);
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

TEST(WheelCommandTest, TwelveNumbersThreeIfThreeInFifteenTickets)
{
    const CliRun run = RunWheelCli({"--numbers", "1-12", "--guarantee", "3/3"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    const std::vector<wheel::Ticket> tickets = Tickets(run.out);
    EXPECT_LE(tickets.size(), 15u);
    wheel::WheelRequest request{{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, {}, {3, 3}};
    EXPECT_TRUE(wheel::reference::ServesEveryDraw(request, tickets));
    EXPECT_NE(run.err.find(std::to_string(tickets.size()) + "枚（" +
                           std::to_string(tickets.size() * 200 / 1000) + "," + "000円）"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("3個一致で5等を保証（3 if 3）"), std::string::npos);
    EXPECT_NE(run.err.find("220 通りをすべて調べ、保証を確認しました"), std::string::npos);
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
    EXPECT_EQ(RunWheelCli(args).out, run.out);
}

TEST(WheelCommandTest, BadInputGetsAMessageAndStatusTwo)
{
    const std::vector<std::vector<std::string>> bad{
        {"--numbers", "1-12"},                                      // no guarantee
        {"--numbers", "1-12", "--guarantee", "3"},                  // not T/M
        {"--numbers", "1-12", "--guarantee", "2/3"},                // outside 3..5
        {"--numbers", "1-12", "--guarantee", "4/3"},                // match above drawn
        {"--numbers", "12-1", "--guarantee", "3/3"},                // backwards range
        {"--numbers", "1,2,,3,4,5,6,7", "--guarantee", "3/3"},      // empty item
        {"--numbers", "1-6", "--guarantee", "3/3"},                 // too few
        {"--numbers", "1-31", "--guarantee", "3/3"},                // too many
        {"--numbers", "0-7", "--guarantee", "3/3"},                 // out of range
        {"--numbers", "1-7,7", "--guarantee", "3/3"},               // twice
        {"--numbers", "1-12", "--guarantee", "3/3", "--key", "20"}, // key not picked
        {"--numbers", "1-12", "--guarantee", "3/3", "--key", "1-3"},
        {"--numbers", "1-12", "--guarantee", "3/3", "--seconds", "0"},
        {"--numbers", "1-12", "--guarantee", "3/3", "--seconds", "nan"},
        {"--numbers", "一,二", "--guarantee", "3/3"},
    };
    for (const auto& args : bad) {
        const CliRun run = RunWheelCli(args);
        EXPECT_EQ(run.status, kExitUsage) << args[1] << " " << args.size();
        EXPECT_TRUE(run.out.empty());
        EXPECT_FALSE(run.err.empty());
    }
}

TEST(NumberListTest, ListsAndRanges)
{
    EXPECT_EQ(ParseNumberList("1,5,7-9"), (std::vector<int>{1, 5, 7, 8, 9}));
    EXPECT_EQ(ParseNumberList(" 4 - 4 , 2 "), (std::vector<int>{4, 2}));
    for (const char* bad :
         {"", " ", "1,", ",1", "1-", "-1", "5-3", "1;2", "1 2", "1-2-3", "0x10", "1234", "+3"})
        EXPECT_FALSE(ParseNumberList(bad)) << bad;
    EXPECT_EQ(ParseGuaranteeText("3/4"), (std::pair{3, 4}));
    EXPECT_EQ(ParseGuaranteeText(" 5 / 6 "), (std::pair{5, 6}));
    for (const char* bad : {"3", "3/", "/3", "3/4/5", "a/b", "3-4"})
        EXPECT_FALSE(ParseGuaranteeText(bad)) << bad;
}

} // namespace
} // namespace zentrix::cli
