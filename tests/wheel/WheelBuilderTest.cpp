// WheelBuilder and CoverSearch: proved wheels, key numbers, seeds, sizes, cancelling and progress.
#include "wheel/WheelBuilder.h"

#include "WheelTestSupport.h"

#include <gtest/gtest.h>
#include <set>

namespace zentrix::wheel {
namespace {

using test::Range;
using test::Request;

/// A small deterministic budget: the runs end on moves, never on the clock.
WheelOptions Budget(std::uint64_t seed, std::uint64_t moves = 200'000)
{
    WheelOptions options;
    options.limits.seed = seed;
    options.limits.maxMoves = moves;
    options.limits.stallMoves = moves;
    options.limits.time = std::chrono::minutes(10);
    options.stored = nullptr; // these tests are about the search
    return options;
}

TEST(WheelBuilderTest, EveryWheelIsProvedWellFormedAndInOrder)
{
    const std::vector<int> scattered{3, 8, 14, 15, 21, 27, 33, 36, 40, 43};
    for (int match = 3; match <= 5; ++match) {
        for (int drawn = match; drawn <= 6; ++drawn) {
            const WheelRequest request = Request(scattered, match, drawn);
            const WheelResult result = BuildWheel(request, Budget(5, 20'000));
            ASSERT_EQ(result.status, WheelResult::Status::Built) << match << " if " << drawn;
            EXPECT_TRUE(reference::ServesEveryDraw(request, result.tickets)) << match << " if " << drawn;
            EXPECT_TRUE(std::is_sorted(result.tickets.begin(), result.tickets.end()));
            EXPECT_GE(result.tickets.size(), result.lowerBound);
            for (const Ticket& t : result.tickets) {
                EXPECT_TRUE(std::is_sorted(t.begin(), t.end()));
                for (const int n : t)
                    EXPECT_TRUE(std::count(scattered.begin(), scattered.end(), n)) << n;
            }
        }
    }
}

TEST(WheelBuilderTest, KeyNumbersAreInEveryTicket)
{
    const WheelRequest request = Request(Range(10, 24), 4, 5, {12, 20});
    const WheelResult result = BuildWheel(request, Budget(9, 50'000));
    ASSERT_EQ(result.status, WheelResult::Status::Built);
    ASSERT_GT(result.tickets.size(), 1u);
    for (const Ticket& t : result.tickets) {
        EXPECT_TRUE(std::count(t.begin(), t.end(), 12));
        EXPECT_TRUE(std::count(t.begin(), t.end(), 20));
    }
    EXPECT_TRUE(reference::ServesEveryDraw(request, result.tickets));
}

TEST(WheelBuilderTest, TheSameSeedGivesTheSameWheelAndOtherSeedsOtherWheels)
{
    const WheelRequest request = Request(Range(1, 16), 4, 4);
    const WheelResult first = BuildWheel(request, Budget(42));
    const WheelResult again = BuildWheel(request, Budget(42));
    ASSERT_EQ(first.status, WheelResult::Status::Built);
    EXPECT_EQ(first.tickets, again.tickets);
    EXPECT_EQ(first.moves, again.moves);
    std::set<std::vector<Ticket>> others;
    for (std::uint64_t seed = 1; seed <= 4; ++seed)
        others.insert(BuildWheel(request, Budget(seed)).tickets);
    EXPECT_GT(others.size(), 1u);
}

TEST(WheelBuilderTest, ReachesTheBestPublishedSizesOfSmallCases)
{
    // La Jolla: C(9,6,3) = 7, C(10,6,3) = 10, C(12,6,3) = 15, C(9,6,4) = 12, C(10,6,4) = 20.
    for (const auto& [v, t] : std::vector<std::pair<int, int>>{{9, 3}, {10, 3}, {12, 3}, {9, 4}, {10, 4}}) {
        const WheelRequest request = Request(Range(1, v), t, t);
        const WheelResult result = BuildWheel(request, Budget(1, 3'000'000));
        ASSERT_EQ(result.status, WheelResult::Status::Built);
        EXPECT_EQ(result.tickets.size(), std::size_t(*BestKnownSize(request))) << v << " " << t;
        // The search improved on its greedy start or the greedy start was already that good.
        EXPECT_LE(result.tickets.size(), result.greedySize);
    }
}

TEST(WheelBuilderTest, KeyNumbersShrinkTheProblem)
{
    // Two keys and "3 if 3": every other pick needs a ticket, four of them per ticket.
    const WheelResult result = BuildWheel(Request(Range(1, 10), 3, 3, {1, 2}), Budget(1));
    ASSERT_EQ(result.status, WheelResult::Status::Built);
    EXPECT_EQ(result.tickets.size(), 2u); // eight other picks, four per ticket
}

TEST(WheelBuilderTest, BadRequestsAreRefusedWithoutSearching)
{
    const WheelResult result = BuildWheel(Request(Range(1, 6), 3, 3), Budget(1));
    EXPECT_EQ(result.status, WheelResult::Status::BadRequest);
    EXPECT_EQ(result.requestError, RequestError::TooFewPicks);
    EXPECT_TRUE(result.tickets.empty());
}

TEST(WheelBuilderTest, CancellingReturnsTheBestProvedWheelSoFar)
{
    std::atomic<bool> cancel{false};
    WheelOptions options = Budget(3, 1'000'000'000);
    options.cancel = &cancel;
    int reports = 0;
    std::size_t lastBest = 0;
    options.progress = [&](const SearchProgress& p) {
        ++reports;
        lastBest = p.bestSize;
        EXPECT_GE(p.fraction, 0.0);
        EXPECT_LE(p.fraction, 1.0);
        if (reports == 3)
            cancel = true;
    };
    const WheelRequest request = Request(Range(1, 20), 4, 4);
    const WheelResult result = BuildWheel(request, options);
    EXPECT_TRUE(result.cancelled);
    ASSERT_EQ(result.status, WheelResult::Status::Built);
    EXPECT_EQ(result.tickets.size(), lastBest);
    EXPECT_TRUE(result.verification.passed());
}

TEST(WheelBuilderTest, CancelledBeforeTheFirstWheelGivesNothing)
{
    std::atomic<bool> cancel{true};
    WheelOptions options = Budget(3);
    options.cancel = &cancel;
    const WheelResult result = BuildWheel(Request(Range(1, 30), 5, 5), options);
    EXPECT_EQ(result.status, WheelResult::Status::CancelledEmpty);
    EXPECT_TRUE(result.tickets.empty());
}

} // namespace
} // namespace zentrix::wheel
